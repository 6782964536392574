#include "DirectoryFixture.h"

#include <QDateEdit>

using journal::testing::MessageBoxCloser;

namespace {

struct DateCase {
    const char* construct; // the row's AtConstruct
    QDate shown;           // invalid: today, after the message
    const char* sent;      // nullptr: today's date

    friend void PrintTo(const DateCase& c, std::ostream* out) { *out << '"' << c.construct << '"'; }
};

class WorkshopDateTest : public DirectoryFixture, public ::testing::WithParamInterface<DateCase> {};

TEST_P(WorkshopDateTest, PickerShowsTheConstructionDateAndOkSendsIt) {
    MessageBoxCloser closer;
    openFromJournal("BitBtn2", std::string(R"({"success":true,"data":[{"Id":"21","Title":"Литейный","AtConstruct":")") +
                                   GetParam().construct + R"("}]})");
    QWidget* directory = window("TForm4");
    QWidget* editor = window("TForm5");
    selectRow(directory, 0);
    click(directory, "BitBtn2");
    ASSERT_TRUE(editor->isVisible()) << "the program goes on";

    const bool readable = GetParam().shown.isValid();
    EXPECT_EQ(child<QDateEdit>(editor, "DateTimePicker1")->date(), readable ? GetParam().shown : QDate::currentDate());
    if (readable) {
        EXPECT_TRUE(closer.shown().empty());
    } else {
        ASSERT_EQ(closer.shown().size(), 1u);
        EXPECT_EQ(closer.shown()[0].caption, "Ошибка");
        EXPECT_EQ(closer.shown()[0].text, QStringLiteral("Дата постройки корпуса «%1» не распознана: выбрана "
                                                         "сегодняшняя дата.")
                                              .arg(QString::fromUtf8(GetParam().construct)));
    }

    takeSent();
    answerNextRequest(R"({"success":true})");
    click(editor, "BitBtn1");
    const std::string date =
        GetParam().sent != nullptr ? GetParam().sent : QDate::currentDate().toString("dd.MM.yyyy").toStdString();
    EXPECT_EQ(takeSent().at(0), R"({"command":"edit_workshop","id_workshop":"21","name_workshop":"Литейный",)"
                                R"("description_workshop":"","date_workshop":")" +
                                    date + R"("})");
}

INSTANTIATE_TEST_SUITE_P(Dates, WorkshopDateTest,
                         ::testing::Values(DateCase{"14.05.1968", {1968, 5, 14}, "14.05.1968"},
                                           DateCase{"14.05.1968 10:30:00", {1968, 5, 14}, "14.05.1968"},
                                           DateCase{" 01.09.1975 ", {1975, 9, 1}, "01.09.1975"},
                                           DateCase{"29.02.2023", {}, nullptr}, DateCase{"1968-05-14", {}, nullptr},
                                           DateCase{"14.05.1968 полдень", {}, nullptr}, DateCase{"", {}, nullptr}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

using RepairmanEditorTest = DirectoryFixture;

TEST_F(RepairmanEditorTest, EmptyInputsAreSentAsEmptyStrings) {
    openFromJournal("BitBtn3", R"({"success":true,"data":[]})");
    click(window("TForm6"), "BitBtn1");
    takeSent();
    answerNextRequest(R"({"success":true})");
    click(window("TForm7"), "BitBtn1");
    EXPECT_EQ(takeSent().at(0), R"({"command":"save_repairman","id_repairman":"0","surname_repairman":"",)"
                                R"("name_repairman":"","patronymic_repairman":"","profession_repairman":""})");
}

} // namespace
