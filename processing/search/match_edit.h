// The edit an action makes at a match: the one rule the plain scan, the regular expression loop
// and the name search follow, and the question that describes the change.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "run/record/run_types.h"

// One change of a text: `removed` units at `start` give way to `inserted`.
template <class T>
struct BasicTextEdit {
  size_t start = 0;
  size_t removed = 0;
  std::basic_string_view<T> inserted;

  size_t end() const { return start + removed; }
};

using TextEdit = BasicTextEdit<char16_t>;

// The edit `action` makes for the match [start, end) of a text of `length` units with the
// replacement `replace`; FindOnly makes an empty one at the match.
template <class T>
BasicTextEdit<T> EditOfAction(ActionType action, size_t start, size_t end, size_t length,
                              std::basic_string_view<T> replace) {
  switch (action) {
    case ActionType::Replace:
      return {start, end - start, replace};
    case ActionType::Delete:
      return {start, end - start, {}};
    case ActionType::PlaceBefore:
      return {start, 0, replace};
    case ActionType::PlaceAfter:
      return {end, 0, replace};
    case ActionType::AddToBeginning:
      return {0, 0, replace};
    case ActionType::AddToEnd:
      return {length, 0, replace};
    case ActionType::FindOnly:
      break;
  }
  return {start, 0, {}};
}

TextEdit EditOfAction(ActionType action, size_t start, size_t end, size_t length,
                      std::u16string_view replace);

// Whether the action changes the text at its first accepted match only.
constexpr bool ChangesOncePerText(ActionType action) {
  return action == ActionType::AddToBeginning || action == ActionType::AddToEnd;
}

// Where the search goes on once `edit` is made for the match ending at `matchEnd`: after both
// the match and the inserted text, in the changed text.
template <class T>
size_t ResumeAfterEdit(const BasicTextEdit<T>& edit, size_t matchEnd) {
  return std::max(edit.end(), matchEnd) + edit.inserted.size() - edit.removed;
}

// The edit an action makes when an empty find text stands for the whole text.
TextEdit WholeTextEdit(ActionType action, size_t length, std::u16string_view replace);
