#pragma once

#include <QDialog>

namespace journal {

// A window other than the journal window: owned by the main window (so it has no task-bar button),
// created once and hidden rather than destroyed on close. Each opening centres it over the main window
// again, wherever the user had moved it.
class SecondaryWindow : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SecondaryWindow)
public:
    explicit SecondaryWindow(QWidget* mainWindow);

    void setVisible(bool visible) override;

private:
    void centreOverMainWindow();
};

} // namespace journal
