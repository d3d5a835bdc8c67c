#include "excel/UsedRange.h"

TRangeValue CroppedToUsedRange(TRangeValue cells, const TCellArea& bounds, const std::optional<TCellArea>& declared)
{
    const bool declaredHoldsAll = declared && declared->First.Row <= bounds.First.Row
        && declared->First.Column <= bounds.First.Column && declared->Last.Row >= bounds.Last.Row
        && declared->Last.Column >= bounds.Last.Column;
    const TCellArea& area = declaredHoldsAll ? *declared : bounds;
    cells.Crop(area.First.Row, area.First.Column, area.Last.Row - area.First.Row + 1, area.Last.Column - area.First.Column + 1);
    return cells;
}
