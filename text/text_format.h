// printf-style formatting of the string table's texts, which use %d, %s and %%.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

using FormatArg = std::variant<std::int64_t, std::u16string_view>;

// Replaces each %d by the next argument as a decimal number and each %s by the next argument's
// text; %% gives one percent sign. A directive without an argument of its kind, or any other
// directive, is copied as it stands.
std::u16string FormatText(std::u16string_view pattern, std::initializer_list<FormatArg> args);

// The string-table text with this ID, formatted with the arguments.
std::u16string FormatString(unsigned id, std::initializer_list<FormatArg> args);

// ASCII text to UTF-16, for numbers and fixed names built in code.
std::u16string AsciiToText(std::string_view ascii);
