#pragma once

#include <string>
#include <string_view>
#include <vector>

// The comma-text rules the CSV data file is read with, applied to one line
// (without its line end):
// - a field ends at "," and at any character of code 1 to 32, so a blank
//   inside an unquoted name splits it;
// - blanks and control characters before a field and around a "," are
//   skipped;
// - a field that begins with a double quote runs to the matching double
//   quote, may hold commas and blanks, and reads a doubled double quote as
//   one; without a closing quote it runs to the end of the line;
// - an empty field between two commas, or after a "," that ends the line,
//   is an empty string (a "," followed only by blanks adds none);
// - an empty line gives no fields; the text ends at a NUL character.
std::vector<std::string> SplitCommaText(std::string_view line);

// One line of fields that SplitCommaText reads back exactly: a field holding
// a blank, a control character, a comma or a double quote is written in
// double quotes with its inner quotes doubled, and so is a line's only field
// when it is empty (an empty line would give no field at all). Every other
// field is written as it stands. Fields must not hold a line feed or a NUL.
std::string JoinCommaText(const std::vector<std::string> &fields);
