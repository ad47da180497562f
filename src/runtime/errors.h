#pragma once

#include <QString>

#include <stdexcept>

// Run-time errors as the old runtime numbered and named them. What happens to
// one that no handler traps is the program's business (runtime/program.h).
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

} // namespace runtime
