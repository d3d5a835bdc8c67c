#pragma once

#include "frontend/CodeNotation.h"
#include "obisdata/Model.h"

#include <optional>
#include <vector>

// A code the user asked about: as written, as read, and what the database says of it.
struct TDescription
{
    QString Input;
    std::optional<TOBISCode> Code; // empty when Input could not be read
    QString Description;
    QString Error; // why the code could not be read or looked up
};

// Reads every text as a code; one that cannot be read carries the reader's message.
std::vector<TDescription> ReadCodes(const QStringList& texts, const TMediaGroups& media);

// Adds the codes that were read, each once, to the selection: a database read for them keeps only
// what describes them, and every definition is tested against each code once.
void AddToSelection(TCodeSelection& selection, const std::vector<TDescription>& descriptions);

// Looks up every code that was read; an error of the lookup goes into Error.
void Describe(const TOBISData& database, std::vector<TDescription>& descriptions);

// "1.0.1.8.1.255: description" (or the message of what failed, for stderr).
QString DescriptionLine(const TDescription& description);
