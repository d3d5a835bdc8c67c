#include "obisdata/Stream.h"

#include "obisdata/Cipher.h"
#include "obisdata/Model.h"
#include "support/Exception.h"

#include <QBuffer>
#include <QtEndian>

#include <algorithm>
#include <optional>
#include <cstring>

namespace {

// Smallest sizes of the records a count announces.
constexpr qint64 ValueRecordSize = 36;
constexpr qint64 ItemRecordMinimumSize = 4 + 1 + 1 + 6 * ValueRecordSize + 4 + 3;
constexpr qint64 StringRecordMinimumSize = 4;
constexpr qint64 VariableRecordMinimumSize = StringRecordMinimumSize + ValueRecordSize;

constexpr qint64 WriteChunkSize = 1 << 16;

} // namespace

TDeviceBytes::TDeviceBytes(QIODevice& device)
    : FStartOffset(device.pos())
{
    if (auto* buffer = qobject_cast<QBuffer*>(&device)) {
        const QByteArray& data = buffer->data();
        const qint64 start = std::min<qint64>(FStartOffset, data.size());
        FData = data.constData() + start;
        FSize = data.size() - start;
        return;
    }
    FOwned = device.readAll();
    FData = FOwned.constData();
    FSize = FOwned.size();
}

TStreamReader::TStreamReader(QIODevice& device, TBytes bytes)
    : FDevice(device)
    , FBytes(device)
    , FCiphered(bytes == TBytes::Ciphered)
{
}

void TStreamReader::RaiseDamaged(const QString& what) const
{
    throw Exception(QStringLiteral("Damaged database stream: %1 at byte %2")
                        .arg(what, QString::number(FBytes.StartOffset() + FPosition)));
}

void TStreamReader::Require(qint64 count, const char* what) const
{
    if (count > BytesLeft())
        RaiseDamaged(QStringLiteral("%1 runs past the end of the data").arg(QLatin1StringView(what)));
}

void TStreamReader::ReadBytes(void* buffer, qint64 count, const char* what)
{
    Require(count, what);
    if (FCiphered)
        ReadDeciphered(buffer, count);
    else
        std::memcpy(buffer, FBytes.Data() + FPosition, static_cast<std::size_t>(count));
    FPosition += count;
}

void TStreamReader::ReadDeciphered(void* buffer, qint64 count)
{
    if (count > WindowSize) {
        DecipherBytes(FBytes.Data(), FPosition, count, static_cast<char*>(buffer));
        return;
    }
    if (FPosition < FWindowStart || FPosition + count > FWindowStart + FWindowSize) {
        FWindowStart = FPosition;
        FWindowSize = std::min(WindowSize, FBytes.Size() - FPosition);
        DecipherBytes(FBytes.Data(), FWindowStart, FWindowSize, FWindow.data());
    }
    std::memcpy(buffer, FWindow.data() + (FPosition - FWindowStart), static_cast<std::size_t>(count));
}

void TStreamReader::Skip(qint64 count, const char* what)
{
    Require(count, what);
    FPosition += count;
}

quint8 TStreamReader::ReadByte(const char* what)
{
    quint8 value = 0;
    ReadBytes(&value, 1, what);
    return value;
}

bool TStreamReader::ReadBoolean(const char* what)
{
    return ReadByte(what) != 0;
}

qint32 TStreamReader::ReadInt32(const char* what)
{
    char bytes[4];
    ReadBytes(bytes, 4, what);
    return qFromLittleEndian<qint32>(bytes);
}

qint32 TStreamReader::ReadCount(qint64 minimumRecordSize, const char* what)
{
    const qint32 count = ReadInt32(what);
    if (count < 0 || count * minimumRecordSize > BytesLeft()) {
        FPosition -= 4;
        RaiseDamaged(QStringLiteral("%1 %2 is impossible").arg(QLatin1StringView(what), QString::number(count)));
    }
    return count;
}

void TStreamReader::Finish()
{
    FDevice.seek(FBytes.StartOffset() + FPosition);
}

TStreamWriter::TStreamWriter(QIODevice& device)
    : FDevice(device)
{
}

TStreamWriter::~TStreamWriter() = default;

void TStreamWriter::WriteBytes(const void* data, qint64 count)
{
    FPending.append(static_cast<const char*>(data), count);
    if (FPending.size() >= WriteChunkSize)
        Flush();
}

void TStreamWriter::WriteByte(quint8 value)
{
    WriteBytes(&value, 1);
}

void TStreamWriter::WriteInt32(qint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    WriteBytes(bytes, 4);
}

void TStreamWriter::Flush()
{
    if (FPending.isEmpty())
        return;
    if (FDevice.write(FPending) != FPending.size())
        throw Exception(QStringLiteral("Cannot write the database: %1").arg(FDevice.errorString()));
    FPending.clear();
}

QString ReadStreamString(TStreamReader& S)
{
    const qint32 length = S.ReadCount(2, "string length");
    QString text(length, Qt::Uninitialized);
    char16_t* units = reinterpret_cast<char16_t*>(text.data());
    S.ReadBytes(units, 2 * qint64{length}, "string");
    if constexpr (QSysInfo::ByteOrder != QSysInfo::LittleEndian) {
        for (qint32 i = 0; i < length; ++i)
            units[i] = qFromLittleEndian(units[i]);
    }
    return text;
}

void SkipStreamString(TStreamReader& S)
{
    const qint32 length = S.ReadCount(2, "string length");
    S.Skip(2 * qint64{length}, "string");
}

void WriteStreamString(TStreamWriter& S, const QString& text)
{
    S.WriteInt32(static_cast<qint32>(text.size()));
    if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        S.WriteBytes(text.constData(), 2 * text.size());
    } else {
        for (const QChar c : text) {
            char bytes[2];
            qToLittleEndian(c.unicode(), bytes);
            S.WriteBytes(bytes, 2);
        }
    }
}

QStringList ReadStreamStrings(TStreamReader& S)
{
    // Entries end at CR LF, a lone CR or a lone LF; a NUL ends the whole text.
    const QString text = ReadStreamString(S);
    QStringList list;
    qsizetype start = 0;
    qsizetype end = 0;
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    const qsizetype size = nul < 0 ? text.size() : nul;
    while (start < size) {
        end = start;
        while (end < size && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        list.append(text.mid(start, end - start));
        if (end + 1 < size && text[end] == u'\r' && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return list;
}

void WriteStreamStrings(TStreamWriter& S, const QStringList& list)
{
    QString text;
    for (const QString& entry : list) {
        text.append(entry);
        text.append(u"\r\n");
    }
    WriteStreamString(S, text);
}

std::unique_ptr<TValue> ReadStreamOptionalValue(TStreamReader& S)
{
    if (S.ReadByte("presence byte") == 0)
        return nullptr;
    return std::make_unique<TValue>(TValue::CreateFromStream(S));
}

void WriteStreamOptionalValue(TStreamWriter& S, const TValue* value)
{
    S.WriteByte(value ? 1 : 0);
    if (value)
        value->SaveToStream(S);
}

TByteSet ReadStreamByteSet(TStreamReader& S)
{
    TByteSet set;
    S.ReadBytes(set.Bytes().data(), 32, "byte set");
    return set;
}

void WriteStreamByteSet(TStreamWriter& S, const TByteSet& set)
{
    S.WriteBytes(set.Bytes().data(), 32);
}

TValue TValue::CreateFromStream(TStreamReader& S)
{
    const quint8 kind = S.ReadByte("value kind");
    if (kind > static_cast<quint8>(TValueKind::vkSet)) {
        S.RaiseDamaged(QStringLiteral("value kind %1 is unknown").arg(kind));
    }
    // The rest of the record in one read: value, low and high end of the range, the set.
    std::array<char, ValueRecordSize - 1> fields;
    S.ReadBytes(fields.data(), ValueRecordSize - 1, "value");
    TValue value;
    value.Kind = static_cast<TValueKind>(kind);
    value.ByteValue = static_cast<quint8>(fields[0]);
    value.LoRange = static_cast<quint8>(fields[1]);
    value.HiRange = static_cast<quint8>(fields[2]);
    std::memcpy(value.SetValue.Bytes().data(), fields.data() + 3, 32);
    return value;
}

void TValue::SaveToStream(TStreamWriter& S) const
{
    S.WriteByte(static_cast<quint8>(Kind));
    S.WriteByte(ByteValue);
    S.WriteByte(LoRange);
    S.WriteByte(HiRange);
    WriteStreamByteSet(S, SetValue);
}

void TValues::SaveToStream(TStreamWriter& S) const
{
    for (const TColumn column : AllColumns)
        GetValue(column).SaveToStream(S);
}

namespace {

// The fields of an item record before its texts, read without building the item.
struct TItemHead
{
    qint32 LineNr = 0;
    bool IsTableExpansion = false;
    bool IsAmpersAndExpansion = false;
    TColumnArray<TValue> Values;

    bool Covers(const TOBISCode& code) const
    {
        return std::all_of(AllColumns.begin(), AllColumns.end(),
            [&](TColumn column) { return Values[column].HasElement(code[column]); });
    }
    bool CoversAny(const TCodeSelection& codes) const
    {
        return std::any_of(codes.begin(), codes.end(), [this](const TOBISCode& code) { return Covers(code); });
    }
};

// Whether a pattern holds the group of any of the codes: when one pattern holds none, the item
// covers none of them.
bool HoldsAnyGroup(const TValue& pattern, TColumn column, const TCodeSelection& codes)
{
    return std::any_of(codes.begin(), codes.end(), [&](const TOBISCode& code) { return pattern.HasElement(code[column]); });
}

// The head of an item record. For a selection it is read only as far as it may cover one of the
// codes: after a pattern that holds no group of theirs the other patterns are skipped unread.
std::optional<TItemHead> ReadItemHead(TStreamReader& S, const TCodeSelection* Selection = nullptr)
{
    TItemHead head;
    head.LineNr = S.ReadInt32("line number");
    head.IsTableExpansion = S.ReadBoolean("flag");
    head.IsAmpersAndExpansion = S.ReadBoolean("flag");
    for (std::size_t c = 0; c < AllColumns.size(); ++c) {
        head.Values[AllColumns[c]] = TValue::CreateFromStream(S);
        if (Selection && !HoldsAnyGroup(head.Values[AllColumns[c]], AllColumns[c], *Selection)) {
            S.Skip(static_cast<qint64>(AllColumns.size() - c - 1) * ValueRecordSize, "value");
            return std::nullopt;
        }
    }
    return head;
}

// The rest of an item record after its head: the texts and the three optional patterns.
void SkipItemTail(TStreamReader& S)
{
    SkipStreamString(S);
    for (int pattern = 0; pattern < 3; ++pattern) {
        if (S.ReadByte("presence byte") != 0)
            S.Skip(ValueRecordSize, "value");
    }
}

std::unique_ptr<TOBISItemData> ItemFromHead(const TItemHead& head, TStreamReader& S)
{
    auto item = std::make_unique<TOBISItemData>();
    item->LineNr = head.LineNr;
    item->IsTableExpansion = head.IsTableExpansion;
    item->IsAmpersAndExpansion = head.IsAmpersAndExpansion;
    for (const TColumn column : AllColumns)
        item->Values.SetValue(column, std::make_unique<TValue>(head.Values[column]));
    item->Texts = ReadStreamStrings(S);
    item->InterfaceClasses = ReadStreamOptionalValue(S);
    item->AltInterfaceClasses = ReadStreamOptionalValue(S);
    item->ValueTypes = ReadStreamOptionalValue(S);
    return item;
}

} // namespace

std::unique_ptr<TOBISItemData> TOBISItemData::CreateFromStream(TStreamReader& S)
{
    return ItemFromHead(*ReadItemHead(S), S);
}

void TOBISItemData::SaveToStream(TStreamWriter& S) const
{
    S.WriteInt32(LineNr);
    S.WriteBoolean(IsTableExpansion);
    S.WriteBoolean(IsAmpersAndExpansion);
    Values.SaveToStream(S);
    WriteStreamStrings(S, Texts);
    WriteStreamOptionalValue(S, InterfaceClasses.get());
    WriteStreamOptionalValue(S, AltInterfaceClasses.get());
    WriteStreamOptionalValue(S, ValueTypes.get());
}

TTableEntry TTableEntry::CreateFromStream(TStreamReader& S)
{
    return TTableEntry{ReadStreamString(S)};
}

void TTableEntry::SaveToStream(TStreamWriter& S) const
{
    WriteStreamString(S, Text);
}

std::unique_ptr<TTable> TTable::CreateFromStream(TStreamReader& S)
{
    char bytes[2];
    S.ReadBytes(bytes, 2, "table column");
    const std::optional<TColumn> column = ColumnFromLetter(QChar(qFromLittleEndian<char16_t>(bytes)));
    if (!column)
        S.RaiseDamaged(QStringLiteral("table column is not a field letter"));
    auto table = std::make_unique<TTable>();
    table->Column = *column;
    const qint32 count = S.ReadCount(StringRecordMinimumSize, "table entry count");
    table->Entries.reserve(static_cast<std::size_t>(count));
    for (qint32 i = 0; i < count; ++i)
        table->Entries.push_back(TTableEntry::CreateFromStream(S));
    return table;
}

void TTable::SaveToStream(TStreamWriter& S) const
{
    char bytes[2];
    qToLittleEndian(ColumnLetter(Column).unicode(), bytes);
    S.WriteBytes(bytes, 2);
    S.WriteInt32(static_cast<qint32>(Entries.size()));
    for (const TTableEntry& entry : Entries)
        entry.SaveToStream(S);
}

TVariables TVariables::CreateFromStream(TStreamReader& S)
{
    TVariables variables;
    const qint32 count = S.ReadCount(VariableRecordMinimumSize, "variable count");
    for (qint32 i = 0; i < count; ++i) {
        const QString name = ReadStreamString(S);
        variables.Define(name, std::make_unique<TValue>(TValue::CreateFromStream(S)));
    }
    return variables;
}

void TVariables::SaveToStream(TStreamWriter& S) const
{
    S.WriteInt32(static_cast<qint32>(FEntries.size()));
    for (const TVariable& entry : FEntries) {
        WriteStreamString(S, entry.Name);
        entry.Value->SaveToStream(S);
    }
}

namespace {

// The byte set of the tables that exist: the character codes of "0".."9".
constexpr quint8 FirstTableCharacter = '0';

} // namespace

std::unique_ptr<TOBISMediaData> TOBISMediaData::CreateFromStream(TStreamReader& S, const TCodeSelection* Selection)
{
    auto media = std::make_unique<TOBISMediaData>();
    const qint32 count = S.ReadCount(ItemRecordMinimumSize, "item count");
    if (!Selection)
        media->Items.reserve(static_cast<std::size_t>(count));
    for (qint32 i = 0; i < count; ++i) {
        const std::optional<TItemHead> head = ReadItemHead(S, Selection);
        if (head && (!Selection || head->CoversAny(*Selection)))
            media->Items.push_back(ItemFromHead(*head, S));
        else
            SkipItemTail(S);
    }
    const TByteSet tables = ReadStreamByteSet(S);
    for (int t = 0; t < TableCount; ++t) {
        if (tables.Contains(static_cast<quint8>(FirstTableCharacter + t)))
            media->Tables[static_cast<std::size_t>(t)] = TTable::CreateFromStream(S);
    }
    media->Variables = TVariables::CreateFromStream(S);
    return media;
}

void TOBISMediaData::SaveToStream(TStreamWriter& S) const
{
    S.WriteInt32(static_cast<qint32>(Items.size()));
    for (const auto& item : Items)
        item->SaveToStream(S);
    const TTableRangeSet existing = GetExistingTables();
    TByteSet tables;
    for (int t = 0; t < TableCount; ++t) {
        if (existing[static_cast<std::size_t>(t)])
            tables.Include(static_cast<quint8>(FirstTableCharacter + t));
    }
    WriteStreamByteSet(S, tables);
    for (const auto& table : Tables) {
        if (table)
            table->SaveToStream(S);
    }
    Variables.SaveToStream(S);
}

void TOBISData::ReadFromStream(TStreamReader& S, const TCodeSelection* Selection)
{
    if (Selection)
        SkipStreamString(S);
    else
        FAllWords = ReadStreamStrings(S);
    for (auto& media : AllMediaData) {
        if (S.ReadByte("media presence byte") != 0)
            media = TOBISMediaData::CreateFromStream(S, Selection);
    }
}

std::unique_ptr<TOBISData> TOBISData::CreateFromStream(QIODevice& S, const TCodeSelection* Selection)
{
    TStreamReader reader(S);
    auto database = std::make_unique<TOBISData>();
    database->ReadFromStream(reader, Selection);
    reader.Finish();
    return database;
}

void TOBISData::SaveToStream(QIODevice& S)
{
    TStreamWriter writer(S);
    WriteStreamStrings(writer, AllWords());
    for (const auto& media : AllMediaData) {
        writer.WriteByte(media ? 1 : 0);
        if (media)
            media->SaveToStream(writer);
    }
    writer.Flush();
}
