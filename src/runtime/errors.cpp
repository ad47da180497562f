#include "runtime/errors.h"

#include <cmath>

namespace runtime {
namespace {

QString describe(ErrorNumber number)
{
    switch (number) {
    case ErrorNumber::Overflow:
        return QStringLiteral("Overflow");
    case ErrorNumber::TypeMismatch:
        return QStringLiteral("Type mismatch");
    }
    return QStringLiteral("Application-defined or object-defined error");
}

} // namespace

Error::Error(ErrorNumber number)
    : Error(static_cast<int>(number), describe(number))
{
}

Error::Error(int number, const QString &description)
    : std::runtime_error(description.toStdString())
    , m_number(number)
    , m_description(description)
{
}

QString Error::report() const
{
    return QStringLiteral("Run-time error '%1': %2").arg(m_number).arg(m_description);
}

void raise(ErrorNumber number)
{
    throw Error(number);
}

double checked(double value)
{
    if (!std::isfinite(value))
        raise(ErrorNumber::Overflow);
    return value;
}

} // namespace runtime
