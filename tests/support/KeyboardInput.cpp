#include "KeyboardInput.h"

#include <QTest>

namespace journal::testing {

void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace journal::testing
