#include "cli/CommandLine.h"

#include "cli/CodeArgument.h"
#include "support/Exception.h"
#include "frontend/SearchInput.h"

namespace {

// Walks the arguments one at a time.
class TArguments
{
public:
    explicit TArguments(const QStringList& arguments)
        : FArguments(arguments)
    {
    }

    bool AtEnd() const { return FIndex >= FArguments.size(); }
    const QString& Peek() const { return FArguments[FIndex]; }
    QString Take() { return FArguments[FIndex++]; }
    // The value after an option.
    QString TakeValue(const QString& option)
    {
        if (AtEnd())
            throw EUsageError(QStringLiteral("%1 needs a value").arg(option));
        return Take();
    }

private:
    const QStringList& FArguments;
    qsizetype FIndex = 0;
};

void SetSource(TCommandLine& commandLine, TCommandLine::TSource source, const QString& path)
{
    if (commandLine.Source != TCommandLine::TSource::BuiltIn)
        throw EUsageError(QStringLiteral("name at most one source"));
    commandLine.Source = source;
    commandLine.SourcePath = path;
}

// Source options before the command; returns false at the first argument that is none.
bool TakeSourceOption(TArguments& arguments, TCommandLine& commandLine)
{
    using enum TCommandLine::TSource;
    const QString& option = arguments.Peek();
    if (option == u"-v") {
        arguments.Take();
        commandLine.Verbose = true;
    } else if (option == u"--csv" || option == u"--db" || option == u"--plain-db" || option == u"--workbook") {
        const QString name = arguments.Take();
        const QString path = arguments.TakeValue(name);
        SetSource(commandLine, name == u"--csv" ? Csv : name == u"--db" ? Database : name == u"--plain-db" ? PlainDatabase : Workbook,
            path);
    } else {
        return false;
    }
    return true;
}

void ParseSearch(TArguments& arguments, TCommandLine& commandLine)
{
    while (!arguments.AtEnd()) {
        const QString option = arguments.Take();
        if (option.size() == 2 && option[0] == u'-' && option[1] >= u'A' && option[1] <= u'F')
            commandLine.FieldTexts[static_cast<std::size_t>(option[1].unicode() - u'A')] = arguments.TakeValue(option);
        else if (option == u"--hex")
            commandLine.Hex = true;
        else if (option == u"--code")
            commandLine.CodeText = arguments.TakeValue(option);
        else if (option == u"--text")
            commandLine.Text = arguments.TakeValue(option);
        else if (option == u"--raw")
            commandLine.Raw = true;
        else
            throw EUsageError(QStringLiteral("search does not take \"%1\"").arg(option));
    }
}

void ParseSave(TArguments& arguments, TCommandLine& commandLine)
{
    while (!arguments.AtEnd()) {
        const QString argument = arguments.Take();
        if (argument == u"--plain")
            commandLine.Plain = true;
        else if (commandLine.OutputFile.isEmpty() && !argument.startsWith(u'-'))
            commandLine.OutputFile = argument;
        else
            throw EUsageError(QStringLiteral("save does not take \"%1\"").arg(argument));
    }
    if (commandLine.OutputFile.isEmpty())
        throw EUsageError(QStringLiteral("save needs a file name"));
}

} // namespace

TCommandLine ParseCommandLine(const QStringList& arguments)
{
    using enum TCommandLine::TCommand;
    TCommandLine commandLine;
    TArguments rest(arguments);
    while (!rest.AtEnd() && TakeSourceOption(rest, commandLine)) {
    }
    if (rest.AtEnd())
        throw EUsageError(QStringLiteral("no command given"));

    const QString command = rest.Take();
    if (command == u"search") {
        commandLine.Command = Search;
        ParseSearch(rest, commandLine);
    } else if (command == u"describe") {
        commandLine.Command = Describe;
        while (!rest.AtEnd())
            commandLine.Codes.append(rest.Take());
        if (commandLine.Codes.isEmpty())
            throw EUsageError(QStringLiteral("describe needs at least one code"));
    } else if (command == u"words") {
        commandLine.Command = Words;
    } else if (command == u"save") {
        commandLine.Command = Save;
        ParseSave(rest, commandLine);
    } else if (command == u"--help" || command == u"-h") {
        commandLine.Command = Help;
    } else if (command == u"--version") {
        commandLine.Command = Version;
    } else {
        throw EUsageError(QStringLiteral("unknown command \"%1\"").arg(command));
    }
    if (!rest.AtEnd())
        throw EUsageError(QStringLiteral("unexpected \"%1\"").arg(rest.Peek()));
    return commandLine;
}

TSearchCode SearchCode(const TCommandLine& commandLine)
{
    TSearchCode search;
    if (commandLine.CodeText) {
        try {
            search.Code = CodeFromArgument(*commandLine.CodeText);
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

QString UsageText()
{
    return QStringLiteral(R"(Usage: kestrune-cli [SOURCE] COMMAND [ARGS]
Looks up OBIS codes of DLMS/COSEM meters in an OBIS database.

SOURCE (at most one; without one, the built-in database):
  --csv DIR          load DIR/0.csv .. DIR/9.csv (definition files, one per media)
  --workbook FILE    import an object-definition workbook (.xlsx or .xls)
  --db FILE          read a ciphered database container
  --plain-db FILE    read a plain database stream
  -v                 write the load's progress lines to stderr

COMMANDS:
  search [-A V] [-B V] [-C V] [-D V] [-E V] [-F V] [--hex] [--code CODE] [--text TEXT] [--raw]
      List the definitions that cover the given fields and contain the words of TEXT.
      V is decimal or $ and hexadecimal digits (with --hex: hexadecimal digits only).
      --code sets all six fields at once; -A..-F override single fields.
      TEXT: words that must occur, -word for words that must not, "a phrase" in double quotes.
      --raw prints one result line per definition instead of the display blocks.
  describe CODE...   the description of each code, one line each
  words              every word of the database, one per line
  save FILE [--plain]
      write the database as a ciphered container (with --plain: the plain stream)
  --help, --version

CODE: 1.0.1.8.0.255, 1-0:1.8.0*255, 1-0:1.8.0.255 or the hexadecimal 0100010800FF.
Exit status: 0 success, 1 a load or lookup error, 2 a usage error.
)");
}
