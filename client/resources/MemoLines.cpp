#include "MemoLines.h"

#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>

namespace journal {

QStringList displayedLines(const QPlainTextEdit* memo) {
    QStringList lines;
    const QTextDocument* document = memo->document();
    auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document->documentLayout());
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (layout != nullptr)
            layout->ensureBlockLayout(block); // the memo lays out only what it has painted
        const QString text = block.text();
        const QTextLayout* blockLayout = block.layout();
        const int lineCount = blockLayout != nullptr ? blockLayout->lineCount() : 0;
        if (lineCount == 0) {
            lines << text;
            continue;
        }
        for (int i = 0; i < lineCount; ++i) {
            const QTextLine line = blockLayout->lineAt(i);
            QString shown = text.mid(line.textStart(), line.textLength());
            if (i + 1 < lineCount && shown.endsWith(u' '))
                shown.chop(1);
            lines << shown;
        }
    }
    if (document->isEmpty())
        return {};
    return lines;
}

} // namespace journal
