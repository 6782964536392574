#pragma once

class QWidget;

namespace journal {

// Gives every control of a window an accessible name a screen reader can say: a button its caption
// or, for a picture button, its hint; an input the text of the label whose buddy it is. Names set
// in the form stay.
void nameControlsForAccessibility(QWidget* window);

} // namespace journal
