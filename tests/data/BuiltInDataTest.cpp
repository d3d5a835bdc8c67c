// Checks of the project's own OBIS definitions, as the executables carry them and as the sample
// workbook holds them.

#include "data/BuiltInDatabase.h"
#include "obisdata/Model.h"
#include "tests/QtPrinters.h"
#include "frontend/WorkbookLoad.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

const TOBISData& BuiltIn()
{
    static const std::unique_ptr<TOBISData> database = [] {
        QByteArray container = BuiltInDatabaseContainer();
        QBuffer resource(&container);
        resource.open(QIODevice::ReadOnly);
        return TOBISData::CreateFromCipheredStream(resource);
    }();
    return *database;
}

TOBISCode Code(const char* dotted)
{
    return TOBISData::OBISStrToOBISCode(QString::fromLatin1(dotted));
}

// The definition that describes the code: the first of its media list that covers it.
const TOBISItemData* FirstMatch(const TOBISData& database, const TOBISCode& code)
{
    const auto& media = database.AllMediaData[static_cast<std::size_t>(code[TColumn::A])];
    if (!media)
        return nullptr;
    for (const auto& item : media->Items) {
        if (item->Match(code))
            return item.get();
    }
    return nullptr;
}

// The lowest or the highest code a definition covers: the smallest or the largest value of each
// field's pattern.
TOBISCode EdgeCode(const TOBISItemData& item, bool highest)
{
    TOBISCode code;
    for (const TColumn column : AllColumns) {
        const TValue& pattern = item.Values.GetValue(column);
        const int last = highest ? 0 : 255;
        const int step = highest ? -1 : 1;
        int value = 255 - last;
        while (value != last && !pattern.HasElement(static_cast<quint8>(value)))
            value += step;
        code[column] = static_cast<quint8>(value);
    }
    return code;
}

TOBISCode LowestCode(const TOBISItemData& item)
{
    return EdgeCode(item, false);
}

TOBISCode HighestCode(const TOBISItemData& item)
{
    return EdgeCode(item, true);
}

std::string Dotted(const TOBISCode& code)
{
    return TOBISData::OBISCodeToOBISStr(code).toStdString();
}

// The media lists that the worksheets of the definition workbook fill (there is none for 3).
constexpr std::array WorkbookMedia {0, 1, 2, 4, 5, 6, 7, 8, 9};

struct KnownCode
{
    const char* Code;
    const char* Description;
    const char* InterfaceClasses; // of the first matching definition; empty where it has none
};

class WellKnownCodes : public testing::TestWithParam<KnownCode>
{
};

std::string CodeName(const char* code)
{
    std::string name = code;
    for (char& c : name) {
        if (c == '.')
            c = '_';
    }
    return "Code_" + name;
}

std::string CaseName(const testing::TestParamInfo<KnownCode>& tested)
{
    return CodeName(tested.param.Code);
}

QString InterfaceClassesOf(const TOBISCode& code)
{
    const TOBISItemData* item = FirstMatch(BuiltIn(), code);
    return item && item->InterfaceClasses ? item->InterfaceClasses->ToString() : QString();
}

// Whole descriptions: the texts of the fields joined in order, placeholders filled in.
TEST_P(WellKnownCodes, HaveTheirDescriptionAndInterfaceClasses)
{
    const KnownCode& known = GetParam();
    const TOBISCode code = Code(known.Code);
    EXPECT_EQ(BuiltIn().GetOBISText(code), QString::fromUtf8(known.Description));
    ASSERT_NE(FirstMatch(BuiltIn(), code), nullptr);
    EXPECT_EQ(InterfaceClassesOf(code), QString::fromLatin1(known.InterfaceClasses));
}

INSTANTIATE_TEST_SUITE_P(AllMedia, WellKnownCodes,
    testing::Values(
        // Abstract
        KnownCode {"0.0.1.0.0.255", "Clock.", "8"}, KnownCode {"0.0.1.0.2.255", "Clock. Instance 2.", "8"},
        KnownCode {"0.0.0.1.0.255", "Billing period counter (billing period scheme 1).", "[1,3]"},
        KnownCode {"0.0.0.1.2.7",
            "Time stamp of a past billing period (billing period scheme 1). Billing period 7.", "[1,3]"},
        KnownCode {"0.0.10.0.5.255", "Script table. Further script table, instance 5.", "9"},
        KnownCode {"0.0.15.0.0.255", "Single action schedule. End of billing period.", "22"},
        KnownCode {"0.0.16.2.0.255", "Parameter monitor.", "65"},
        KnownCode {"0.0.16.2.3.255", "Parameter monitor. Instance 3.", "65"},
        KnownCode {"0.1.24.1.0.255",
            "M-Bus channel 1. M-Bus. M-Bus client (settings of the M-Bus device on this channel). In DSMR P1 "
            "(0-n:24.1.0): "
            "device type of the M-Bus device.",
            "72"},
        KnownCode {"0.0.96.7.21.255", "Power failure monitoring. Number of power failures in any phase.",
            "[1,3]"},
        KnownCode {"0.0.97.98.21.255", "Alarm descriptor 2.", "1"},
        KnownCode {"0.0.98.1.0.126",
            "Data of billing period. Billing period scheme 1. An unspecified number of most recent billing "
            "periods.",
            "7"},
        KnownCode {"0.0.96.30.3.255", "Service entry. Group 30. Entry 3.", ""},
        KnownCode {"0.128.0.0.0.255", "Manufacturer-specific code (B = 128).", ""},
        // Electricity (AC)
        KnownCode {"1.0.1.8.0.255",
            "Sum Li Active power+ (import, QI+QIV). Time integral 1 (energy accumulated from the start of "
            "measurement). Total.",
            "3"},
        KnownCode {"1.0.2.8.1.3",
            "Sum Li Active power- (export, QII+QIII). Time integral 1 (energy accumulated from the start of "
            "measurement). Rate 1. Historical value of billing period 3.",
            "3"},
        KnownCode {"1.0.1.8.0.105",
            "Sum Li Active power+ (import, QI+QIV). Time integral 1 (energy accumulated from the start of "
            "measurement). Total. Most recent billing periods: 5.",
            "3"},
        KnownCode {"1.0.32.7.0.255",
            "L1 Voltage. Instantaneous value. Total (fundamental and all harmonics).", "3"},
        KnownCode {"1.0.31.4.0.255",
            "L1 Current. Current average 1 (average of the running measurement period). Total. In the Belgian "
            "e-MUCS P1 (1-0:31.4.0): current limit of the fuse supervision.",
            "5"},
        KnownCode {"1.0.51.4.0.255",
            "L2 Current. Current average 1 (average of the running measurement period). Total.", "5"},
        KnownCode {"1.0.32.32.0.255",
            "L1 Voltage. Under limit occurrence counter. In DSMR P1: number of voltage sags.", "3"},
        KnownCode {"1.0.31.32.0.255", "L1 Current. Under limit occurrence counter.", "3"},
        KnownCode {"1.0.83.8.21.255",
            "Transformer and line losses. Time integral 1 (energy accumulated from the start of measurement). "
            "L1 Active line losses+ (OLA+).",
            "3"},
        KnownCode {"1.0.83.8.19.255",
            "Transformer and line losses. Time integral 1 (energy accumulated from the start of measurement). "
            "Loss quantity E = 19.",
            "3"},
        // The other media
        KnownCode {"2.0.94.31.0.255",
            "Country-specific identifier. Country code 31. Country-specific code 0.255.", ""},
        KnownCode {"6.0.10.3.2.255",
            "Heat. Flow temperature. Billing date value (value captured at the billing date). Rate 2.", "3"},
        KnownCode {"7.0.33.0.0.3",
            "Gas. Forward absolute energy. Current value (index). Total. Historical value of billing period "
            "3.",
            "3"},
        KnownCode {"7.0.0.5.1.255", "Gas. Threshold values (limits of the process values and of the flow). Entry 1.",
            "[1,3]"},
        KnownCode {"7.0.0.13.1.255", "Gas. General purpose object. Group 13. Entry 1.", "[1,3]"},
        KnownCode {"9.0.2.5.0.255", "Hot water. Flow rate. Maximum of value. Total.", "3"},
        KnownCode {"8.0.99.1.0.255", "Load profile with recording interval 1.", "7"}),
    CaseName);

// Codes that engineers meet, per area, with the phrases their description must hold and the
// interface classes of the object.
struct NamedCode
{
    const char* Code;
    std::vector<const char*> Phrases;
    const char* InterfaceClasses;
};

class NamedCodes : public testing::TestWithParam<NamedCode>
{
};

TEST_P(NamedCodes, AreDescribedByWhatTheyHold)
{
    const NamedCode& known = GetParam();
    const TOBISCode code = Code(known.Code);
    const QString description = BuiltIn().GetOBISText(code);
    for (const char* phrase : known.Phrases)
        EXPECT_TRUE(description.contains(QString::fromUtf8(phrase))) << description.toStdString();
    EXPECT_EQ(InterfaceClassesOf(code), QString::fromLatin1(known.InterfaceClasses));
}

std::string NamedCaseName(const testing::TestParamInfo<NamedCode>& tested)
{
    return CodeName(tested.param.Code);
}

INSTANTIATE_TEST_SUITE_P(Abstract, NamedCodes,
    testing::Values(NamedCode {"0.0.0.1.1.255", {"Number of available billing periods"}, "[1,3]"},
        NamedCode {"0.0.0.2.1.255", {"Active firmware version"}, "1"},
        NamedCode {"0.0.0.2.8.255", {"Active firmware signature"}, "1"},
        NamedCode {"0.0.1.1.0.255", {"Unix time"}, "[1,3]"},
        NamedCode {"0.0.1.2.0.255", {"High-resolution clock"}, "[1,3]"},
        NamedCode {"0.0.10.0.1.255", {"Script table", "end of billing period"}, "9"},
        NamedCode {"0.0.10.0.106.255", {"Script table", "Disconnect control"}, "9"},
        NamedCode {"0.0.15.0.4.255", {"Single action schedule", "Push"}, "22"},
        NamedCode {"0.0.16.1.0.255", {"Alarm monitor"}, "21"},
        NamedCode {"0.0.18.0.0.255", {"Array manager"}, "123"},
        NamedCode {"0.0.19.10.0.255", {"Payment metering", "Credit"}, "112"},
        NamedCode {"0.0.21.0.1.255", {"Standard readout profile", "General display readout"}, "7"},
        NamedCode {"0.1.24.2.1.255", {"M-Bus master value", "DSMR P1"}, "4"},
        NamedCode {"0.0.24.6.0.255", {"M-Bus master port setup"}, "74"},
        NamedCode {"0.0.24.8.0.255", {"DLMS/COSEM server M-Bus port setup"}, "76"},
        NamedCode {"0.1.24.9.0.255", {"M-Bus diagnostic"}, "77"},
        NamedCode {"0.1.24.3.0.255", {"M-Bus master profile", "DSMR 2.2", "gas meter"}, "7"},
        NamedCode {"0.2.24.3.1.255", {"M-Bus master profile", "Instance 1"}, "7"},
        NamedCode {"0.1.24.4.1.255", {"M-Bus disconnect control", "DSMR 2.2", "gas valve"}, "70"},
        NamedCode {"0.1.24.5.0.255", {"M-Bus control log"}, "7"},
        NamedCode {"0.3.24.2.1.255", {"M-Bus channel 3", "M-Bus master value"}, "4"},
        NamedCode {"0.1.31.0.0.255", {"Wireless M-Bus", "mode Q"}, "73"},
        NamedCode {"0.0.25.4.0.255", {"GPRS modem setup"}, "45"},
        NamedCode {"0.0.25.10.0.255", {"NTP setup"}, "100"},
        NamedCode {"0.0.25.11.0.255", {"LTE monitoring"}, "151"},
        NamedCode {"0.0.30.0.0.255", {"ZigBee SAS startup"}, "101"},
        NamedCode {"0.0.40.0.1.255", {"Association instance 1"}, "15"},
        NamedCode {"0.0.43.1.0.255", {"Invocation counter"}, "1"},
        NamedCode {"0.0.65.0.1.255", {"Utility table", "Table 1"}, "26"},
        NamedCode {"0.0.66.0.0.255", {"Compact data"}, "62"},
        NamedCode {"0.0.96.1.1.255", {"Device ID 2", "DSMR P1", "electricity meter"}, "1"},
        NamedCode {"0.0.96.1.4.255", {"Device ID 5", "e-MUCS", "version"}, "1"},
        NamedCode {"0.0.96.1.10.255", {"Metering point ID"}, "1"},
        NamedCode {"0.0.96.1.255.255", {"Complete device ID"}, "1"},
        NamedCode {"0.0.96.2.5.255", {"Date of the last calibration"}, "[1,3]"},
        NamedCode {"0.0.96.2.13.255", {"Date of the last firmware activation"}, "[1,3]"},
        NamedCode {"0.0.96.3.1.255", {"State of the output control signals"}, "[1,3]"},
        NamedCode {"0.0.96.3.10.255", {"Disconnect control", "breaker"}, "70"},
        NamedCode {"0.0.96.3.21.255", {"Arbitrator", "Instance 2"}, "68"},
        NamedCode {"0.0.96.4.0.255", {"State of the internal control signals"}, "[1,3]"},
        NamedCode {"0.0.96.5.0.255", {"Internal operating status"}, "[1,3]"},
        NamedCode {"0.0.96.6.3.255", {"Battery voltage"}, "[1,3]"},
        NamedCode {"0.0.96.7.9.255", {"Number of long power failures in any phase"}, "[1,3]"},
        NamedCode {"0.0.96.7.19.255", {"Duration of the long power failures in any phase"}, "[1,3]"},
        NamedCode {"0.0.96.8.2.255", {"Time of operation", "Rate 2"}, "[1,3]"},
        NamedCode {"0.0.96.10.2.255", {"Status register", "Register 2"}, "1"},
        NamedCode {"0.0.96.11.1.255", {"Event code object", "Event group 1"}, "1"},
        NamedCode {"0.0.96.12.5.255", {"Field strength"}, "[1,3]"},
        NamedCode {"0.0.96.13.0.255", {"Consumer message", "Message text"}, "1"},
        NamedCode {"0.0.96.14.0.255", {"Currently active tariff", "tariff indicator"}, "1"},
        NamedCode {"0.0.96.15.2.255", {"Event counter", "Counter 2"}, "[1,3]"},
        NamedCode {"0.0.96.20.1.255", {"Tamper monitoring", "Entry 1"}, "[1,3]"},
        NamedCode {"0.0.97.97.0.255", {"Error register 1"}, "1"},
        NamedCode {"0.0.97.98.10.255", {"Alarm filter 1"}, "1"},
        NamedCode {"0.0.98.1.0.101", {"Data of billing period", "Most recent billing periods: 1"}, "7"},
        NamedCode {"0.0.98.2.0.4", {"Billing period scheme 2", "Billing period 4"}, "7"},
        NamedCode {"0.0.99.98.1.255", {"Event log", "Instance 1"}, "7"},
        NamedCode {"0.0.99.99.0.255", {"Certification data log"}, "7"}),
    NamedCaseName);

INSTANTIATE_TEST_SUITE_P(Electricity, NamedCodes,
    testing::Values(NamedCode {"1.0.0.0.0.255", {"Electricity ID 1"}, "1"},
        NamedCode {"1.0.0.1.2.255", {"Time stamp of the most recent billing period"}, "[1,3]"},
        NamedCode {"1.0.0.9.1.255", {"Local time"}, "[1,3]"},
        NamedCode {"1.0.0.2.0.255", {"Active firmware identifier"}, "1"},
        NamedCode {"1.0.0.2.1.255", {"Parameter record number"}, "1"},
        NamedCode {"1.0.0.2.2.255", {"Time switch program number"}, "1"},
        NamedCode {"1.3.0.2.8.255", {"Active firmware signature", "DSMR P1", "version"}, "1"},
        NamedCode {"1.0.0.3.3.255", {"Active energy constant of the pulse output"}, "[1,3]"},
        NamedCode {"1.0.0.4.3.255", {"Voltage transformer ratio, numerator"}, "[1,3]"},
        NamedCode {"1.0.0.5.2.255", {"Threshold values", "Demand limit 2"}, "[1,3]"},
        NamedCode {"1.0.0.6.0.255", {"Nominal voltage"}, "[1,3]"},
        NamedCode {"1.0.0.7.1.255", {"Reactive energy input pulse constant"}, "[1,3]"},
        NamedCode {"1.0.0.8.4.255", {"Recording interval 1 of the load profile"}, "[1,3]"},
        NamedCode {"1.0.0.9.6.255", {"Time of the last reset"}, "[1,3]"},
        NamedCode {"1.0.0.9.11.255", {"Clock time shift limit"}, "[1,3]"},
        NamedCode {"1.0.0.9.4.255", {"Time entries", "Entry 4"}, "[1,3]"},
        NamedCode {"1.0.0.10.0.255", {"Transformer and line loss coefficients", "Entry 0"}, "[1,3]"},
        NamedCode {"1.0.0.11.1.255", {"Measurement methods", "Entry 1"}, "[1,3]"},
        NamedCode {"1.0.0.6.4.255", {"Nominal values", "Entry 4"}, "[1,3]"},
        NamedCode {"1.0.1.5.0.255", {"Active power+", "Last average 1"}, "3"},
        NamedCode {"1.0.1.6.1.255", {"Active power+", "Maximum 1", "Rate 1"}, "4"},
        NamedCode {"1.0.1.6.0.126", {"Maximum 1", "An unspecified number of most recent billing periods"}, "4"},
        NamedCode {"1.0.1.7.0.255", {"Active power+", "Instantaneous value"}, "3"},
        NamedCode {"1.0.1.8.2.255", {"Active power+", "Time integral 1", "Rate 2"}, "3"},
        NamedCode {"1.0.1.29.0.255", {"Active power+", "Time integral 5"}, "3"},
        NamedCode {"1.0.1.51.0.255", {"Minimum for recording interval 1"}, "4"},
        NamedCode {"1.0.1.54.0.255", {"Maximum for recording interval 2"}, "4"},
        NamedCode {"1.0.1.55.0.255", {"Test average"}, "5"},
        NamedCode {"1.0.1.58.0.255", {"Time integral 4"}, "3"},
        NamedCode {"1.0.3.8.0.255", {"Reactive power+", "Time integral 1"}, "3"},
        NamedCode {"1.0.5.8.0.255", {"Reactive power, quadrant QI", "Time integral 1"}, "3"},
        NamedCode {"1.0.9.8.0.255", {"Apparent power+", "Time integral 1"}, "3"},
        NamedCode {"1.0.13.7.0.255", {"Sum Li Power factor", "Instantaneous value"}, "3"},
        NamedCode {"1.0.14.7.0.255", {"Supply frequency", "Instantaneous value"}, "3"},
        NamedCode {"1.0.15.8.0.255", {"abs(QI+QIV) + abs(QII+QIII)", "Time integral 1"}, "3"},
        NamedCode {"1.0.21.7.0.255", {"L1 Active power+", "Instantaneous value"}, "3"},
        NamedCode {"1.0.52.36.0.255", {"L2 Voltage", "Over limit occurrence counter", "voltage swells"}, "3"},
        NamedCode {"1.0.72.7.3.255", {"L3 Voltage", "Harmonic 3"}, "3"},
        NamedCode {"1.0.81.7.4.255", {"Phase angle between U(L1) and I(L1)"}, "3"},
        NamedCode {"1.0.83.8.3.255", {"Transformer and line losses", "Sum Li Active line losses (OLA)"}, "3"},
        NamedCode {"1.0.91.7.0.255", {"L0 Current (neutral)"}, "3"},
        NamedCode {"1.0.98.1.0.255", {"Data of billing period", "Billing period scheme 1"}, "7"},
        NamedCode {"1.0.99.1.0.255", {"Load profile with recording interval 1"}, "7"},
        NamedCode {"1.0.99.97.0.255", {"Power failure event log", "DSMR P1"}, "7"},
        NamedCode {"1.0.99.98.0.255", {"Event log"}, "7"},
        NamedCode {"1.0.96.1.0.255", {"Device identification", "Device ID 1", "manufacturing number"}, "1"},
        NamedCode {"1.0.96.1.255.255", {"Complete device ID"}, "1"},
        NamedCode {"1.0.96.5.0.255", {"Internal operating status"}, "[1,3]"},
        NamedCode {"1.0.96.7.21.255", {"Number of power failures in any phase"}, "[1,3]"},
        NamedCode {"1.0.84.7.0.255", {"Sum Li Power factor- (export)", "Instantaneous value"}, "3"},
        NamedCode {"1.0.87.7.0.255", {"L3 Power factor- (export)"}, "3"},
        NamedCode {"1.0.85.5.0.255", {"L1 Power factor-", "Last average 1"}, "3"},
        NamedCode {"1.0.9.6.0.105", {"Apparent power+", "Maximum 1", "Most recent billing periods: 5"}, "4"},
        NamedCode {"1.0.1.8.1.101", {"Time integral 1", "Rate 1", "Most recent billing periods: 1"}, "3"},
        NamedCode {"1.0.83.4.1.255", {"Transformer and line losses", "Current average 1", "OLA+"}, "5"},
        NamedCode {"1.0.83.6.24.255", {"Maximum 1", "L1 Active transformer losses+ (NLA+)"}, "4"},
        NamedCode {"1.0.99.10.0.255", {"Voltage dips profile"}, "7"},
        NamedCode {"1.0.99.14.1.255", {"Current harmonics profile", "Instance 1"}, "7"},
        NamedCode {"1.0.128.0.0.255", {"Manufacturer-specific code (C = 128)"}, ""}),
    NamedCaseName);

INSTANTIATE_TEST_SUITE_P(OtherMedia, NamedCodes,
    testing::Values(NamedCode {"2.0.1.8.0.255", {"DC power+", "import", "Time integral 1", "Total"}, "3"},
        NamedCode {"2.0.2.8.2.255", {"DC power-", "export", "Time integral 1", "Rate 2"}, "3"},
        NamedCode {"2.0.1.9.0.4", {"DC power+", "Time integral 2", "billing period 4"}, "3"},
        NamedCode {"2.0.11.7.0.255", {"DC current", "Instantaneous value"}, "3"},
        NamedCode {"2.0.12.7.0.255", {"DC voltage", "Instantaneous value"}, "3"},
        NamedCode {"2.0.1.4.0.255", {"DC power+", "Current average 1"}, "5"},
        NamedCode {"2.0.1.6.0.255", {"DC power+", "Maximum 1"}, "4"},
        NamedCode {"2.0.96.1.0.255", {"Device ID 1"}, "1"},
        NamedCode {"2.0.99.1.0.255", {"Load profile with recording interval 1"}, "7"},
        NamedCode {"4.0.2.0.0.255", {"Heat cost allocator", "Rated integral", "Current value"}, "3"},
        NamedCode {"5.0.1.0.0.255", {"Cooling", "Energy", "Current value"}, "3"},
        NamedCode {"6.0.1.0.0.3", {"Heat", "Energy", "Historical value of billing period 3"}, "3"},
        NamedCode {"6.0.12.0.0.255", {"Heat", "Temperature difference between flow and return"}, "3"},
        NamedCode {"7.0.0.0.0.255", {"Gas", "Gas ID 1"}, "1"},
        NamedCode {"7.0.0.1.0.255", {"Billing period counter"}, "[1,3]"},
        NamedCode {"7.0.0.2.0.255", {"Gas", "Active firmware identifier"}, "1"},
        NamedCode {"7.0.0.9.3.255", {"Gas", "Start of the conventional gas day"}, "[1,3]"},
        NamedCode {"7.0.0.4.2.255", {"Gas", "Conversion-related factors", "Entry 2"}, "[1,3]"},
        NamedCode {"7.0.0.7.0.255", {"Gas", "Input pulse constants"}, "[1,3]"},
        NamedCode {"7.0.13.1.0.255", {"Forward absolute converted volume", "Processing D = 1", "Total"}, "3"},
        NamedCode {"7.0.42.2.0.255", {"Absolute pressure", "Processing D = 2"}, "3"},
        NamedCode {"7.1.96.1.0.255", {"Device ID 1"}, "1"},
        NamedCode {"7.0.96.5.1.255", {"Internal operating status word 1"}, "[1,3]"},
        NamedCode {"7.0.3.0.1.255", {"Forward absolute meter volume", "Rate 1"}, "3"},
        NamedCode {"7.0.13.0.0.255", {"Forward absolute converted volume", "at base conditions"}, "3"},
        NamedCode {"7.0.23.0.0.255", {"Forward absolute compensated volume"}, "3"},
        NamedCode {"7.0.33.0.0.255", {"Forward absolute energy"}, "3"},
        NamedCode {"7.0.63.0.0.255", {"Forward absolute mass"}, "3"},
        NamedCode {"7.0.41.0.0.255", {"Absolute temperature"}, "3"},
        NamedCode {"7.0.42.0.0.255", {"Absolute pressure"}, "3"},
        NamedCode {"7.0.43.0.0.255", {"Flow rate"}, "3"},
        NamedCode {"7.0.47.0.0.255", {"Gauge pressure"}, "3"},
        NamedCode {"7.0.52.0.0.255", {"Conversion factor"}, "3"},
        NamedCode {"7.0.53.0.0.255", {"Compressibility factor"}, "3"},
        NamedCode {"7.0.54.0.0.255", {"Superior calorific value"}, "3"},
        NamedCode {"7.0.70.10.0.255", {"Natural gas analysis", "Component 10"}, "3"},
        NamedCode {"7.0.99.1.0.255", {"Load profile with recording interval 1"}, "7"},
        NamedCode {"7.0.98.1.0.255", {"Data of billing period"}, "7"},
        NamedCode {"7.0.97.97.0.255", {"Error register 1"}, "1"},
        NamedCode {"6.0.0.1.2.3", {"Time stamp of a past billing period", "Billing period 3"}, "[1,3]"},
        NamedCode {"8.0.1.0.0.1", {"Cold water", "Accumulated volume", "billing period 1"}, "3"},
        NamedCode {"9.0.3.5.0.255", {"Hot water", "Forward temperature", "Maximum of value"}, "3"}),
    NamedCaseName);

TEST(BuiltInData, FillsEveryMediaOfTheWorkbookAndNoOther)
{
    for (TMediaNr media = 0; media < MediaCount; ++media) {
        const auto& list = BuiltIn().AllMediaData[static_cast<std::size_t>(media)];
        const bool filled
            = std::find(WorkbookMedia.begin(), WorkbookMedia.end(), media) != WorkbookMedia.end();
        EXPECT_EQ(list != nullptr && !list->Items.empty(), filled) << "media " << media;
    }
}

TEST(BuiltInData, EveryTableReferenceIsExpanded)
{
    for (const auto& media : BuiltIn().AllMediaData) {
        if (!media)
            continue;
        for (const auto& item : media->Items) {
            for (const QString& text : item->Texts)
                EXPECT_FALSE(text.size() >= 2 && text[0] == u'$' && text[1].isDigit())
                    << item->ToString().toStdString();
        }
    }
}

// A broader definition placed before a narrower one would hide it: the lowest and the highest code
// of every definition must be described by that definition itself.
TEST(BuiltInData, NoDefinitionIsHiddenByAnEarlierOne)
{
    for (const auto& media : BuiltIn().AllMediaData) {
        if (!media)
            continue;
        for (const auto& item : media->Items) {
            for (const TOBISCode& code : {LowestCode(*item), HighestCode(*item)}) {
                const TOBISItemData* first = FirstMatch(BuiltIn(), code);
                EXPECT_EQ(first, item.get())
                    << Dotted(code) << " of " << item->ToString().toStdString() << "\n hidden by "
                    << (first ? first->ToString().toStdString() : std::string("nothing"));
            }
        }
    }
}

TEST(BuiltInData, EveryDescriptionResolvesWithoutPlaceholders)
{
    for (const auto& media : BuiltIn().AllMediaData) {
        if (!media)
            continue;
        for (const auto& item : media->Items) {
            for (const TOBISCode& code : {LowestCode(*item), HighestCode(*item)}) {
                const QString description = BuiltIn().GetOBISText(code);
                EXPECT_FALSE(description.isEmpty() || description.contains(u'$')) << Dotted(code) << ": "
                    << description.toStdString();
            }
        }
    }
}

// Two definitions stand for codes of different meaning, so their descriptions must differ.
TEST(BuiltInData, DifferentDefinitionsHaveDifferentDescriptions)
{
    for (const auto& media : BuiltIn().AllMediaData) {
        if (!media)
            continue;
        std::map<QString, TOBISCode> described;
        for (const auto& item : media->Items) {
            const TOBISCode code = LowestCode(*item);
            const auto [earlier, added] = described.emplace(BuiltIn().GetOBISText(code), code);
            EXPECT_TRUE(added) << Dotted(code) << " and " << Dotted(earlier->second) << ": "
                               << earlier->first.toStdString();
        }
    }
}

TEST(BuiltInData, TheSampleWorkbookHoldsTheSameDefinitions)
{
    TOBISData imported;
    QStringList log;
    LoadExcelFile(imported, QStringLiteral(KESTRUNE_SAMPLE_WORKBOOK),
        [&log](const QString& line) { log.append(line); });
    EXPECT_TRUE(log.contains(QStringLiteral("  Abstract done."))) << log.join(u'\n').toStdString();

    const QStringList builtInLines = BuiltIn().GetMatchingLines({}, {}, TOBISCode {}, TOBISCodeFilter {});
    EXPECT_EQ(imported.GetMatchingLines({}, {}, TOBISCode {}, TOBISCodeFilter {}), builtInLines);
    ASSERT_GT(builtInLines.size(), 0);

    for (const auto& media : BuiltIn().AllMediaData) {
        if (!media)
            continue;
        for (const auto& item : media->Items) {
            const TOBISCode code = LowestCode(*item);
            ASSERT_EQ(imported.GetOBISText(code), BuiltIn().GetOBISText(code)) << Dotted(code);
        }
    }
}

} // namespace
