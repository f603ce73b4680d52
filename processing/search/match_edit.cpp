#include "processing/search/match_edit.h"

TextEdit EditOfAction(ActionType action, size_t start, size_t end, size_t length,
                      std::u16string_view replace) {
  return EditOfAction<char16_t>(action, start, end, length, replace);
}

TextEdit WholeTextEdit(ActionType action, size_t length, std::u16string_view replace) {
  const bool replacesAll = action == ActionType::PlaceBefore || action == ActionType::PlaceAfter;
  return EditOfAction(replacesAll ? ActionType::Replace : action, 0, length, length, replace);
}
