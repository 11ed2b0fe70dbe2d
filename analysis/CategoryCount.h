#pragma once

#include <cstdint>
#include <string>

// The sizes the exact engine takes: 1 to 50 categories on each side. This is
// the one place that says so; every check asks IsCategoryCount and every
// message that names the limit is built from MaxCat.
inline constexpr int MaxCat = 50;

constexpr bool IsCategoryCount(std::int64_t n)
{
    return n >= 1 && n <= MaxCat;
}

// "1 から 50 まで", for the messages that state the range.
inline std::string CategoryCountRange()
{
    return "1 から " + std::to_string(MaxCat) + " まで";
}
