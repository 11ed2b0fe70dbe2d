#pragma once

#include <string_view>

// The order sorted categories take, the same on every system (no locale is
// asked: a Japanese one is often not installed). Labels are compared piece
// by piece:
// - a run of digits (ASCII or full-width) compares as the number it writes,
//   so 2回 < 10回 and 20代 < 100代 (leading zeros do not count);
// - any other character compares with case and width folded (A = a = Ａ)
//   and katakana as hiragana (カ = か), by code point after folding: kana
//   in gojūon order, Latin letters alphabetically, kanji in Unicode order;
// - a label that is the start of the other comes first;
// - labels still equal are ordered by their bytes, so that the order is
//   total (A before a before Ａ, 01 before 1).
bool CategoryLess(std::string_view a, std::string_view b);
