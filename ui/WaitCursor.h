#pragma once

#include <QGuiApplication>

// The wait cursor over the program while a command that takes a moment runs: shown when the
// guard is made, the former cursor back when it goes.
class TWaitCursor
{
public:
    TWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};
