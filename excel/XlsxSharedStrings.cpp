#include "excel/XlsxSharedStrings.h"

#include "excel/Limits.h"
#include "excel/XlsxXml.h"

#include <algorithm>

std::vector<QString> ReadSharedStrings(const QString& partName, std::vector<char> xml)
{
    TXlsxXmlPart part(partName, std::move(xml), "sst");
    std::vector<QString> strings;
    strings.reserve(static_cast<size_t>(std::min(part.ContainerChildren(), ExcelLimits::MaxSharedStrings)));
    part.ForEachContainerElement([&](pugi::xml_node item) {
        if (!HasLocalName(item, "si"))
            return;
        if (static_cast<qint64>(strings.size()) >= ExcelLimits::MaxSharedStrings)
            throw part.Error(QStringLiteral("more than %1 shared strings").arg(ExcelLimits::MaxSharedStrings));
        strings.push_back(StringItemText(item));
    });
    return strings;
}
