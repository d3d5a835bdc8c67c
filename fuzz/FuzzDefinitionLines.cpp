// ProcessLine over arbitrary field lists, then the table expansion. Each input line is one
// definition line: its first character is the media number (a digit; any other character
// gives a number outside 0..9), the rest its fields, cut at commas as in a CSV file. The
// lines of several media fill one database, so that "&" rows of media 0 are copied into the
// media lists that exist and tables of every media are expanded. The digits stand for the
// media 0 and 1 (odd digits for 1): each list may grow to 200,000 definitions in the
// expansion, which takes seconds under the sanitizers, and two of them are as much as one
// run can take.
#include "fuzz/DatabaseChecks.h"
#include "fuzz/FuzzCheck.h"
#include "obisdata/CsvFiles.h"
#include "support/Exception.h"

namespace {

constexpr int MediaLists = 2;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const QString text = FuzzText(data, size);
    TOBISData database;
    int lineNr = 0;
    for (const QStringView line : QStringView(text).split(u'\n')) {
        ++lineNr;
        if (line.isEmpty())
            continue;
        int media = line.front().unicode() - u'0';
        if (IsMediaNr(media))
            media %= MediaLists;
        try {
            database.ProcessLine(media, lineNr, SplitCsvLine(line.mid(1)));
        } catch (const Exception&) {
            // A line in error is reported and passed over here; the loaders stop at it.
        }
    }
    CheckDefinitions(database, false);

    bool expanded = true;
    try {
        database.ExpandTables();
    } catch (const Exception&) {
        expanded = false;
    }
    CheckDefinitions(database, expanded);
    CheckDatabase(database);
    return 0;
}
