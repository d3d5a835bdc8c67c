#pragma once

#include "obisdata/Codes.h"

#include <QHash>
#include <QStringList>

#include <bitset>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QIODevice;
class TStreamReader;
class TStreamWriter;
class TWorkSheet;
class TWorkSheets;

// The loaders' progress callback: receives one line of text.
using TLogProc = std::function<void(const QString&)>;

// The codes a database is read for. A read for some codes keeps, of each media list, only the
// definitions that cover one of them (in their order) with every table and variable, and skips
// the word list: it describes those codes exactly as the whole database does, in a fraction of
// the time and memory. The definitions it passes over are checked for their lengths only; asked
// for its words, it has only those of the definitions it kept.
using TCodeSelection = std::vector<TOBISCode>;

// One item definition: which codes it covers (one pattern per field), its description texts,
// interface classes, alternative interface classes and value types.
class TOBISItemData
{
public:
    qint32 LineNr = 0;
    TValues Values;
    QStringList Texts;
    std::unique_ptr<TValue> InterfaceClasses;
    std::unique_ptr<TValue> AltInterfaceClasses;
    std::unique_ptr<TValue> ValueTypes;
    bool IsTableExpansion = false;
    bool IsAmpersAndExpansion = false;

    // A deep copy; both flags are false in the copy.
    std::unique_ptr<TOBISItemData> Clone() const;
    // Whether every field's pattern covers that field of the code.
    bool Match(const TOBISCode& OBISCode) const;
    // The result line, e.g. 17|{A=1, B=0, C=1, D=8, E=[0-4], F=255}|Active energy; Total|IC=3 Types=6
    QString ToString() const;

    static std::unique_ptr<TOBISItemData> CreateFromStream(TStreamReader& S);
    void SaveToStream(TStreamWriter& S) const;
};

// One text of a table.
struct TTableEntry
{
    QString Text;

    static TTableEntry CreateFromStream(TStreamReader& S);
    void SaveToStream(TStreamWriter& S) const;
};

// A numbered text table: entry v is the text for value v of the field Column.
class TTable
{
public:
    std::vector<TTableEntry> Entries;
    TColumn Column = TColumn::A;

    static std::unique_ptr<TTable> CreateFromStream(TStreamReader& S);
    void SaveToStream(TStreamWriter& S) const;
};

// A table number: the characters "0".."9", here their digit 0..9.
using TTableRange = int;
inline constexpr int TableCount = 10;
// A set of table numbers, bit t for table t.
using TTableRangeSet = std::bitset<TableCount>;

// The named value patterns of a media list, in the order they were first defined. Names are
// compared without regard to letter case; an entry keeps its name as first written.
class TVariables
{
public:
    struct TVariable
    {
        QString Name;
        std::unique_ptr<TValue> Value;
    };

    // Appends a new name, or replaces the pattern of the entry that has it.
    void Define(const QString& VariableName, std::unique_ptr<TValue> Value);
    // The pattern of that name, or nullptr; it stays owned by the variables.
    const TValue* Find(const QString& VariableName) const;
    const std::vector<TVariable>& Entries() const { return FEntries; }

    static TVariables CreateFromStream(TStreamReader& S);
    void SaveToStream(TStreamWriter& S) const;

private:
    std::vector<TVariable> FEntries;
    QHash<QString, std::size_t> FIndex; // case-folded name -> position in FEntries
};

// One media list: its item definitions in the order appended, up to ten tables, variables.
class TOBISMediaData
{
public:
    std::vector<std::unique_ptr<TOBISItemData>> Items;
    std::array<std::unique_ptr<TTable>, TableCount> Tables;
    TVariables Variables;

    TTableRangeSet GetExistingTables() const;
    // Replaces every definition whose text refers to a table ("$" and a digit at the start of
    // a text) by one copy per table row its pattern allows.
    void ExpandTables();
    // The description of the code from the first definition that covers it.
    QString GetOBISText(const TOBISCode& OBISCode) const;

    static std::unique_ptr<TOBISMediaData> CreateFromStream(TStreamReader& S, const TCodeSelection* Selection = nullptr);
    void SaveToStream(TStreamWriter& S) const;
};

using TAllMediaData = std::array<std::unique_ptr<TOBISMediaData>, MediaCount>;

// The whole OBIS database: the media lists and the word list.
class TOBISData
{
public:
    TAllMediaData AllMediaData;

    TOBISData();
    ~TOBISData();
    TOBISData(const TOBISData&) = delete;
    TOBISData& operator=(const TOBISData&) = delete;

    static TOBISCode OBISStrToOBISCode(const QString& OBISStr);
    static QString OBISCodeToOBISStr(const TOBISCode& OBISCode);

    // Search: one result line per matching definition, media 0 to 9, each in list order.
    // An empty word list imposes no test.
    QStringList GetMatchingLines(const QStringList& PlusWords, const QStringList& MinusWords,
        const TOBISCode& OBISCode, const TOBISCodeFilter& OBISCodeFilter) const;
    // The same search with the definitions themselves: each with its media and result line.
    struct TMatch
    {
        TMediaNr Media;
        const TOBISItemData* Item; // owned by the database
        QString Line;
    };
    std::vector<TMatch> GetMatches(const QStringList& PlusWords, const QStringList& MinusWords,
        const TOBISCode& OBISCode, const TOBISCodeFilter& OBISCodeFilter) const;
    // Every word of the texts, sorted by the user's locale without regard to case, each once.
    // Built on first use (or read with the database) and kept until a load changes the
    // content: then it is built anew on the next use.
    const QStringList& AllWords();

    void ExpandTables();
    QString GetOBISText(const TOBISCode& OBISCode) const;

    // Definition loading.
    void ProcessLine(int Media, int LineNr, const QStringList& Fields);
    void LoadFromCSVFiles(const TLogProc& LogProc, const QString& Directory);
    void LoadCSVFile(int Media, const QString& FileName);
    void LoadFromExcelDocument(const TLogProc& LogProc, TWorkSheets& WorkSheets);
    // Moves every media list that Loaded holds into this database, in place of this database's
    // list of that media; the lists Loaded does not hold stay as they are.
    void TakeMediaLists(TOBISData& Loaded);

    // The database stream and the ciphered container around it.
    static std::unique_ptr<TOBISData> CreateFromStream(QIODevice& S, const TCodeSelection* Selection = nullptr);
    void SaveToStream(QIODevice& S);
    // Reads the container from its first byte, deciphering as it reads (no plain copy).
    static std::unique_ptr<TOBISData> CreateFromCipheredStream(QIODevice& S, const TCodeSelection* Selection = nullptr);
    void SaveToCipheredStream(QIODevice& S);
    // Pads Plain (at its position) to whole 8-byte blocks with zero bytes, then appends its
    // ciphered blocks to Ciphered.
    static void CipherStream(QIODevice& Plain, QIODevice& Ciphered);
    // Deciphers all of Ciphered into Plain and reads a database from it as a check.
    static void DecipherStream(QIODevice& Plain, QIODevice& Ciphered);
    // A hexadecimal dump of S: 16 bytes per line, "0A " per byte, lines ended by CR LF.
    static void DumpStream(QIODevice& S, const QString& FileName);
    // Dumps the plain, ciphered and deciphered stream of the database to p.txt, c.txt and
    // d.txt in Folder (the folder is not created).
    static void DebugCiphering(TOBISData& OBISData, const QString& Folder);

private:
    void ReadFromStream(TStreamReader& S, const TCodeSelection* Selection);
    // Replaces the media list by the definition lines of the worksheet.
    void ReadWorksheet(const TLogProc& LogProc, TWorkSheet& Worksheet, TMediaNr Media);
    // The content changes: the word list is built anew when next asked for.
    void ForgetWordList() { FAllWords.reset(); }

    std::optional<QStringList> FAllWords;
};

// The program's one current database: created empty, loaded into, never replaced.
TOBISData& CurrentOBISData();
