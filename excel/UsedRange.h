#pragma once

#include "excel/CellReference.h"
#include "excel/WorkSheet.h"

#include <optional>

// The used range of a sheet whose cells a reader stored at their sheet positions: the area
// the sheet declares when it holds every cell with a value, otherwise the bounds of those
// cells. The chosen area's first cell becomes cell (1, 1).
TRangeValue CroppedToUsedRange(TRangeValue cells, const TCellArea& bounds, const std::optional<TCellArea>& declared);
