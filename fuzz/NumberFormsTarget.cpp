// The report's number forms on any 80-bit value, width and number of
// decimals. Input: ten bytes of an extended value (little-endian, as in
// memory), a width byte, a decimals byte and four bytes of a 32-bit integer;
// missing bytes are zero.
//
// Properties:
// - F(w.d): blanks only as padding up to w (none when the digits are
//   longer), then an optional minus sign, at least one digit with no leading
//   zero, and a point with exactly d decimals when d > 0; the sign is there
//   exactly when the value is negative; the printed value is within half a
//   unit of its last decimal of the value's 18-digit form; -x prints as x
//   with a minus sign; an integer below 10^17 prints exactly.
// - E: 23 characters, sign blank or minus, d.dddddddddddddd, E, exponent
//   sign and four digits, first digit not 0 except for zero itself, and
//   within half a unit of its 15th digit of the 18-digit form.
// - I(w): the decimal integer padded to w.
// - An infinity or NaN is refused with FloatError by F and E alike.
#include "FuzzTargets.h"

#include "core/NumberForms.h"

#include "analysis/Errors.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace {

struct Input {
    long double value = 0;
    int width = 0;
    int decimals = 0;
    std::int32_t integer = 0;
};

// The hardware's integer bit must match the exponent: the arithmetic never
// makes the unnormal encodings, so they are mapped onto proper values.
long double ExtendedFromBytes(const unsigned char *bytes)
{
    std::uint64_t significand = 0;
    std::uint16_t signAndExponent = 0;
    std::memcpy(&significand, bytes, 8);
    std::memcpy(&signAndExponent, bytes + 8, 2);
    const std::uint64_t integerBit = std::uint64_t{ 1 } << 63;
    if ((signAndExponent & 0x7FFF) == 0)
        significand &= ~integerBit;
    else
        significand |= integerBit;
    long double value = 0;
    unsigned char raw[sizeof(long double)] = {};
    std::memcpy(raw, &significand, 8);
    std::memcpy(raw + 8, &signAndExponent, 2);
    std::memcpy(&value, raw, sizeof value);
    return value;
}

Input Decode(std::string_view bytes)
{
    unsigned char raw[16] = {};
    std::memcpy(raw, bytes.data(), std::min(bytes.size(), sizeof raw));
    Input in;
    in.value = ExtendedFromBytes(raw);
    in.width = static_cast<signed char>(raw[10]);
    in.decimals = raw[11] % 26;
    std::memcpy(&in.integer, raw + 12, 4);
    return in;
}

std::string Show(long double v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.20Lg", v);
    return text;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

long double TenTo(int k)
{
    return std::pow(10.0L, static_cast<long double>(k));
}

// |v| = mantissa x 10^exponent with the mantissa in [1, 10), from `digits`
// significant digits of v.
struct Scientific {
    long double mantissa;
    int exponent;
};
Scientific ScientificOf(long double v, int digits)
{
    char text[96];
    std::snprintf(text, sizeof text, "%.*Le", digits - 1, std::fabs(v));
    char *e = std::strchr(text, 'e');
    const int exponent = std::atoi(e + 1);
    *e = '\0';
    return { std::strtold(text, nullptr), exponent };
}

// The printed value N x 10^scale, N a string of decimal digits, is within
// half a unit of its last digit (10^scale / 2) of the 18-digit form of v,
// which lies within half a unit of its 18th digit of v. Everything is
// compared in units of v's own power of ten, so that neither the largest
// values nor the denormals leave the range of long double on the way; the
// mantissas carry a few units of rounding more.
void CheckClose(long double v, const std::string &digits, int scale, const std::string &printed)
{
    const Scientific exact = ScientificOf(v, 30);
    const Scientific form18 = ScientificOf(v, 18);
    const std::size_t first = digits.find_first_not_of('0');
    long double shown = 0;
    if (first != std::string::npos) {
        const std::string lead = digits.substr(first, 1) + "." + digits.substr(first + 1, 40);
        const int exponent = static_cast<int>(digits.size() - first - 1) + scale;
        shown = std::strtold(lead.c_str(), nullptr) * TenTo(exponent - exact.exponent);
    }
    const long double allowed = 0.5L * TenTo(scale - exact.exponent)
        + 0.5L * TenTo(form18.exponent - 17 - exact.exponent)
        + 8 * std::numeric_limits<long double>::epsilon() * exact.mantissa;
    if (!(std::fabs(shown - exact.mantissa) <= allowed))
        FuzzFinding("the form of " + Show(v) + " is '" + printed + "'");
}

// The unsigned digits of an F form.
std::string CheckFShape(long double v, int width, int decimals, const std::string &text)
{
    const std::size_t blanks = text.find_first_not_of(' ');
    if (blanks == std::string::npos)
        FuzzFinding("F form of only blanks");
    std::string core = text.substr(blanks);
    if ((blanks > 0 && static_cast<int>(text.size()) != width)
        || (blanks == 0 && static_cast<int>(core.size()) < width))
        FuzzFinding("F(" + std::to_string(width) + ") padding of '" + text + "'");
    const bool minus = core.front() == '-';
    if (minus != (v < 0))
        FuzzFinding("F form sign of " + Show(v) + ": '" + text + "'");
    if (minus)
        core.erase(0, 1);
    const std::size_t point = decimals > 0 ? core.size() - decimals - 1 : core.size();
    bool good = core.size() > static_cast<std::size_t>(decimals + (decimals > 0 ? 1 : 0))
        && (decimals == 0 || core[point] == '.') && (point == 1 || core[0] != '0');
    for (std::size_t k = 0; k < core.size(); ++k)
        good = good && (k == point ? core[k] == '.' : IsDigit(core[k]));
    if (!good)
        FuzzFinding("F(" + std::to_string(width) + "." + std::to_string(decimals) + ") of "
            + Show(v) + " is '" + text + "'");
    return core;
}

void CheckF(long double v, int width, int decimals)
{
    const std::string text = FormF(v, width, decimals);
    const std::string core = CheckFShape(v, width, decimals, text);
    std::string digits = core;
    std::erase(digits, '.');
    CheckClose(v, digits, -decimals, text);
    if (v > 0) {
        const std::string negated = FormF(-v, 0, decimals);
        if (negated.size() != core.size() + 1 || negated[0] != '-' || negated.substr(1) != core)
            FuzzFinding("F form of -" + Show(v) + " is '" + negated + "', of +: '" + core + "'");
    }
    if (std::fabs(v) < 1e17L && v == std::trunc(v)) {
        std::string exact = std::to_string(static_cast<long long>(std::fabs(v)));
        if (decimals > 0)
            exact.append(1, '.').append(static_cast<std::size_t>(decimals), '0');
        if (core != exact)
            FuzzFinding("F form of the integer " + Show(v) + " is '" + text + "'");
    }
}

void CheckE(long double v)
{
    const std::string text = FormE(v);
    bool good = text.size() == 23 && (text[0] == ' ' || text[0] == '-') && IsDigit(text[1])
        && text[2] == '.' && text[17] == 'E' && (text[18] == '+' || text[18] == '-');
    for (int k : { 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 19, 20, 21, 22 })
        good = good && text.size() == 23 && IsDigit(text[k]);
    if (!good)
        FuzzFinding("E form of " + Show(v) + " is '" + text + "'");
    if (v == 0) {
        if (text != " 0.00000000000000E+0000")
            FuzzFinding("E form of zero is '" + text + "'");
        return;
    }
    if (text[1] == '0' || (text[0] == '-') != (v < 0))
        FuzzFinding("E form of " + Show(v) + " is '" + text + "'");
    const int exponent = (text[18] == '-' ? -1 : 1) * std::atoi(text.c_str() + 19);
    CheckClose(v, text.substr(1, 1) + text.substr(3, 14), exponent - 14, text);
}

void CheckI(std::int32_t value, int width)
{
    std::string expected = std::to_string(value);
    if (static_cast<int>(expected.size()) < width)
        expected.insert(0, static_cast<std::size_t>(width) - expected.size(), ' ');
    if (FormI(value, width) != expected || FormI(value) != std::to_string(value))
        FuzzFinding("I(" + std::to_string(width) + ") of " + std::to_string(value) + " is '"
            + FormI(value, width) + "'");
}

} // namespace

void FuzzNumberForms(std::string_view bytes)
{
    const Input in = Decode(bytes);
    CheckI(in.integer, in.width);
    if (!std::isfinite(in.value)) {
        for (int form = 0; form < 2; ++form) {
            try {
                form == 0 ? (void)FormF(in.value, in.width, in.decimals) : (void)FormE(in.value);
                FuzzFinding("a value that is not finite was printed");
            } catch (const FloatError &) {
            }
        }
        return;
    }
    CheckF(in.value, in.width, in.decimals);
    CheckE(in.value);
}
