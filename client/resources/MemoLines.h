#pragma once

#include <QStringList>

class QPlainTextEdit;

namespace journal {

// The lines of a memo as it shows them: a paragraph that the memo wraps at its width gives one
// line per screen line. The blank at which a line wraps belongs to no line, so a text saved from
// its lines and shown again wraps the same way instead of gaining a blank at every wrap.
QStringList displayedLines(const QPlainTextEdit* memo);

} // namespace journal
