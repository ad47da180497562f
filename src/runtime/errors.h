#pragma once

#include <QString>

class QObject;

#include <functional>
#include <stdexcept>

// Run-time errors and what happens to the ones no handler traps: the handler
// is abandoned where the error was raised, the error is reported to the user
// and the program ends with a non-zero status.
namespace runtime {

enum class ErrorNumber { Overflow = 6, TypeMismatch = 13 };

class Error : public std::runtime_error
{
public:
    explicit Error(ErrorNumber number);
    Error(int number, const QString &description);

    int number() const { return m_number; }
    QString description() const { return m_description; }
    // The text of the report, e.g. "Run-time error '13': Type mismatch".
    QString report() const;

private:
    int m_number;
    QString m_description;
};

[[noreturn]] void raise(ErrorNumber number);

// Raises the overflow error unless `value` is a finite number.
double checked(double value);

// Runs one event handler. An error it raises is not trapped: it is reported
// and the program ends. Nothing propagates into the event loop, and once the
// program is ending no further handler runs.
void runHandler(const std::function<void()> &handler) noexcept;

// Ends the program: closes every window and leaves the event loop with `status`.
void endProgram(int status);
bool isEnding();

// Ends the program with status 0 once no window of it is shown any more.
// Replaces Qt's own rule, which does not count tool windows. Returns the
// watcher, owned by the application; deleting it ends the rule.
QObject *endWhenLastWindowCloses();

// Seams for tests. Each setter returns the previous function; an empty
// function restores the default (a message box; closing and leaving the loop).
using ErrorReporter = std::function<void(const Error &)>;
using ProgramEnd = std::function<void(int status)>;
ErrorReporter setErrorReporter(ErrorReporter reporter);
ProgramEnd setProgramEnd(ProgramEnd end);
// Lets handlers run again after a test observed the program ending.
void resetEnding();

} // namespace runtime
