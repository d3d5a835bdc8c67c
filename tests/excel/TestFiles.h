#pragma once

#include <QString>

#include <string>
#include <utility>
#include <vector>

// Files the workbook reader tests read: .xlsx packages put together by hand, and fixtures.

using TZipEntries = std::vector<std::pair<std::string, std::string>>; // entry name, content

// Writes a ZIP archive with these entries, deflated.
void WriteZip(const QString& path, const TZipEntries& entries);

// A worksheet part holding this <sheetData> content, after a <dimension> when one is given.
std::string WorksheetXml(const std::string& sheetData, const std::string& dimension = {});

// A shared string table of these <si> items.
std::string SharedStringsXml(const std::string& items);

// The parts of a small .xlsx package: the workbook, its relationships, one worksheet part
// per (name, worksheet XML), and the shared string table when one is given. A name
// "chart:<name>" makes that sheet a chart sheet.
TZipEntries XlsxEntries(const std::vector<std::pair<std::string, std::string>>& sheets,
    const std::string& sharedStrings = {});

// The path of a committed fixture file.
QString FixturePath(const char* name);

// The file's content, and a file with that content.
QByteArray ReadFileBytes(const QString& path);
void WriteFileBytes(const QString& path, const QByteArray& content);
