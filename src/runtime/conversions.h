#pragma once

#include <QString>
#include <QStringView>

#include <array>
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

// The text toText gives, held on the stack for whole numbers, so that a text
// can be compared or joined without allocating.
class NumberText
{
public:
    explicit NumberText(double value);

    QStringView view() const
    {
        return m_other.isNull() ? QStringView(m_digits.data(), m_size) : QStringView(m_other);
    }
    operator QStringView() const { return view(); }

private:
    std::array<char16_t, 20> m_digits{}; // sign and up to 15 digits
    qsizetype m_size = 0;
    QString m_other; // numbers that are not whole, or too large for m_digits
};

} // namespace runtime
