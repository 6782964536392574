#include "DescriptionText.h"

namespace journal {

QString trimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

QString joinDescription(const QStringList& lines) {
    QString description;
    for (const QString& line : lines)
        description += u' ' + line;
    return description;
}

} // namespace journal
