#include "ui/controls/DelayEntry.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <system_error>

namespace {

//------------------------------------------------------------------------
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

//------------------------------------------------------------------------
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

//------------------------------------------------------------------------
// Whether a decimal number too large or too small for a double is large.
// Written as 0.d1d2... x 10^order, it is large when order is positive:
// order counts the digits before the point from the first non-zero one, or
// minus the zeros after the point before it, plus the exponent part.
bool OverflowsUpward(const char* p, const char* end)
{
    long long order = 0;
    bool nonZero = false;
    bool point = false;
    for (; p < end && (IsDigit(*p) || *p == '.'); ++p) {
        if (*p == '.') {
            point = true;
            continue;
        }
        if (!nonZero) {
            if (*p == '0') {
                if (point)
                    --order;
                continue;
            }
            nonZero = true;
        }
        if (!point)
            ++order;
    }
    if (!nonZero)
        return false;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        bool negative = false;
        if (p < end && (*p == '+' || *p == '-'))
            negative = *p++ == '-';
        long long exponent = 0;
        for (; p < end && IsDigit(*p); ++p)
            if (exponent < 1000000000LL)
                exponent = exponent * 10 + (*p - '0');
        order += negative ? -exponent : exponent;
    }
    return order > 0;
}

} // namespace

//------------------------------------------------------------------------
double ReadLeadingNumber(const char* text)
{
    if (text == nullptr)
        return 0.0;
    const char* p = text;
    while (IsBlank(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    if (*p == '+' || *p == '-')
        return 0.0;
    const char* end = p + std::strlen(p);
    double value = 0.0;
    // from_chars ignores the locale: "2.5" is two and a half everywhere.
    const auto result = std::from_chars(p, end, value, std::chars_format::general);
    if (result.ec == std::errc::invalid_argument)
        return 0.0;
    if (result.ec == std::errc::result_out_of_range)
        value = OverflowsUpward(p, result.ptr) ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}

//------------------------------------------------------------------------
double DelayUnitsFromMicros(double micros, double sampleRate)
{
    const double samples = sampleRate * 1e-6 * micros;
    return sampleRate < 50000.0 ? samples * 4.0 : samples * 2.0;
}
