#include "obisdata/Model.h"
#include "obisdata/Stream.h"
#include "support/Exception.h"
#include "TestDatabase.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

QByteArray Saved(TOBISData& database)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    database.SaveToStream(buffer);
    return buffer.data();
}

std::unique_ptr<TOBISData> Loaded(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return TOBISData::CreateFromStream(buffer);
}

// Runs write on a stream writer and returns the bytes it wrote.
template <typename Write>
QByteArray Written(Write write)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TStreamWriter writer(buffer);
    write(writer);
    writer.Flush();
    return buffer.data();
}

QByteArray Utf16(const char16_t* text)
{
    const QString string = QString::fromUtf16(text);
    return QByteArray(reinterpret_cast<const char*>(string.utf16()), 2 * string.size());
}

QByteArray Int32(qint32 value)
{
    return QByteArray(reinterpret_cast<const char*>(&value), 4);
}

TEST(DatabaseStream, AnEmptyDatabaseIsFourteenZeroBytes)
{
    TOBISData database;
    EXPECT_EQ(Saved(database), QByteArray(14, '\0'));
    const auto read = Loaded(QByteArray(14, '\0'));
    EXPECT_TRUE(read->AllWords().isEmpty());
    for (const auto& media : read->AllMediaData)
        EXPECT_EQ(media, nullptr);
}

TEST(DatabaseStream, StringListsEndEveryEntryWithCrLf)
{
    EXPECT_EQ(Written([](TStreamWriter& S) { WriteStreamStrings(S, Lines({"active", "energy"})); }),
        Int32(16) + Utf16(u"active\r\nenergy\r\n"));
    EXPECT_EQ(Written([](TStreamWriter& S) { WriteStreamStrings(S, QStringList{QString()}); }), Int32(2) + Utf16(u"\r\n"));
    EXPECT_EQ(Written([](TStreamWriter& S) { WriteStreamStrings(S, {}); }), Int32(0));
}

struct StringListCase
{
    const char* Name;
    const char16_t* Text;
    QStringList Entries;
};

class StringListReading : public testing::TestWithParam<StringListCase> {};

TEST_P(StringListReading, SplitsAtEveryLineBreak)
{
    const QString text = QString::fromUtf16(GetParam().Text);
    QByteArray bytes = Int32(static_cast<qint32>(text.size())) + Utf16(GetParam().Text);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TStreamReader reader(buffer);
    EXPECT_EQ(ReadStreamStrings(reader), GetParam().Entries);
}

INSTANTIATE_TEST_SUITE_P(Texts, StringListReading,
    testing::Values(StringListCase{"emptyEntryBetween", u"a\r\n\r\nb\r\n", Lines({"a", "", "b"})},
        StringListCase{"oneEmptyEntry", u"\r\n", QStringList{QString()}}, StringListCase{"empty", u"", {}},
        StringListCase{"loneLineFeedSplits", u"a\nb\r\n", Lines({"a", "b"})},
        StringListCase{"loneCarriageReturnSplits", u"a\rb", Lines({"a", "b"})},
        StringListCase{"noFinalBreak", u"a\r\nb", Lines({"a", "b"})},
        StringListCase{"nulEndsEverything", u"ab\0cd\r\ne\r\n", Lines({"ab"})}),
    CaseName());

TEST(DatabaseStream, ValueRecordsKeepEveryField)
{
    TValue value = TValue::CreateRange(1, 3);
    value.AddRange(5, 5);
    value.ByteValue = 9;
    const QByteArray bytes = Written([&value](TStreamWriter& S) { value.SaveToStream(S); });
    ASSERT_EQ(bytes.size(), 36);
    EXPECT_EQ(bytes.left(4), QByteArray::fromHex("03090103"));
    EXPECT_EQ(bytes.mid(4), QByteArray::fromHex("2e") + QByteArray(31, '\0'));

    EXPECT_EQ(Written([](TStreamWriter& S) { TValue::CreateSingle(7).SaveToStream(S); }).size(), 36);
}

TEST(DatabaseStream, OptionalValuesArePresenceBytesAndRecords)
{
    EXPECT_EQ(Written([](TStreamWriter& S) { WriteStreamOptionalValue(S, nullptr); }), QByteArray(1, '\0'));
    const TValue value = TValue::CreateSingle(3);
    const QByteArray present = Written([&value](TStreamWriter& S) { WriteStreamOptionalValue(S, &value); });
    EXPECT_EQ(present.size(), 37);
    EXPECT_EQ(present.left(3), QByteArray::fromHex("010103"));
}

TEST(DatabaseStream, TheTableSetHoldsTheCharacterCodesOfTheDigits)
{
    TOBISMediaData media;
    media.Tables[3] = std::make_unique<TTable>();
    media.Tables[3]->Column = TColumn::C;
    const QByteArray bytes = Written([&media](TStreamWriter& S) { media.SaveToStream(S); });
    // count 0, byte set (byte 6 = 0x08 for "3"), column C, no entries, no variables
    EXPECT_EQ(bytes, Int32(0) + QByteArray(6, '\0') + QByteArray::fromHex("08") + QByteArray(25, '\0')
            + QByteArray::fromHex("4300") + Int32(0) + Int32(0));

    media.Tables[8] = std::make_unique<TTable>();
    media.Tables[9] = std::make_unique<TTable>();
    const QByteArray withEightAndNine = Written([&media](TStreamWriter& S) { media.SaveToStream(S); });
    EXPECT_EQ(withEightAndNine.mid(4 + 7, 1), QByteArray::fromHex("03"));
}

TEST(DatabaseStream, AnItemEndsInItsThreeOptionalValues)
{
    auto item = MakeItem(17, {Single(1), Single(0), Single(1), Single(8), Range(0, 4), Single(255)}, {"x"});
    const auto save = [&item] { return Written([&item](TStreamWriter& S) { item->SaveToStream(S); }); };
    EXPECT_TRUE(save().endsWith(QByteArray(3, '\0')));
    EXPECT_EQ(save().size(), 4 + 2 + 6 * 36 + 4 + 6 + 3);

    item->InterfaceClasses = std::make_unique<TValue>(Single(3));
    item->AltInterfaceClasses = std::make_unique<TValue>();
    item->ValueTypes = std::make_unique<TValue>(Single(6));
    EXPECT_EQ(save().size(), 4 + 2 + 6 * 36 + 4 + 6 + 3 * 37);
}

// A database that uses every kind of record.
std::unique_ptr<TOBISData> SampleDatabase()
{
    auto database = std::make_unique<TOBISData>();
    AddLines(*database, 3, {"def,NONE =", "N1A,0,,,,,null"});
    AddLines(*database, 1,
        {"def,ALL = *", "def,Chan = 0-64", "N2C,,,1,,,,,Active power+", "N2C,,,2,,,,,Active power-",
            ",1,Chan,1-2,8,0-4,255,Channel $B,$2,Time integral 1,Rate $E,,3,4,6",
            ",1,0,ALL,ALL,ALL,ALL,,Any,,,,,,"});
    AddLines(*database, 0, {",&,0,1,0,0,255,,Clock,,,,8,,", ",0,0,96,1,0,255,,Meter serial number,,,,1,,9"});
    database->ExpandTables();
    return database;
}

TEST(DatabaseStream, ReadingAndWritingAgainGivesTheSameBytes)
{
    auto database = SampleDatabase();
    const QByteArray first = Saved(*database);
    const auto read = Loaded(first);
    EXPECT_EQ(Saved(*read), first);
    EXPECT_EQ(read->AllWords(), database->AllWords());
    EXPECT_EQ(read->GetMatchingLines({}, {}, {}, {}), database->GetMatchingLines({}, {}, {}, {}));
    EXPECT_EQ(read->AllMediaData[1]->Variables.Find(QStringLiteral("CHAN"))->ToString(), QStringLiteral("[0-64]"));
}

std::unique_ptr<TOBISData> LoadedFor(QByteArray bytes, const TCodeSelection& codes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    auto database = TOBISData::CreateFromStream(buffer, &codes);
    EXPECT_EQ(buffer.pos(), bytes.size());
    return database;
}

TEST(DatabaseStream, AReadForSomeCodesDescribesThemAsTheWholeDatabase)
{
    const TCodeSelection codes{Code("1.3.2.8.4.255"), Code("1.0.99.98.0.0"), Code("0.0.1.0.0.255"),
        Code("0.0.96.1.0.255"), Code("0.0.96.2.0.255")};
    const auto whole = SampleDatabase();
    const auto selected = LoadedFor(Saved(*whole), codes);
    for (const TOBISCode& code : codes)
        EXPECT_EQ(selected->GetOBISText(code), whole->GetOBISText(code)) << TOBISData::OBISCodeToOBISStr(code).toStdString();
    ASSERT_NE(selected->AllMediaData[3], nullptr);
    EXPECT_TRUE(selected->AllMediaData[3]->Items.empty());
}

TEST(DatabaseStream, AReadForSomeCodesKeepsOnlyTheDefinitionsThatCoverThem)
{
    const auto selected = LoadedFor(Saved(*SampleDatabase()), {Code("1.0.2.8.4.255")});
    EXPECT_EQ(selected->GetMatchingLines({}, {}, {}, {}),
        Lines({"6|{A=1, B=0, C=[0-255], D=[0-255], E=[0-255], F=[0-255]}|Any",
            "*5|{A=1, B=[0-64], C=2, D=8, E=[0-4], F=255}|Channel $B; Active power-; Time integral 1; Rate $E|IC=3 AltIC=4 Types=6 "}));
}

TEST(DatabaseStream, TheStoredWordListIsKeptAsItIs)
{
    QByteArray bytes = Int32(13) + Utf16(u"zeta\r\nalpha\r\n") + QByteArray(10, '\0');
    const auto read = Loaded(bytes);
    EXPECT_EQ(read->AllWords(), Lines({"zeta", "alpha"}));
    EXPECT_EQ(Saved(*read), bytes);
}

TEST(DatabaseStream, TheReaderLeavesThePositionAfterTheDatabase)
{
    TOBISData database;
    QByteArray bytes = QByteArray("xx") + Saved(database) + QByteArray("tail");
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(2);
    TOBISData::CreateFromStream(buffer);
    EXPECT_EQ(buffer.pos(), 16);
}

TEST(DamagedStream, EveryTruncationIsReportedWithItsOffset)
{
    const QByteArray whole = Saved(*SampleDatabase());
    for (qsizetype size = 0; size < whole.size(); ++size) {
        try {
            Loaded(whole.left(size));
            ADD_FAILURE() << "accepted a stream cut at " << size;
        } catch (const Exception& e) {
            EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Damaged database stream: "))) << e.what();
            EXPECT_TRUE(e.Message().contains(QStringLiteral(" at byte "))) << e.what();
        }
    }
}

struct DamageCase
{
    const char* Name;
    QByteArray Bytes;
    const char* Message;
};

class DamagedStreams : public testing::TestWithParam<DamageCase> {};

TEST_P(DamagedStreams, EndTheReadWithAClearError)
{
    try {
        Loaded(GetParam().Bytes);
        FAIL() << "accepted";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QString::fromLatin1(GetParam().Message));
    }
}

// Word list, presence byte of media 0, then the media record.
QByteArray Media0(const QByteArray& record)
{
    return Int32(0) + QByteArray::fromHex("01") + record;
}

const QByteArray EmptyValue = QByteArray(36, '\0');

INSTANTIATE_TEST_SUITE_P(Streams, DamagedStreams,
    testing::Values(DamageCase{"hugeWordList", Int32(0x7FFFFFFF),
                        "Damaged database stream: string length 2147483647 is impossible at byte 0"},
        DamageCase{"negativeWordList", Int32(-1) + QByteArray(10, '\0'),
            "Damaged database stream: string length -1 is impossible at byte 0"},
        DamageCase{"hugeItemCount", Media0(Int32(100000) + QByteArray(300, '\0')),
            "Damaged database stream: item count 100000 is impossible at byte 5"},
        DamageCase{"negativeItemCount", Media0(Int32(-5)), "Damaged database stream: item count -5 is impossible at byte 5"},
        DamageCase{"unknownKind", Media0(Int32(1) + Int32(7) + QByteArray(2, '\0') + QByteArray::fromHex("04") + QByteArray(300, '\0')),
            "Damaged database stream: value kind 4 is unknown at byte 16"},
        DamageCase{"badTableColumn", Media0(Int32(0) + QByteArray(6, '\0') + QByteArray::fromHex("01") + QByteArray(25, '\0') + QByteArray::fromHex("4700") + QByteArray(8, '\0')),
            "Damaged database stream: table column is not a field letter at byte 43"},
        DamageCase{"hugeTableEntryCount", Media0(Int32(0) + QByteArray(6, '\0') + QByteArray::fromHex("01") + QByteArray(25, '\0') + QByteArray::fromHex("4100") + Int32(1000)),
            "Damaged database stream: table entry count 1000 is impossible at byte 43"},
        DamageCase{"hugeVariableCount", Media0(Int32(0) + QByteArray(32, '\0') + Int32(3) + Int32(0) + EmptyValue),
            "Damaged database stream: variable count 3 is impossible at byte 41"},
        DamageCase{"variableCutShort", Media0(Int32(0) + QByteArray(32, '\0') + Int32(1) + Int32(0) + QByteArray(34, '\0')),
            "Damaged database stream: variable count 1 is impossible at byte 41"}),
    CaseName());

} // namespace
