#pragma once

#include <QString>
#include <QStringList>

// How the editors' memos travel: texts read from answers are trimmed before they are shown, and the
// lines a memo shows are joined into the one text the server keeps.
namespace journal {

// Removes leading and trailing characters of code 32 and below (blanks, tabs, line breaks).
QString trimBlanks(const QString& text);

// A description from a memo's lines as it shows them: each line preceded by one blank.
QString joinDescription(const QStringList& lines);

} // namespace journal
