#include "number_check.h"

#include "runtime/conversions.h"
#include "runtime/errors.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include <locale.h>

namespace fuzz {
namespace {

// The model: what a decimal number looks like, written as plainly as
// possible and independently of the conversion under test.
//   [blanks] [+|-] digits with at most one '.' (at least one digit)
//   [e|E [+|-] digits] [blanks]
// Returns the text without its blanks when it has this shape.
std::optional<std::string> decimalShape(QStringView text)
{
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    const auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    const auto sign = [](QChar c) { return c == u'+' || c == u'-'; };

    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && blank(text[i]))
        ++i;
    const qsizetype start = i;
    if (i < n && sign(text[i]))
        ++i;
    int digits = 0;
    int points = 0;
    for (; i < n; ++i) {
        if (digit(text[i]))
            ++digits;
        else if (text[i] == u'.' && points == 0)
            ++points;
        else
            break;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < n && sign(text[i]))
            ++i;
        int exponentDigits = 0;
        for (; i < n && digit(text[i]); ++i)
            ++exponentDigits;
        if (exponentDigits == 0)
            return std::nullopt;
    }
    const qsizetype end = i;
    while (i < n && blank(text[i]))
        ++i;
    if (i != n)
        return std::nullopt;
    std::string ascii;
    for (qsizetype k = start; k < end; ++k)
        ascii.push_back(static_cast<char>(text[k].unicode()));
    return ascii;
}

// The value of a text of that shape, by the C library in the "C" locale
// (correctly rounded, like the conversion under test must be).
double modelValue(const std::string &ascii)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return strtod_l(ascii.c_str(), nullptr, cLocale);
}

QString describe(QStringView text)
{
    QString shown;
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f)
            shown += c;
        else
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return u'"' + shown + u'"';
}

bool sameNumber(double a, double b)
{
    return a == b && std::signbit(a) == std::signbit(b);
}

QString checkText(double value)
{
    const QString text = runtime::toText(value);
    const std::optional<double> back = runtime::tryNumber(text);
    if (!back)
        return QStringLiteral("toText(%1) gives %2, which is no number").arg(value).arg(text);
    if (std::nearbyint(value) == value && std::abs(value) < 1e15) {
        // Whole numbers as the fields hold them: plain digits, exact.
        const bool plain = !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) {
            return (c >= u'0' && c <= u'9') || c == u'-';
        });
        if (!plain || text.startsWith(u"-0") || *back != value)
            return QStringLiteral("whole %1 as text %2 reads back as %3")
                .arg(value, 0, 'g', 17)
                .arg(text)
                .arg(*back, 0, 'g', 17);
    } else if (std::abs(*back - value) > std::abs(value) * 1e-14) {
        // Other numbers keep fifteen significant digits.
        return QStringLiteral("%1 as text %2 reads back as %3")
            .arg(value, 0, 'g', 17)
            .arg(text)
            .arg(*back, 0, 'g', 17);
    }
    return {};
}

} // namespace

QString checkNumberText(QStringView text)
{
    const std::optional<std::string> shape = decimalShape(text);
    std::optional<double> expected;
    if (shape) {
        const double value = modelValue(*shape);
        if (std::isfinite(value))
            expected = value;
    }

    const std::optional<double> got = runtime::tryNumber(text);
    if (got.has_value() != expected.has_value()) {
        return describe(text)
            + (got ? QStringLiteral(" is no number, yet was read as %1").arg(*got, 0, 'g', 17)
                   : QStringLiteral(" is a number, yet was refused"));
    }
    if (got && !sameNumber(*got, *expected)) {
        return describe(text)
            + QStringLiteral(" was read as %1 instead of %2")
                  .arg(*got, 0, 'g', 17)
                  .arg(*expected, 0, 'g', 17);
    }

    // The raising form agrees with the quiet one.
    try {
        const double value = runtime::toNumber(text);
        if (!got || !sameNumber(value, *got))
            return describe(text) + QStringLiteral(": toNumber and tryNumber disagree");
    } catch (const runtime::Error &error) {
        if (got || error.number() != static_cast<int>(runtime::ErrorNumber::TypeMismatch))
            return describe(text) + QStringLiteral(": toNumber raised ") + error.report();
    }

    return got ? checkText(*got) : QString();
}

QString checkNumberBytes(const char *data, std::size_t size)
{
    const auto length = static_cast<qsizetype>(size);
    QString problem = checkNumberText(QString::fromUtf8(data, length));
    if (problem.isEmpty())
        problem = checkNumberText(QString::fromLatin1(data, length));
    return problem;
}

} // namespace fuzz
