#include "core/DecimalCounts.h"

#include "core/CoreErrors.h"
#include "core/IntConversion.h"
#include "core/NumberForms.h"

#include "analysis/ExtMath.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int MaxSignificantDigits = 18; // 10^18 - 1 fits in 64 bits

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The full-width point an input method types, as "." (the digits and signs
// are folded by FoldFullWidthNumber).
std::string foldPoint(std::string_view text)
{
    static constexpr std::string_view fullWidthPoint = "\xEF\xBC\x8E"; // U+FF0E
    std::string folded;
    for (std::size_t p = 0; p < text.size();) {
        if (text.substr(p, fullWidthPoint.size()) == fullWidthPoint) {
            folded += '.';
            p += fullWidthPoint.size();
        } else {
            folded += text[p++];
        }
    }
    return folded;
}

// Appended piece by piece: GCC 12 warns (-Wrestrict) about a chain of +
// that starts from a literal.
std::string cellPlace(int i, int j, const std::string &text)
{
    std::string place("行 ");
    place.append(FormI(i)).append(", 列 ").append(FormI(j)).append(" の値 '").append(text);
    return place.append("'");
}

} // namespace

const char *const PermutationNeedsCounts
    = "小数を含む表 (重み付きの表や百分率の表) では並べ替え検定はできません。並べ替え検定は"
      "度数 (人数や件数) を 1 つずつ並べ替えて行うため、整数の度数の表が必要です";
const char *const PValueNeedsCounts
    = "小数を含む表のため p 値は求めません (χ² 検定には度数が必要です)";
const char *const PValueNeedsCountsEnglish
    = "not computed: the table holds decimal values, and the chi-square test needs counts";

std::optional<TypedDecimal> ParseTypedDecimal(std::string_view typed)
{
    const std::string text = foldPoint(FoldFullWidthNumber(typed));
    std::size_t p = 0;
    while (p < text.size() && text[p] == ' ')
        ++p;
    TypedDecimal decimal;
    if (p < text.size() && (text[p] == '-' || text[p] == '+'))
        decimal.negative = text[p++] == '-';
    int significant = 0;
    int digitCount = 0;
    bool point = false;
    long long places = 0;
    for (; p < text.size(); ++p) {
        const char c = text[p];
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (!isDigit(c))
            break;
        ++digitCount;
        if (point)
            ++places;
        if (significant == 0 && c == '0')
            continue; // a leading zero adds nothing
        if (++significant > MaxSignificantDigits)
            return std::nullopt;
        decimal.digits = decimal.digits * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (digitCount == 0)
        return std::nullopt;
    if (p < text.size() && (text[p] == 'e' || text[p] == 'E')) {
        ++p;
        bool negativeExponent = false;
        if (p < text.size() && (text[p] == '-' || text[p] == '+'))
            negativeExponent = text[p++] == '-';
        long long exponent = 0;
        const std::size_t first = p;
        for (; p < text.size() && isDigit(text[p]); ++p)
            exponent = std::min<long long>(exponent * 10 + (text[p] - '0'), 1000);
        if (p == first)
            return std::nullopt;
        places += negativeExponent ? exponent : -exponent;
    }
    if (p != text.size())
        return std::nullopt;
    while (places > 0 && decimal.digits % 10 == 0 && decimal.digits != 0) {
        decimal.digits /= 10;
        --places;
    }
    if (decimal.digits == 0)
        places = 0;
    // A positive exponent beyond the point: the digits themselves grow.
    for (; places < 0; ++places) {
        if (decimal.digits > std::numeric_limits<std::uint64_t>::max() / 10)
            return std::nullopt;
        decimal.digits *= 10;
    }
    if (places > 1000)
        return std::nullopt;
    decimal.places = static_cast<int>(places);
    return decimal;
}

std::optional<std::int32_t> DecimalUnits(const TypedDecimal &decimal, int places)
{
    std::uint64_t units = decimal.digits;
    constexpr std::uint64_t limit = std::numeric_limits<std::int32_t>::max();
    if (units > limit)
        return std::nullopt;
    for (int k = decimal.places; k < places; ++k) {
        units *= 10;
        if (units > limit)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(units);
}

int HoldInUnits(TIntMatrix &table, const std::vector<DecimalCell> &cells, const InputTable &grid)
{
    int places = 0;
    for (const DecimalCell &cell : cells) {
        if (cell.value.places > MaxDecimalPlaces)
            throw InputError(cellPlace(cell.row, cell.col, grid.count(cell.row, cell.col))
                + " は小数点以下が " + FormI(MaxDecimalPlaces) + " 桁を超えます。"
                + FormI(MaxDecimalPlaces) + " 桁以内に丸めてください");
        places = std::max(places, cell.value.places);
    }
    const auto tooLarge = [&](int i, int j) {
        return InputError(cellPlace(i, j, grid.count(i, j))
            + " は大きすぎます。小数を含む表は小数点以下 " + FormI(places)
            + " 桁の単位の整数として計算し、1 つのセルは 2147483647 単位までです。"
              "小数点以下の桁を減らしてください");
    };
    if (places > 0) {
        for (int i = 1; i <= table.rows(); ++i)
            for (int j = 1; j <= table.cols(); ++j) {
                const std::optional<std::int32_t> units = DecimalUnits(
                    TypedDecimal{ false, static_cast<std::uint64_t>(table(i, j)), 0 }, places);
                if (!units)
                    throw tooLarge(i, j);
                table(i, j) = *units;
            }
    }
    for (const DecimalCell &cell : cells) {
        const std::optional<std::int32_t> units = DecimalUnits(cell.value, places);
        if (!units)
            throw tooLarge(cell.row, cell.col);
        table(cell.row, cell.col) = *units;
    }
    return places;
}

long double DecimalScale(int places)
{
    long double scale = 1.0L;
    for (int k = 0; k < places; ++k)
        scale *= 10;
    return scale;
}

std::string UnitsText(std::int64_t units, int places)
{
    const std::string magnitude = std::to_string(units < 0 ? -units : units);
    const auto decimals = static_cast<std::size_t>(std::max(places, 0));
    // Built by appending: GCC 12 warns (-Wrestrict) about inserting in place.
    std::string text(units < 0 ? 1 : 0, '-');
    if (decimals == 0)
        return text.append(magnitude);
    if (magnitude.size() <= decimals)
        text.append(decimals + 1 - magnitude.size(), '0');
    const std::size_t before = text.size() + magnitude.size() - decimals;
    text.append(magnitude);
    return text.substr(0, before).append(".").append(text.substr(before));
}

std::string DecimalCountLine(const TIntMatrix &units, int i, int NCol, int places)
{
    std::string line;
    for (int j = 1; j <= NCol; ++j) {
        const std::string value = UnitsText(units(i, j), places);
        line.append(std::max<std::size_t>(7, value.size() + 1) - value.size(), ' ');
        line += value;
    }
    return line;
}

std::string TotalText(const Interpretation &interpretation)
{
    return UnitsText(interpretation.n, interpretation.decimalPlaces);
}

long double TotalValue(const Interpretation &interpretation)
{
    return Div(
        static_cast<long double>(interpretation.n), DecimalScale(interpretation.decimalPlaces));
}

CellResiduals ValueResiduals(const TIntMatrix &units, int places)
{
    CellResiduals residuals = ComputeResiduals(units);
    if (places == 0)
        return residuals;
    const long double root = Sqrt(DecimalScale(places));
    for (long double &value : residuals.standardized)
        value = Div(value, root);
    for (long double &value : residuals.adjusted)
        value = Div(value, root);
    return residuals;
}
