#pragma once

#include "excel/WorkSheet.h"

#include <QString>

#include <vector>

// Reads the cells of a worksheet part into the value of its used range. The used range is
// the sheet's <dimension> when that is plausible (it parses, and it holds every cell with a
// value), otherwise the smallest area around the cells with values; a sheet without values
// is a single empty cell. Throws Exception naming the part and the problem.
TRangeValue ParseWorksheet(const QString& partName, std::vector<char> xml, const std::vector<QString>& sharedStrings);
