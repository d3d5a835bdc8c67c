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
#include <memory>
#include <string>

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

// The lowest code a definition covers: the smallest value of each field's pattern.
TOBISCode LowestCode(const TOBISItemData& item)
{
    TOBISCode code;
    for (const TColumn column : AllColumns) {
        int value = 0;
        while (value < 255 && !item.Values.GetValue(column).HasElement(static_cast<quint8>(value)))
            ++value;
        code[column] = static_cast<quint8>(value);
    }
    return code;
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

TEST_P(WellKnownCodes, HaveTheirDescriptionAndInterfaceClasses)
{
    const KnownCode& known = GetParam();
    const TOBISCode code = Code(known.Code);
    EXPECT_EQ(BuiltIn().GetOBISText(code), QString::fromUtf8(known.Description));
    const TOBISItemData* item = FirstMatch(BuiltIn(), code);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->InterfaceClasses ? item->InterfaceClasses->ToString() : QString(),
        QString::fromLatin1(known.InterfaceClasses));
}

std::string CaseName(const testing::TestParamInfo<KnownCode>& tested)
{
    std::string name = tested.param.Code;
    for (char& c : name) {
        if (c == '.')
            c = '_';
    }
    return "Code_" + name;
}

INSTANTIATE_TEST_SUITE_P(AllMedia, WellKnownCodes,
    testing::Values(
        // Abstract
        KnownCode {"0.0.1.0.0.255", "Clock.", "8"}, KnownCode {"0.0.1.0.2.255", "Clock. Instance 2.", "8"},
        KnownCode {"0.0.0.1.0.255", "Billing period counter (billing period scheme 1)", "[1,3]"},
        KnownCode {"0.0.0.1.2.7",
            "Time stamp of a past billing period (billing period scheme 1) Billing period 7.", "[1,3]"},
        KnownCode {"0.0.0.2.0.255", "Active firmware identifier.", "1"},
        KnownCode {"0.0.10.0.100.255", "Script table. Tariffication.", "9"},
        KnownCode {"0.0.10.0.5.255", "Script table. Further script table, instance 5.", "9"},
        KnownCode {"0.0.11.0.0.255", "Special days table.", "11"},
        KnownCode {"0.0.13.0.0.255", "Activity calendar (tariff switching calendar)", "20"},
        KnownCode {"0.0.15.0.0.255", "Single action schedule. End of billing period.", "22"},
        KnownCode {"0.0.16.2.0.255", "Parameter monitor.", "65"},
        KnownCode {"0.0.17.0.0.255", "Limiter.", "71"},
        KnownCode {"0.0.20.0.0.255", "IEC local port setup. Optical port.", "19"},
        KnownCode {"0.0.22.0.0.255", "IEC HDLC setup.", "23"},
        KnownCode {
            "0.1.24.1.0.255", "M-Bus. M-Bus client (settings of the M-Bus device on this channel)", "72"},
        KnownCode {"0.0.25.1.0.255", "Internet. IPv4 setup.", "42"},
        KnownCode {"0.0.25.9.0.255", "Push setup (data sent by the meter on its own initiative)", "40"},
        KnownCode {"0.0.29.1.0.255", "G3-PLC. G3-PLC MAC setup.", "91"},
        KnownCode {
            "0.0.40.0.0.255", "Association. Current association (the one used to read this object)", "15"},
        KnownCode {"0.0.42.0.0.255", "COSEM logical device name.", "1"},
        KnownCode {"0.0.43.0.0.255", "Security setup.", "64"},
        KnownCode {"0.0.44.0.0.255", "Image transfer (firmware update)", "18"},
        KnownCode {"0.0.96.1.0.255", "Device identification. Device ID 1 (manufacturing number)", "1"},
        KnownCode {"0.0.96.3.10.255", "Disconnect control (supply switch)", "70"},
        KnownCode {"0.0.97.98.0.255", "Alarm register 1", "1"},
        KnownCode {"0.0.97.98.21.255", "Alarm descriptor 2", "1"},
        KnownCode {"0.0.99.98.0.255", "Event log.", "7"},
        KnownCode {"0.128.0.0.0.255", "Manufacturer-specific code (B = 128)", ""},
        // Electricity (AC)
        KnownCode {"1.0.1.8.0.255",
            "Sum Li Active power+ (import, QI+QIV) Time integral 1 (energy accumulated from the start of "
            "measurement) "
            "Total.",
            "3"},
        KnownCode {"1.0.2.8.1.3",
            "Sum Li Active power- (export, QII+QIII) Time integral 1 (energy accumulated from the start of "
            "measurement) "
            "Rate 1. Historical value of billing period 3.",
            "3"},
        KnownCode {"1.0.1.4.0.255",
            "Sum Li Active power+ (import, QI+QIV) Current average 1 (average of the running measurement "
            "period) Total.",
            "5"},
        KnownCode {"1.0.1.6.0.255",
            "Sum Li Active power+ (import, QI+QIV) Maximum 1 (largest average of the billing period) Total.",
            "4"},
        KnownCode {
            "1.0.32.7.0.255", "L1 Voltage. Instantaneous value. Total (fundamental and all harmonics)", "3"},
        KnownCode {
            "1.0.32.7.124.255", "L1 Voltage. Instantaneous value. Total harmonic distortion (THD)", "3"},
        KnownCode {"1.0.13.7.0.255", "Sum Li Power factor. Instantaneous value. Total.", "3"},
        KnownCode {"1.0.31.35.0.255", "L1 Current. Over limit threshold.", "3"},
        KnownCode {
            "1.0.81.7.40.255", "Angles. Instantaneous value. Phase angle between I(L1) and U(L1)", "3"},
        KnownCode {"1.0.0.4.2.255",
            "Reading factors and transformer ratios. Current transformer ratio, numerator.", "[1,3]"},
        KnownCode {"1.0.99.1.0.255", "Load profile. Recording interval 1.", "7"},
        KnownCode {"1.0.98.1.0.101",
            "Data of billing period. Billing period scheme 1. Most recent billing periods (count 1)", "7"},
        // The other media
        KnownCode {"2.0.94.31.0.255", "Country-specific identifier. Country code 31.", ""},
        KnownCode {"4.0.1.0.0.255",
            "Heat cost allocator. Unrated integral (consumption units without rating factors) Current value. "
            "Total.",
            "3"},
        KnownCode {"5.0.1.0.0.255", "Cooling. Energy. Current value. Total.", "3"},
        KnownCode {"6.0.10.3.2.255",
            "Heat. Flow temperature. Billing date value (value captured at the billing date) Rate 2.", "3"},
        KnownCode {"7.0.3.0.0.255",
            "Gas. Forward absolute meter volume (at metering conditions) Current value (index) Total.", "3"},
        KnownCode {"7.0.13.0.0.255",
            "Gas. Forward absolute converted volume (at base conditions) Current value (index) Total.", "3"},
        KnownCode {"7.0.33.0.0.3",
            "Gas. Forward absolute energy. Current value (index) Total. Historical value of billing period "
            "3.",
            "3"},
        KnownCode {"8.0.1.0.0.255", "Cold water. Accumulated volume. Current value. Total.", "3"},
        KnownCode {"9.0.2.5.0.255", "Hot water. Flow rate. Maximum of value. Total.", "3"},
        KnownCode {"7.0.128.0.0.255", "Manufacturer-specific code (C = 128)", ""}),
    CaseName);

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

// A broader definition placed before a narrower one would hide it: the lowest code of every
// definition must be described by that definition itself.
TEST(BuiltInData, NoDefinitionIsHiddenByAnEarlierOne)
{
    for (const auto& media : BuiltIn().AllMediaData) {
        if (!media)
            continue;
        for (const auto& item : media->Items) {
            const TOBISItemData* first = FirstMatch(BuiltIn(), LowestCode(*item));
            EXPECT_EQ(first, item.get())
                << item->ToString().toStdString() << "\n hidden by "
                << (first ? first->ToString().toStdString() : std::string("nothing"));
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
            ASSERT_EQ(imported.GetOBISText(code), BuiltIn().GetOBISText(code))
                << TOBISData::OBISCodeToOBISStr(code).toStdString();
        }
    }
}

} // namespace
