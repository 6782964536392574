#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace journal {

struct Date {
    int year = 2000;
    int month = 1;
    int day = 1;
    auto operator<=>(const Date&) const = default;
};

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    auto operator<=>(const TimeOfDay&) const = default;
};

struct DateTime {
    Date date;
    TimeOfDay time;
    auto operator<=>(const DateTime&) const = default;
};

// Storage form: "YYYY-MM-DD" and "YYYY-MM-DD HH:MM:SS", which sort chronologically as text.
std::string toIso(const Date& date);
std::string toIso(const DateTime& value);
std::optional<Date> dateFromIso(std::string_view text);
std::optional<DateTime> dateTimeFromIso(std::string_view text);

DateTime currentUtc();
// The server's local wall time of a UTC moment.
DateTime utcToLocal(const DateTime& utc);

// A Qt-style pattern (d dd M MM yy yyyy H HH h hh m mm s ss AP ap A a, 'quoted text', other characters literal).
// A date pattern holds only day, month and year; a time pattern only hour, minute, second and AM/PM.
class DateTimePattern {
public:
    enum class Kind { Date, Time };

    // Throws std::invalid_argument for a pattern this server cannot read back without loss.
    DateTimePattern(std::string_view pattern, Kind kind);

    std::string format(const DateTime& value) const;
    void appendTo(std::string& text, const DateTime& value) const;
    // The fields the pattern does not hold keep their defaults; the whole text must match.
    std::optional<DateTime> parse(std::string_view text) const;
    // The longest text that format() can give.
    std::size_t maxLength() const;

private:
    enum class Field { Literal, Day, Month, Year, Hour24, Hour12, Minute, Second, AmPm };
    struct Token {
        Field field = Field::Literal;
        int width = 0;          // 1 = as few digits as needed, 2 = zero-padded, 4 = four-digit year
        bool upperCase = false; // AM/PM spelling
        std::string literal;
    };

    void addToken(char letter, int count, bool hasAmPm);
    std::vector<Token> tokens_;
};

// The date and time forms the server speaks with its clients.
class ServerFormats {
public:
    ServerFormats(std::string_view datePattern, std::string_view timePattern);

    std::optional<Date> parseDate(std::string_view text) const;
    std::optional<TimeOfDay> parseTime(std::string_view text) const;
    std::string formatDate(const Date& date) const;
    std::string formatTime(const TimeOfDay& time) const;
    // One display text: the date, a space and the time (hours and minutes on a 24-hour clock
    // when the server's own time form would not fit the client's 20-character columns).
    std::string formatDateTime(const DateTime& value) const;
    void appendDateTime(std::string& text, const DateTime& value) const;

private:
    DateTimePattern date_;
    DateTimePattern time_;
    DateTimePattern displayTime_;
};

} // namespace journal
