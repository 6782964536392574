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
