#include "text/DateTimeFormat.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace journal {
namespace {

struct PatternCase {
    const char* pattern;
    DateTimePattern::Kind kind;
    DateTime value;
    const char* text;
};

constexpr auto date = DateTimePattern::Kind::Date;
constexpr auto time = DateTimePattern::Kind::Time;

class PatternRoundTrip : public ::testing::TestWithParam<PatternCase> {};

TEST_P(PatternRoundTrip, FormatsAndReadsBack) {
    const PatternCase& c = GetParam();
    const DateTimePattern pattern(c.pattern, c.kind);

    EXPECT_EQ(pattern.format(c.value), c.text);
    EXPECT_EQ(pattern.parse(c.text), c.value);
}

INSTANTIATE_TEST_SUITE_P(Patterns, PatternRoundTrip,
                         ::testing::Values(PatternCase{"dd.MM.yyyy", date, {{2024, 3, 9}, {}}, "09.03.2024"},
                                           PatternCase{"d.M.yy", date, {{2024, 3, 9}, {}}, "9.3.24"},
                                           PatternCase{"M/d/yyyy", date, {{2024, 12, 31}, {}}, "12/31/2024"},
                                           PatternCase{"yyyy-MM-dd", date, {{1975, 1, 2}, {}}, "1975-01-02"},
                                           PatternCase{"dd 'г.' MM yyyy", date, {{2024, 2, 29}, {}}, "29 г. 02 2024"},
                                           PatternCase{"HH:mm:ss", time, {{}, {7, 5, 3}}, "07:05:03"},
                                           PatternCase{"H:mm", time, {{}, {23, 59, 0}}, "23:59"},
                                           PatternCase{"h:mm:ss AP", time, {{}, {0, 30, 0}}, "12:30:00 AM"},
                                           PatternCase{"hh:mm ap", time, {{}, {13, 1, 0}}, "01:01 pm"}));

struct RejectedText {
    const char* pattern;
    DateTimePattern::Kind kind;
    const char* text;
};

class RejectedTexts : public ::testing::TestWithParam<RejectedText> {};

TEST_P(RejectedTexts, AreNotRead) {
    const RejectedText& c = GetParam();
    EXPECT_EQ(DateTimePattern(c.pattern, c.kind).parse(c.text), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RejectedTexts,
    ::testing::Values(RejectedText{"dd.MM.yyyy", date, "31.02.2024"}, RejectedText{"dd.MM.yyyy", date, "29.02.2023"},
                      RejectedText{"dd.MM.yyyy", date, "1.03.2024"}, RejectedText{"dd.MM.yyyy", date, "01.03.2024 "},
                      RejectedText{"dd.MM.yyyy", date, "01-03-2024"}, RejectedText{"dd.MM.yyyy", date, ""},
                      RejectedText{"HH:mm:ss", time, "24:00:00"}, RejectedText{"HH:mm:ss", time, "12:60:00"},
                      RejectedText{"h:mm AP", time, "13:00 PM"}, RejectedText{"h:mm AP", time, "1:00 XM"}));

TEST(DateTimePattern, RefusesPatternsItCannotReadBack) {
    EXPECT_THROW(DateTimePattern("dddd dd.MM.yyyy", date), std::invalid_argument);
    EXPECT_THROW(DateTimePattern("dd.MMM.yyyy", date), std::invalid_argument);
    EXPECT_THROW(DateTimePattern("dd.MM", date), std::invalid_argument);
    EXPECT_THROW(DateTimePattern("HH:mm", date), std::invalid_argument);
    EXPECT_THROW(DateTimePattern("ss", time), std::invalid_argument);
    EXPECT_THROW(DateTimePattern("HH 'mm", time), std::invalid_argument);
}

TEST(ServerFormats, DisplayTextsFitTheClientsColumns) {
    const DateTime afternoon{{2026, 12, 10}, {14, 5, 9}};

    EXPECT_EQ(ServerFormats("dd.MM.yyyy", "HH:mm:ss").formatDateTime(afternoon), "10.12.2026 14:05:09");
    // A US workstation's long time would not fit (and would lose its AM/PM when cut): the list shows a
    // 24-hour time, while the record's own time still travels in the workstation's form.
    const ServerFormats us("M/d/yyyy", "h:mm:ss AP");
    EXPECT_EQ(us.formatDateTime(afternoon), "12/10/2026 14:05");
    EXPECT_EQ(us.formatTime(afternoon.time), "2:05:09 PM");
    EXPECT_THROW(ServerFormats("dd 'day' MM 'month' yyyy", "HH:mm:ss"), std::invalid_argument);
}

TEST(IsoForms, SortAsTimeAndReadBack) {
    const DateTime earlier{{2023, 12, 10}, {9, 0, 0}};
    const DateTime later{{2024, 1, 2}, {8, 0, 0}};

    EXPECT_LT(toIso(earlier), toIso(later));
    EXPECT_EQ(dateTimeFromIso(toIso(later)), later);
    EXPECT_EQ(dateTimeFromIso("2024-01-02T08:00:00"), std::nullopt);
}

} // namespace
} // namespace journal
