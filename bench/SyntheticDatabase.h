#pragma once

#include "obisdata/Model.h"

#include <memory>

// A database of `definitions` item definitions shaped like real OBIS data: media 1 and 7,
// single values and ranges in every field, five texts each (some with placeholders), and
// interface classes and value types on most. The same count always gives the same database.
std::unique_ptr<TOBISData> MakeSyntheticDatabase(int definitions);
