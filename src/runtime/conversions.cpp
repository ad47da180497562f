#include "runtime/conversions.h"

#include "runtime/errors.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace runtime {
namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

std::optional<double> tryNumber(QStringView text) noexcept
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    const QStringView number = text.sliced(begin, end - begin);

    // Check the shape: [sign] digits [. digits] [e [sign] digits]
    qsizetype i = 0;
    const qsizetype n = number.size();
    const bool negative = i < n && number[i] == u'-';
    if (i < n && (number[i] == u'+' || number[i] == u'-'))
        ++i;
    const qsizetype wholeStart = i;
    std::uint64_t whole = 0;
    bool wholeFits = true;
    while (i < n && isDigit(number[i])) {
        const unsigned digit = number[i].unicode() - u'0';
        if (whole > (std::numeric_limits<std::uint64_t>::max() - digit) / 10)
            wholeFits = false;
        else
            whole = whole * 10 + digit;
        ++i;
    }
    qsizetype digits = i - wholeStart;
    if (i == n) {
        // Plain whole numbers are the common case; they need no parser.
        if (digits == 0)
            return std::nullopt;
        if (wholeFits && whole <= (std::uint64_t{1} << 53)) {
            const double value = static_cast<double>(whole);
            return negative ? -value : value;
        }
    } else {
        if (number[i] == u'.') {
            ++i;
            const qsizetype fractionStart = i;
            while (i < n && isDigit(number[i]))
                ++i;
            digits += i - fractionStart;
        }
        if (digits == 0)
            return std::nullopt;
        if (i < n && (number[i] == u'e' || number[i] == u'E')) {
            ++i;
            if (i < n && (number[i] == u'+' || number[i] == u'-'))
                ++i;
            const qsizetype exponentStart = i;
            while (i < n && isDigit(number[i]))
                ++i;
            if (i == exponentStart)
                return std::nullopt;
        }
        if (i != n)
            return std::nullopt;
    }

    // Only ASCII is left, so the narrow copy is exact.
    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(n));
    for (const QChar c : number)
        ascii.push_back(static_cast<char>(c.unicode()));
    const char *first = ascii.data();
    if (*first == '+')
        ++first; // from_chars takes no plus sign
    double value = 0;
    const auto [ptr, ec] = std::from_chars(first, ascii.data() + ascii.size(), value);
    // Beyond the range of a double is not a number the program can hold.
    if (ec != std::errc() || ptr != ascii.data() + ascii.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double toNumber(QStringView text)
{
    if (const auto value = tryNumber(text))
        return *value;
    raise(ErrorNumber::TypeMismatch);
}

NumberText::NumberText(double value)
{
    if (value == 0) { // never "-0"
        m_digits[0] = u'0';
        m_size = 1;
        return;
    }
    if (std::nearbyint(value) == value && std::abs(value) < 1e15) {
        // Whole numbers as integers: the digits backwards, then the sign.
        const bool negative = value < 0;
        auto whole = static_cast<std::uint64_t>(std::abs(value));
        char16_t reversed[sizeof m_digits / sizeof m_digits[0]];
        qsizetype n = 0;
        do {
            reversed[n++] = static_cast<char16_t>(u'0' + whole % 10);
            whole /= 10;
        } while (whole != 0);
        if (negative)
            m_digits[m_size++] = u'-';
        while (n > 0)
            m_digits[m_size++] = reversed[--n];
        return;
    }
    m_other = QString::number(value, 'g', 15);
}

QString toText(double value)
{
    return NumberText(value).view().toString();
}

} // namespace runtime
