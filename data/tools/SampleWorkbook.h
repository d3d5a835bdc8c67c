#pragma once

#include "data/tools/SheetFiles.h"

// Writes the sheet files as an object-definition workbook (.xlsx), one worksheet each.
void WriteSampleWorkbook(const QString& fileName, const std::vector<TSheetFile>& files);
