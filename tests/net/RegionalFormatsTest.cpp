#include "RegionalFormats.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

using journal::RegionalFormats;

struct LocaleCase {
    const char* locale;
    QString date;
    QString time;
};

// Names the case in test names and failure messages.
void PrintTo(const LocaleCase& c, std::ostream* os) {
    *os << c.locale;
}

class LocaleFormats : public testing::TestWithParam<LocaleCase> {};

TEST_P(LocaleFormats, HaveFourDigitYearsAndNoTimeZone) {
    const QLocale locale(GetParam().locale);
    EXPECT_EQ(RegionalFormats::dateFormatOf(locale), GetParam().date);
    EXPECT_EQ(RegionalFormats::timeFormatOf(locale), GetParam().time);
}

INSTANTIATE_TEST_SUITE_P(Cases, LocaleFormats,
                         testing::Values(LocaleCase{"ru_RU", "dd.MM.yyyy", "HH:mm:ss"},
                                         LocaleCase{"en_US", "M/d/yyyy", "h:mm:ss AP"},
                                         LocaleCase{"de_DE", "dd.MM.yyyy", "HH:mm:ss"},
                                         LocaleCase{"bg_BG", "d.MM.yyyy 'г'.", "H:mm:ss 'ч'."}));

// Whatever the workstation's locale, what is written reads back the same, century included.
TEST(RegionalFormats, DatesAndTimesReadBackAsWritten) {
    EXPECT_TRUE(RegionalFormats::dateText(QDate(2026, 12, 10)).contains("2026"));
    EXPECT_FALSE(RegionalFormats::timeFormat().contains('t'));
    for (const QDate& date : {QDate(1926, 12, 10), QDate(2026, 1, 2), QDate(2099, 12, 31)}) {
        EXPECT_EQ(RegionalFormats::parseDate(RegionalFormats::dateText(date)), date)
            << date.toString(Qt::ISODate).toStdString();
    }
    for (const QTime& time : {QTime(0, 0, 0), QTime(9, 5, 7), QTime(23, 59, 59)}) {
        EXPECT_EQ(RegionalFormats::parseTime(RegionalFormats::timeText(time)), time) << time.toString().toStdString();
    }
    EXPECT_FALSE(RegionalFormats::parseDate("not a date").isValid());
    EXPECT_FALSE(RegionalFormats::parseTime("").isValid());
}

} // namespace
