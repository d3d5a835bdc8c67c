#include "cli/Descriptions.h"

#include "support/Exception.h"

#include <algorithm>

std::vector<TDescription> ReadCodes(const QStringList& texts, const TMediaGroups& media)
{
    std::vector<TDescription> descriptions;
    descriptions.reserve(static_cast<std::size_t>(texts.size()));
    for (const QString& text : texts) {
        TDescription description{text, std::nullopt, {}, {}};
        try {
            description.Code = ReadCodeNotation(text, media);
        } catch (const Exception& e) {
            description.Error = e.Message();
        }
        descriptions.push_back(std::move(description));
    }
    return descriptions;
}

void AddToSelection(TCodeSelection& selection, const std::vector<TDescription>& descriptions)
{
    for (const TDescription& description : descriptions) {
        if (description.Code && std::find(selection.begin(), selection.end(), *description.Code) == selection.end())
            selection.push_back(*description.Code);
    }
}

void Describe(const TOBISData& database, std::vector<TDescription>& descriptions)
{
    for (TDescription& description : descriptions) {
        if (!description.Code)
            continue;
        try {
            description.Description = database.GetOBISText(*description.Code);
        } catch (const Exception& e) {
            description.Error = e.Message();
        }
    }
}

QString DescriptionLine(const TDescription& description)
{
    if (!description.Error.isEmpty())
        return description.Error;
    return TOBISData::OBISCodeToOBISStr(*description.Code) + QStringLiteral(": ") + description.Description;
}
