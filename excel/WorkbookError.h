#pragma once

#include "support/Exception.h"

#include <new>

// The failure of reading a workbook file: the message names the file and what is wrong.
inline Exception WorkbookError(const QString& fileName, const QString& problem)
{
    return Exception(QStringLiteral("Cannot read workbook \"%1\": %2").arg(fileName, problem));
}

// Runs read() and reports a failure it raises (an Exception carrying just the problem, or
// running out of memory) as a WorkbookError of fileName.
template<class TRead>
auto ReadWorkbookPart(const QString& fileName, TRead&& read) -> decltype(read())
{
    try {
        return read();
    } catch (const Exception& e) {
        throw WorkbookError(fileName, e.Message());
    } catch (const std::bad_alloc&) {
        throw WorkbookError(fileName, QStringLiteral("there is not enough memory to read it"));
    }
}
