#include "DirectoryFixture.h"

#include "KeyboardInput.h"
#include "ProgramWindows.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {

const std::string kKeyField = "&key=QmWrTsXnPdKa";

} // namespace

DirectoryFixture::DirectoryFixture() {
    server.useAsEndpoint();
    journal::testing::Reply unanswered;
    unanswered.body = "{}";
    server.setDefaultReply(unanswered);
    form1 = journal::createProgramWindows();
    answerNextRequest(R"({"success":true,"data":[]})");
    form1->show();
    takeSent();
}

void DirectoryFixture::answerNextRequest(const std::string& answer) {
    journal::testing::Reply reply;
    reply.body = answer;
    server.script(std::move(reply));
}

std::vector<std::string> DirectoryFixture::takeSent() {
    std::vector<std::string> commands;
    const auto requests = server.requests();
    for (std::size_t i = fTaken; i < requests.size(); ++i) {
        EXPECT_TRUE(requests[i].body.ends_with(kKeyField)) << requests[i].body;
        commands.push_back(requests[i].command());
    }
    fTaken = requests.size();
    return commands;
}

QWidget* DirectoryFixture::window(const char* name) const {
    return child(form1.get(), name);
}

void DirectoryFixture::click(const QWidget* window, const char* button) const {
    QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
}

void DirectoryFixture::trigger(const QWidget* window, const char* action) const {
    child<QAction>(window, action)->trigger();
}

void DirectoryFixture::openFromJournal(const char* button, const std::string& answer) {
    answerNextRequest(answer);
    click(form1.get(), button);
}

int DirectoryFixture::rows(const QWidget* directory) const {
    return child<QTableView>(directory, "DBGrid1")->model()->rowCount();
}

QString DirectoryFixture::cell(const QWidget* directory, int row, int column) const {
    return child<QTableView>(directory, "DBGrid1")->model()->index(row, column).data().toString();
}

void DirectoryFixture::selectRow(const QWidget* directory, int row) const {
    auto* grid = child<QTableView>(directory, "DBGrid1");
    const QRect place = grid->visualRect(grid->model()->index(row, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, place.center());
}

QString DirectoryFixture::inputText(const QWidget* input) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(input))
        return edit->text();
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(input))
        return memo->toPlainText();
    if (const auto* combo = qobject_cast<const QComboBox*>(input))
        return combo->currentIndex() < 0 ? QString() : combo->currentText();
    if (const auto* date = qobject_cast<const QDateEdit*>(input))
        return date->date().toString(QStringLiteral("dd.MM.yyyy"));
    ADD_FAILURE() << "not an input: " << input->objectName().toStdString();
    return {};
}

void DirectoryFixture::type(QWidget* input, const QString& text) {
    if (auto* combo = qobject_cast<QComboBox*>(input)) {
        for (int presses = 0; combo->currentText() != text && presses <= combo->count(); ++presses)
            QTest::keyClick(combo, Qt::Key_Down);
        EXPECT_EQ(combo->currentText(), text);
        return;
    }
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(input, Qt::Key_Return);
        journal::testing::typeText(input, lines[i]);
    }
}

bool DirectoryFixture::locked(const QWidget* input) {
    const auto* memo = qobject_cast<const QPlainTextEdit*>(input);
    return !input->isEnabled() || (memo != nullptr && memo->isReadOnly());
}
