#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <vector>

namespace journal::testing {

struct ShownMessageBox {
    QString caption;
    QMessageBox::Icon icon;
    QString text;
};

// Closes message boxes as soon as they are shown and records what they showed. Create it
// before the action that opens a box (the box's own event loop then runs the closer's timer);
// it keeps closing boxes until it is destroyed.
//
// Each closed box is also written to stderr as "message box: <caption>: <text>", so a death
// test can match the last message of a process that ends after its box.
class MessageBoxCloser final : public QObject {
    Q_OBJECT
public:
    MessageBoxCloser();

    // Called with the box while it is still open, before it is closed: lets a test look at
    // the program's windows while a box waits.
    void setWhileOpen(std::function<void(QMessageBox&)> whileOpen) { fWhileOpen = std::move(whileOpen); }

    // The button that closes each box (OK unless set); a box without it is rejected.
    void setAnswer(QMessageBox::StandardButton answer) { fAnswer = answer; }

    const std::vector<ShownMessageBox>& shown() const { return fShown; }

private:
    void closeVisibleBoxes();

    QTimer fPoll;
    std::function<void(QMessageBox&)> fWhileOpen;
    QMessageBox::StandardButton fAnswer = QMessageBox::Ok;
    std::vector<ShownMessageBox> fShown;
};

} // namespace journal::testing
