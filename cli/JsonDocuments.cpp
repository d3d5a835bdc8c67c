#include "cli/JsonDocuments.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

QJsonValue PatternValue(const TValue* pattern)
{
    return pattern ? QJsonValue(pattern->ToString()) : QJsonValue(QJsonValue::Null);
}

QJsonObject DefinitionObject(const TOBISData::TMatch& match)
{
    const TOBISItemData& item = *match.Item;
    QJsonObject patterns;
    for (const TColumn column : AllColumns)
        patterns.insert(QString(ColumnLetter(column)), item.Values.GetValue(column).ToString());
    QJsonArray texts;
    for (const QString& text : item.Texts) {
        if (!text.isEmpty())
            texts.append(text);
    }
    return QJsonObject{{QStringLiteral("media"), match.Media}, {QStringLiteral("line"), item.LineNr},
        {QStringLiteral("patterns"), patterns}, {QStringLiteral("texts"), texts},
        {QStringLiteral("ic"), PatternValue(item.InterfaceClasses.get())},
        {QStringLiteral("altIc"), PatternValue(item.AltInterfaceClasses.get())},
        {QStringLiteral("types"), PatternValue(item.ValueTypes.get())}};
}

} // namespace

QJsonValue CodeValue(const std::optional<TOBISCode>& code)
{
    return code ? QJsonValue(TOBISData::OBISCodeToOBISStr(*code)) : QJsonValue(QJsonValue::Null);
}

QJsonValue TextOrNull(const QString& text)
{
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

QJsonDocument SearchDocument(const std::vector<TOBISData::TMatch>& matches)
{
    QJsonArray definitions;
    for (const TOBISData::TMatch& match : matches)
        definitions.append(DefinitionObject(match));
    return QJsonDocument(QJsonObject{
        {QStringLiteral("count"), static_cast<qint64>(matches.size())}, {QStringLiteral("definitions"), definitions}});
}

QJsonDocument DescriptionsDocument(const std::vector<TDescription>& descriptions)
{
    QJsonArray array;
    for (const TDescription& description : descriptions) {
        QJsonObject object{{QStringLiteral("input"), description.Input}, {QStringLiteral("code"), CodeValue(description.Code)}};
        if (description.Error.isEmpty())
            object.insert(QStringLiteral("description"), description.Description);
        else
            object.insert(QStringLiteral("error"), description.Error);
        array.append(object);
    }
    return QJsonDocument(array);
}

QJsonDocument WordsDocument(const QStringList& words)
{
    return QJsonDocument(QJsonArray::fromStringList(words));
}

void WriteJson(QTextStream& out, const QJsonDocument& document)
{
    out << document.toJson(QJsonDocument::Indented);
}
