// The search with arbitrary words and phrases, over the example definitions and one more
// definition with arbitrary texts. The first six bytes are the code, the seventh the fields
// of the filter (bit 0 for A ... bit 5 for F). The rest is UTF-8 text: its first line is
// the search text as typed (words, "-" words, quoted phrases), the other lines the texts of
// the extra definition, which covers every code of media 1 and holds the line number 4242.
#include "fuzz/DatabaseChecks.h"
#include "fuzz/FuzzCheck.h"
#include "obisdata/Search.h"
#include "frontend/ResultDisplay.h"
#include "frontend/SearchInput.h"

#include <QCollator>

namespace {

std::unique_ptr<TOBISItemData> DefinitionWithTexts(QStringList texts)
{
    auto item = std::make_unique<TOBISItemData>();
    item->LineNr = 4242;
    for (const TColumn column : AllColumns)
        item->Values.SetValue(column, std::make_unique<TValue>(TValue::CreateRange(0, 255)));
    item->Values.SetValue(TColumn::A, std::make_unique<TValue>(TValue::CreateSingle(1)));
    item->Texts = std::move(texts);
    return item;
}

TOBISData& ExampleDatabase(TOBISData& database)
{
    database.LoadFromCSVFiles([](const QString&) {}, QStringLiteral(KESTRUNE_EXAMPLES_CSV));
    return database;
}

QString AsciiUpper(const QString& text)
{
    QString upper = text;
    for (QChar& c : upper) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    }
    return upper;
}

// The plain part of an entry: a phrase without its first and last character.
QString EntryText(const QString& entry)
{
    if (entry.startsWith(u'"'))
        return AsciiUpper(entry.mid(1, std::max<qsizetype>(entry.size() - 2, 0)));
    return AsciiUpper(entry);
}

// Every result line holds its plus entries and none of its minus phrases.
void CheckWords(const QStringList& lines, const TSearchWords& words)
{
    for (const QString& line : lines) {
        const QString upper = AsciiUpper(line);
        for (const QString& plus : words.PlusWords) {
            if (!plus.isEmpty())
                FuzzRequire(upper.contains(EntryText(plus)) && !EntryText(plus).isEmpty(), "a result holds its plus entries", line);
        }
        for (const QString& minus : words.MinusWords) {
            if (minus.startsWith(u'"') && !EntryText(minus).isEmpty())
                FuzzRequire(!upper.contains(EntryText(minus)), "a result holds none of its minus phrases", line);
        }
    }
}

// The words come out sorted and each once, none empty or holding a delimiter.
void CheckWordList(const QStringList& words)
{
    QCollator collator(QLocale::system());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    for (qsizetype i = 0; i < words.size(); ++i) {
        FuzzRequire(!words[i].isEmpty() && std::none_of(words[i].begin(), words[i].end(), IsWordDelimiter),
            "a word is not empty and holds no delimiter", words[i]);
        if (i > 0)
            FuzzRequire(collator.compare(words[i - 1], words[i]) < 0, "the word list is sorted, each word once", words[i]);
    }
}

// Lines are a subsequence of all in the same order.
bool IsSubsequence(const QStringList& lines, const QStringList& all)
{
    qsizetype at = 0;
    for (const QString& line : lines) {
        while (at < all.size() && all[at] != line)
            ++at;
        if (at == all.size())
            return false;
        ++at;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    if (size < 7)
        return 0;
    TOBISCode code;
    TOBISCodeFilter filter;
    for (const TColumn column : AllColumns) {
        code[column] = data[static_cast<std::size_t>(column)];
        filter[column] = (data[6] >> static_cast<int>(column)) & 1;
    }
    QStringList lines = FuzzText(data + 7, size - 7).split(u'\n');
    const TSearchWords words = ReadWords(lines.takeFirst());

    TOBISData database;
    ExampleDatabase(database).AllMediaData[1]->Items.push_back(DefinitionWithTexts(lines));

    const QStringList all = database.GetMatchingLines({}, {}, code, filter);
    const QStringList found = database.GetMatchingLines(words.PlusWords, words.MinusWords, code, filter);
    FuzzRequire(IsSubsequence(found, all), "words only narrow a search");
    if (filter[TColumn::A] && code[TColumn::A] >= MediaCount)
        FuzzRequire(all.isEmpty(), "a media number beyond 9 finds nothing");
    CheckWords(found, words);
    for (const QString& line : found) {
        const qsizetype blockLines = DisplayBlock(line, code, filter).size();
        FuzzRequire(blockLines == 2 || blockLines == 3, "a result shows as two or three lines", line);
    }
    CheckWordList(database.AllWords());
    CheckDatabase(database);
    return 0;
}
