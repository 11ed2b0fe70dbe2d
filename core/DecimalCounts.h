#pragma once

#include "core/InputTable.h"

#include "analysis/Interpretation.h"
#include "analysis/Residuals.h"
#include "analysis/Types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Weighted and percentage tables: non-negative decimal values in the count
// cells, taken only when the user asks for them. Such a table is held
// exactly as integers in units of 10^-places, `places` being the most
// decimal places any cell needs: 11.7 and 8 in a table of one place are 117
// and 80. Dual scaling does not change when every cell is multiplied by the
// same factor (the masses, profiles, singular values and scale values stay),
// so the integer engine analyses the values without a binary rounding of
// any of them; only what grows with the table's total (N, chi-square, the
// association and residual values) is divided back by 10^places.

// A typed decimal as digits and places: value = digits / 10^places, places
// >= 0 and no trailing zero after the point (2.50 is 25 and 1; 3.0 is 3 and
// 0). Taken: blanks (code 32) before, an optional sign, digits with at most
// one point and at least one digit, an optional exponent (e or E, an
// optional sign, digits), as a spreadsheet writes 1e-05; full-width digits
// and signs are folded first. Nullopt for anything else and for more than
// 18 significant digits.
struct TypedDecimal {
    bool negative = false;
    std::uint64_t digits = 0;
    int places = 0;
};
std::optional<TypedDecimal> ParseTypedDecimal(std::string_view text);

// The largest number of places a table is held in: 10^9 units of a cell
// still fit in 32 bits.
inline constexpr int MaxDecimalPlaces = 9;

// digits scaled to `places` (>= decimal.places), nullopt when beyond 32 bits.
std::optional<std::int32_t> DecimalUnits(const TypedDecimal &decimal, int places);

// A cell of the table that holds a decimal, at its table position.
struct DecimalCell {
    int row = 0;
    int col = 0;
    TypedDecimal value;
};

// Turns `table`, whose cells hold the integers read so far, into units of
// 10^-places, places being the most any of `cells` needs, puts `cells` in
// and returns places (0 when none needs any: the table is left as it is).
// Throws InputError naming the cell (with its text in `grid`) when a cell
// needs more than MaxDecimalPlaces or its units pass 32 bits.
int HoldInUnits(TIntMatrix &table, const std::vector<DecimalCell> &cells, const InputTable &grid);

// 10^places as an extended value (exact for every places allowed).
long double DecimalScale(int places);

// A value in units of 10^-places written with exactly `places` decimals
// ("11.70" for 1170 and 2); places 0 writes the integer.
std::string UnitsText(std::int64_t units, int places);

// The line of row i of the report's input section for a table held in
// units of 10^-places (places > 0): every value with `places` decimals, right
// aligned in 7 characters and never without a blank before it.
std::string DecimalCountLine(const TIntMatrix &units, int i, int NCol, int places);

// The refusal of the permutation test for a table of decimal values.
extern const char *const PermutationNeedsCounts;
// The note that replaces the chi-square test's p-value for such a table.
extern const char *const PValueNeedsCounts;
extern const char *const PValueNeedsCountsEnglish;

// N as the results show it: the count, or the sum of the decimal values.
std::string TotalText(const Interpretation &interpretation);
long double TotalValue(const Interpretation &interpretation);

// The cell residuals of a table held in units of 10^-places, in the table's
// values: the standardized and adjusted residuals grow with the square root
// of the total, so they are divided by sqrt(10^places); the shares of
// chi-square stay.
CellResiduals ValueResiduals(const TIntMatrix &units, int places);
