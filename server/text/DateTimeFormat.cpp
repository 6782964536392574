#include "text/DateTimeFormat.h"

#include <cctype>
#include <charconv>
#include <ctime>
#include <stdexcept>

namespace journal {
namespace {

int daysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

bool isValidDate(const Date& date) {
    return date.year >= 1 && date.year <= 9999 && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
           date.day <= daysInMonth(date.year, date.month);
}

bool isValidTime(const TimeOfDay& time) {
    return time.hour >= 0 && time.hour < 24 && time.minute >= 0 && time.minute < 60 && time.second >= 0 &&
           time.second < 60;
}

// Appends rather than returns: the journal's list formats two times a record.
void appendPadded(std::string& text, int value, int width) {
    // Days, months and times, written for every record of a list.
    if (value >= 0 && value < 100 && width <= 2) {
        const char digits[2] = {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
        if (value < 10 && width < 2)
            text += digits[1];
        else
            text.append(digits, 2);
        return;
    }
    char digits[12];
    const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const auto length = static_cast<int>(end - digits);
    if (length < width)
        text.append(static_cast<std::size_t>(width - length), '0');
    text.append(digits, static_cast<std::size_t>(length));
}

std::string padded(int value, int width) {
    std::string text;
    appendPadded(text, value, width);
    return text;
}

// Reads exactly `minDigits`..`maxDigits` ASCII digits at `pos`, as many as there are.
std::optional<int> readNumber(std::string_view text, std::size_t& pos, int minDigits, int maxDigits) {
    std::size_t end = pos;
    while (end < text.size() && end - pos < static_cast<std::size_t>(maxDigits) && text[end] >= '0' && text[end] <= '9')
        ++end;
    if (end - pos < static_cast<std::size_t>(minDigits))
        return std::nullopt;
    int value = 0;
    std::from_chars(text.data() + pos, text.data() + end, value);
    pos = end;
    return value;
}

bool startsWithIgnoringCase(std::string_view text, std::size_t pos, std::string_view word) {
    if (text.size() - pos < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[pos + i])) !=
            std::tolower(static_cast<unsigned char>(word[i])))
            return false;
    return true;
}

bool hasAmPmMarker(std::string_view pattern) {
    bool quoted = false;
    for (const char c : pattern) {
        if (c == '\'')
            quoted = !quoted;
        else if (!quoted && (c == 'A' || c == 'a'))
            return true;
    }
    return false;
}

} // namespace

namespace {

DateTime fromTm(const std::tm& tm) {
    return {{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday}, {tm.tm_hour, tm.tm_min, tm.tm_sec}};
}

} // namespace

DateTime currentUtc() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&now, &tm);
    return fromTm(tm);
}

DateTime utcToLocal(const DateTime& utc) {
    std::tm tm{};
    tm.tm_year = utc.date.year - 1900;
    tm.tm_mon = utc.date.month - 1;
    tm.tm_mday = utc.date.day;
    tm.tm_hour = utc.time.hour;
    tm.tm_min = utc.time.minute;
    tm.tm_sec = utc.time.second;
    const std::time_t moment = timegm(&tm);
    std::tm local{};
    localtime_r(&moment, &local);
    return fromTm(local);
}

std::string toIso(const Date& date) {
    return padded(date.year, 4) + '-' + padded(date.month, 2) + '-' + padded(date.day, 2);
}

std::string toIso(const DateTime& value) {
    return toIso(value.date) + ' ' + padded(value.time.hour, 2) + ':' + padded(value.time.minute, 2) + ':' +
           padded(value.time.second, 2);
}

std::optional<Date> dateFromIso(std::string_view text) {
    static const DateTimePattern iso("yyyy-MM-dd", DateTimePattern::Kind::Date);
    const auto value = iso.parse(text);
    return value ? std::optional(value->date) : std::nullopt;
}

// Read by position rather than by pattern: every record of a list holds one or two.
std::optional<DateTime> dateTimeFromIso(std::string_view text) {
    constexpr std::string_view form = "0000-00-00 00:00:00";
    if (text.size() != form.size())
        return std::nullopt;
    for (std::size_t i = 0; i < form.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (form[i] == '0' ? !digit : text[i] != form[i])
            return std::nullopt;
    }
    const auto number = [text](std::size_t at, std::size_t digits) {
        int value = 0;
        for (std::size_t i = at; i < at + digits; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    const DateTime value{{number(0, 4), number(5, 2), number(8, 2)}, {number(11, 2), number(14, 2), number(17, 2)}};
    if (!isValidDate(value.date) || !isValidTime(value.time))
        return std::nullopt;
    return value;
}

DateTimePattern::DateTimePattern(std::string_view pattern, Kind kind) {
    const bool hasAmPm = hasAmPmMarker(pattern);
    for (std::size_t i = 0; i < pattern.size();) {
        const char letter = pattern[i];
        if (letter == '\'') {
            const std::size_t close = pattern.find('\'', i + 1);
            if (close == std::string_view::npos)
                throw std::invalid_argument("unclosed quote in pattern");
            Token token;
            token.literal = close == i + 1 ? "'" : std::string(pattern.substr(i + 1, close - i - 1));
            tokens_.push_back(token);
            i = close + 1;
            continue;
        }
        std::size_t count = 1;
        while (i + count < pattern.size() && pattern[i + count] == letter)
            ++count;
        addToken(letter, static_cast<int>(count), hasAmPm);
        i += count;
    }
    auto has = [this](Field field) {
        for (const Token& token : tokens_)
            if (token.field == field)
                return true;
        return false;
    };
    const bool dateFields = has(Field::Day) || has(Field::Month) || has(Field::Year);
    const bool timeFields = has(Field::Hour24) || has(Field::Hour12) || has(Field::Minute) || has(Field::Second);
    if (kind == Kind::Date && (timeFields || !has(Field::Day) || !has(Field::Month) || !has(Field::Year)))
        throw std::invalid_argument("a date pattern needs day, month and year and nothing else");
    if (kind == Kind::Time && (dateFields || !(has(Field::Hour24) || has(Field::Hour12)) || !has(Field::Minute)))
        throw std::invalid_argument("a time pattern needs hours and minutes and no date");
}

void DateTimePattern::addToken(char letter, int count, bool hasAmPm) {
    Token token;
    token.width = count;
    switch (letter) {
    case 'd':
        token.field = Field::Day;
        break;
    case 'M':
        token.field = Field::Month;
        break;
    case 'y':
        if (count != 2 && count != 4)
            throw std::invalid_argument("years are yy or yyyy");
        token.field = Field::Year;
        break;
    case 'H':
        token.field = Field::Hour24;
        break;
    case 'h':
        token.field = hasAmPm ? Field::Hour12 : Field::Hour24;
        break;
    case 'm':
        token.field = Field::Minute;
        break;
    case 's':
        token.field = Field::Second;
        break;
    case 'A':
    case 'a':
        // "AP", "ap", "A" and "a" all mean the AM/PM marker.
        for (int i = 0; i < count; ++i) {
            Token marker;
            marker.field = Field::AmPm;
            marker.upperCase = letter == 'A';
            tokens_.push_back(marker);
        }
        return;
    case 'P':
    case 'p':
        if (!tokens_.empty() && tokens_.back().field == Field::AmPm)
            return;
        token.field = Field::Literal;
        token.literal.assign(count, letter);
        tokens_.push_back(token);
        return;
    default:
        token.field = Field::Literal;
        token.literal.assign(count, letter);
        tokens_.push_back(token);
        return;
    }
    if (token.field != Field::Year && count > 2)
        throw std::invalid_argument("names of days and months are not supported");
    tokens_.push_back(token);
}

std::string DateTimePattern::format(const DateTime& value) const {
    std::string text;
    appendTo(text, value);
    return text;
}

void DateTimePattern::appendTo(std::string& text, const DateTime& value) const {
    for (const Token& token : tokens_) {
        switch (token.field) {
        case Field::Literal:
            text += token.literal;
            break;
        case Field::Day:
            appendPadded(text, value.date.day, token.width);
            break;
        case Field::Month:
            appendPadded(text, value.date.month, token.width);
            break;
        case Field::Year:
            appendPadded(text, token.width == 2 ? value.date.year % 100 : value.date.year, token.width == 2 ? 2 : 4);
            break;
        case Field::Hour24:
            appendPadded(text, value.time.hour, token.width);
            break;
        case Field::Hour12:
            appendPadded(text, value.time.hour % 12 == 0 ? 12 : value.time.hour % 12, token.width);
            break;
        case Field::Minute:
            appendPadded(text, value.time.minute, token.width);
            break;
        case Field::Second:
            appendPadded(text, value.time.second, token.width);
            break;
        case Field::AmPm:
            text += value.time.hour < 12 ? (token.upperCase ? "AM" : "am") : (token.upperCase ? "PM" : "pm");
            break;
        }
    }
}

std::optional<DateTime> DateTimePattern::parse(std::string_view text) const {
    DateTime value;
    std::optional<bool> afternoon;
    std::size_t pos = 0;
    for (const Token& token : tokens_) {
        if (token.field == Field::Literal) {
            if (text.substr(pos, token.literal.size()) != token.literal)
                return std::nullopt;
            pos += token.literal.size();
            continue;
        }
        if (token.field == Field::AmPm) {
            if (startsWithIgnoringCase(text, pos, "am"))
                afternoon = false;
            else if (startsWithIgnoringCase(text, pos, "pm"))
                afternoon = true;
            else
                return std::nullopt;
            pos += 2;
            continue;
        }
        const int minDigits = token.width == 1 ? 1 : token.width;
        const int maxDigits = token.width == 1 ? 2 : token.width;
        const auto number = readNumber(text, pos, minDigits, maxDigits);
        if (!number)
            return std::nullopt;
        switch (token.field) {
        case Field::Day:
            value.date.day = *number;
            break;
        case Field::Month:
            value.date.month = *number;
            break;
        case Field::Year:
            value.date.year = token.width == 2 ? 2000 + *number : *number;
            break;
        case Field::Hour24:
            value.time.hour = *number;
            break;
        case Field::Hour12:
            if (*number < 1 || *number > 12)
                return std::nullopt;
            value.time.hour = *number % 12;
            break;
        case Field::Minute:
            value.time.minute = *number;
            break;
        case Field::Second:
            value.time.second = *number;
            break;
        default:
            break;
        }
    }
    if (pos != text.size())
        return std::nullopt;
    if (afternoon.value_or(false))
        value.time.hour += 12;
    if (!isValidDate(value.date) || !isValidTime(value.time))
        return std::nullopt;
    return value;
}

std::size_t DateTimePattern::maxLength() const {
    std::size_t length = 0;
    for (const Token& token : tokens_)
        length += token.field == Field::Literal ? token.literal.size() : token.field == Field::Year ? token.width : 2;
    return length;
}

namespace {

// The client's tables hold display texts of at most 20 characters.
constexpr std::size_t displayLimit = 20;

bool fitsDisplay(const DateTimePattern& date, const DateTimePattern& time) {
    return date.maxLength() + 1 + time.maxLength() <= displayLimit;
}

} // namespace

ServerFormats::ServerFormats(std::string_view datePattern, std::string_view timePattern)
    : date_(datePattern, DateTimePattern::Kind::Date)
    , time_(timePattern, DateTimePattern::Kind::Time)
    , displayTime_(fitsDisplay(date_, time_) ? time_ : DateTimePattern("HH:mm", DateTimePattern::Kind::Time)) {
    if (!fitsDisplay(date_, displayTime_))
        throw std::invalid_argument("the date format must leave room for a time within 20 characters");
}

std::optional<Date> ServerFormats::parseDate(std::string_view text) const {
    const auto value = date_.parse(text);
    return value ? std::optional(value->date) : std::nullopt;
}

std::optional<TimeOfDay> ServerFormats::parseTime(std::string_view text) const {
    const auto value = time_.parse(text);
    return value ? std::optional(value->time) : std::nullopt;
}

std::string ServerFormats::formatDate(const Date& date) const {
    return date_.format({date, {}});
}

std::string ServerFormats::formatTime(const TimeOfDay& time) const {
    return time_.format({{}, time});
}

std::string ServerFormats::formatDateTime(const DateTime& value) const {
    std::string text;
    appendDateTime(text, value);
    return text;
}

void ServerFormats::appendDateTime(std::string& text, const DateTime& value) const {
    date_.appendTo(text, value);
    text += ' ';
    displayTime_.appendTo(text, value);
}

} // namespace journal
