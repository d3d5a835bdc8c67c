#include "cli/CommandLine.h"

#include "frontend/SearchInput.h"
#include "support/Exception.h"

#include <QCommandLineParser>

namespace {

using enum TCommandLine::TCommand;
using enum TCommandLine::TSource;

// The parser's own program-name slot: QCommandLineParser skips the first argument.
const QString ProgramName = QStringLiteral("kestrune-cli");

const QCommandLineOption CsvOption(QStringLiteral("csv"), {}, QStringLiteral("DIR"));
const QCommandLineOption WorkbookOption(QStringLiteral("workbook"), {}, QStringLiteral("FILE"));
const QCommandLineOption DatabaseOption(QStringLiteral("db"), {}, QStringLiteral("FILE"));
const QCommandLineOption PlainDatabaseOption(QStringLiteral("plain-db"), {}, QStringLiteral("FILE"));
const QCommandLineOption VerboseOption(QStringLiteral("v"));
const QCommandLineOption HelpOption(QStringList{QStringLiteral("help"), QStringLiteral("h")});
const QCommandLineOption VersionOption(QStringLiteral("version"));

const QCommandLineOption JsonOption(QStringLiteral("json"));
const QCommandLineOption MediaOption(QStringLiteral("media"), {}, QStringLiteral("A[-B]"));
const QCommandLineOption HexOption(QStringLiteral("hex"));
const QCommandLineOption CodeOption(QStringLiteral("code"), {}, QStringLiteral("CODE"));
const QCommandLineOption TextOption(QStringLiteral("text"), {}, QStringLiteral("TEXT"));
const QCommandLineOption RawOption(QStringLiteral("raw"));
const QCommandLineOption PlainOption(QStringLiteral("plain"));

QCommandLineOption FieldOption(TColumn column)
{
    return QCommandLineOption(QString(ColumnLetter(column)), {}, QStringLiteral("V"));
}

// Parses arguments with the options given; the command's name stands in the program-name slot.
void Parse(QCommandLineParser& parser, const QList<QCommandLineOption>& options, const QString& name,
    const QStringList& arguments)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.addOptions(options);
    if (!parser.parse(QStringList{name} + arguments))
        throw EUsageError(name == ProgramName ? parser.errorText() : QStringLiteral("%1: %2").arg(name, parser.errorText()));
}

void RequireNoArguments(const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        throw EUsageError(QStringLiteral("unexpected \"%1\"").arg(parser.positionalArguments().first()));
}

void ReadSource(const QCommandLineParser& parser, TCommandLine& commandLine)
{
    const std::array<std::pair<const QCommandLineOption*, TCommandLine::TSource>, 4> sources{
        {{&CsvOption, Csv}, {&WorkbookOption, Workbook}, {&DatabaseOption, Database}, {&PlainDatabaseOption, PlainDatabase}}};
    qsizetype named = 0;
    for (const auto& [option, source] : sources) {
        const QStringList paths = parser.values(*option);
        named += paths.size();
        if (!paths.isEmpty()) {
            commandLine.Source = source;
            commandLine.SourcePath = paths.last();
        }
    }
    if (named > 1)
        throw EUsageError(QStringLiteral("name at most one source"));
    commandLine.Verbose = parser.isSet(VerboseOption);
}

void ReadMedia(const QCommandLineParser& parser, TCommandLine& commandLine)
{
    if (!parser.isSet(MediaOption))
        return;
    try {
        commandLine.Media = ReadMediaGroups(parser.value(MediaOption));
    } catch (const Exception& e) {
        throw EUsageError(e.Message());
    }
}

void ParseSearch(const QStringList& arguments, TCommandLine& commandLine)
{
    QList<QCommandLineOption> options{HexOption, CodeOption, MediaOption, TextOption, RawOption, JsonOption};
    for (const TColumn column : AllColumns)
        options.append(FieldOption(column));
    QCommandLineParser parser;
    Parse(parser, options, QStringLiteral("search"), arguments);
    RequireNoArguments(parser);
    for (const TColumn column : AllColumns) {
        if (parser.isSet(QString(ColumnLetter(column))))
            commandLine.FieldTexts[static_cast<std::size_t>(column)] = parser.value(QString(ColumnLetter(column)));
    }
    if (parser.isSet(CodeOption))
        commandLine.CodeText = parser.value(CodeOption);
    commandLine.Hex = parser.isSet(HexOption);
    commandLine.Text = parser.value(TextOption);
    commandLine.Raw = parser.isSet(RawOption);
    commandLine.Json = parser.isSet(JsonOption);
    ReadMedia(parser, commandLine);
}

void ParseDescribe(const QStringList& arguments, TCommandLine& commandLine)
{
    QCommandLineParser parser;
    Parse(parser, {MediaOption, JsonOption}, QStringLiteral("describe"), arguments);
    commandLine.Codes = parser.positionalArguments();
    if (commandLine.Codes.isEmpty())
        throw EUsageError(QStringLiteral("describe needs at least one code"));
    commandLine.Json = parser.isSet(JsonOption);
    ReadMedia(parser, commandLine);
}

void ParseAnnotate(const QStringList& arguments, TCommandLine& commandLine)
{
    QCommandLineParser parser;
    Parse(parser, {MediaOption, JsonOption}, QStringLiteral("annotate"), arguments);
    commandLine.Files = parser.positionalArguments();
    commandLine.Json = parser.isSet(JsonOption);
    ReadMedia(parser, commandLine);
}

void ParseWords(const QStringList& arguments, TCommandLine& commandLine)
{
    QCommandLineParser parser;
    Parse(parser, {JsonOption}, QStringLiteral("words"), arguments);
    RequireNoArguments(parser);
    commandLine.Json = parser.isSet(JsonOption);
}

void ParseSave(const QStringList& arguments, TCommandLine& commandLine)
{
    QCommandLineParser parser;
    Parse(parser, {PlainOption}, QStringLiteral("save"), arguments);
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        throw EUsageError(QStringLiteral("save needs a file name"));
    if (files.size() > 1)
        throw EUsageError(QStringLiteral("unexpected \"%1\"").arg(files[1]));
    commandLine.OutputFile = files[0];
    commandLine.Plain = parser.isSet(PlainOption);
}

} // namespace

TCommandLine ParseCommandLine(const QStringList& arguments)
{
    TCommandLine commandLine;
    QCommandLineParser global;
    // Everything from the command on is the command's.
    global.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    Parse(global, {CsvOption, WorkbookOption, DatabaseOption, PlainDatabaseOption, VerboseOption, HelpOption, VersionOption},
        ProgramName, arguments);
    ReadSource(global, commandLine);
    QStringList rest = global.positionalArguments();
    if (global.isSet(HelpOption) || global.isSet(VersionOption)) {
        commandLine.Command = global.isSet(HelpOption) ? Help : Version;
        if (!rest.isEmpty())
            throw EUsageError(QStringLiteral("unexpected \"%1\"").arg(rest.first()));
        return commandLine;
    }
    if (rest.isEmpty())
        throw EUsageError(QStringLiteral("no command given"));

    const QString command = rest.takeFirst();
    if (command == u"search") {
        commandLine.Command = Search;
        ParseSearch(rest, commandLine);
    } else if (command == u"describe") {
        commandLine.Command = Describe;
        ParseDescribe(rest, commandLine);
    } else if (command == u"annotate") {
        commandLine.Command = Annotate;
        ParseAnnotate(rest, commandLine);
    } else if (command == u"words") {
        commandLine.Command = Words;
        ParseWords(rest, commandLine);
    } else if (command == u"save") {
        commandLine.Command = Save;
        ParseSave(rest, commandLine);
    } else {
        throw EUsageError(QStringLiteral("unknown command \"%1\"").arg(command));
    }
    return commandLine;
}

TSearchCode SearchCode(const TCommandLine& commandLine)
{
    TSearchCode search;
    if (commandLine.CodeText) {
        try {
            search.Code = ReadCodeNotation(*commandLine.CodeText, commandLine.Media);
        } catch (const Exception& e) {
            throw EUsageError(e.Message());
        }
        search.Filter.Items.fill(true);
    }
    for (const TColumn column : AllColumns) {
        const std::optional<QString>& text = commandLine.FieldTexts[static_cast<std::size_t>(column)];
        if (!text)
            continue;
        const std::optional<quint8> value = ReadFieldValue(*text, commandLine.Hex);
        if (!value)
            throw EUsageError(QStringLiteral("field %1: \"%2\" is not a value from 0 to 255 (%3)")
                                  .arg(ColumnLetter(column), *text,
                                      commandLine.Hex ? QStringLiteral("hexadecimal digits")
                                                      : QStringLiteral("decimal, or $ and hexadecimal digits")));
        search.Code[column] = *value;
        search.Filter[column] = true;
    }
    return search;
}
