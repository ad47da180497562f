#include "runtime/conversions.h"

#include "runtime/errors.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

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

// Whether a decimal number whose value a double cannot hold lies beyond the
// largest double rather than below the smallest one. Only its order of
// magnitude matters: the two limits are more than 600 powers of ten apart.
bool isTooLarge(std::string_view number)
{
    std::size_t i = 0;
    if (i < number.size() && (number[i] == '+' || number[i] == '-'))
        ++i;
    // Power of ten just above the first non-zero digit.
    std::int64_t magnitude = 0;
    bool significant = false;
    bool fraction = false;
    for (; i < number.size() && number[i] != 'e' && number[i] != 'E'; ++i) {
        if (number[i] == '.')
            fraction = true;
        else if (!fraction && (significant || number[i] != '0'))
            ++magnitude;
        else if (fraction && !significant && number[i] == '0')
            --magnitude;
        if (number[i] != '0' && number[i] != '.')
            significant = true;
    }
    std::int64_t exponent = 0;
    if (i < number.size()) {
        ++i;
        const bool negative = i < number.size() && number[i] == '-';
        if (i < number.size() && (number[i] == '+' || number[i] == '-'))
            ++i;
        constexpr std::int64_t Enough = 1'000'000'000;
        for (; i < number.size(); ++i)
            exponent = std::min(exponent * 10 + (number[i] - '0'), Enough);
        if (negative)
            exponent = -exponent;
    }
    return magnitude + exponent > 0;
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
            const auto value = static_cast<double>(whole);
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
    std::string ascii(static_cast<std::size_t>(n), '\0');
    std::transform(number.begin(), number.end(), ascii.begin(),
                   [](QChar c) { return static_cast<char>(c.unicode()); });
    const char *first = ascii.data();
    if (*first == '+')
        ++first; // from_chars takes no plus sign
    double value = 0;
    const char *const last = ascii.data() + ascii.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::result_out_of_range && ptr == last) {
        // Beyond the range of a double is not a number the program can hold;
        // a number too small for one is zero, as the nearest double.
        if (isTooLarge(ascii))
            return std::nullopt;
        return negative ? -0.0 : 0.0;
    }
    if (ec != std::errc() || ptr != last || !std::isfinite(value))
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
        std::array<char16_t, std::tuple_size_v<decltype(m_digits)>> reversed{};
        qsizetype n = 0;
        do {
            reversed[static_cast<std::size_t>(n++)] = static_cast<char16_t>(u'0' + whole % 10);
            whole /= 10;
        } while (whole != 0);
        if (negative)
            m_digits[static_cast<std::size_t>(m_size++)] = u'-';
        while (n > 0)
            m_digits[static_cast<std::size_t>(m_size++)] = reversed[static_cast<std::size_t>(--n)];
        return;
    }
    // Fifteen digits would round the very largest doubles up beyond the
    // range, to a text that no longer reads back; those keep every digit.
    constexpr double FifteenDigitsFit = 1.797693134862315e308;
    m_other = QString::number(value, 'g', std::abs(value) < FifteenDigitsFit ? 15 : 17);
}

QString toText(double value)
{
    return NumberText(value).view().toString();
}

} // namespace runtime
