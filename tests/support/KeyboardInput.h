#pragma once

#include <QString>

class QWidget;

namespace journal::testing {

// Types text into a widget key by key, like QTest::keyClicks, but also for characters outside
// ASCII (Cyrillic), which keyClicks cannot map to keys.
void typeText(QWidget* widget, const QString& text);

} // namespace journal::testing
