// The description lookup with arbitrary texts and codes. The first six bytes are the code
// (field A taken modulo 11, so that 10 stands for the media numbers without a list). The
// rest is UTF-8 text, one entry a line: "#", a table digit and a field letter, then the text
// of the next entry of that table; any other line is a text of the one definition, which
// covers every code of the media.
#include "fuzz/FuzzCheck.h"
#include "obisdata/Limits.h"
#include "obisdata/Model.h"
#include "support/Exception.h"

#include <QRegularExpression>

namespace {

void AddTableEntry(TOBISMediaData& media, QStringView line)
{
    const int t = line[1].unicode() - u'0';
    if (t < 0 || t >= TableCount)
        return;
    auto& table = media.Tables[static_cast<std::size_t>(t)];
    if (!table)
        table = std::make_unique<TTable>();
    table->Column = ColumnFromLetter(line[2]).value_or(TColumn::A);
    table->Entries.push_back(TTableEntry{line.mid(3).toString()});
}

std::unique_ptr<TOBISItemData> DefinitionOfEveryCode(int media)
{
    auto item = std::make_unique<TOBISItemData>();
    item->LineNr = 7;
    for (const TColumn column : AllColumns)
        item->Values.SetValue(column, std::make_unique<TValue>(TValue::CreateRange(0, 255)));
    item->Values.SetValue(TColumn::A, std::make_unique<TValue>(TValue::CreateSingle(static_cast<quint8>(media))));
    return item;
}

bool IsLookupError(const QString& message)
{
    static const QRegularExpression known(QStringLiteral(
        "^(Error [1-6] on line 7|The placeholders on line 7 do not come to an end|Code=[0-9.]+, illegal media 10)$"));
    return known.match(message).hasMatch();
}

// The longest description the texts can give: each text grows to the limit at most.
qsizetype LongestDescription(const QStringList& texts)
{
    qsizetype length = 0;
    for (const QString& text : texts)
        length += std::max<qsizetype>(text.size(), MaxDescriptionLength) + 1;
    return length;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    if (size < 6)
        return 0;
    TOBISCode code;
    for (const TColumn column : AllColumns)
        code[column] = data[static_cast<std::size_t>(column)];
    code[TColumn::A] = static_cast<quint8>(code[TColumn::A] % 11);

    TOBISData database;
    const int media = code[TColumn::A] % MediaCount;
    auto& mediaData = database.AllMediaData[static_cast<std::size_t>(media)];
    mediaData = std::make_unique<TOBISMediaData>();
    auto item = DefinitionOfEveryCode(media);
    const QString text = FuzzText(data + 6, size - 6);
    for (const QStringView line : QStringView(text).split(u'\n')) {
        if (line.size() >= 3 && line[0] == u'#')
            AddTableEntry(*mediaData, line);
        else
            item->Texts.append(line.toString());
    }
    const QStringList texts = item->Texts;
    mediaData->Items.push_back(std::move(item));

    try {
        const QString description = database.GetOBISText(code);
        FuzzRequire(description.size() <= LongestDescription(texts), "placeholders cannot grow a text beyond the limit");
        if (!texts.join(QString()).contains(u'$')) {
            QStringList nonEmpty = texts;
            nonEmpty.removeAll(QString());
            FuzzRequire(description == nonEmpty.join(u' '), "texts without placeholders are the description", description);
        }
    } catch (const Exception& e) {
        FuzzRequire(IsLookupError(e.Message()), "the lookup fails only with its own errors", e.Message());
    }
    return 0;
}
