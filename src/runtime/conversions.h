#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Conversions between display texts and numbers, independent of the locale.
namespace runtime {

// Decimal text, optionally surrounded by blanks, to a number. Any other text
// raises the type-mismatch error.
double toNumber(QStringView text);

// The same, but an empty result instead of the error.
std::optional<double> tryNumber(QStringView text) noexcept;

// A number as plain decimal text: "-" before a negative number, never a
// leading blank or "+", whole numbers without a fraction.
QString toText(double value);

} // namespace runtime
