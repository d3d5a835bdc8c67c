#pragma once

#include <QString>

#include <functional>

class QWidget;

// Event handlers of the windows run through RunHandler, so that no exception travels back into
// the toolkit: an exception that leaves a handler has its message shown in a message box
// titled with the application's name, the silent abort (ESilentAbort) shows nothing, and the
// window stays usable either way.
void RunHandler(QWidget* Window, const std::function<void()>& Handler);

// What shows the message of an exception that left a handler. Tests install their own to see
// the messages; the previous reporter is returned.
using TExceptionReporter = std::function<void(QWidget* Window, const QString& Message)>;
TExceptionReporter SetExceptionReporter(TExceptionReporter Reporter);
