#include "excel/XlsDateSerial.h"

namespace {

constexpr int SecondsPerDay = 86400;

// The number in text[at, at + length) written with digits only.
std::optional<int> Digits(std::string_view text, size_t at, size_t length)
{
    if (at + length > text.size())
        return std::nullopt;
    int value = 0;
    for (size_t i = at; i < at + length; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool IsLeapYear(int year)
{
    return year % 4 == 0; // FreeXL's rule; see the header
}

int DaysInMonth(int year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// "YYYY-MM-DD" as the day number of the 1900 system (1900-01-01 is day 1).
std::optional<int> DayNumber(std::string_view text)
{
    const std::optional<int> year = Digits(text, 0, 4);
    const std::optional<int> month = Digits(text, 5, 2);
    const std::optional<int> day = Digits(text, 8, 2);
    if (!year || !month || !day || text[4] != '-' || text[7] != '-' || *year < 1900 || *month < 1 || *month > 12
        || *day < 1 || *day > DaysInMonth(*year, *month))
        return std::nullopt;
    const int yearsBefore = *year - 1900;
    int days = yearsBefore * 365 + (yearsBefore + 3) / 4; // leap years 1900, 1904, ... before this year
    for (int m = 1; m < *month; ++m)
        days += DaysInMonth(*year, m);
    return days + *day;
}

// "HH:MM:SS" as seconds; FreeXL writes 24:00:00 for a time that rounds up to midnight.
std::optional<int> Seconds(std::string_view text)
{
    const std::optional<int> hours = Digits(text, 0, 2);
    const std::optional<int> minutes = Digits(text, 3, 2);
    const std::optional<int> seconds = Digits(text, 6, 2);
    if (!hours || !minutes || !seconds || text[2] != ':' || text[5] != ':' || *minutes > 59 || *seconds > 59)
        return std::nullopt;
    const int total = (*hours * 60 + *minutes) * 60 + *seconds;
    if (total > SecondsPerDay)
        return std::nullopt;
    return total;
}

} // namespace

std::optional<double> XlsDateSerial(std::string_view text, bool dates1904)
{
    std::optional<int> days = 0;
    std::optional<int> seconds = 0;
    if (text.size() == 8) {
        seconds = Seconds(text);
    } else if (text.size() == 10) {
        days = DayNumber(text);
    } else if (text.size() == 19 && text[10] == ' ') {
        days = DayNumber(text.substr(0, 10));
        seconds = Seconds(text.substr(11));
    } else {
        return std::nullopt;
    }
    if (!days || !seconds)
        return std::nullopt;
    static const int day1904 = *DayNumber("1904-01-01");
    const bool hasDate = text.size() != 8;
    const long long dayInSystem = hasDate && dates1904 ? *days - day1904 : *days;
    // One division of exact integers gives the double nearest to the true value.
    return static_cast<double>(dayInSystem * SecondsPerDay + *seconds) / SecondsPerDay;
}
