#pragma once

#include <QString>

#include <vector>

// The shared string table of an .xlsx workbook (its sharedStrings part), in index order.
// Throws Exception naming the part and the problem.
std::vector<QString> ReadSharedStrings(const QString& partName, std::vector<char> xml);
