#include "core/CoreErrors.h"

#include "core/NumberForms.h"

ConvertError::ConvertError(const std::string &text)
    : QuarnetError("''" + text + "'' は整数ではありません")
{
}

ListIndexError::ListIndexError(int index)
    : QuarnetError("リストのインデックスが範囲を超えています (" + std::to_string(index) + ")")
{
}

InputError InputError::UnreadableBytes(int line, std::string_view how)
{
    return InputError(
        "ファイルの " + std::to_string(line) + " 行目に" + std::string(how) + "読めないバイトがあります");
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
