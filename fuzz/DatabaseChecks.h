#pragma once

#include "obisdata/Model.h"

// What holds for every database, however it was built: each definition has six patterns and
// a result line with at least two "|", a search without words or filter returns every
// definition, the first definition of a media list describes the codes it covers, and the
// database reads back from its stream and saves to the same bytes, and a read of that stream
// for some codes describes them as the whole database (all but the lookup only for databases
// of at most 20,000 definitions). Aborts on a violation.
void CheckDatabase(TOBISData& database);

// What holds for a database built from definition lines: every definition of media list m
// has field A equal to the single value m, and once the tables are expanded (expanded set)
// no text refers to a table.
void CheckDefinitions(const TOBISData& database, bool expanded);
