#include "AnswerJson.h"
#include "JournalFixture.h"
#include "KeyboardInput.h"
#include "MemoLines.h"
#include "QStringPrinter.h"
#include "Unit8.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>

namespace {

using journal::testing::MessageBoxCloser;

// Two repairmen share a display name, as namesakes at a plant do.
const std::string kLists =
    R"({"success":true,"list":{"machine":[{"Id":"3","Title":"Пресс"},{"Id":"7","Title":"Станок"}],)"
    R"("repairman":[{"Id":"5","Name":"Петров П."},{"Id":"8","Name":"Иванов И."},)"
    R"({"Id":"9","Name":"Иванов И."}]}})";

std::string uidAnswer(const std::string& uid) {
    return R"({"success":true,"uid":)" + uid + "}";
}

// A finished record of the second machine by Петров and one of the namesakes.
const std::string kFinishedRecord =
    R"({"Uid":"2","Machine":"Станок","Description":"  Смазка\nнаправляющих ","Repairman":["Петров П."],)"
    R"("DateStart":"03.02.2026","TimeStart":"09:15:00","DateFinish":"04.02.2026","TimeFinish":"17:45:30"})";

class RecordEditorTest : public JournalFixture {
protected:
    RecordEditorTest() {
        // Closing the editor reloads the journal: every request the test does not script gets the journal.
        journal::testing::Reply journal;
        journal.body = kTwoRecords;
        server.setDefaultReply(journal);
        showJournal(kTwoRecords);
    }

    TForm8* editor() const { return window<TForm8>(); }
    template <typename T>
    T* input(const char* name) const {
        return editor()->findChild<T*>(QString::fromLatin1(name));
    }
    QComboBox* machines() const { return input<QComboBox>("ComboBox1"); }
    QListWidget* repairmen() const { return input<QListWidget>("ListBox1"); }
    QPlainTextEdit* memo() const { return input<QPlainTextEdit>("Memo1"); }
    QCheckBox* finishBox() const { return input<QCheckBox>("CheckBox1"); }

    void openForAdd(const std::string& lists = kLists) {
        answerNextRequest(lists);
        QTest::mouseClick(child<QPushButton>("BitBtn4"), Qt::LeftButton);
    }
    void openForEdit(const std::string& record, const std::string& lists = kLists) {
        answerNextRequest(lists);
        answerNextRequest(uidAnswer(record));
        QTest::mouseClick(child<QPushButton>("BitBtn5"), Qt::LeftButton);
    }
    void chooseMachine(int position) {
        machines()->setFocus();
        for (int i = machines()->currentIndex(); i < position; ++i)
            QTest::keyClick(machines(), Qt::Key_Down);
    }
    void clickRepairman(int line, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QRect place = repairmen()->visualItemRect(repairmen()->item(line));
        QTest::mouseClick(repairmen()->viewport(), Qt::LeftButton, modifiers, place.center());
    }
    void typeInto(QWidget* widget, const QString& text) {
        widget->setFocus();
        journal::testing::typeText(widget, text);
    }
    // Types a date or time section by section, as digits only: a full section moves on to the next.
    void typeDate(QDateTimeEdit* picker, const QString& digits) {
        picker->setFocus();
        picker->setSelectedSection(picker->sectionAt(0));
        QTest::keyClicks(picker, digits);
    }
    void pressOk() { QTest::mouseClick(input<QPushButton>("BitBtn1"), Qt::LeftButton); }

    std::size_t requestCount() const { return server.requests().size(); }
    std::string command(std::size_t index) const { return server.requests().at(index).command(); }
};

TEST_F(RecordEditorTest, AddsARecordAndReturnsToTheReloadedJournal) {
    openForAdd();
    ASSERT_TRUE(editor()->isVisible());
    EXPECT_EQ(editor()->windowTitle(), "Добавить запись в журнал");
    EXPECT_EQ(input<QPushButton>("BitBtn1")->text(), "Сохранить");
    EXPECT_EQ(machines()->currentIndex(), -1);
    EXPECT_EQ(machines()->placeholderText(), "Выберите оборудование (станок)");
    ASSERT_EQ(repairmen()->count(), 3);

    chooseMachine(1);
    typeInto(memo(), "Замена ремня");
    QTest::keyClick(memo(), Qt::Key_Return); // a new line, not OK
    journal::testing::typeText(memo(), "и \"натяжителя\" 1/2");
    clickRepairman(0);
    clickRepairman(2, Qt::ControlModifier);
    typeDate(input<QDateEdit>("DateTimePicker1"), "05032026");
    ASSERT_TRUE(editor()->isVisible()) << "Enter in the memo must not press OK";

    const std::size_t before = requestCount();
    pressOk();

    EXPECT_EQ(commandsSince(before),
              (std::vector<std::string>{R"({"id_service":"0","command":"save_service","id_machine_service":"7",)"
                                        R"("description_service":" Замена ремня и \"натяжителя\" 1\/2",)"
                                        R"("ids_repairman_service":"{\"ids_repairman\":[\"5\",\"9\"]}",)"
                                        R"("start_date_service":"05.03.2026","start_time_service":"20:26:38"})",
                                        R"({"command":"all_service"})"}));
    EXPECT_FALSE(editor()->isVisible());
}

TEST_F(RecordEditorTest, EditOpensTheRecordFilledAndSendsItsOwnId) {
    const std::size_t before = requestCount();
    openForEdit(kFinishedRecord);

    EXPECT_EQ(commandsSince(before), (std::vector<std::string>{R"({"command":"load_list_data"})",
                                                               R"({"command":"uid_service","id_service":"1"})"}));
    ASSERT_TRUE(editor()->isVisible());
    EXPECT_EQ(editor()->windowTitle(), "Редактировать запись в журнале");
    EXPECT_EQ(input<QPushButton>("BitBtn1")->text(), "Редактировать");
    EXPECT_EQ(machines()->currentText(), "Станок");
    EXPECT_EQ(memo()->toPlainText(), "Смазка\nнаправляющих");
    EXPECT_TRUE(repairmen()->item(0)->isSelected());
    EXPECT_FALSE(repairmen()->item(1)->isSelected());
    EXPECT_EQ(input<QDateEdit>("DateTimePicker1")->date(), QDate(2026, 2, 3));
    EXPECT_EQ(input<QTimeEdit>("DateTimePicker2")->time(), QTime(9, 15, 0));
    EXPECT_TRUE(finishBox()->isChecked());
    EXPECT_TRUE(input<QDateEdit>("DateTimePicker3")->isEnabled());
    EXPECT_EQ(input<QDateEdit>("DateTimePicker3")->date(), QDate(2026, 2, 4));
    EXPECT_EQ(input<QTimeEdit>("DateTimePicker4")->time(), QTime(17, 45, 30));

    const std::size_t beforeSave = requestCount();
    pressOk();
    EXPECT_EQ(command(beforeSave),
              R"({"id_service":"2","command":"edit_service","id_machine_service":"7",)"
              R"("description_service":" Смазка направляющих","ids_repairman_service":"{\"ids_repairman\":[\"5\"]}",)"
              R"("start_date_service":"03.02.2026","start_time_service":"09:15:00",)"
              R"("finish_date_service":"04.02.2026","finish_time_service":"17:45:30"})");
}

TEST_F(RecordEditorTest, UntickedFinishBoxLeavesTheFinishMembersOutAndDisablesItsPickers) {
    openForEdit(kFinishedRecord);
    QTest::mouseClick(finishBox(), Qt::LeftButton);
    EXPECT_FALSE(input<QDateEdit>("DateTimePicker3")->isEnabled());
    EXPECT_FALSE(input<QTimeEdit>("DateTimePicker4")->isEnabled());

    const std::size_t before = requestCount();
    pressOk();
    const std::string sent = command(before);
    EXPECT_EQ(sent.find("finish_"), std::string::npos) << sent;
    EXPECT_TRUE(sent.ends_with(R"("start_time_service":"09:15:00"})")) << sent;
}

TEST_F(RecordEditorTest, UnfinishedRecordOpensWithTheBoxUntickedAndFinishPickersDisabled) {
    openForEdit(R"({"Uid":"3","Machine":"Станок","Description":"","Repairman":[" Иванов И. "],)"
                R"("DateStart":"03.02.2026","TimeStart":"09:15:00","DateFinish":null})");
    EXPECT_FALSE(finishBox()->isChecked());
    EXPECT_FALSE(input<QDateEdit>("DateTimePicker3")->isEnabled());
    EXPECT_FALSE(input<QTimeEdit>("DateTimePicker4")->isEnabled());
    EXPECT_EQ(machines()->currentText(), "Станок");
    EXPECT_TRUE(repairmen()->item(1)->isSelected() && repairmen()->item(2)->isSelected())
        << "every line that carries a name of the record is selected";
}

TEST_F(RecordEditorTest, OkWithoutAMachineIsRefusedAndKeepsEverythingTyped) {
    openForEdit(R"({"Uid":"4","Machine":"Списанный станок","Description":"Осмотр","Repairman":[],)"
                R"("DateStart":"03.02.2026","TimeStart":"09:15:00","DateFinish":"null"})");
    EXPECT_EQ(machines()->currentIndex(), -1) << "no title matches";
    typeInto(memo(), " и чистка");
    clickRepairman(1);

    MessageBoxCloser closer;
    const std::size_t before = requestCount();
    pressOk();

    ASSERT_EQ(closer.shown().size(), 1u);
    EXPECT_EQ(closer.shown()[0].caption, "Ошибка");
    EXPECT_EQ(closer.shown()[0].text, "Не выбрано из списка оборудование.");
    EXPECT_EQ(requestCount(), before) << "nothing is sent";
    EXPECT_TRUE(editor()->isVisible());
    EXPECT_EQ(memo()->toPlainText(), "Осмотр и чистка");
    EXPECT_TRUE(repairmen()->item(1)->isSelected());
}

TEST_F(RecordEditorTest, RefusedSaveKeepsTheEditorOpenWithItsInput) {
    openForAdd();
    chooseMachine(0);
    typeInto(memo(), "Ремонт");
    answerNextRequest(R"({"error":"Станок занят"})");
    MessageBoxCloser closer;
    pressOk();

    ASSERT_EQ(closer.shown().size(), 1u);
    EXPECT_EQ(closer.shown()[0].text, "Станок занят");
    EXPECT_TRUE(editor()->isVisible());
    EXPECT_EQ(machines()->currentText(), "Пресс");
    EXPECT_EQ(memo()->toPlainText(), "Ремонт");
}

struct ClosingCase {
    const char* name;
    void (*close)(TForm8& editor);
};

class RecordEditorClosingTest : public RecordEditorTest, public ::testing::WithParamInterface<ClosingCase> {};

TEST_P(RecordEditorClosingTest, HidesTheEditorAndReloadsTheJournalInItsDefaultOrder) {
    answerNextRequest(R"({"success":true,"data":[{"Id":"2"},{"Id":"1"}]})");
    child<QAction>("N17")->trigger(); // sorted
    openForAdd();
    const std::size_t before = requestCount();
    GetParam().close(*editor());

    EXPECT_FALSE(editor()->isVisible());
    EXPECT_EQ(commandsSince(before), (std::vector<std::string>{R"({"command":"all_service"})"}));
    EXPECT_EQ(gridText(0, 0), "1");
}

INSTANTIATE_TEST_SUITE_P(
    Ways, RecordEditorClosingTest,
    ::testing::Values(
        ClosingCase{"Cancel",
                    [](TForm8& e) { QTest::mouseClick(e.findChild<QPushButton*>("BitBtn2"), Qt::LeftButton); }},
        ClosingCase{"Escape",
                    [](TForm8& e) { QTest::keyClick(e.findChild<QPlainTextEdit*>("Memo1"), Qt::Key_Escape); }},
        ClosingCase{"CloseBox", [](TForm8& e) { e.close(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordEditorTest, TimesAreKeptFromOneOpeningToTheNextWhileDatesRenew) {
    openForAdd();
    EXPECT_EQ(input<QTimeEdit>("DateTimePicker2")->time(), QTime(20, 26, 38));
    EXPECT_EQ(input<QTimeEdit>("DateTimePicker4")->time(), QTime(20, 26, 38));
    EXPECT_EQ(input<QDateEdit>("DateTimePicker1")->date(), QDate::currentDate());
    QTest::mouseClick(finishBox(), Qt::LeftButton);
    QTest::mouseClick(input<QPushButton>("BitBtn2"), Qt::LeftButton);

    openForEdit(kFinishedRecord); // sets every picker and ticks the box
    QTest::mouseClick(input<QPushButton>("BitBtn2"), Qt::LeftButton);

    openForAdd();
    EXPECT_EQ(input<QDateEdit>("DateTimePicker1")->date(), QDate::currentDate());
    EXPECT_EQ(input<QDateEdit>("DateTimePicker3")->date(), QDate::currentDate());
    EXPECT_EQ(input<QTimeEdit>("DateTimePicker2")->time(), QTime(9, 15, 0));
    EXPECT_EQ(input<QTimeEdit>("DateTimePicker4")->time(), QTime(17, 45, 30));
    EXPECT_TRUE(finishBox()->isChecked()) << "the box keeps the state of the last use";
    EXPECT_TRUE(memo()->toPlainText().isEmpty());
    EXPECT_EQ(machines()->currentIndex(), -1);
    EXPECT_TRUE(repairmen()->selectedItems().isEmpty());

    chooseMachine(0);
    const std::size_t before = requestCount();
    pressOk();
    EXPECT_TRUE(command(before).starts_with(R"({"id_service":"0","command":"save_service")")) << command(before);
}

TEST_F(RecordEditorTest, EachSelectedLineSendsTheIdOfItsOwnRepairmanOnce) {
    const struct {
        std::vector<int> lines;
        const char* ids;
    } cases[] = {
        {{1}, R"([\"8\"])"},
        {{2}, R"([\"9\"])"},
        {{2, 1}, R"([\"8\",\"9\"])"},
        {{}, "[]"},
    };
    for (const auto& c : cases) {
        openForAdd();
        chooseMachine(0);
        for (int line : c.lines)
            clickRepairman(line, Qt::ControlModifier);
        const std::size_t before = requestCount();
        pressOk();
        EXPECT_NE(command(before).find(std::string(R"("ids_repairman_service":"{\"ids_repairman\":)") + c.ids + "}"),
                  std::string::npos)
            << command(before);
    }
}

TEST_F(RecordEditorTest, ShiftClickChoosesARangeOfRepairmen) {
    openForAdd();
    chooseMachine(0);
    clickRepairman(0);
    clickRepairman(2, Qt::ShiftModifier);
    EXPECT_EQ(repairmen()->selectedItems().size(), 3);
}

TEST_F(RecordEditorTest, SavesTheIdsOfTheListsItShowsAfterTheJournalFetchedOthers) {
    openForAdd();
    chooseMachine(1); // Станок, id 7
    clickRepairman(0);

    // The journal's edit fetches new lists, then its record request is refused: the editor stays as it was.
    answerNextRequest(R"({"success":true,"list":{"machine":[{"Id":"50","Title":"Фреза"},{"Id":"51","Title":"Станок"}],)"
                      R"("repairman":[{"Id":"60","Name":"Сидоров С."}]}})");
    answerNextRequest(R"({"error":"Запись не найдена"})");
    {
        MessageBoxCloser closer;
        QTest::mouseClick(child<QPushButton>("BitBtn5"), Qt::LeftButton);
    }
    ASSERT_EQ(journal::testing::asJson(*form1->JsonMachine()).at(0).at("Id"), "50");

    const std::size_t before = requestCount();
    pressOk();
    const std::string sent = command(before);
    EXPECT_NE(sent.find(R"("id_machine_service":"7")"), std::string::npos) << sent;
    EXPECT_NE(sent.find(R"([\"5\"])"), std::string::npos) << sent;
}

TEST_F(RecordEditorTest, OpeningAnotherRecordWhileOpenStartsFromACleanEditor) {
    openForEdit(kRecordOneUid);
    openForEdit(kFinishedRecord);

    EXPECT_EQ(memo()->toPlainText(), "Смазка\nнаправляющих");
    ASSERT_EQ(repairmen()->count(), 3) << "the lists are not added twice";
    EXPECT_EQ(repairmen()->selectedItems().size(), 1);
    const std::size_t before = requestCount();
    pressOk();
    EXPECT_TRUE(command(before).starts_with(R"({"id_service":"2","command":"edit_service","id_machine_service":"7",)"
                                            R"("description_service":" Смазка направляющих",)"))
        << command(before);
}

TEST_F(RecordEditorTest, WithoutListsOpensEmptyAndRefusesOk) {
    MessageBoxCloser closer;
    openForAdd(R"({"error":"Справочники недоступны"})");
    ASSERT_TRUE(editor()->isVisible()) << "add opens the editor whatever the list request brought";
    EXPECT_EQ(machines()->count(), 0);
    EXPECT_EQ(repairmen()->count(), 0);

    const std::size_t before = requestCount();
    pressOk();
    EXPECT_EQ(requestCount(), before);
    EXPECT_EQ(closer.shown().back().text, "Не выбрано из списка оборудование.");
}

TEST_F(RecordEditorTest, DescriptionIsSentAsTheMemoShowsItsLines) {
    openForAdd();
    chooseMachine(0);
    // One word wider than the memo: shown on several lines, each sent after a blank.
    const QString word(120, QChar(u'Ш'));
    typeInto(memo(), word);
    const std::size_t before = requestCount();
    pressOk();

    const journal::Json sent = journal::parseJson(command(before));
    const QString description = QString::fromStdString(sent.at("description_service").get<std::string>());
    EXPECT_GT(description.count(u' '), 1) << description.toStdString();
    EXPECT_TRUE(description.startsWith(u' '));
    EXPECT_EQ(QString(description).remove(u' '), word);
}

// A text that wraps at its blanks is sent with one blank at each wrap, so saving and editing it again
// never makes it grow.
TEST_F(RecordEditorTest, TextWrappedAtItsBlanksKeepsOneBlankAtEachWrap) {
    openForAdd();
    chooseMachine(0);
    const QString text = QStringLiteral("замена ремня и натяжного ролика ").repeated(6).trimmed();
    typeInto(memo(), text);
    ASSERT_GT(journal::displayedLines(memo()).size(), 1) << "the text must wrap for this test";
    const std::size_t before = requestCount();
    pressOk();

    const journal::Json sent = journal::parseJson(command(before));
    EXPECT_EQ(QString::fromStdString(sent.at("description_service").get<std::string>()), u' ' + text);
}

using RecordEditorDeathTest = RecordEditorTest;

TEST_F(RecordEditorDeathTest, RecordItCannotReadEndsTheProgramWithTheFixedMessage) {
    const char* records[] = {
        R"({"Uid":"2","Machine":"Станок","Description":"","Repairman":[],"DateStart":"31.02.2026",)"
        R"("TimeStart":"09:15:00","DateFinish":null})",
        R"({"Uid":"2","Machine":"Станок","Description":"","Repairman":[],"DateStart":"03.02.2026",)"
        R"("TimeStart":"25:00:00","DateFinish":null})",
        R"({"Uid":"2","Machine":"Станок","Repairman":[],"DateStart":"03.02.2026","TimeStart":"09:15:00",)"
        R"("DateFinish":null})",
        R"({"Uid":"2","Machine":"Станок","Description":"","Repairman":"Петров П.","DateStart":"03.02.2026",)"
        R"("TimeStart":"09:15:00","DateFinish":null})",
        R"({"Uid":"2","Machine":"Станок","Description":"","Repairman":[],"DateStart":"03.02.2026",)"
        R"("TimeStart":"09:15:00","DateFinish":"04.02.2026"})",
    };
    for (const char* record : records) {
        SCOPED_TRACE(record);
        expectFixedMessageAndEnd([&] { openForEdit(record); });
    }
}

} // namespace
