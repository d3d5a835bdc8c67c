#include "frontend/ResultDisplay.h"

#include "support/IntegerText.h"

void InsertFieldValues(QString& Patterns, const TOBISCode& OBISCode, const TOBISCodeFilter& OBISCodeFilter)
{
    for (const TColumn column : AllColumns) {
        if (!OBISCodeFilter[column])
            continue;
        const QString typedPattern = QString(ColumnLetter(column)) + QStringLiteral("=");
        const qsizetype start = Patterns.indexOf(typedPattern + QStringLiteral("["));
        if (start < 0)
            continue;
        const qsizetype close = Patterns.indexOf(u']', start + typedPattern.size() + 1);
        const qsizetype end = close < 0 ? Patterns.size() : close + 1;
        Patterns.replace(start, end - start, typedPattern + QString::number(OBISCode[column]));
    }
}

namespace {

// The value of "$(X+n)" or "$(X-n)" starting at dollar, and its length; nothing when the
// reference is malformed or its field was not typed.
std::optional<std::pair<QString, qsizetype>> OffsetReference(
    const QString& texts, qsizetype dollar, const TOBISCode& code, const TOBISCodeFilter& filter)
{
    const qsizetype letterAt = dollar + 2;
    if (letterAt >= texts.size())
        return std::nullopt;
    const std::optional<TColumn> column = ColumnFromLetter(texts[letterAt]);
    const qsizetype signAt = letterAt + 1;
    if (!column || !filter[*column] || signAt >= texts.size())
        return std::nullopt;
    const qsizetype close = texts.indexOf(u')', signAt + 1);
    const qsizetype numberEnd = close < 0 ? texts.size() : close;
    const std::optional<qint32> number = TryStrToInt(QStringView(texts).mid(signAt + 1, numberEnd - signAt - 1));
    if (!number)
        return std::nullopt;
    const qint64 value = texts[signAt] == u'+' ? qint64{code[*column]} + *number : qint64{code[*column]} - *number;
    const qsizetype end = close < 0 ? texts.size() : close + 1;
    return std::make_pair(QString::number(value), end - dollar);
}

} // namespace

void ResolveFieldReferences(QString& Texts, const TOBISCode& OBISCode, const TOBISCodeFilter& OBISCodeFilter)
{
    for (qsizetype i = 0; i + 1 < Texts.size(); ++i) {
        if (Texts[i] != u'$')
            continue;
        std::optional<std::pair<QString, qsizetype>> replacement;
        if (const std::optional<TColumn> column = ColumnFromLetter(Texts[i + 1])) {
            if (OBISCodeFilter[*column])
                replacement = std::make_pair(QString::number(OBISCode[*column]), qsizetype{2});
        } else if (Texts[i + 1] == u'(') {
            replacement = OffsetReference(Texts, i, OBISCode, OBISCodeFilter);
        }
        if (!replacement)
            continue;
        Texts.replace(i, replacement->second, replacement->first);
        i += replacement->first.size() - 1;
    }
}

QStringList DisplayBlock(const QString& ResultLine, const TOBISCode& OBISCode, const TOBISCodeFilter& OBISCodeFilter)
{
    static const QString Indent(9, u' ');
    const qsizetype firstBar = ResultLine.indexOf(u'|');
    const QString head = ResultLine.left(firstBar).leftJustified(6);
    const QString rest = firstBar < 0 ? QString() : ResultLine.mid(firstBar + 1);

    const qsizetype secondBar = rest.indexOf(u'|');
    QString patterns = rest.left(secondBar);
    QString texts = secondBar < 0 ? QString() : rest.mid(secondBar + 1);
    QString classes;
    if (const qsizetype thirdBar = texts.indexOf(u'|'); thirdBar >= 0) {
        classes = texts.mid(thirdBar + 1);
        texts.truncate(thirdBar);
    }

    InsertFieldValues(patterns, OBISCode, OBISCodeFilter);
    ResolveFieldReferences(texts, OBISCode, OBISCodeFilter);
    QStringList block{head + u' ' + patterns, Indent + texts};
    if (!classes.isEmpty())
        block.append(Indent + classes);
    return block;
}

QStringList DisplayBlocks(const QStringList& ResultLines, const TOBISCode& OBISCode, const TOBISCodeFilter& OBISCodeFilter)
{
    QStringList lines;
    lines.reserve(ResultLines.size() * 3);
    for (const QString& resultLine : ResultLines)
        lines.append(DisplayBlock(resultLine, OBISCode, OBISCodeFilter));
    return lines;
}

QString ItemCountText(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 item") : QString::number(count) + QStringLiteral(" items");
}
