#pragma once

#include "frontend/CodeNotation.h"
#include "obisdata/Codes.h"

#include <QStringList>

#include <array>
#include <optional>

enum ExitStatus { Success = 0, LoadOrLookupError = 1, UsageError = 2 };

// kestrune-cli [SOURCE] COMMAND [ARGS], parsed.
struct TCommandLine
{
    enum class TSource { BuiltIn, Csv, Database, PlainDatabase, Workbook };
    enum class TCommand { Search, Describe, Words, Annotate, Save, Help, Version };

    TSource Source = TSource::BuiltIn;
    QString SourcePath;
    bool Verbose = false;
    TCommand Command = TCommand::Help;
    bool Json = false;          // search, describe, words, annotate
    TMediaGroups Media;         // A and B of codes written without them: search --code, describe, annotate

    // search
    std::array<std::optional<QString>, 6> FieldTexts; // -A .. -F as typed
    std::optional<QString> CodeText;                   // --code
    bool Hex = false;
    QString Text;
    bool Raw = false;

    // describe
    QStringList Codes;

    // annotate: the readouts to read; standard input when empty
    QStringList Files;

    // save
    QString OutputFile;
    bool Plain = false;
};

// A command line that does not follow the usage; the message says what is wrong.
class EUsageError : public std::exception
{
public:
    explicit EUsageError(QString message)
        : Message(std::move(message))
    {
    }
    const char* what() const noexcept override { return "usage error"; }
    QString Message;
};

// Parses the arguments after the program name. Raises EUsageError.
TCommandLine ParseCommandLine(const QStringList& arguments);

// The code and filter of a search: --code sets all six fields, -A..-F set (and override)
// single ones, read as the window reads its field boxes. Raises EUsageError naming the field.
struct TSearchCode
{
    TOBISCode Code{};
    TOBISCodeFilter Filter{};
};
TSearchCode SearchCode(const TCommandLine& commandLine);

QString UsageText();
