#include "obisdata/Model.h"

#include "lexer/LexicalAnalyser.h"
#include "obisdata/Limits.h"
#include "support/Exception.h"
#include "support/IntegerText.h"

#include <QLoggingCategory>

// The trace of new tables; enable it with QT_LOGGING_RULES="kestrune.definitions.debug=true".
Q_LOGGING_CATEGORY(lcDefinitions, "kestrune.definitions", QtInfoMsg)

namespace {

// Field indexes of a definition line.
constexpr int KindField = 0;
constexpr int FieldA = 1;
constexpr int FirstTextField = 7;
constexpr int TextCount = 5;
constexpr int InterfaceClassesField = 12;
constexpr int AltInterfaceClassesField = 13;
constexpr int ValueTypesField = 14;

[[noreturn]] void RaiseSyntaxError(const TLexicalAnalyser& L)
{
    throw Exception(QStringLiteral("Syntax error in cell containing \"%1\"").arg(L.Text()));
}

[[noreturn]] void RaiseRangeCheckError()
{
    throw Exception(QStringLiteral("Range check error"));
}

[[noreturn]] void RaiseListIndexError(qsizetype index)
{
    throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
}

// Gives one field to the analyser. A character the analyser cannot read leaves it standing
// on that character; the parsers below treat that as the field's syntax error.
void SetField(TLexicalAnalyser& L, const QString& field)
{
    L.LexError = TLexError::LexNoErr;
    L.SetText(field);
}

bool StandsOnIllegalChar(const TLexicalAnalyser& L)
{
    return L.LexError == TLexError::LexIllChar;
}

const QString& FieldAt(const QStringList& fields, qsizetype index)
{
    if (index >= fields.size())
        RaiseListIndexError(index);
    return fields[index];
}

// An integer constant of a pattern: a byte, or the range check error.
quint8 PatternByte(qint32 value)
{
    if (value < 0 || value > 255)
        RaiseRangeCheckError();
    return static_cast<quint8>(value);
}

} // namespace

TValue TValue::Create(TLexicalAnalyser& L)
{
    TValue value;
    for (;;) {
        if (StandsOnIllegalChar(L))
            RaiseSyntaxError(L);
        switch (L.Token()) {
        case TLexicalToken::toEndOfBuffer:
            return value;
        case TLexicalToken::toComma:
            L.Next();
            break;
        case TLexicalToken::toStar:
            value.AddRange(0, 255);
            return value;
        case TLexicalToken::toIntConst: {
            const qint32 lo = L.IntConst();
            qint32 hi = lo;
            L.Next();
            if (L.Token() == TLexicalToken::toMinus && !StandsOnIllegalChar(L)) {
                L.Next();
                if (L.Token() != TLexicalToken::toIntConst || StandsOnIllegalChar(L))
                    RaiseSyntaxError(L);
                hi = L.IntConst();
                L.Next();
            }
            if (hi < lo)
                RaiseSyntaxError(L);
            value.AddRange(PatternByte(lo), PatternByte(hi));
            break;
        }
        default:
            RaiseSyntaxError(L);
        }
    }
}

namespace {

// Builds the definition lines of one media into the database.
class TLineProcessor
{
public:
    TLineProcessor(TOBISData& database, int media, int lineNr, const QStringList& fields)
        : FDatabase(database)
        , FMedia(media)
        , FLineNr(lineNr)
        , FFields(fields)
    {
    }

    void Process();

private:
    [[noreturn]] void RaiseLineError(const QString& text) const
    {
        throw Exception(QStringLiteral("MediaNr=%1, LineNr=%2, \"%3\"")
                            .arg(QString::number(FMedia), QString::number(FLineNr), text));
    }

    TOBISMediaData& Media(int media) const { return *FDatabase.AllMediaData[static_cast<std::size_t>(media)]; }

    void ProcessItemLine();
    void ReadItem(TOBISItemData& item, TLexicalAnalyser& L) const;
    std::unique_ptr<TValue> ReadCodeField(TLexicalAnalyser& L, const QString& field) const;
    std::unique_ptr<TValue> ReadOptionalPattern(TLexicalAnalyser& L, int index) const;
    void StoreItem(std::unique_ptr<TOBISItemData> item, TLexicalAnalyser& L) const;
    void StoreAmpersAndItem(std::unique_ptr<TOBISItemData> item) const;
    void ProcessVariableLine() const;
    void ProcessTableLine(const QString& marker) const;

    TOBISData& FDatabase;
    int FMedia;
    int FLineNr;
    const QStringList& FFields;
};

void TLineProcessor::Process()
{
    if (FFields.isEmpty())
        RaiseLineError(QStringLiteral("Empty line"));
    QStringView kind = FFields[KindField];
    while (kind.startsWith(u' '))
        kind = kind.mid(1);

    if (kind == u"com")
        return;
    if (!IsMediaNr(FMedia))
        RaiseRangeCheckError();
    if (!FDatabase.AllMediaData[static_cast<std::size_t>(FMedia)])
        FDatabase.AllMediaData[static_cast<std::size_t>(FMedia)] = std::make_unique<TOBISMediaData>();

    if (kind.isEmpty())
        ProcessItemLine();
    else if (kind == u"def")
        ProcessVariableLine();
    else if (kind.startsWith(u'N'))
        ProcessTableLine(kind.toString());
    else
        RaiseLineError(QStringLiteral("Illegal line"));
}

void TLineProcessor::ProcessItemLine()
{
    try {
        TLexicalAnalyser L;
        auto item = std::make_unique<TOBISItemData>();
        item->LineNr = FLineNr;
        ReadItem(*item, L);
        StoreItem(std::move(item), L);
    } catch (const Exception& e) {
        throw Exception(QStringLiteral("%1 line %2").arg(e.Message(), QString::number(FLineNr)));
    }
}

void TLineProcessor::ReadItem(TOBISItemData& item, TLexicalAnalyser& L) const
{
    for (const TColumn column : AllColumns) {
        if (column == TColumn::A)
            continue;
        const int index = static_cast<int>(column) + 1;
        if (index >= FFields.size())
            RaiseLineError(QStringLiteral("Field %1 missing").arg(ColumnLetter(column)));
        item.Values.SetValue(column, ReadCodeField(L, FFields[index]));
    }
    for (int index = FirstTextField; index < FirstTextField + TextCount; ++index)
        item.Texts.append(FieldAt(FFields, index));
    item.InterfaceClasses = ReadOptionalPattern(L, InterfaceClassesField);
    item.AltInterfaceClasses = ReadOptionalPattern(L, AltInterfaceClassesField);
    item.ValueTypes = ReadOptionalPattern(L, ValueTypesField);
}

// Fields B..F: one variable name or one value pattern; the one written last counts.
std::unique_ptr<TValue> TLineProcessor::ReadCodeField(TLexicalAnalyser& L, const QString& field) const
{
    std::unique_ptr<TValue> value;
    SetField(L, field);
    while (L.Token() != TLexicalToken::toEndOfBuffer || StandsOnIllegalChar(L)) {
        if (StandsOnIllegalChar(L))
            RaiseLineError(QStringLiteral("Illegal syntax"));
        if (L.Token() == TLexicalToken::toIdentifier) {
            const QString name = L.Identifier();
            L.Next();
            const TValue* variable = Media(FMedia).Variables.Find(name);
            if (!variable)
                RaiseLineError(QStringLiteral("Variable %1 not found").arg(name));
            value = TValue::Another(*variable);
        } else if (L.Token() == TLexicalToken::toIntConst) {
            try {
                value = std::make_unique<TValue>(TValue::Create(L));
            } catch (const Exception&) {
                RaiseLineError(QStringLiteral("Illegal syntax"));
            }
        } else {
            RaiseLineError(QStringLiteral("Illegal syntax"));
        }
    }
    if (!value)
        RaiseLineError(QStringLiteral("Illegal syntax"));
    return value;
}

// Fields 12..14: a value pattern, or nothing when the field is empty.
std::unique_ptr<TValue> TLineProcessor::ReadOptionalPattern(TLexicalAnalyser& L, int index) const
{
    const QString& field = FieldAt(FFields, index);
    if (field.isEmpty())
        return nullptr;
    SetField(L, field);
    return std::make_unique<TValue>(TValue::Create(L));
}

// Field A decides where the item goes: the media whose number its pattern covers, or, for
// "&" on media 0, media 0 and a copy into every other media list that exists.
void TLineProcessor::StoreItem(std::unique_ptr<TOBISItemData> item, TLexicalAnalyser& L) const
{
    SetField(L, FFields[FieldA]);
    if (L.Token() == TLexicalToken::toAmpersAnd && !StandsOnIllegalChar(L) && FMedia == 0) {
        StoreAmpersAndItem(std::move(item));
        return;
    }
    const TValue fieldA = TValue::Create(L);
    if (fieldA.Kind == TValueKind::vkNone)
        RaiseLineError(QStringLiteral("Field \"A\" unknown"));
    if (!fieldA.HasElement(static_cast<quint8>(FMedia)))
        return;
    item->Values.SetValue(TColumn::A, std::make_unique<TValue>(TValue::CreateSingle(static_cast<quint8>(FMedia))));
    Media(FMedia).Items.push_back(std::move(item));
}

void TLineProcessor::StoreAmpersAndItem(std::unique_ptr<TOBISItemData> item) const
{
    item->Values.SetValue(TColumn::A, std::make_unique<TValue>(TValue::CreateSingle(0)));
    std::vector<std::unique_ptr<TOBISItemData>> copies;
    for (int media = 1; media < MediaCount; ++media) {
        if (!FDatabase.AllMediaData[static_cast<std::size_t>(media)])
            continue;
        auto copy = item->Clone();
        copy->IsAmpersAndExpansion = true;
        copy->Values.SetValue(TColumn::A, std::make_unique<TValue>(TValue::CreateSingle(static_cast<quint8>(media))));
        Media(media).Items.push_back(std::move(copy));
    }
    Media(0).Items.push_back(std::move(item));
}

// def: "NAME = pattern" in field 1.
void TLineProcessor::ProcessVariableLine() const
{
    TLexicalAnalyser L;
    SetField(L, FieldAt(FFields, FieldA));
    const QString name = L.Token() == TLexicalToken::toIdentifier ? L.Identifier() : QString();
    L.Next();
    if (L.Token() != TLexicalToken::toEqual || StandsOnIllegalChar(L))
        RaiseLineError(QStringLiteral("Illegal syntax"));
    L.Next();
    std::unique_ptr<TValue> value;
    try {
        value = std::make_unique<TValue>(TValue::Create(L));
    } catch (const Exception&) {
        RaiseLineError(QStringLiteral("Illegal syntax"));
    }
    Media(FMedia).Variables.Define(name, std::move(value));
}

// N<t><c>: the entry of table t at the index in field c, with the text of field c's text.
void TLineProcessor::ProcessTableLine(const QString& marker) const
{
    if (marker.size() < 3)
        RaiseRangeCheckError();
    const QChar digit = marker[1];
    const QChar letter = marker[2];
    if (digit < u'0' || digit > u'9')
        RaiseRangeCheckError();

    std::unique_ptr<TTable>& table = Media(FMedia).Tables[static_cast<std::size_t>(digit.unicode() - u'0')];
    if (!table) {
        table = std::make_unique<TTable>();
        qCDebug(lcDefinitions).noquote() << QStringLiteral("Creating Table nr %1 (%2) for %3")
                                  .arg(QString(digit), QString(letter), QString::number(FMedia));
    }
    const std::optional<TColumn> column = ColumnFromLetter(letter);
    if (!column)
        RaiseRangeCheckError();
    table->Column = *column;

    const QString& indexText = FieldAt(FFields, static_cast<int>(*column) + 1);
    const std::optional<qint32> index = TryStrToInt(indexText);
    if (!index)
        throw Exception(QStringLiteral("'%1' is not a valid integer value").arg(indexText));
    // A position beyond the last byte value could never be selected by a field.
    if (*index < 0 || *index >= TablePositions)
        throw Exception(QStringLiteral("Argument out of range"));
    const auto position = static_cast<std::size_t>(*index);
    if (table->Entries.size() <= position)
        table->Entries.resize(position + 1);
    table->Entries[position].Text = FieldAt(FFields, static_cast<int>(*column) + 6);
}

} // namespace

void TOBISData::ProcessLine(int Media, int LineNr, const QStringList& Fields)
{
    TLineProcessor(*this, Media, LineNr, Fields).Process();
}
