#pragma once

#include "analysis/Errors.h"

#include <string>

// A text that is not a 32-bit integer: "''%s'' は整数ではありません".
class ConvertError : public QuarnetError {
public:
    explicit ConvertError(const std::string &text);
};

// A file that cannot be opened, read, created or written.
class FileError : public QuarnetError {
public:
    using QuarnetError::QuarnetError;
};

// A CSV data line with too few fields: "リストのインデックスが範囲を超えています (%d)".
class ListIndexError : public QuarnetError {
public:
    explicit ListIndexError(int index);
};

// Bytes that are neither valid UTF-8/UTF-16 nor CP932, or a table the
// program refuses (negative count, size outside 1..MaxCat, ...).
class InputError : public QuarnetError {
public:
    using QuarnetError::QuarnetError;
};
