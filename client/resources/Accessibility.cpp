#include "Accessibility.h"

#include <QAbstractButton>
#include <QLabel>
#include <QWidget>

namespace journal {
namespace {

QString spoken(QString caption) {
    caption.remove(u'&');
    caption = caption.trimmed();
    if (caption.endsWith(u':'))
        caption.chop(1);
    return caption;
}

void nameIfUnnamed(QWidget* control, const QString& name) {
    if (control->accessibleName().isEmpty() && !name.isEmpty())
        control->setAccessibleName(name);
}

} // namespace

void nameControlsForAccessibility(QWidget* window) {
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        nameIfUnnamed(button, spoken(button->text().isEmpty() ? button->toolTip() : button->text()));
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (QWidget* input = label->buddy())
            nameIfUnnamed(input, spoken(label->text()));
    }
}

} // namespace journal
