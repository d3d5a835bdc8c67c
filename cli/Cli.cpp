#include "cli/Cli.h"

#include "cli/Annotate.h"
#include "cli/CommandLine.h"
#include "cli/Descriptions.h"
#include "cli/JsonDocuments.h"
#include "cli/Source.h"
#include "obisdata/Model.h"
#include "support/Exception.h"
#include "frontend/ResultDisplay.h"
#include "frontend/SearchInput.h"

#include <algorithm>

#include <QSaveFile>

namespace {

void WriteLines(QTextStream& out, const QStringList& lines)
{
    for (const QString& line : lines)
        out << line << '\n';
}

int RunSearch(const TOBISData& database, const TCommandLine& commandLine, QTextStream& out, QTextStream& err)
{
    const TSearchCode search = SearchCode(commandLine);
    const TSearchWords words = ReadWords(commandLine.Text);
    if (commandLine.Json) {
        WriteJson(out, SearchDocument(database.GetMatches(words.PlusWords, words.MinusWords, search.Code, search.Filter)));
        return Success;
    }
    const QStringList lines = database.GetMatchingLines(words.PlusWords, words.MinusWords, search.Code, search.Filter);
    WriteLines(out, commandLine.Raw ? lines : DisplayBlocks(lines, search.Code, search.Filter));
    err << ItemCountText(lines.size()) << '\n';
    return Success;
}

bool AllDescribed(const std::vector<TDescription>& descriptions)
{
    return std::all_of(descriptions.begin(), descriptions.end(), [](const TDescription& d) { return d.Error.isEmpty(); });
}

// One code: its description alone (and, on stderr, the full code when it was written
// otherwise). Several: one line each naming its code; failures go to stderr in their place.
void WriteDescriptions(const std::vector<TDescription>& descriptions, QTextStream& out, QTextStream& err)
{
    if (descriptions.size() == 1 && descriptions[0].Error.isEmpty()) {
        const TDescription& only = descriptions[0];
        out << only.Description << '\n';
        const QString fullCode = TOBISData::OBISCodeToOBISStr(*only.Code);
        if (only.Input.trimmed() != fullCode)
            err << '"' << only.Input << "\" is " << fullCode << '\n';
        return;
    }
    for (const TDescription& description : descriptions) {
        if (description.Error.isEmpty()) {
            out << DescriptionLine(description) << '\n';
        } else {
            out.flush();
            err << description.Error << '\n';
            err.flush();
        }
    }
}

int RunDescribe(const TCommandLine& commandLine, const TLogProc& log, QTextStream& out, QTextStream& err)
{
    std::vector<TDescription> descriptions = ReadCodes(commandLine.Codes, commandLine.Media);
    TCodeSelection selection;
    AddToSelection(selection, descriptions);
    if (!selection.empty())
        Describe(*LoadDatabase(commandLine, log, &selection), descriptions);
    if (commandLine.Json)
        WriteJson(out, DescriptionsDocument(descriptions));
    else
        WriteDescriptions(descriptions, out, err);
    return AllDescribed(descriptions) ? Success : LoadOrLookupError;
}

int RunWords(TOBISData& database, const TCommandLine& commandLine, QTextStream& out, QTextStream& err)
{
    const QStringList& words = database.AllWords();
    if (commandLine.Json) {
        WriteJson(out, WordsDocument(words));
        return Success;
    }
    WriteLines(out, words);
    err << words.size() << " items\n";
    return Success;
}

// Writes the database to a new file; a file that could not be written whole is removed.
int RunSave(TOBISData& database, const TCommandLine& commandLine)
{
    QSaveFile file(commandLine.OutputFile);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        throw Exception(QStringLiteral("Cannot create \"%1\": %2").arg(file.fileName(), file.errorString()));
    if (commandLine.Plain)
        database.SaveToStream(file);
    else
        database.SaveToCipheredStream(file);
    if (!file.commit())
        throw Exception(QStringLiteral("Cannot write \"%1\": %2").arg(file.fileName(), file.errorString()));
    return Success;
}

int Run(const TCommandLine& commandLine, QTextStream& out, QTextStream& err)
{
    using enum TCommandLine::TCommand;
    if (commandLine.Command == Help) {
        out << UsageText();
        return Success;
    }
    if (commandLine.Command == Version) {
        out << "kestrune-cli " << KESTRUNE_VERSION << '\n';
        return Success;
    }
    if (commandLine.Command == Search)
        SearchCode(commandLine); // a usage error is told before the load

    // Progress goes to stderr with -v; the lines of a failed workbook import always do.
    const TLogProc log = [&commandLine, &err](const QString& line) {
        if (commandLine.Verbose || line.startsWith(QStringLiteral("***"))) {
            err << line << '\n';
            err.flush();
        }
    };
    switch (commandLine.Command) {
    case Describe:
        return RunDescribe(commandLine, log, out, err);
    case Annotate:
        return RunAnnotate(commandLine, log, out);
    case Search:
        return RunSearch(*LoadDatabase(commandLine, log, nullptr), commandLine, out, err);
    case Words:
        return RunWords(*LoadDatabase(commandLine, log, nullptr), commandLine, out, err);
    case Save:
        return RunSave(*LoadDatabase(commandLine, log, nullptr), commandLine);
    case Help:
    case Version:
        break;
    }
    return Success;
}

} // namespace

int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    try {
        return Run(ParseCommandLine(arguments), out, err);
    } catch (const EUsageError& e) {
        err << "kestrune-cli: " << e.Message << "\nTry 'kestrune-cli --help' for more information.\n";
        return UsageError;
    } catch (const ESilentAbort&) {
        return LoadOrLookupError;
    } catch (const Exception& e) {
        out.flush();
        err << e.Message() << '\n';
        return LoadOrLookupError;
    }
}
