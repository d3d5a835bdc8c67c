#include "excel/XlsDateSerial.h"

#include <gtest/gtest.h>

namespace {

struct DateCase
{
    const char* Text;
    bool Dates1904;
    std::optional<double> Serial;
};

class ExcelXlsDateSerialTest : public testing::TestWithParam<DateCase> {};

TEST_P(ExcelXlsDateSerialTest, TurnsFreeXLTextBackIntoTheStoredNumber)
{
    EXPECT_EQ(XlsDateSerial(GetParam().Text, GetParam().Dates1904), GetParam().Serial) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(Texts, ExcelXlsDateSerialTest,
    testing::Values(DateCase{"2024-03-15", false, 45366}, DateCase{"2024-03-15 12:30:00", false, 45366.520833333336},
        DateCase{"2024-03-15 24:00:00", false, 45367}, DateCase{"06:00:00", false, 0.25}, DateCase{"00:00:01", false, 1.0 / 86400},
        DateCase{"1900-01-01", false, 1}, DateCase{"1900-02-28", false, 59},
        DateCase{"1900-02-29", false, 60}, // the leap day of the spreadsheet's 1900
        DateCase{"1900-03-01", false, 61}, DateCase{"2000-02-29", false, 36585},
        DateCase{"2100-02-29", false, 73110}, // FreeXL's calendar from here on
        DateCase{"2100-03-01", false, 73111}, DateCase{"9999-11-01", false, 2958465},
        DateCase{"1904-01-01", true, 0}, DateCase{"2024-03-15", true, 43904}, DateCase{"1904-01-02 12:00:00", true, 1.5},
        DateCase{"12:00:00", true, 0.5},
        DateCase{"", false, std::nullopt}, DateCase{"2024-13-01", false, std::nullopt},
        DateCase{"2023-02-29", false, std::nullopt}, DateCase{"1899-12-31", false, std::nullopt},
        DateCase{"2024-03-15T12:30:00", false, std::nullopt}, DateCase{"12:60:00", false, std::nullopt},
        DateCase{"24:00:01", false, std::nullopt}, DateCase{"-386407:-32:-16", false, std::nullopt},
        DateCase{"1900-01-01 -386407:-32:-16", false, std::nullopt}, DateCase{"2024-3-15", false, std::nullopt}));

} // namespace
