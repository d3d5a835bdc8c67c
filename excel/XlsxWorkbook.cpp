#include "excel/XlsxWorkbook.h"

#include "excel/CachedWorkSheet.h"
#include "excel/WorkbookError.h"
#include "excel/XlsxSharedStrings.h"
#include "excel/XlsxSheetParser.h"
#include "excel/XlsxXml.h"
#include "excel/ZipArchive.h"

#include <QUrl>

#include <map>
#include <optional>

// What the worksheets of a workbook read from: the archive and the shared strings.
struct TXlsxPackage
{
    TXlsxPackage(QString fileName, QByteArray content)
        : FileName(std::move(fileName))
        , Archive(std::move(content))
    {
    }

    QString FileName;
    TZipArchive Archive;
    std::vector<QString> SharedStrings;
};

namespace {

const QString WorkbookPart = QStringLiteral("xl/workbook.xml");
const QString WorkbookRelationshipsPart = QStringLiteral("xl/_rels/workbook.xml.rels");
const QString WorkbookFolder = QStringLiteral("xl/");

struct TRelationship
{
    QString Type;
    QString PartName;
};
using TRelationships = std::map<QString, TRelationship>; // by relationship id

struct TSheetEntry
{
    QString Name;
    QString RelationshipId;
};

QString Utf8(const char* text)
{
    return QString::fromUtf8(text);
}

bool IsOfKind(const TRelationship& relationship, QStringView kind)
{
    // The type is a URI ending in the kind; transitional and strict files differ before it.
    return relationship.Type.endsWith(kind) && relationship.Type.chopped(kind.size()).endsWith(u'/');
}

// The part a relationship target of the workbook names: relative to the workbook's folder,
// or absolute from the package root.
QString ResolvePartName(const QString& target)
{
    const QString path = QUrl::fromPercentEncoding(target.toUtf8());
    QStringList segments;
    const QString fullPath = path.startsWith(u'/') ? path : WorkbookFolder + path;
    for (const QString& segment : fullPath.split(u'/')) {
        if (segment == u"..") {
            if (!segments.isEmpty())
                segments.removeLast();
        } else if (!segment.isEmpty() && segment != u".") {
            segments.append(segment);
        }
    }
    return segments.join(u'/');
}

std::vector<TSheetEntry> ReadSheetEntries(TZipArchive& archive)
{
    TXlsxXmlPart part(WorkbookPart, archive.Read(WorkbookPart), "workbook");
    std::vector<TSheetEntry> sheets;
    part.ForEachContainerElement([&](pugi::xml_node element) {
        if (!HasLocalName(element, "sheets"))
            return;
        for (pugi::xml_node sheet = element.first_child(); sheet; sheet = sheet.next_sibling()) {
            if (sheet.type() == pugi::node_element && HasLocalName(sheet, "sheet"))
                sheets.push_back(TSheetEntry{Utf8(sheet.attribute("name").value()), Utf8(AttributeByLocalName(sheet, "id").value())});
        }
    });
    return sheets;
}

TRelationships ReadRelationships(TZipArchive& archive)
{
    TXlsxXmlPart part(WorkbookRelationshipsPart, archive.Read(WorkbookRelationshipsPart), "Relationships");
    TRelationships relationships;
    part.ForEachContainerElement([&](pugi::xml_node element) {
        if (!HasLocalName(element, "Relationship") || std::string_view(element.attribute("TargetMode").value()) == "External")
            return;
        relationships[Utf8(element.attribute("Id").value())] =
            TRelationship{Utf8(element.attribute("Type").value()), ResolvePartName(Utf8(element.attribute("Target").value()))};
    });
    return relationships;
}

std::optional<QString> SharedStringsPart(const TRelationships& relationships)
{
    for (const auto& [id, relationship] : relationships) {
        if (IsOfKind(relationship, u"sharedStrings"))
            return relationship.PartName;
    }
    return std::nullopt;
}

class TXlsxWorkSheet final : public TCachedWorkSheet
{
public:
    TXlsxWorkSheet(TXlsxPackage& package, const QString& name, QString partName)
        : TCachedWorkSheet(package.FileName, name)
        , FPackage(package)
        , FPartName(std::move(partName))
    {
    }

private:
    TRangeValue ReadUsedRange() const override
    {
        return ParseWorksheet(FPartName, FPackage.Archive.Read(FPartName), FPackage.SharedStrings);
    }

    TXlsxPackage& FPackage;
    QString FPartName;
};

// Reads the workbook's structure: its worksheets in order, and the shared strings.
void ReadWorkbook(TXlsxPackage& package, TWorkSheetList& sheets)
{
    const std::vector<TSheetEntry> entries = ReadSheetEntries(package.Archive);
    const TRelationships relationships = ReadRelationships(package.Archive);
    if (const std::optional<QString> part = SharedStringsPart(relationships))
        package.SharedStrings = ReadSharedStrings(*part, package.Archive.Read(*part));

    for (const TSheetEntry& entry : entries) {
        const auto found = relationships.find(entry.RelationshipId);
        if (found == relationships.end()) {
            throw Exception(QStringLiteral("sheet \"%1\" refers to the relationship \"%2\", which %3 lacks")
                                .arg(entry.Name, entry.RelationshipId, WorkbookRelationshipsPart));
        }
        const TRelationship& relationship = found->second;
        if (!IsOfKind(relationship, u"worksheet"))
            continue; // chart sheets and the like are no worksheets
        if (!package.Archive.Contains(relationship.PartName))
            throw Exception(QStringLiteral("%1 (worksheet \"%2\") is missing").arg(relationship.PartName, entry.Name));
        sheets.Add(std::make_unique<TXlsxWorkSheet>(package, entry.Name, relationship.PartName));
    }
}

} // namespace

TXlsxWorkbook::TXlsxWorkbook(const QString& fileName, QByteArray content)
    : FPackage(ReadWorkbookPart(fileName, [&] { return std::make_unique<TXlsxPackage>(fileName, std::move(content)); }))
{
    ReadWorkbookPart(fileName, [this] { ReadWorkbook(*FPackage, FSheets); });
}

TXlsxWorkbook::~TXlsxWorkbook() = default;

TWorkSheets& TXlsxWorkbook::Worksheets()
{
    return FSheets;
}
