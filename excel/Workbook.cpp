#include "excel/Workbook.h"
