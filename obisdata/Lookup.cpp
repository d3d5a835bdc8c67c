#include "obisdata/Model.h"

#include "lexer/LexicalAnalyser.h"
#include "obisdata/Limits.h"
#include "support/Exception.h"

namespace {

[[noreturn]] void RaiseLookupError(int error, qint32 lineNr)
{
    throw Exception(QStringLiteral("Error %1 on line %2").arg(error).arg(lineNr));
}

struct TReplacement
{
    qsizetype Length; // of the placeholder, from its "$"
    QString Text;
};

// "$(X)", "$(X+n)" or "$(X-n)" at position dollar: the value of field X plus the offset.
TReplacement FieldExpression(const QString& text, qsizetype dollar, const TOBISCode& code, qint32 lineNr)
{
    const qsizetype start = dollar + 2; // after "$("
    TLexicalAnalyser L;
    L.SetText(text.mid(start));
    if (L.Token() != TLexicalToken::toIdentifier || L.Identifier().size() != 1)
        RaiseLookupError(3, lineNr);
    const std::optional<TColumn> column = ColumnFromLetter(L.Identifier()[0]);
    if (!column)
        RaiseLookupError(4, lineNr);
    L.Next();

    qint64 offset = 0;
    qsizetype end = 0; // just after the placeholder, relative to start
    switch (L.Token()) {
    case TLexicalToken::toParClose:
        end = L.TokenIdx() + 1;
        break;
    case TLexicalToken::toPlus:
    case TLexicalToken::toMinus: {
        const bool minus = L.Token() == TLexicalToken::toMinus;
        L.Next();
        if (L.Token() != TLexicalToken::toIntConst)
            RaiseLookupError(6, lineNr);
        offset = minus ? -qint64{L.IntConst()} : qint64{L.IntConst()};
        // The character after the number closes the placeholder, whatever it is.
        end = std::min<qsizetype>(L.TokenIdx() + L.TokenLen() + 1, text.size() - start);
        break;
    }
    default:
        RaiseLookupError(5, lineNr);
    }
    return {start + end - dollar, QString::number(qint64{code[*column]} + offset)};
}

// "$t": the text of table t at the code's value in the table's field.
TReplacement TableText(const TOBISMediaData& media, int t, const TOBISCode& code, qint32 lineNr)
{
    const TTable* table = media.Tables[static_cast<std::size_t>(t)].get();
    if (!table)
        RaiseLookupError(1, lineNr);
    const std::size_t v = code[table->Column];
    if (v >= table->Entries.size() || table->Entries[v].Text.isEmpty())
        RaiseLookupError(2, lineNr);
    return {2, table->Entries[v].Text};
}

// The placeholder at position dollar, or nothing for a "$" that starts none.
std::optional<TReplacement> Placeholder(
    const TOBISMediaData& media, const QString& text, qsizetype dollar, const TOBISCode& code, qint32 lineNr)
{
    if (dollar + 1 >= text.size())
        return std::nullopt;
    const QChar next = text[dollar + 1];
    if (next == u'(')
        return FieldExpression(text, dollar, code, lineNr);
    if (next >= u'1' && next <= u'9')
        return TableText(media, next.unicode() - u'0', code, lineNr);
    if (const std::optional<TColumn> column = ColumnFromLetter(next))
        return TReplacement{2, QString::number(code[*column])};
    return std::nullopt;
}

// Replaces the placeholders of one text until none is left. A replacement may bring in
// another placeholder, which is expanded in its turn; a "$" that starts none stays.
QString ExpandText(const TOBISMediaData& media, QString text, const TOBISCode& code, qint32 lineNr)
{
    int replacements = 0;
    qsizetype dollar = text.indexOf(u'$');
    while (dollar >= 0) {
        const std::optional<TReplacement> replacement = Placeholder(media, text, dollar, code, lineNr);
        if (!replacement) {
            dollar = text.indexOf(u'$', dollar + 1);
            continue;
        }
        text.replace(dollar, replacement->Length, replacement->Text);
        if (++replacements > MaxPlaceholderReplacements || text.size() > MaxDescriptionLength)
            throw Exception(QStringLiteral("The placeholders on line %1 do not come to an end").arg(lineNr));
        dollar = text.indexOf(u'$', dollar);
    }
    return text;
}

} // namespace

QString TOBISMediaData::GetOBISText(const TOBISCode& OBISCode) const
{
    const auto match = std::find_if(
        Items.begin(), Items.end(), [&OBISCode](const auto& item) { return item->Match(OBISCode); });
    if (match == Items.end())
        return QStringLiteral("Not found %1").arg(TOBISData::OBISCodeToOBISStr(OBISCode));

    const TOBISItemData& item = **match;
    QStringList expanded;
    for (const QString& text : item.Texts) {
        QString description = ExpandText(*this, text, OBISCode, item.LineNr);
        if (!description.isEmpty())
            expanded.append(std::move(description));
    }
    return expanded.join(u' ');
}

QString TOBISData::GetOBISText(const TOBISCode& OBISCode) const
{
    const int media = OBISCode[TColumn::A];
    if (!IsMediaNr(media))
        throw Exception(QStringLiteral("Code=%1, illegal media %2").arg(OBISCodeToOBISStr(OBISCode)).arg(media));
    const TOBISMediaData* mediaData = AllMediaData[static_cast<std::size_t>(media)].get();
    if (!mediaData)
        throw Exception(QStringLiteral("Code=%1, no data available for media %2")
                            .arg(OBISCodeToOBISStr(OBISCode))
                            .arg(media));
    return mediaData->GetOBISText(OBISCode);
}
