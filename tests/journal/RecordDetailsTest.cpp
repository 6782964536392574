#include "JournalFixture.h"
#include "QStringPrinter.h"
#include "Unit11.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

using journal::testing::MessageBoxCloser;

struct Shown {
    QString machine, description, repairmen, start, finish;
    bool operator==(const Shown&) const = default;
    friend void PrintTo(const Shown& s, std::ostream* out) {
        *out << "{" << s.machine.toStdString() << " | " << s.description.toStdString() << " | "
             << s.repairmen.toStdString() << " | " << s.start.toStdString() << " | " << s.finish.toStdString() << "}";
    }
};

class RecordDetailsTest : public JournalFixture {
protected:
    RecordDetailsTest() { showJournal(kTwoRecords); }

    TForm11* details() const { return window<TForm11>(); }
    void showDetails(const std::string& view) {
        answerNextRequest(R"({"success":true,"view":)" + view + "}");
        child<QAction>("N14")->trigger();
    }
    Shown shown() const {
        const auto text = [this](const char* name) { return details()->findChild<QLabel*>(name)->text(); };
        const auto memo = [this](const char* name) {
            return details()->findChild<QPlainTextEdit*>(name)->toPlainText();
        };
        return {text("Label7"), memo("Memo1"), memo("Memo2"), text("Label3"), text("Label8")};
    }
};

TEST_F(RecordDetailsTest, ShowsTheRecordAsTheServerSendsIt) {
    const struct {
        const char* view;
        Shown shown;
    } cases[] = {
        {R"({"Machine":" Станок ","Description":"\n  Замена ремня\nи шкива \t","Repairman":["  Петров П.","Иванов И. "],)"
         R"("DateStart":"01.02.2026","TimeStart":"08:00:00","DateFinish":"02.02.2026","TimeFinish":"17:30:00"})",
         {" Станок ", "Замена ремня\nи шкива", "Петров П.\nИванов И.", "01.02.2026 08:00:00", "02.02.2026 17:30:00"}},
        {R"({"Machine":"Пресс","Description":"","Repairman":[],"DateStart":"01.02.2026","TimeStart":"08:00:00",)"
         R"("DateFinish":null})",
         {"Пресс", "", "", "01.02.2026 08:00:00", ""}},
        {R"({"Machine":"Пресс","Description":"Осмотр","Repairman":[],"DateStart":"01.02.2026","TimeStart":"08:00:00",)"
         R"("DateFinish":"null","TimeFinish":"17:00:00"})",
         {"Пресс", "Осмотр", "", "01.02.2026 08:00:00", ""}},
        {R"({"Machine":12,"Description":null,"Repairman":[7],"DateStart":"01.02.2026","TimeStart":null,)"
         R"("DateFinish":null})",
         {"12", "null", "7", "01.02.2026 null", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.view);
        showDetails(c.view);
        EXPECT_TRUE(details()->isVisible());
        EXPECT_EQ(shown(), c.shown);
    }
}

TEST_F(RecordDetailsTest, ASecondRecordShownWhileOpenReplacesTheFirst) {
    showDetails(R"({"Machine":"Станок","Description":"Первая","Repairman":["Петров П."],"DateStart":"01.02.2026",)"
                R"("TimeStart":"08:00:00","DateFinish":null})");
    showDetails(R"({"Machine":"Пресс","Description":"Вторая","Repairman":["Иванов И."],"DateStart":"03.02.2026",)"
                R"("TimeStart":"09:00:00","DateFinish":null})");
    EXPECT_EQ(shown(), (Shown{"Пресс", "Вторая", "Иванов И.", "03.02.2026 09:00:00", ""}));
}

TEST_F(RecordDetailsTest, OkAndTheCloseBoxHideTheWindowAndEmptyTheMemos) {
    const struct {
        const char* name;
        void (*close)(TForm11& window);
    } ways[] = {
        {"OK", [](TForm11& w) { QTest::mouseClick(w.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton); }},
        {"Enter", [](TForm11& w) { QTest::keyClick(w.findChild<QPushButton*>("BitBtn1"), Qt::Key_Return); }},
        {"close box", [](TForm11& w) { w.close(); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        showDetails(kRecordOneView);
        way.close(*details());
        EXPECT_FALSE(details()->isVisible());
        EXPECT_EQ(shown().description, "");
        EXPECT_EQ(shown().repairmen, "");
        EXPECT_EQ(shown().machine, "Станок") << "the labels keep their texts";
    }
}

TEST_F(RecordDetailsTest, ViewItCannotShowEndsTheProgramWithTheFixedMessage) {
    const char* views[] = {
        R"({"Machine":"Пресс","Description":"","Repairman":[],"DateStart":"01.02.2026","TimeStart":"08:00:00"})",
        R"({"Machine":"Пресс","Description":"","Repairman":null,"DateStart":"01.02.2026","TimeStart":"08:00:00",)"
        R"("DateFinish":null})",
        R"({"Machine":"Пресс","Description":"","Repairman":[],"DateStart":"01.02.2026","TimeStart":"08:00:00",)"
        R"("DateFinish":"02.02.2026"})",
        R"({"Description":"","Repairman":[],"DateStart":"01.02.2026","TimeStart":"08:00:00","DateFinish":null})",
    };
    for (const char* view : views) {
        SCOPED_TRACE(view);
        expectFixedMessageAndEnd([&] { showDetails(view); });
    }
}

} // namespace
