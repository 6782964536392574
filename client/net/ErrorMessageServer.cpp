#include "ErrorMessageServer.h"

#include <QEventLoop>
#include <QMessageBox>
#include <QWidget>
#include <cstdlib>

namespace {

// A modal box (exec) would block every other window; a non-modal one waited for with a
// local loop blocks only its caller. Its owner is a window of its own that is never shown.
void showAndWait(const QString& message) {
    QWidget owner;
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Ошибка"), message, QMessageBox::Ok, &owner);
    box.setWindowModality(Qt::NonModal);
    QEventLoop loop;
    QObject::connect(&box, &QMessageBox::finished, &loop, &QEventLoop::quit);
    box.show();
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
