#include "cli/Cli.h"

#include "cli/CodeArgument.h"
#include "cli/CommandLine.h"
#include "data/BuiltInDatabase.h"
#include "obisdata/Model.h"
#include "support/Exception.h"
#include "frontend/ResultDisplay.h"
#include "frontend/SearchInput.h"
#include "frontend/WorkbookLoad.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

enum ExitStatus { Success = 0, LoadOrLookupError = 1, UsageError = 2 };

void OpenForReading(QFile& file)
{
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Cannot open \"%1\": %2").arg(file.fileName(), file.errorString()));
}

std::unique_ptr<TOBISData> LoadDatabase(const TCommandLine& commandLine, const TLogProc& log)
{
    using enum TCommandLine::TSource;
    switch (commandLine.Source) {
    case BuiltIn: {
        QByteArray container = BuiltInDatabaseContainer();
        QBuffer resource(&container);
        resource.open(QIODevice::ReadOnly);
        return TOBISData::CreateFromCipheredStream(resource);
    }
    case Database:
    case PlainDatabase: {
        QFile file(commandLine.SourcePath);
        OpenForReading(file);
        return commandLine.Source == Database ? TOBISData::CreateFromCipheredStream(file)
                                              : TOBISData::CreateFromStream(file);
    }
    case Csv: {
        auto database = std::make_unique<TOBISData>();
        QString directory = commandLine.SourcePath;
        if (!directory.endsWith(u'/') && !directory.endsWith(QDir::separator()))
            directory += QDir::separator();
        database->LoadFromCSVFiles(log, directory);
        return database;
    }
    case Workbook: {
        auto database = std::make_unique<TOBISData>();
        LoadExcelFile(*database, commandLine.SourcePath, log);
        return database;
    }
    }
    return nullptr;
}

void WriteLines(QTextStream& out, const QStringList& lines)
{
    for (const QString& line : lines)
        out << line << '\n';
}

int RunSearch(TOBISData& database, const TCommandLine& commandLine, const TSearchCode& search, QTextStream& out,
    QTextStream& err)
{
    const TSearchWords words = ReadWords(commandLine.Text);
    const QStringList lines = database.GetMatchingLines(words.PlusWords, words.MinusWords, search.Code, search.Filter);
    WriteLines(out, commandLine.Raw ? lines : DisplayBlocks(lines, search.Code, search.Filter));
    err << ItemCountText(lines.size()) << '\n';
    return Success;
}

int RunDescribe(const TOBISData& database, const TCommandLine& commandLine, QTextStream& out)
{
    for (const QString& code : commandLine.Codes) {
        out << database.GetOBISText(CodeFromArgument(code)) << '\n';
        out.flush();
    }
    return Success;
}

int RunWords(TOBISData& database, QTextStream& out, QTextStream& err)
{
    const QStringList& words = database.AllWords();
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
    const TSearchCode search = commandLine.Command == Search ? SearchCode(commandLine) : TSearchCode{};

    // Progress goes to stderr with -v; the lines of a failed workbook import always do.
    const TLogProc log = [&commandLine, &err](const QString& line) {
        if (commandLine.Verbose || line.startsWith(QStringLiteral("***"))) {
            err << line << '\n';
            err.flush();
        }
    };
    const std::unique_ptr<TOBISData> database = LoadDatabase(commandLine, log);
    switch (commandLine.Command) {
    case Search:
        return RunSearch(*database, commandLine, search, out, err);
    case Describe:
        return RunDescribe(*database, commandLine, out);
    case Words:
        return RunWords(*database, out, err);
    case Save:
        return RunSave(*database, commandLine);
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
