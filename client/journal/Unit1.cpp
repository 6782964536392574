#include "Unit1.h"

#include "DataSource.h"
#include "JsonLoad.h"
#include "JsonText.h"
#include "RequestServer.h"
#include "Unit11.h"
#include "Unit8.h"
#include "ui_Unit1.h"

#include <QHeaderView>
#include <QLayout>
#include <QShowEvent>
#include <cstdlib>
#include <stdexcept>
#include <string>

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

// The member at a dotted path, which must be of the given kind when present. An answer whose
// member has another kind cannot be carried out: the throw makes the channel end the program.
const Json* memberOfKind(const Json& answer, const char* path, Json::value_t kind) {
    const Json* member = journal::findPath(answer, path);
    if (member != nullptr && member->type() != kind)
        throw std::runtime_error(std::string("The answer's ") + path + " has the wrong kind");
    return member;
}

std::optional<Json> listAt(const Json& answer, const char* path) {
    const Json* list = memberOfKind(answer, path, Json::value_t::array);
    return list != nullptr ? std::optional<Json>(*list) : std::nullopt;
}

const Json& objectAt(const Json& answer, const char* path) {
    const Json* object = memberOfKind(answer, path, Json::value_t::object);
    if (object == nullptr)
        throw std::logic_error(std::string("The answer has no ") + path);
    return *object;
}

} // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , ui(std::make_unique<Ui::TForm1>())
    , mtService(journal::makeServiceTable()) {
    ui->setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setUpGrid();
    connectActions();
}

TForm1::~TForm1() = default;

void TForm1::setWindows(const Windows& windows) {
    fWindows = windows;
}

void TForm1::setUpGrid() {
    dsService = std::make_unique<journal::DataSource>(mtService, serviceColumns(), nullptr);
    dsService->bindGrid(ui->DBGrid1);
    QHeaderView* titles = ui->DBGrid1->horizontalHeader();
    QFont bold = titles->font();
    bold.setBold(true);
    titles->setFont(bold);
    titles->setDefaultAlignment(Qt::AlignCenter);
    titles->setSectionResizeMode(QHeaderView::Interactive);
    // Clickable titles highlight under the mouse; with whole-row selection a click selects nothing.
    titles->setSectionsClickable(true);
    ui->DBGrid1->verticalHeader()->setFixedWidth(12);
    connect(ui->DBGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ui->PopupMenu1->popup(ui->DBGrid1->viewport()->mapToGlobal(pos)); });
}

void TForm1::connectActions() {
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

void TForm1::sortTableData(const char* field, const char* path) {
    sendRequest(Json{{"command", "sort_service"}, {"field", field}, {"path", path}});
}

void TForm1::closeAndOpenDialogs(QWidget* parent, QWidget* children) {
    parent->close();
    children->show();
}

void TForm1::sendRequest(Json command) {
    TRequestServer channel;
    channel.setDataServer(std::move(command));
    channel.setOnMyEvent([this](TRequestServer* Sender) { onSuccessServer(Sender); });
    channel.Execute();
    channel.Close();
}

void TForm1::onSuccessServer(TRequestServer* Sender) {
    ui->ActivityIndicator1->stop();
    if (Sender == nullptr)
        return;
    const Json& answer = Sender->DataServer();
    if (journal::findPath(answer, "list") != nullptr) {
        FieldsRepairman = listAt(answer, "list.repairman");
        FieldsMachine = listAt(answer, "list.machine");
    } else if (journal::findPath(answer, "uid") != nullptr) {
        FieldsService = objectAt(answer, "uid");
        // Shown first: the editor's show step empties it before editData fills it.
        fWindows.recordEditor->show();
        fWindows.recordEditor->editData(*FieldsService);
        fWindows.recordEditor->upAction(TTypeAction::EDIT);
    } else if (journal::findPath(answer, "view") != nullptr) {
        fWindows.details->showData(objectAt(answer, "view"));
        fWindows.details->show();
    } else {
        journal::reloadTable(mtService, journal::findPath(answer, "data"));
    }
}
