#include "Unit1.h"

#include "Accessibility.h"
#include "DataSource.h"
#include "Dispatch.h"
#include "ErrorMessageServer.h"
#include "GridBinding.h"
#include "JournalRecords.h"
#include "JsonLoad.h"
#include "QuestionBox.h"
#include "RequestServer.h"
#include "Unit11.h"
#include "Unit8.h"
#include "ui_Unit1.h"

#include <QLayout>
#include <QShowEvent>
#include <cstdlib>

namespace {

using Json = nlohmann::ordered_json;

const std::vector<journal::GridColumn>& serviceColumns() {
    static const std::vector<journal::GridColumn> columns = {
        {QStringLiteral("Id"), QStringLiteral("Id"), 35},
        {QStringLiteral("MachineTitle"), QStringLiteral("Оборудование"), 125},
        {QStringLiteral("WorkshopTitle"), QStringLiteral("Цех (корпус)"), 125},
        {QStringLiteral("Description"), QStringLiteral("Описание"), 130},
        {QStringLiteral("Repairman"), QStringLiteral("Ремонтники"), 130},
        {QStringLiteral("TimeStart"), QStringLiteral("Начало ремонта"), 113},
        {QStringLiteral("TimeFinish"), QStringLiteral("Конец ремонта"), 113},
    };
    return columns;
}

struct SortItem {
    QAction* Ui::TForm1::*item;
    const char* field;
    const char* path;
};

constexpr SortItem kSortItems[] = {
    {&Ui::TForm1::N17, "S.id", "desc"},          {&Ui::TForm1::N18, "S.id", "asc"},
    {&Ui::TForm1::N20, "M.title", "desc"},       {&Ui::TForm1::N21, "M.title", "asc"},
    {&Ui::TForm1::N23, "W.title", "desc"},       {&Ui::TForm1::N24, "W.title", "asc"},
    {&Ui::TForm1::N26, "S.description", "desc"}, {&Ui::TForm1::N27, "S.description", "asc"},
    {&Ui::TForm1::N29, "S.time_start", "desc"},  {&Ui::TForm1::N30, "S.time_start", "asc"},
    {&Ui::TForm1::N32, "S.time_finish", "desc"}, {&Ui::TForm1::N33, "S.time_finish", "asc"},
};

} // namespace

TForm1::TForm1(QWidget* parent)
    : JournalWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , ui(std::make_unique<Ui::TForm1>())
    , mtService(journal::makeServiceTable()) {
    ui->setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setUpGrid();
    connectActions();
    journal::nameControlsForAccessibility(this);
}

TForm1::~TForm1() = default;

void TForm1::setWindows(const Windows& windows) {
    fWindows = windows;
}

void TForm1::setUpGrid() {
    dsService = std::make_unique<journal::DataSource>(mtService, serviceColumns(), nullptr);
    journal::bindGrid(*dsService, ui->DBGrid1, ui->PopupMenu1);
}

void TForm1::connectActions() {
    connectAction(ui->BitBtn4, ui->N9, &TForm1::addRecord);
    connectAction(ui->BitBtn5, ui->N10, &TForm1::editRecord);
    connectAction(ui->BitBtn6, ui->N11, &TForm1::deleteRecord);
    connect(ui->N14, &QAction::triggered, this, &TForm1::N14Click);

    connectOpening(ui->BitBtn1, ui->N6, &Windows::machines);
    connectOpening(ui->BitBtn2, ui->N7, &Windows::workshops);
    connectOpening(ui->BitBtn3, ui->N8, &Windows::repairmen);
    connectOpening(ui->BitBtn7, ui->N12, &Windows::help);
    connectOpening(nullptr, ui->N13, &Windows::about);

    // Exit ends the process at once: no close handler runs and nothing is sent.
    const auto exitNow = [] { std::_Exit(0); };
    connect(ui->BitBtn8, &QPushButton::clicked, this, exitNow);
    connect(ui->N5, &QAction::triggered, this, exitNow);

    for (const SortItem& sort : kSortItems)
        connect((*ui).*sort.item, &QAction::triggered, this, [this, &sort] { sortTableData(sort.field, sort.path); });
}

void TForm1::connectAction(QAbstractButton* button, QAction* item, void (TForm1::*action)()) {
    connect(button, &QAbstractButton::clicked, this, action);
    connect(item, &QAction::triggered, this, action);
}

void TForm1::connectOpening(QAbstractButton* button, QAction* item, QWidget* Windows::*window) {
    const auto open = [this, window] { (fWindows.*window)->show(); };
    if (button != nullptr)
        connect(button, &QAbstractButton::clicked, this, open);
    connect(item, &QAction::triggered, this, open);
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Restoring from the task bar is spontaneous and must not ask for the journal again.
    if (!event->spontaneous())
        FormShow();
}

void TForm1::FormShow() {
    updateTableData();
}

void TForm1::updateTableData() {
    ui->ActivityIndicator1->start();
    sendRequest(Json{{"command", "all_service"}});
}

void TForm1::loadListData() {
    ui->ActivityIndicator1->start();
    sendRequest(Json{{"command", "load_list_data"}});
}

// The editor opens whatever the list request brought: after a refusal it offers the last lists.
void TForm1::addRecord() {
    loadListData();
    fWindows.recordEditor->upAction(TTypeAction::ADD);
    fWindows.recordEditor->show();
}

// No check for a row: an empty table asks for the record "" and the server's answer decides.
void TForm1::editRecord() {
    ui->ActivityIndicator1->start();
    loadListData();
    sendRequest(Json{{"command", "uid_service"}, {"id_service", currentId().toStdString()}});
}

void TForm1::deleteRecord() {
    const QString id = currentId();
    if (id.isEmpty()) {
        TErrorMessageServer::View(QStringLiteral("Не выбрана строка для удаления."), false);
        return;
    }
    if (!journal::confirmDeletion(this, QStringLiteral("Вы желаете удалить запись №") + id + u'?'))
        return;
    sendRequest(Json{{"command", "delete_service"}, {"id", id.toStdString()}});
}

void TForm1::N14Click() {
    const QString id = currentId();
    if (id.isEmpty()) {
        TErrorMessageServer::View(QStringLiteral("Не выбрана строка для просмотра."), false);
        return;
    }
    sendRequest(Json{{"command", "view_service"}, {"id_service", id.toStdString()}});
}

void TForm1::sortTableData(const char* field, const char* path) {
    sendRequest(Json{{"command", "sort_service"}, {"field", field}, {"path", path}});
}

QString TForm1::currentId() const {
    return mtService.fieldText(QStringLiteral("Id"));
}

void TForm1::closeAndOpenDialogs(QWidget* parent, QWidget* children) {
    parent->close();
    children->show();
}

void TForm1::sendRequest(Json command) {
    journal::runExchange(std::move(command), [this](TRequestServer* Sender) { onSuccessServer(Sender); });
}

void TForm1::onSuccessServer(TRequestServer* Sender) {
    ui->ActivityIndicator1->stop();
    if (Sender == nullptr)
        return;
    const auto lists = [this](journal::JournalLists& lists) {
        FieldsRepairman = std::move(lists.repairmen);
        FieldsMachine = std::move(lists.machines);
    };
    const auto edit = [this](const journal::RecordToEdit& edit) {
        FieldsService = edit.record;
        // Shown first: the editor's show step empties it before editData fills it.
        fWindows.recordEditor->show();
        fWindows.recordEditor->editData(*FieldsService);
        fWindows.recordEditor->upAction(TTypeAction::EDIT);
    };
    const auto view = [this](const journal::RecordToView& view) {
        fWindows.details->showData(view.record);
        fWindows.details->show();
    };
    const auto rows = [this](const journal::JournalRows& rows) { journal::reloadTable(mtService, rows.list); };
    journal::JournalAnswer answer = journal::readJournalAnswer(Sender->DataServer());
    std::visit(journal::Dispatch{lists, edit, view, rows}, answer);
}
