#include "RegionalFormats.h"

#include <QChar>

namespace journal {
namespace {

// Rewrites every unquoted run of `letter` in a Qt date/time format; quoted text stays.
template <typename Rewrite>
QString rewriteRuns(const QString& format, QChar letter, Rewrite rewrite) {
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == u'\'') {
            quoted = !quoted;
        }
        if (quoted || c != letter) {
            out += c;
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < format.size() && format[end] == letter) {
            ++end;
        }
        out += rewrite(end - i);
        i = end;
    }
    return out;
}

} // namespace

// A two-digit year loses its century on the way to the server and back.
QString RegionalFormats::dateFormatOf(const QLocale& locale) {
    return rewriteRuns(locale.dateFormat(QLocale::ShortFormat), u'y', [](qsizetype) { return QStringLiteral("yyyy"); });
}

// The zone name cannot be read back and means nothing to the server.
QString RegionalFormats::timeFormatOf(const QLocale& locale) {
    return rewriteRuns(locale.timeFormat(QLocale::LongFormat), u't', [](qsizetype) { return QString(); }).trimmed();
}

QString RegionalFormats::dateFormat() {
    return dateFormatOf(QLocale::system());
}
QString RegionalFormats::timeFormat() {
    return timeFormatOf(QLocale::system());
}

QString RegionalFormats::dateText(const QDate& date) {
    return QLocale::system().toString(date, dateFormat());
}
QString RegionalFormats::timeText(const QTime& time) {
    return QLocale::system().toString(time, timeFormat());
}

QDate RegionalFormats::parseDate(const QString& text) {
    return QLocale::system().toDate(text.trimmed(), dateFormat());
}
QTime RegionalFormats::parseTime(const QString& text) {
    return QLocale::system().toTime(text.trimmed(), timeFormat());
}

} // namespace journal
