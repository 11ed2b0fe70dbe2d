#include "core/CoreErrors.h"

#include "core/NumberForms.h"

namespace {

std::string notAnInteger(const std::string &text)
{
    return "''" + text + "'' は整数ではありません";
}

} // namespace

ConvertError::ConvertError(const std::string &text)
    : QuarnetError(notAnInteger(text))
{
}

ConvertError::ConvertError(Message message)
    : QuarnetError(message.text)
{
}

CountConvertError::CountConvertError(const std::string &text, int row, int col)
    : ConvertError(
        Message{ text.empty() ? "行 " + FormI(row) + ", 列 " + FormI(col) + " の度数が空です"
                              : notAnInteger(text) })
    , row_(row)
    , col_(col)
    , isEmpty_(text.empty())
{
}

FileError FileError::NoFileName(std::string_view kind)
{
    return FileError(std::string(kind) + "ファイルの名前を指定してください");
}

InputError InputError::UnreadableBytes(int line, std::string_view how)
{
    return InputError("ファイルの " + std::to_string(line) + " 行目に" + std::string(how)
        + "読めないバイトがあります");
}

InputError InputError::UnsavableField(int line, int field)
{
    return InputError(std::to_string(line) + " 行目の " + std::to_string(field)
        + " 番目の欄に改行または NUL 文字があるため、保存できません");
}

InputError InputError::NegativeCount(int i, int j, const std::string &text)
{
    return InputError("行 " + FormI(i) + ", 列 " + FormI(j) + " の度数 '" + text + "' が負です");
}

InputError InputError::NoColumnNames()
{
    return InputError("データファイルの 1 行目に列の名前がありません");
}

std::string CountConvertError::where() const
{
    if (isEmpty_)
        return {};
    return "（行 " + std::to_string(row_) + ", 列 " + std::to_string(col_) + " の度数）";
}

EmptyLineFloatError::EmptyLineFloatError(bool isRow, int index)
    : isRow_(isRow)
    , index_(index)
{
}

std::string EmptyLineFloatError::where() const
{
    return std::string("（") + (isRow_ ? "行 " : "列 ") + std::to_string(index_)
        + " の度数がすべて 0 です）";
}

ListIndexError::ListIndexError(int index, int line)
    : QuarnetError("リストのインデックスが範囲を超えています (" + std::to_string(index) + ")")
    , line_(line)
{
}

std::string ListIndexError::where() const
{
    return line_ > 0 ? "（データファイルの " + std::to_string(line_) + " 行目）" : std::string();
}

std::string UserMessage(const std::exception &error)
{
    std::string text = error.what();
    if (const auto *located = dynamic_cast<const Locatable *>(&error)) {
        const std::string place = located->where();
        if (!place.empty())
            text += "\n" + place;
    }
    return text;
}
