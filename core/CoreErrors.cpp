#include "core/CoreErrors.h"

ConvertError::ConvertError(const std::string &text)
    : QuarnetError("''" + text + "'' は整数ではありません")
{
}

ListIndexError::ListIndexError(int index)
    : QuarnetError("リストのインデックスが範囲を超えています (" + std::to_string(index) + ")")
{
}
