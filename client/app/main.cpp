#include "ErrorMessageServer.h"
#include "ProgramLook.h"
#include "ProgramWindows.h"
#include "Unit1.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // Lets the desktop match the program's windows to its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("repair-journal"));
    journal::applyProgramLook(application);
    TErrorMessageServer::wireToChannel();

    const auto journalWindow = journal::createProgramWindows();
    journalWindow->adjustSize();
    const QRect desktop = journalWindow->screen()->availableGeometry();
    journalWindow->move(desktop.center() - journalWindow->rect().center());
    // Its show handler asks for the journal before the window is first drawn.
    journalWindow->show();
    return QApplication::exec();
}
