#pragma once

#include <stdexcept>
#include <string>

// Every error the user can meet derives from QuarnetError; what() is the
// exact Japanese (or fixed English) text shown to the user, UTF-8 encoded.
class QuarnetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Division by zero, 0/0, the square root of a negative number or an overflow:
// never allowed to become NaN or infinity.
class FloatError : public QuarnetError {
public:
    FloatError() : QuarnetError("不正な浮動小数点数演算命令") { }
};

// The decomposition gave up: "QL3 is called too many times", "QL failed" or
// "calculation accuracy error occurred.".
class NumericalFailure : public QuarnetError {
public:
    using QuarnetError::QuarnetError;
};

// A table the fixed arrays or the 32-bit arithmetic cannot hold.
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
