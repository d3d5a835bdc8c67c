#pragma once

#include <QByteArray>

// The ciphered OBIS database that the executable carries as its resource "Resource_1",
// built from the definitions in data/. The bytes are read in place: the array does not own
// or copy them.
QByteArray BuiltInDatabaseContainer();
