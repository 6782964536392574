#include "ErrorMessageServer.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>
#include <cstdlib>

namespace {

// Over the window the user was working in, or the middle of the screen: its owner is never shown,
// so Qt alone would put it in a corner.
void placeOverActiveWindow(QMessageBox& box) {
    const QWidget* active = QApplication::activeWindow();
    const QRect area = active != nullptr ? active->frameGeometry() : box.screen()->availableGeometry();
    box.move(area.center() - QPoint(box.frameGeometry().width() / 2, box.frameGeometry().height() / 2));
}

// A modal box (exec) would block every other window; a non-modal one waited for with a
// local loop blocks only its caller. Its owner is a window of its own that is never shown.
void showAndWait(const QString& message) {
    QWidget owner;
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Ошибка"), message, QMessageBox::Ok, &owner);
    box.setWindowModality(Qt::NonModal);
    box.setTextFormat(Qt::PlainText); // a server's message shows as sent, never as markup
    QEventLoop loop;
    QObject::connect(&box, &QMessageBox::finished, &loop, &QEventLoop::quit);
    box.show();
    placeOverActiveWindow(box);
    loop.exec();
}

class MessageBoxSink final : public journal::MessageSink {
public:
    void View(const QString& message, bool isCloseProg) override { TErrorMessageServer::View(message, isCloseProg); }
};

} // namespace

void TErrorMessageServer::View(const QString& message, bool isCloseProg) {
    if (isCloseProg) {
        ViewAndExit(message);
    }
    showAndWait(message);
}

void TErrorMessageServer::ViewAndExit(const QString& message) {
    showAndWait(message);
    std::_Exit(0); // at once: no window, table or channel gets to clean up
}

void TErrorMessageServer::wireToChannel() {
    static MessageBoxSink sink;
    journal::setMessageSink(&sink);
}
