#include <algorithm>
#include <iterator>

#include "platform/string_table.h"

namespace platform {
namespace {

struct StringRow {
  unsigned id;
  const char16_t* text;
};

constexpr StringRow kRows[] = {
#include "string_table.inc"
};

}  // namespace

std::u16string LoadText(unsigned id) {
  auto row = std::find_if(std::begin(kRows), std::end(kRows),
                          [id](const StringRow& r) { return r.id == id; });
  return row == std::end(kRows) ? std::u16string() : std::u16string(row->text);
}

}  // namespace platform
