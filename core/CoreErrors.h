#pragma once

#include "analysis/Errors.h"

#include <string>
#include <string_view>

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
// program refuses (negative count, size outside 1..MaxCat, ...). The named
// constructors hold the texts, so each situation is told in one way.
class InputError : public QuarnetError {
public:
    using QuarnetError::QuarnetError;

    // Line `line` (from 1) of a file holds bytes that cannot be decoded;
    // `how` says as what they were tried ("UTF-8 としても CP932 ... としても").
    static InputError UnreadableBytes(int line, std::string_view how);
    // A cell whose text cannot stand in a CSV data file (a line break, a NUL).
    static InputError UnsavableField(int line, int field);
    // A negative count in row i, column j of the table, as typed.
    static InputError NegativeCount(int i, int j, const std::string &text);
    // A CSV data file whose first line names no column.
    static InputError NoColumnNames();
};
