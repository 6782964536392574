#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

namespace journal {

// The one place where dates and times become text and back: the workstation's short date
// format with the year always in four digits, and its long time format without a time zone.
class RegionalFormats final {
public:
    static QString dateFormat();
    static QString timeFormat();
    static QString dateText(const QDate& date);
    static QString timeText(const QTime& time);
    static QDate parseDate(const QString& text); // invalid QDate when the text does not fit
    static QTime parseTime(const QString& text); // invalid QTime when the text does not fit

    // The formats above for a given locale.
    static QString dateFormatOf(const QLocale& locale);
    static QString timeFormatOf(const QLocale& locale);
};

} // namespace journal
