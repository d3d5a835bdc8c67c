#include "TestFiles.h"

#include <QFile>

#include <zip.h>

#include <stdexcept>

void WriteZip(const QString& path, const TZipEntries& entries)
{
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        throw std::runtime_error("cannot create " + path.toStdString());
    for (const auto& [name, content] : entries) {
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        if (!source || zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE) < 0) {
            zip_source_free(source);
            zip_discard(archive);
            throw std::runtime_error("cannot add " + name);
        }
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        throw std::runtime_error("cannot write " + path.toStdString());
    }
}

std::string WorksheetXml(const std::string& sheetData, const std::string& dimension)
{
    return R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
           R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
        + (dimension.empty() ? std::string() : R"(<dimension ref=")" + dimension + R"("/>)")
        + "<sheetData>" + sheetData + "</sheetData></worksheet>";
}

std::string SharedStringsXml(const std::string& items)
{
    return R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
           R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
        + items + "</sst>";
}

TZipEntries XlsxEntries(const std::vector<std::pair<std::string, std::string>>& sheets, const std::string& sharedStrings)
{
    const std::string relationshipTypes = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    std::string workbook = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                           R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
                           R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets>)";
    std::string relationships = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                                R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)";
    TZipEntries entries;
    for (size_t i = 0; i < sheets.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        const bool chart = sheets[i].first.starts_with("chart:");
        const std::string name = chart ? sheets[i].first.substr(6) : sheets[i].first;
        const std::string kind = chart ? "chartsheet" : "worksheet";
        workbook += R"(<sheet name=")" + name + R"(" sheetId=")" + number + R"(" r:id="rId)" + number + R"("/>)";
        relationships += R"(<Relationship Id="rId)" + number + R"(" Type=")" + relationshipTypes + kind + R"(" Target=")"
            + kind + "s/sheet" + number + R"(.xml"/>)";
        entries.emplace_back("xl/" + kind + "s/sheet" + number + ".xml", sheets[i].second);
    }
    if (!sharedStrings.empty()) {
        relationships += R"(<Relationship Id="rIdStrings" Type=")" + relationshipTypes
            + R"(sharedStrings" Target="sharedStrings.xml"/>)";
        entries.emplace_back("xl/sharedStrings.xml", sharedStrings);
    }
    entries.emplace_back("xl/workbook.xml", workbook + "</sheets></workbook>");
    entries.emplace_back("xl/_rels/workbook.xml.rels", relationships + "</Relationships>");
    return entries;
}

QString FixturePath(const char* name)
{
    return QStringLiteral(KESTRUNE_TEST_DATA "/fixtures/") + QString::fromUtf8(name);
}

QByteArray ReadFileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return file.readAll();
}

void WriteFileBytes(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}
