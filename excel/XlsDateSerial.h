#pragma once

#include <optional>
#include <string_view>

// FreeXL hands out the cells with a date or time format as text, "YYYY-MM-DD",
// "YYYY-MM-DD HH:MM:SS" or "HH:MM:SS", instead of the serial number the cell stores. This
// turns such a text back into that number, in the workbook's date system: day 1 is
// 1900-01-01 in the 1900 system, day 0 is 1904-01-01 in the 1904 system.
//
// FreeXL counts days with every fourth year a leap year. That matches the spreadsheet's own
// calendar up to February 2100 (1900 included, which the spreadsheet treats as a leap year)
// and departs from the real one after it; counting the same way here makes the way back
// exact for every date FreeXL writes. Times come to the second, as FreeXL rounds them.
// Empty for any other text.
std::optional<double> XlsDateSerial(std::string_view text, bool dates1904);
