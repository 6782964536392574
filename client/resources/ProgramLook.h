#pragma once

#include <QIcon>

class QApplication;

namespace journal {

// The program's icon, rendered from its drawing in the sizes the desktop asks for (16 to 256 pixels).
QIcon programIcon();

// Registers the bundled Tahoma when the system carries it (DejaVu Sans stands in otherwise) and sets
// the font Tahoma 8 pt and the program's icon for every window.
void applyProgramLook(QApplication& application);

} // namespace journal
