#include "obisdata/Model.h"

#include "obisdata/AppendNumber.h"
#include "obisdata/Limits.h"
#include "support/Exception.h"

#include <deque>

std::unique_ptr<TOBISItemData> TOBISItemData::Clone() const
{
    auto copy = std::make_unique<TOBISItemData>();
    copy->LineNr = LineNr;
    copy->Values = TValues::Another(Values);
    copy->Texts = Texts;
    if (InterfaceClasses)
        copy->InterfaceClasses = TValue::Another(*InterfaceClasses);
    if (AltInterfaceClasses)
        copy->AltInterfaceClasses = TValue::Another(*AltInterfaceClasses);
    if (ValueTypes)
        copy->ValueTypes = TValue::Another(*ValueTypes);
    return copy;
}

bool TOBISItemData::Match(const TOBISCode& OBISCode) const
{
    for (const TColumn column : AllColumns) {
        if (!Values.GetValue(column).HasElement(OBISCode[column]))
            return false;
    }
    return true;
}

namespace {

// "IC=", "AltIC=" or "Types=", the pattern and one blank; nothing for an empty pattern text.
void AppendClassPart(QString& line, QStringView label, const QString& patternText)
{
    if (patternText.isEmpty())
        return;
    line.append(label);
    line.append(patternText);
    line.append(u' ');
}

QString PatternText(const TValue* value)
{
    return value ? value->ToString() : QString();
}

} // namespace

QString TOBISItemData::ToString() const
{
    QString line;
    line.reserve(128);
    if (IsAmpersAndExpansion)
        line.append(u'&');
    if (IsTableExpansion)
        line.append(u'*');
    AppendNumber(line, LineNr);
    line.append(u"|{");
    for (const TColumn column : AllColumns) {
        if (column != TColumn::A)
            line.append(u", ");
        line.append(ColumnLetter(column));
        line.append(u'=');
        Values.GetValue(column).AppendTo(line);
    }
    line.append(u"}|");

    bool firstText = true;
    for (const QString& text : Texts) {
        if (text.isEmpty())
            continue;
        if (!firstText)
            line.append(u"; ");
        line.append(text);
        firstText = false;
    }

    const QString classes = PatternText(InterfaceClasses.get());
    const QString altClasses = PatternText(AltInterfaceClasses.get());
    const QString types = PatternText(ValueTypes.get());
    if (classes.isEmpty() && altClasses.isEmpty() && types.isEmpty())
        return line;
    line.append(u'|');
    AppendClassPart(line, u"IC=", classes);
    AppendClassPart(line, u"AltIC=", altClasses);
    AppendClassPart(line, u"Types=", types);
    return line;
}

void TVariables::Define(const QString& VariableName, std::unique_ptr<TValue> Value)
{
    const QString key = VariableName.toCaseFolded();
    if (const auto found = FIndex.constFind(key); found != FIndex.cend()) {
        FEntries[*found].Value = std::move(Value);
        return;
    }
    FIndex.insert(key, FEntries.size());
    FEntries.push_back(TVariable{VariableName, std::move(Value)});
}

const TValue* TVariables::Find(const QString& VariableName) const
{
    const auto found = FIndex.constFind(VariableName.toCaseFolded());
    return found == FIndex.cend() ? nullptr : FEntries[*found].Value.get();
}

TTableRangeSet TOBISMediaData::GetExistingTables() const
{
    TTableRangeSet tables;
    for (int t = 0; t < TableCount; ++t)
        tables[static_cast<std::size_t>(t)] = Tables[static_cast<std::size_t>(t)] != nullptr;
    return tables;
}

namespace {

// The position of the first text that refers to a table ("$" and a digit), or -1.
qsizetype FirstTableReference(const QStringList& texts)
{
    for (qsizetype k = 0; k < texts.size(); ++k) {
        const QString& text = texts[k];
        if (text.size() >= 2 && text[0] == u'$' && text[1] >= u'0' && text[1] <= u'9')
            return k;
    }
    return -1;
}

struct TPendingItem
{
    std::unique_ptr<TOBISItemData> Item;
    int Depth; // how many expansions made it
};

} // namespace

namespace {

// Replaces the definition by one copy per row of its first referenced table that its pattern
// allows, appended to pending; counts the definitions there will be.
void ExpandFirstReference(const TPendingItem& current, qsizetype k, const TTable& table,
    std::deque<TPendingItem>& pending, std::size_t& definitionCount)
{
    const TOBISItemData& item = *current.Item;
    const QChar digit = item.Texts[k][1];
    if (current.Depth >= MaxTableExpansionDepth)
        throw Exception(QStringLiteral("Table %1 on line %2 refers to tables more than %3 levels deep")
                            .arg(digit)
                            .arg(item.LineNr)
                            .arg(MaxTableExpansionDepth));

    const TColumn column = table.Column;
    const TValue& pattern = item.Values.GetValue(column);
    const auto positions = std::min<std::size_t>(table.Entries.size(), TablePositions);
    for (std::size_t v = 0; v < positions; ++v) {
        const auto value = static_cast<quint8>(v);
        if (!pattern.HasElement(value))
            continue;
        if (++definitionCount > MaxExpandedDefinitions)
            throw Exception(QStringLiteral("Table %1 on line %2 makes more than %3 definitions")
                                .arg(digit)
                                .arg(item.LineNr)
                                .arg(MaxExpandedDefinitions));
        auto copy = item.Clone();
        copy->Values.SetValue(column, std::make_unique<TValue>(TValue::CreateSingle(value)));
        copy->Texts[k] = table.Entries[v].Text;
        copy->IsTableExpansion = true;
        pending.push_back(TPendingItem{std::move(copy), current.Depth + 1});
    }
}

} // namespace

void TOBISMediaData::ExpandTables()
{
    // The definitions are examined in list order, copies being appended at the end and
    // examined in their turn; a definition that refers to a table is replaced by its copies.
    std::deque<TPendingItem> pending;
    for (auto& item : Items)
        pending.push_back(TPendingItem{std::move(item), 0});
    Items.clear();
    std::size_t definitionCount = pending.size();

    try {
        while (!pending.empty()) {
            const qsizetype k = FirstTableReference(pending.front().Item->Texts);
            if (k < 0) {
                Items.push_back(std::move(pending.front().Item));
                pending.pop_front();
                continue;
            }
            const TOBISItemData& item = *pending.front().Item;
            const QChar digit = item.Texts[k][1];
            const TTable* table = Tables[static_cast<std::size_t>(digit.unicode() - u'0')].get();
            if (!table)
                throw Exception(QStringLiteral("Line %1 refers to table %2, which is not defined")
                                    .arg(item.LineNr)
                                    .arg(digit));
            ExpandFirstReference(pending.front(), k, *table, pending, definitionCount);
            pending.pop_front();
            --definitionCount;
        }
    } catch (...) {
        // Nothing is lost: the definitions not yet examined stay in the list, unexpanded.
        for (auto& rest : pending)
            Items.push_back(std::move(rest.Item));
        throw;
    }
}

TOBISData::TOBISData() = default;
TOBISData::~TOBISData() = default;

void TOBISData::ExpandTables()
{
    for (int media = 0; media < MediaCount; ++media) {
        TOBISMediaData* mediaData = AllMediaData[static_cast<std::size_t>(media)].get();
        if (!mediaData)
            continue;
        try {
            mediaData->ExpandTables();
        } catch (const Exception& e) {
            throw Exception(QStringLiteral("%1 in media %2").arg(e.Message(), MediaLabel(media)));
        }
    }
}

void TOBISData::TakeMediaLists(TOBISData& Loaded)
{
    for (std::size_t media = 0; media < AllMediaData.size(); ++media) {
        if (Loaded.AllMediaData[media])
            AllMediaData[media] = std::move(Loaded.AllMediaData[media]);
    }
    ForgetWordList();
}

TOBISData& CurrentOBISData()
{
    static TOBISData database;
    return database;
}
