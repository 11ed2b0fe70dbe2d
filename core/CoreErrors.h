#pragma once

#include "analysis/Errors.h"

#include <exception>
#include <string>
#include <string_view>

// An error that knows where in the table or the file it arose. Its message
// stays the system's own text; where() adds what the user needs to find the
// cause, shown on a line of its own (see UserMessage).
class Locatable {
public:
    virtual ~Locatable() = default;
    virtual std::string where() const = 0;
};

// A text that is not a 32-bit integer: "''%s'' は整数ではありません".
class ConvertError : public QuarnetError {
public:
    explicit ConvertError(const std::string &text);

protected:
    struct Message {
        std::string text;
    };
    explicit ConvertError(Message message);
};

// A count cell of the table that is not an integer: row `row`, column `col`
// of the table, both from 1. An empty cell says so ("行 2, 列 2 の度数が空です")
// instead of quoting nothing, and needs no place line.
class CountConvertError : public ConvertError, public Locatable {
public:
    CountConvertError(const std::string &text, int row, int col);
    int row() const { return row_; }
    int col() const { return col_; }
    std::string where() const override;

private:
    int row_;
    int col_;
    bool isEmpty_;
};

// The floating-point error of a run whose table has a row or a column of
// nothing but zeros, the usual cause.
class EmptyLineFloatError : public FloatError, public Locatable {
public:
    EmptyLineFloatError(bool isRow, int index);
    std::string where() const override;

private:
    bool isRow_;
    int index_;
};

// A file that cannot be opened, read, created or written.
class FileError : public QuarnetError {
public:
    // `toldWhy`: the text names the cause (a full disk, a missing folder, no
    // permission), so that callers with texts of their own still show it.
    explicit FileError(const std::string &text, bool toldWhy = false)
        : QuarnetError(text)
        , toldWhy_(toldWhy)
    {
    }
    bool toldWhy() const { return toldWhy_; }

    // No name given for the file to write; `kind` names what it is for
    // ("レポート"), or is empty.
    static FileError NoFileName(std::string_view kind);

private:
    bool toldWhy_;
};

// A CSV data line with too few fields: "リストのインデックスが範囲を超えています (%d)",
// at line `line` of the file (from 1; 0 when unknown).
class ListIndexError : public QuarnetError, public Locatable {
public:
    explicit ListIndexError(int index, int line = 0);
    int line() const { return line_; }
    std::string where() const override;

private:
    int line_;
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

// The text to show for `error`: what() and, for an error that can be
// located, the place on the next line.
std::string UserMessage(const std::exception &error);
