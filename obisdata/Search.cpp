#include "obisdata/Search.h"

#include "obisdata/Model.h"

#include <QCollator>
#include <QSet>

#include <algorithm>
#include <numeric>

bool IsWordDelimiter(QChar c)
{
    switch (c.unicode()) {
    case u' ':
    case u'#':
    case u'$':
    case u'(':
    case u')':
    case u'*':
    case u'+':
    case u',':
    case u'-':
    case u'.':
    case u'/':
    case u'<':
    case u'=':
        return true;
    default:
        return false;
    }
}

namespace {

template <typename Visit>
void ForEachWord(QStringView text, Visit visit)
{
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size) {
        while (i < size && IsWordDelimiter(text[i]))
            ++i;
        const qsizetype start = i;
        while (i < size && !IsWordDelimiter(text[i]))
            ++i;
        if (i > start)
            visit(text.mid(start, i - start));
    }
}

// Upper-cases the ASCII letters a..z only; every other character stays as it is.
QString AsciiUpper(QStringView text)
{
    QString upper = text.toString();
    for (QChar& c : upper) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    }
    return upper;
}

// The texts section of a result line: after the second "|" up to the third, or the end.
QStringView TextsSection(QStringView line)
{
    const qsizetype first = line.indexOf(u'|');
    const qsizetype second = first < 0 ? -1 : line.indexOf(u'|', first + 1);
    if (second < 0)
        return {};
    const qsizetype third = line.indexOf(u'|', second + 1);
    return third < 0 ? line.mid(second + 1) : line.mid(second + 1, third - second - 1);
}

// One plus or minus entry, upper-cased: a phrase (stripped of its first and last
// character) is looked for in the whole line, a word among the words of the texts section.
struct TWordTest
{
    QString Text;
    bool IsPhrase;
};

std::vector<TWordTest> MakeWordTests(const QStringList& entries)
{
    std::vector<TWordTest> tests;
    for (const QString& entry : entries) {
        if (entry.isEmpty())
            continue;
        if (entry.front() == u'"')
            tests.push_back({AsciiUpper(QStringView(entry).mid(1, std::max<qsizetype>(entry.size() - 2, 0))), true});
        else
            tests.push_back({AsciiUpper(entry), false});
    }
    return tests;
}

// A definition's line upper-cased, with the words of its texts section.
class TLineWords
{
public:
    explicit TLineWords(const QString& line)
        : FUpperLine(AsciiUpper(line))
    {
        ForEachWord(TextsSection(FUpperLine), [this](QStringView word) { FWords.push_back(word); });
    }

    bool Holds(const TWordTest& test) const
    {
        if (test.IsPhrase)
            return !test.Text.isEmpty() && FUpperLine.contains(test.Text);
        return std::find(FWords.begin(), FWords.end(), QStringView(test.Text)) != FWords.end();
    }

private:
    QString FUpperLine;
    std::vector<QStringView> FWords;
};

bool PassesCodeTest(const TOBISItemData& item, const TOBISCode& code, const TOBISCodeFilter& filter)
{
    for (const TColumn column : AllColumns) {
        if (filter[column] && !item.Values.GetValue(column).HasElement(code[column]))
            return false;
    }
    return true;
}

} // namespace

QStringList SplitWords(QStringView text)
{
    QStringList words;
    ForEachWord(text, [&words](QStringView word) { words.append(word.toString()); });
    return words;
}

std::vector<TOBISData::TMatch> TOBISData::GetMatches(const QStringList& PlusWords, const QStringList& MinusWords,
    const TOBISCode& OBISCode, const TOBISCodeFilter& OBISCodeFilter) const
{
    std::vector<TMatch> result;
    int firstMedia = 0;
    int lastMedia = MediaCount - 1;
    if (OBISCodeFilter[TColumn::A]) {
        firstMedia = lastMedia = OBISCode[TColumn::A];
        if (!IsMediaNr(firstMedia))
            return result;
    }

    const std::vector<TWordTest> plusTests = MakeWordTests(PlusWords);
    const std::vector<TWordTest> minusTests = MakeWordTests(MinusWords);
    const bool testsWords = !plusTests.empty() || !minusTests.empty();

    for (int media = firstMedia; media <= lastMedia; ++media) {
        const TOBISMediaData* mediaData = AllMediaData[static_cast<std::size_t>(media)].get();
        if (!mediaData)
            continue;
        for (const auto& item : mediaData->Items) {
            if (!PassesCodeTest(*item, OBISCode, OBISCodeFilter))
                continue;
            QString line = item->ToString();
            if (testsWords) {
                const TLineWords words(line);
                const auto holds = [&words](const TWordTest& test) { return words.Holds(test); };
                if (!std::all_of(plusTests.begin(), plusTests.end(), holds)
                    || std::any_of(minusTests.begin(), minusTests.end(), holds))
                    continue;
            }
            result.push_back({media, item.get(), std::move(line)});
        }
    }
    return result;
}

QStringList TOBISData::GetMatchingLines(const QStringList& PlusWords, const QStringList& MinusWords,
    const TOBISCode& OBISCode, const TOBISCodeFilter& OBISCodeFilter) const
{
    std::vector<TMatch> matches = GetMatches(PlusWords, MinusWords, OBISCode, OBISCodeFilter);
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(matches.size()));
    for (TMatch& match : matches)
        lines.append(std::move(match.Line));
    return lines;
}

namespace {

// Sorts the words by the user's locale without regard to case and keeps one word of each
// group that the collation takes as equal: the one met first.
QStringList SortedUniqueWords(const QStringList& wordsInOrderMet)
{
    QCollator collator(QLocale::system());
    collator.setCaseSensitivity(Qt::CaseInsensitive);

    std::vector<qsizetype> order(static_cast<std::size_t>(wordsInOrderMet.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        return collator.compare(wordsInOrderMet[a], wordsInOrderMet[b]) < 0;
    });

    QStringList sorted;
    sorted.reserve(wordsInOrderMet.size());
    qsizetype groupStart = 0;
    while (groupStart < static_cast<qsizetype>(order.size())) {
        // Within a group of equal words the stable sort kept the order met.
        const QString& first = wordsInOrderMet[order[static_cast<std::size_t>(groupStart)]];
        qsizetype next = groupStart + 1;
        while (next < static_cast<qsizetype>(order.size())
            && collator.compare(first, wordsInOrderMet[order[static_cast<std::size_t>(next)]]) == 0)
            ++next;
        sorted.append(first);
        groupStart = next;
    }
    return sorted;
}

} // namespace

const QStringList& TOBISData::AllWords()
{
    if (FAllWords)
        return *FAllWords;

    // Each word once in any letter case, in the order met; the collation decides the rest.
    QStringList wordsInOrderMet;
    QSet<QString> seen;
    for (const auto& mediaData : AllMediaData) {
        if (!mediaData)
            continue;
        for (const auto& item : mediaData->Items) {
            for (const QString& text : item->Texts) {
                ForEachWord(text, [&](QStringView word) {
                    const QString folded = word.toString().toCaseFolded();
                    if (!seen.contains(folded)) {
                        seen.insert(folded);
                        wordsInOrderMet.append(word.toString());
                    }
                });
            }
        }
    }
    FAllWords = SortedUniqueWords(wordsInOrderMet);
    return *FAllWords;
}
