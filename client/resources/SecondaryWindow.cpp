#include "SecondaryWindow.h"

namespace journal {

SecondaryWindow::SecondaryWindow(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                              Qt::MSWindowsFixedSizeDialogHint) {}

void SecondaryWindow::setVisible(bool visible) {
    // Showing a visible window only brings it to the front; only a fresh opening is placed.
    if (visible && isVisible()) {
        raise();
        activateWindow();
        return;
    }
    if (visible)
        centreOverMainWindow();
    QDialog::setVisible(visible);
}

void SecondaryWindow::centreOverMainWindow() {
    const QWidget* mainWindow = parentWidget();
    if (mainWindow == nullptr)
        return;
    const QPoint centre = mainWindow->frameGeometry().center();
    move(centre - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
}

} // namespace journal
