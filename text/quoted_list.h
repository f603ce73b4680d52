// The one-line list syntax of the search path and mask fields and of the stored recent folders:
// items separated by commas, each optionally in double quotes, blanks around items ignored.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits a list text into its items. Every comma separates, also one between quotes. Fails, with
// `out` left empty, on an empty text or on an item that is empty once blanks and its enclosing
// quotes are removed. `out` is replaced, never appended to.
bool ParseQuotedList(std::u16string_view text, std::vector<std::u16string>& out);

// Writes every item between double quotes, separated by commas, without blanks.
std::u16string JoinQuotedList(const std::vector<std::u16string>& items);

// White space as the Windows runtime's iswspace classifies it: the ASCII blanks and the Unicode
// space characters, whatever the platform the program runs on.
bool IsListBlank(char16_t c);
