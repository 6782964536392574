#pragma once

#include "JournalWindow.h"
#include "RecordTable.h"

#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

namespace Ui {
class TForm1;
} // namespace Ui
namespace journal {
class DataSource;
} // namespace journal
class QAbstractButton;
class QAction;
class TForm8;
class TForm11;
class TRequestServer;

// The journal window, the program's main window: shows the journal in a grid, asks for it when first
// shown, and is the hub from which every other window opens. Its completion callback turns the answers
// to the journal's commands into effects.
class TForm1 final : public journal::JournalWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm1)
public:
    // The windows the journal opens; they are created after the journal window, which owns them.
    struct Windows {
        QWidget* machines = nullptr;  // TForm2
        QWidget* workshops = nullptr; // TForm4
        QWidget* repairmen = nullptr; // TForm6
        TForm8* recordEditor = nullptr;
        QWidget* help = nullptr;  // TForm9
        QWidget* about = nullptr; // TForm10
        TForm11* details = nullptr;
    };

    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    void setWindows(const Windows& windows);

    void updateTableData() override;
    void closeAndOpenDialogs(QWidget* parent, QWidget* children) override;

    const std::optional<journal::AnswerValue>& JsonMachine() const override { return FieldsMachine; }
    void setJsonMachine(std::optional<journal::AnswerValue> machines) { FieldsMachine = std::move(machines); }
    const std::optional<journal::AnswerValue>& JsonRepairman() const override { return FieldsRepairman; }
    void setJsonRepairman(std::optional<journal::AnswerValue> repairmen) { FieldsRepairman = std::move(repairmen); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setUpGrid();
    void connectActions();
    void connectAction(QAbstractButton* button, QAction* item, void (TForm1::*action)());
    void connectOpening(QAbstractButton* button, QAction* item, QWidget* Windows::*window);
    void sendRequest(Json command);
    void onSuccessServer(TRequestServer* Sender);
    void FormShow();

    void loadListData();
    void addRecord();
    void editRecord();
    void deleteRecord();
    void N14Click(); // details
    void sortTableData(const char* field, const char* path);
    QString currentId() const;

    std::unique_ptr<Ui::TForm1> ui;
    Windows fWindows;
    journal::RecordTable mtService;
    // Declared after the table it observes, so it lets go of the table first.
    std::unique_ptr<journal::DataSource> dsService;
    // Copies of the parts of the answers they came from: the answers themselves die with their channels.
    std::optional<journal::AnswerValue> FieldsMachine;
    std::optional<journal::AnswerValue> FieldsRepairman;
    std::optional<journal::AnswerValue> FieldsService;
};
