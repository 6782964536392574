#include "JournalFixture.h"

#include "ActivityIndicator.h"
#include "ProgramWindows.h"

JournalFixture::JournalFixture() {
    server.useAsEndpoint();
    form1 = journal::createProgramWindows();
}

void JournalFixture::answerNextRequest(const std::string& answer) {
    journal::testing::Reply reply;
    reply.body = answer;
    server.script(std::move(reply));
}

void JournalFixture::showJournal(const std::string& answer) {
    answerNextRequest(answer);
    form1->show();
}

void JournalFixture::sendCommandAnswered(const std::string& answer) {
    answerNextRequest(answer);
    child<QAction>("N17")->trigger();
}

journal::ActivityIndicator* JournalFixture::indicator() const {
    return child<journal::ActivityIndicator>("ActivityIndicator1");
}

QString JournalFixture::gridText(int row, int column) const {
    return grid()->model()->index(row, column).data().toString();
}

std::vector<std::string> JournalFixture::commandsSince(std::size_t first) const {
    std::vector<std::string> commands;
    const auto requests = server.requests();
    for (std::size_t i = first; i < requests.size(); ++i)
        commands.push_back(requests[i].command());
    return commands;
}

void JournalFixture::expectFixedMessageAndEnd(const std::function<void()>& action) {
    EXPECT_EXIT(
        {
            journal::testing::MessageBoxCloser closer;
            action();
            std::_Exit(3); // not reached when the program ended
        },
        ::testing::ExitedWithCode(0), "message box: Ошибка: Сервер не доступен, программа будет закрыта!");
}
