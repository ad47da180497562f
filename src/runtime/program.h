#pragma once

#include "runtime/errors.h"

#include <functional>

class QObject;

// The program's lifetime: its handlers run one at a time, an error none of
// them traps is reported to the user, and the program ends, with status 0
// when the user ends it and 1 after such an error.
namespace runtime {

// Runs one event handler. An error it raises is not trapped: the handler is
// abandoned where it was raised, the error is reported and the program ends.
// Nothing propagates into the event loop, and once the program is ending no
// further handler runs.
void runHandler(const std::function<void()> &handler) noexcept;

// Ends the program: closes every window and leaves the event loop with `status`.
void endProgram(int status);
bool isEnding();

// Ends the program with status 0 once no window of it is shown any more.
// Replaces Qt's own rule, which does not count tool windows. Returns the
// watcher, owned by the application; deleting it ends the rule.
QObject *endWhenLastWindowCloses();

// Seams for tests. Each setter returns the previous function; an empty
// function restores the standard one (a message box; closing and leaving the
// loop).
using ErrorReporter = std::function<void(const Error &)>;
using ProgramEnd = std::function<void(int status)>;
ErrorReporter setErrorReporter(ErrorReporter reporter);
ProgramEnd setProgramEnd(ProgramEnd end);
// Lets handlers run again after a test observed the program ending.
void resetEnding();

} // namespace runtime
