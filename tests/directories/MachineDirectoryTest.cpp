#include "AnswerJson.h"
#include "DirectoryFixture.h"
#include "FamilyCases.h"
#include "Unit2.h"

#include <QComboBox>

using journal::testing::MessageBoxCloser;
using Strings = std::vector<std::string>;

namespace {

const std::string kMachine =
    R"([{"Id":"11","Title":"Станок","Description":"","Inventory":"ИН-1","TitleWorkshop":"Цех 2"}])";

std::string machinesAnswer(const std::string& workshops) {
    return R"({"success":true,"data":{"machine":)" + kMachine +
           (workshops.empty() ? "" : ",\"workshop\":" + workshops) + "}}";
}

class MachineDirectoryTest : public DirectoryFixture {
protected:
    TForm2* directory() const { return form1->findChild<TForm2*>(); }
    QWidget* editor() const { return window("TForm3"); }
    QComboBox* combo() const { return child<QComboBox>(editor(), "ComboBox1"); }
    std::string kept() const {
        return directory()->JsonWorkshop() ? journal::testing::asJson(*directory()->JsonWorkshop()).dump() : "none";
    }

    void open(const std::string& workshops) {
        openFromJournal("BitBtn1", machinesAnswer(workshops));
        takeSent();
    }
    void pressOkAnswered() {
        answerNextRequest(R"({"success":true})");
        click(editor(), "BitBtn1");
    }
};

TEST_F(MachineDirectoryTest, EveryAnswerReplacesTheKeptWorkshopList) {
    MessageBoxCloser closer;
    open(R"([{"Id":"1","Title":"А"}])");
    EXPECT_EQ(kept(), R"([{"Id":"1","Title":"А"}])");

    child<QWidget>(directory(), "searchEditField")->setProperty("text", "Станок");
    answerNextRequest(machinesAnswer(R"([{"Id":"2","Title":"Б"}])"));
    click(directory(), "BitBtn4");
    EXPECT_EQ(kept(), R"([{"Id":"2","Title":"Б"}])") << "search";

    answerNextRequest(machinesAnswer(""));
    trigger(directory(), "N4");
    EXPECT_EQ(kept(), "none") << "sort, answered without a list";

    answerNextRequest(machinesAnswer(R"([{"Id":"3","Title":"В"}])"));
    click(directory(), "BitBtn3");
    EXPECT_EQ(kept(), R"([{"Id":"3","Title":"В"}])") << "delete";

    answerNextRequest(R"({"error":"Занято"})");
    click(directory(), "BitBtn5");
    EXPECT_EQ(kept(), R"([{"Id":"3","Title":"В"}])") << "a refusal keeps it";
    EXPECT_EQ(takeSent().size(), 4u);
}

// The directory reopened from the journal while the editor is open loads another list.
TEST_F(MachineDirectoryTest, EditorSavesTheWorkshopOfTheListThatFilledItsCombo) {
    open(R"([{"Id":"7","Title":"Цех 1"},{"Id":"8","Title":"Цех 2"}])");
    click(directory(), "BitBtn1");
    EXPECT_EQ(combo()->count(), 2);
    EXPECT_EQ(combo()->currentIndex(), -1);
    EXPECT_EQ(combo()->placeholderText(), "Выберите место расположения");
    open(R"([{"Id":"9","Title":"Цех 3"}])");
    ASSERT_TRUE(editor()->isVisible());

    type(combo(), "Цех 2");
    pressOkAnswered();
    EXPECT_EQ(takeSent().at(0), R"({"command":"save_machine","name_machine":"","description_machine":"",)"
                                R"("inventory_machine":"","id_workshop":"8","id_machine":"0"})");
}

TEST_F(MachineDirectoryTest, WithoutAWorkshopListTheComboIsEmptyAndOkIsRefused) {
    MessageBoxCloser closer;
    open("");
    selectRow(directory(), 0);
    click(directory(), "BitBtn2");
    EXPECT_EQ(combo()->count(), 0);

    click(editor(), "BitBtn1");
    ASSERT_EQ(closer.shown().size(), 1u);
    EXPECT_EQ(closer.shown()[0].text, "Не выбран из списка цех (корпус).");
    EXPECT_EQ(closer.shown()[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(takeSent().empty());
    EXPECT_TRUE(editor()->isVisible());
    EXPECT_EQ(inputText(child(editor(), "Edit1")), "Станок") << "the input stays";
}

TEST_F(MachineDirectoryTest, TheRowsWorkshopTitleChoosesTheLastEqualEntryOrNone) {
    MessageBoxCloser closer;
    open(R"([{"Id":"7","Title":"Цех 2"},{"Id":"8","Title":"Цех 2 "},{"Id":"9","Title":"Цех 2"}])");
    selectRow(directory(), 0);
    click(directory(), "BitBtn2");
    EXPECT_EQ(combo()->currentIndex(), 2);
    pressOkAnswered();
    EXPECT_EQ(takeSent().at(0), R"({"command":"edit_machine","name_machine":"Станок","description_machine":"",)"
                                R"("inventory_machine":"ИН-1","id_workshop":"9","id_machine":"11"})");

    directory()->close();
    open(R"([{"Id":"7","Title":"цех 2"}])");
    selectRow(directory(), 0);
    click(directory(), "BitBtn2");
    EXPECT_EQ(combo()->currentIndex(), -1) << "titles compare exactly";
    click(editor(), "BitBtn1");
    EXPECT_EQ(closer.shown().back().text, "Не выбран из списка цех (корпус).");
    EXPECT_TRUE(takeSent().empty());
}

} // namespace
