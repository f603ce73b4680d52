// The recent entries of a text field (find, replace, masks), newest first, and their stored form.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

inline constexpr size_t kTextHistoryLength = 20;

// Puts the entry first, dropping an equal older one and what lies past the limit. An empty
// entry changes nothing.
void RememberEntry(std::vector<std::u16string>& history, const std::u16string& entry,
                   size_t limit = kTextHistoryLength);

// An entry as a menu shows it on one line: line breaks as "\u21B5", a tab as a space, "&" doubled
// (else it marks a key), cut after kHistoryLabelUnits units with "\u2026".
inline constexpr size_t kHistoryLabelUnits = 80;
std::u16string HistoryEntryLabel(const std::u16string& entry);

// The entries as bytes: for each, its number of units (32 bits, least significant byte first)
// and its units (16 bits each, the same order). Any text may be an entry, line breaks included.
std::vector<unsigned char> EncodeHistory(const std::vector<std::u16string>& history);
// False, leaving `history` as it is, for bytes that are not such a list or hold more than
// kTextHistoryLength entries.
bool DecodeHistory(const std::vector<unsigned char>& bytes, std::vector<std::u16string>& history);
