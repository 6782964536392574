#include "MessageBoxCloser.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <cstdio>

namespace journal::testing {

MessageBoxCloser::MessageBoxCloser() {
    connect(&fPoll, &QTimer::timeout, this, &MessageBoxCloser::closeVisibleBoxes);
    fPoll.start(10);
}

void MessageBoxCloser::closeVisibleBoxes() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        QPointer box = qobject_cast<QMessageBox*>(window);
        if (box == nullptr || !box->isVisible()) {
            continue;
        }
        fShown.push_back({box->windowTitle(), box->icon(), box->text()});
        std::fprintf(stderr, "message box: %s: %s\n", qUtf8Printable(box->windowTitle()), qUtf8Printable(box->text()));
        if (fWhileOpen) {
            fWhileOpen(*box);
        }
        if (box == nullptr) {
            continue;
        }
        if (QAbstractButton* answer = box->button(fAnswer)) {
            answer->click();
        } else {
            box->reject();
        }
    }
}

} // namespace journal::testing
