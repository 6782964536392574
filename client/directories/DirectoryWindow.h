#pragma once

#include "AnswerValue.h"
#include "DirectoryCommands.h"
#include "RecordTable.h"
#include "SecondaryWindow.h"
#include "TypeAction.h"

#include <memory>

class QAction;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;
class TRequestServer;

namespace journal {

class DataSource;
class DirectoryEditor;
class JournalWindow;

// What the three directory windows share: listing on every fresh opening, search, reset, sort,
// delete and the hand-over to the editor. Each window gives its kind and its form's controls.
class DirectoryWindow : public SecondaryWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DirectoryWindow)
public:
    ~DirectoryWindow() override;

    void setEditor(DirectoryEditor* editor);

    // Going from hidden to shown asks for the list; showing an open window only raises it.
    void setVisible(bool visible) override;

protected:
    DirectoryWindow(JournalWindow* journal, const DirectoryKind& kind);
    // Makes and sets up the window's form, whose controls bear the family's names; the sort items
    // are found by their names.
    template <typename Form>
    void setUpDirectory(std::unique_ptr<Form>& ui) {
        ui = std::make_unique<Form>();
        ui->setupUi(this);
        setUpDirectory(Controls{ui->BitBtn1, ui->BitBtn2, ui->BitBtn3, ui->BitBtn4, ui->BitBtn5, ui->searchEditField,
                                ui->DBGrid1, ui->PopupMenu1, ui->N1});
    }

    void reject() override; // Esc and the close box

    // Reads what the window keeps of an answer besides its list, before the table is touched.
    virtual void keepFromAnswer(const AnswerValue&) {}

private:
    struct Controls {
        QPushButton* BitBtn1; // add
        QPushButton* BitBtn2; // edit
        QPushButton* BitBtn3; // delete
        QPushButton* BitBtn4; // search
        QPushButton* BitBtn5; // reset
        QLineEdit* searchEditField;
        QTableView* DBGrid1;
        QMenu* PopupMenu1;
        QAction* N1; // view
    };

    void setUpDirectory(const Controls& controls);
    void FormShow();
    void FormClose();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void N1Click();
    void handOver(TTypeAction typeAction, const QString& noRowMessage);
    void sortTableData(const char* field, const char* path);
    void sendRequest(Json command);
    void onSuccessServer(TRequestServer* Sender);

    const DirectoryKind& fKind;
    JournalWindow* fJournal;
    DirectoryEditor* fEditor = nullptr;
    Controls fControls{};
    RecordTable mtRecords;
    // Declared after the table it observes, so it lets go of the table first.
    std::unique_ptr<DataSource> dsRecords;
};

} // namespace journal
