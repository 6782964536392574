#pragma once

class QString;
class QWidget;

namespace journal {

// Asks before a deletion: a box modal over `window` with the caption "Информация", the warning
// icon and the buttons OK (the default) and Cancel. True only when the user pressed OK.
bool confirmDeletion(QWidget* window, const QString& question);

} // namespace journal
