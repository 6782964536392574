#include "DirectoryWindow.h"

#include "Accessibility.h"
#include "AnswerReading.h"
#include "DataSource.h"
#include "DirectoryEditor.h"
#include "ErrorMessageServer.h"
#include "GridBinding.h"
#include "JournalWindow.h"
#include "JsonLoad.h"
#include "QuestionBox.h"
#include "RequestServer.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <stdexcept>

namespace journal {

DirectoryWindow::DirectoryWindow(JournalWindow* journal, const DirectoryKind& kind)
    : SecondaryWindow(journal)
    , fKind(kind)
    , fJournal(journal)
    , mtRecords(kind.makeTable()) {}

DirectoryWindow::~DirectoryWindow() = default;

void DirectoryWindow::setEditor(DirectoryEditor* editor) {
    fEditor = editor;
}

void DirectoryWindow::setUpDirectory(const Controls& controls) {
    fControls = controls;
    dsRecords = std::make_unique<DataSource>(mtRecords, fKind.columns, nullptr);
    bindGrid(*dsRecords, fControls.DBGrid1, fControls.PopupMenu1);
    // The grid has no label: a screen reader names it after its window.
    fControls.DBGrid1->setAccessibleName(windowTitle());
    nameControlsForAccessibility(this);

    connect(fControls.BitBtn1, &QPushButton::clicked, this, &DirectoryWindow::BitBtn1Click);
    connect(fControls.BitBtn2, &QPushButton::clicked, this, &DirectoryWindow::BitBtn2Click);
    connect(fControls.BitBtn3, &QPushButton::clicked, this, &DirectoryWindow::BitBtn3Click);
    connect(fControls.BitBtn4, &QPushButton::clicked, this, &DirectoryWindow::BitBtn4Click);
    connect(fControls.BitBtn5, &QPushButton::clicked, this, &DirectoryWindow::BitBtn5Click);
    connect(fControls.N1, &QAction::triggered, this, &DirectoryWindow::N1Click);
    // Each sort item's handler (N4Click for N4 and so on) is sortTableData with the item's constants.
    for (const SortItem& sort : fKind.sortItems) {
        auto* item = findChild<QAction*>(QString::fromLatin1(sort.item));
        if (item == nullptr)
            throw std::logic_error(std::string("the form lacks the sort item ") + sort.item);
        connect(item, &QAction::triggered, this, [this, &sort] { sortTableData(sort.field, sort.path); });
    }
}

void DirectoryWindow::setVisible(bool visible) {
    const bool opening = visible && !isVisible();
    SecondaryWindow::setVisible(visible);
    if (opening)
        FormShow();
}

void DirectoryWindow::reject() {
    FormClose();
}

void DirectoryWindow::FormShow() {
    sendRequest(listCommand(fKind));
}

// SecondaryWindow centres the next opening over the journal again.
void DirectoryWindow::FormClose() {
    hide();
}

void DirectoryWindow::BitBtn1Click() {
    fJournal->closeAndOpenDialogs(this, fEditor);
    fEditor->upAction(TTypeAction::ADD);
}

void DirectoryWindow::BitBtn2Click() {
    handOver(TTypeAction::EDIT, QStringLiteral("Не выбрана строка для редактирования."));
}

void DirectoryWindow::N1Click() {
    handOver(TTypeAction::VIEW, QStringLiteral("Не выбрана строка для просмотра."));
}

// Shown first, as the machine editor fills its workshop list when it is shown; then the mode, then the row.
void DirectoryWindow::handOver(TTypeAction typeAction, const QString& noRowMessage) {
    if (mtRecords.fieldText(QStringLiteral("Id")).isEmpty()) {
        TErrorMessageServer::View(noRowMessage, false);
        return;
    }
    QStringList fields;
    for (const QString& field : fKind.handedOver)
        fields << mtRecords.fieldText(field);
    fJournal->closeAndOpenDialogs(this, fEditor);
    fEditor->upAction(typeAction);
    fEditor->editData(fields);
}

void DirectoryWindow::BitBtn3Click() {
    const QString id = mtRecords.fieldText(QStringLiteral("Id"));
    if (id.isEmpty()) {
        TErrorMessageServer::View(QStringLiteral("Не выбрана строка для удаления."), false);
        return;
    }
    if (!confirmDeletion(this, deleteQuestion(fKind, mtRecords.fieldText(fKind.nameField))))
        return;
    sendRequest(deleteCommand(fKind, id));
}

void DirectoryWindow::BitBtn4Click() {
    const QString search = fControls.searchEditField->text();
    if (search.size() < kShortestSearch) {
        TErrorMessageServer::View(QStringLiteral("Запрос должен быть не менее 3-ёх символов."), false);
        return;
    }
    sendRequest(searchCommand(fKind, search));
}

void DirectoryWindow::BitBtn5Click() {
    fControls.searchEditField->clear();
    sendRequest(listCommand(fKind));
}

void DirectoryWindow::sortTableData(const char* field, const char* path) {
    sendRequest(sortCommand(fKind, field, path));
}

void DirectoryWindow::sendRequest(Json command) {
    runExchange(std::move(command), [this](TRequestServer* Sender) { onSuccessServer(Sender); });
}

// Every answer runs the same steps, whichever command it answers.
void DirectoryWindow::onSuccessServer(TRequestServer* Sender) {
    const AnswerValue& answer = Sender->DataServer();
    keepFromAnswer(answer);
    reloadTable(mtRecords, findPath(answer, fKind.listMember));
}

} // namespace journal
