#include "ActivityIndicator.h"
#include "JournalFixture.h"
#include "QStringPrinter.h"
#include "Unit11.h"
#include "Unit8.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

using journal::testing::MessageBoxCloser;

const std::string kOneRecordLeft = R"({"success":true,"data":[{"Id":"2"}]})";

class JournalActionsTest : public JournalFixture {
protected:
    void trigger(const char* name) {
        if (auto* button = form1->findChild<QPushButton*>(QString::fromLatin1(name)))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            child<QAction>(name)->trigger();
    }
};

TEST_F(JournalActionsTest, DeleteAsksAboutTheCurrentRecordAndShowsTheJournalThatComesBack) {
    showJournal(kTwoRecords);
    for (const char* trigger : {"BitBtn6", "N11"}) {
        SCOPED_TRACE(trigger);
        sendCommandAnswered(kTwoRecords);
        const std::size_t before = server.requests().size();
        answerNextRequest(kOneRecordLeft);
        MessageBoxCloser closer;
        this->trigger(trigger);

        ASSERT_EQ(closer.shown().size(), 1u);
        EXPECT_EQ(closer.shown()[0].caption, "Информация");
        EXPECT_EQ(closer.shown()[0].icon, QMessageBox::Warning);
        EXPECT_EQ(closer.shown()[0].text, "Вы желаете удалить запись №1?");
        EXPECT_EQ(commandsSince(before), (std::vector<std::string>{R"({"command":"delete_service","id":"1"})"}));
        EXPECT_EQ(gridRows(), 1);
        EXPECT_EQ(gridText(0, 0), "2");
    }
}

TEST_F(JournalActionsTest, DeleteQuestionNamesTheHighlightedRowAndIsModalWithOkAsDefault) {
    showJournal(R"({"success":true,"data":[{"Id":"1"},{"Id":"12"}]})");
    grid()->setCurrentIndex(grid()->model()->index(1, 2));
    MessageBoxCloser closer;
    closer.setAnswer(QMessageBox::Cancel);
    closer.setWhileOpen([&](QMessageBox& box) {
        EXPECT_TRUE(box.isModal());
        EXPECT_EQ(box.textFormat(), Qt::PlainText);
        EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::Ok));
        EXPECT_NE(box.button(QMessageBox::Cancel), nullptr);
    });
    const std::size_t before = server.requests().size();
    trigger("BitBtn6");

    ASSERT_EQ(closer.shown().size(), 1u);
    EXPECT_EQ(closer.shown()[0].text, "Вы желаете удалить запись №12?");
    EXPECT_EQ(server.requests().size(), before) << "Cancel sends nothing";
    EXPECT_EQ(gridRows(), 2);
}

TEST_F(JournalActionsTest, ActionsOnAnEmptyJournalSayNoRowIsSelectedAndSendNothing) {
    const struct {
        const char* trigger;
        const char* message;
    } cases[] = {
        {"BitBtn6", "Не выбрана строка для удаления."},
        {"N11", "Не выбрана строка для удаления."},
        {"N14", "Не выбрана строка для просмотра."},
    };
    showJournal(R"({"success":true,"data":[]})");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.trigger);
        MessageBoxCloser closer;
        const std::size_t before = server.requests().size();
        trigger(c.trigger);
        ASSERT_EQ(closer.shown().size(), 1u);
        EXPECT_EQ(closer.shown()[0].caption, "Ошибка");
        EXPECT_EQ(closer.shown()[0].text, c.message);
        EXPECT_EQ(server.requests().size(), before);
    }
}

TEST_F(JournalActionsTest, EditOnAnEmptyJournalStillAsksForTheListsAndTheRecord) {
    showJournal(R"({"success":true,"data":[]})");
    const std::size_t before = server.requests().size();
    answerNextRequest(R"({"success":true,"list":{"machine":[],"repairman":[]}})");
    answerNextRequest(R"({"error":"Запись не найдена"})");
    MessageBoxCloser closer;
    trigger("N10");

    EXPECT_EQ(commandsSince(before), (std::vector<std::string>{R"({"command":"load_list_data"})",
                                                               R"({"command":"uid_service","id_service":""})"}));
    ASSERT_EQ(closer.shown().size(), 1u);
    EXPECT_EQ(closer.shown()[0].text, "Запись не найдена");
    EXPECT_FALSE(window<TForm8>()->isVisible());
}

TEST_F(JournalActionsTest, AddAsksForTheListsThenOpensTheEditorForANewRecord) {
    showJournal(kTwoRecords);
    const std::size_t before = server.requests().size();
    answerNextRequest(R"({"success":true,"list":{"machine":[{"Id":"3","Title":"Пресс"}],"repairman":[]}})");
    trigger("N9");

    EXPECT_EQ(commandsSince(before), (std::vector<std::string>{R"({"command":"load_list_data"})"}));
    EXPECT_TRUE(window<TForm8>()->isVisible());
    EXPECT_EQ(window<TForm8>()->windowTitle(), "Добавить запись в журнал");
}

TEST_F(JournalActionsTest, DetailsShowTheRecordOfTheCurrentRow) {
    showJournal(kTwoRecords);
    const std::size_t before = server.requests().size();
    answerNextRequest(R"({"success":true,"view":)" + kRecordOneView + "}");
    trigger("N14");

    EXPECT_EQ(commandsSince(before), (std::vector<std::string>{R"({"command":"view_service","id_service":"1"})"}));
    auto* details = window<TForm11>();
    ASSERT_TRUE(details->isVisible());
    EXPECT_EQ(details->findChild<QLabel*>("Label7")->text(), "Станок");
}

// Only adding and editing start the indicator; a refusal leaves it as the action left it.
TEST_F(JournalActionsTest, OnlyAddAndEditStartTheActivityIndicator) {
    const struct {
        const char* trigger;
        bool runs;
    } cases[] = {{"BitBtn4", true}, {"BitBtn5", true}, {"BitBtn6", false}, {"N14", false}, {"N17", false}};
    showJournal(kTwoRecords);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.trigger);
        sendCommandAnswered(kTwoRecords);
        ASSERT_FALSE(indicator()->isAnimating());
        journal::testing::Reply refusal;
        refusal.body = R"({"error":"Сервер занят"})";
        server.setDefaultReply(refusal);
        {
            MessageBoxCloser closer;
            trigger(c.trigger);
        }
        EXPECT_EQ(indicator()->isAnimating(), c.runs);
        window<TForm8>()->hide();
        journal::testing::Reply fine;
        fine.body = R"({"success":true})";
        server.setDefaultReply(fine);
    }
}

} // namespace
