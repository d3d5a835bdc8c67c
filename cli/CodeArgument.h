#pragma once

#include "obisdata/Codes.h"

#include <QString>

// A full OBIS code as users write it: every form the database reads (1.0.1.8.0.255,
// 0100010800FF, ...) and also 1-0:1.8.0*255 and 1-0:1.8.0.255.
// Raises the database's "Unrecognized OBIS code" error naming the text.
TOBISCode CodeFromArgument(const QString& text);
