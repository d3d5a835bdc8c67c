#include "data/BuiltInDatabase.h"

// Defined by the assembler object that embeds the container (Resource_1.S).
extern "C" {
extern const char kestrune_resource_1[];
extern const unsigned long long kestrune_resource_1_size;
}

QByteArray BuiltInDatabaseContainer()
{
    return QByteArray::fromRawData(kestrune_resource_1, static_cast<qsizetype>(kestrune_resource_1_size));
}
