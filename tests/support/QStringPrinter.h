#pragma once

#include <QString>
#include <ostream>

// Lets GoogleTest print a QString as its text in failure messages instead of its bytes.
// Include it in every test file that compares QStrings (ADL finds it in the global namespace).
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
