#pragma once

#include <stdexcept>
#include <string>

// The root of every error the user can meet, QuarnetError, and the errors of
// the numerical core: floating-point faults, numerical failures of the
// decomposition, table limits and unusable supplementary categories. Errors
// of reading the user's input and files are in core/CoreErrors.h, those of
// drawing and exporting the map in plot/PlotErrors.h; all derive from
// QuarnetError, whose what() is the exact Japanese (or fixed English) text
// shown to the user, UTF-8 encoded.
class QuarnetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Division by zero, 0/0, the square root of a negative number or an overflow:
// never allowed to become NaN or infinity.
class FloatError : public QuarnetError {
public:
    FloatError()
        : QuarnetError("不正な浮動小数点数演算命令")
    {
    }
};

// The decomposition gave up: "QL3 is called too many times", "QL failed" or
// "calculation accuracy error occurred.".
class NumericalFailure : public QuarnetError {
public:
    using QuarnetError::QuarnetError;
};

// A table outside the category counts or beyond the 32-bit arithmetic.
class TableLimitError : public QuarnetError {
public:
    using QuarnetError::QuarnetError;
};

// Supplementary categories that cannot be used: a position outside the table,
// or too few categories left to analyse.
class SupplementaryError : public QuarnetError {
public:
    using QuarnetError::QuarnetError;
};
