#include "fuzz/DatabaseChecks.h"

#include "fuzz/FuzzCheck.h"
#include "support/Exception.h"

#include <QBuffer>

#include <algorithm>
#include <optional>

namespace {

constexpr qsizetype MaxFullyCheckedDefinitions = 20'000;

qsizetype DefinitionCount(const TOBISData& database)
{
    qsizetype count = 0;
    for (const auto& media : database.AllMediaData) {
        if (media)
            count += static_cast<qsizetype>(media->Items.size());
    }
    return count;
}

void CheckResultLines(const TOBISData& database)
{
    for (const auto& media : database.AllMediaData) {
        if (!media)
            continue;
        for (const auto& item : media->Items) {
            for (const TColumn column : AllColumns)
                FuzzRequire(item->Values.HasValue(column), "a definition has six patterns");
            const QString line = item->ToString();
            FuzzRequire(line.count(u'|') >= 2, "a result line has at least two \"|\"", line);
        }
    }
    const QStringList all = database.GetMatchingLines({}, {}, TOBISCode{}, TOBISCodeFilter{});
    FuzzRequire(all.size() == DefinitionCount(database), "a search without words or filter returns every definition");
}

// A code that the definition covers, when there is one.
std::optional<TOBISCode> CoveredCode(const TOBISItemData& item)
{
    TOBISCode code;
    for (const TColumn column : AllColumns) {
        int value = 0;
        while (value < 256 && !item.Values.GetValue(column).HasElement(static_cast<quint8>(value)))
            ++value;
        if (value == 256)
            return std::nullopt;
        code[column] = static_cast<quint8>(value);
    }
    return code;
}

void CheckLookup(const TOBISData& database)
{
    for (const auto& media : database.AllMediaData) {
        if (!media || media->Items.empty())
            continue;
        const std::optional<TOBISCode> code = CoveredCode(*media->Items.front());
        if (!code)
            continue;
        try {
            FuzzRequire(media->Items.front()->Match(*code), "a definition matches the codes its patterns cover");
            const QString text = media->GetOBISText(*code);
            FuzzRequire(text != QStringLiteral("Not found ") + TOBISData::OBISCodeToOBISStr(*code),
                "the first definition describes the codes it covers", text);
        } catch (const Exception&) {
            // A placeholder the lookup cannot fill; reported with its message.
        }
    }
}

QByteArray SavedStream(TOBISData& database)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    database.SaveToStream(buffer);
    return buffer.data();
}

std::unique_ptr<TOBISData> ReadStream(QByteArray& bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    std::unique_ptr<TOBISData> read = TOBISData::CreateFromStream(buffer);
    FuzzRequire(buffer.pos() == bytes.size(), "the reader reads the whole stream the writer wrote");
    return read;
}

// Entries of a string list that hold CR, LF or NUL do not survive the trip through a stream.
bool SurvivesAsListEntry(const QString& text)
{
    return !text.contains(u'\r') && !text.contains(u'\n') && !text.contains(QChar(u'\0'));
}

bool ListEntriesSurvive(TOBISData& database)
{
    if (!std::all_of(database.AllWords().begin(), database.AllWords().end(), SurvivesAsListEntry))
        return false;
    for (const auto& media : database.AllMediaData) {
        if (!media)
            continue;
        for (const auto& item : media->Items) {
            if (!std::all_of(item->Texts.begin(), item->Texts.end(), SurvivesAsListEntry))
                return false;
        }
    }
    return true;
}

void CheckStreamRoundTrip(TOBISData& database)
{
    QByteArray saved = SavedStream(database);
    QByteArray savedAgain = SavedStream(*ReadStream(saved));
    if (ListEntriesSurvive(database))
        FuzzRequire(savedAgain == saved, "a database read from its stream saves to the same bytes");
    FuzzRequire(SavedStream(*ReadStream(savedAgain)) == savedAgain, "a database read from a stream saves to the same bytes");
}

// The description of the code, or the message of the lookup's error.
QString LookupResult(const TOBISData& database, const TOBISCode& code)
{
    try {
        return database.GetOBISText(code);
    } catch (const Exception& e) {
        return QStringLiteral("error: ") + e.Message();
    }
}

// A read for some codes describes them exactly as the whole database does (when its texts
// survive the trip through a stream at all).
void CheckReadForCodes(TOBISData& database)
{
    if (!ListEntriesSurvive(database))
        return;
    TCodeSelection codes;
    for (const auto& media : database.AllMediaData) {
        if (!media)
            continue;
        for (const auto& item : media->Items) {
            if (const std::optional<TOBISCode> code = CoveredCode(*item); code && codes.size() < 8)
                codes.push_back(*code);
        }
    }
    QByteArray saved = SavedStream(database);
    QBuffer buffer(&saved);
    buffer.open(QIODevice::ReadOnly);
    const std::unique_ptr<TOBISData> selected = TOBISData::CreateFromStream(buffer, &codes);
    FuzzRequire(buffer.pos() == saved.size(), "a read for some codes reads the whole stream");
    for (const TOBISCode& code : codes)
        FuzzRequire(LookupResult(*selected, code) == LookupResult(database, code),
            "a read for some codes describes them as the whole database", TOBISData::OBISCodeToOBISStr(code));
}

} // namespace

void CheckDatabase(TOBISData& database)
{
    // A database near the expansion limit takes seconds to check under the sanitizers; its
    // definitions are the same as those of smaller ones, so only its lookup is checked.
    CheckLookup(database);
    if (DefinitionCount(database) > MaxFullyCheckedDefinitions)
        return;
    CheckResultLines(database);
    CheckStreamRoundTrip(database);
    CheckReadForCodes(database);
}

void CheckDefinitions(const TOBISData& database, bool expanded)
{
    for (int m = 0; m < MediaCount; ++m) {
        const TOBISMediaData* media = database.AllMediaData[static_cast<std::size_t>(m)].get();
        if (!media)
            continue;
        for (const auto& item : media->Items) {
            FuzzRequire(item->Values.GetValue(TColumn::A) == TValue::CreateSingle(static_cast<quint8>(m)),
                "field A of a definition is its media number");
            if (!expanded)
                continue;
            for (const QString& text : item->Texts)
                FuzzRequire(!(text.size() >= 2 && text[0] == u'$' && text[1].isDigit() && text[1].unicode() < 128),
                    "no text refers to a table after the expansion", text);
        }
    }
}
