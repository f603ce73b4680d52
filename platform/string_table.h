// The program's string table: every user-visible text by its numeric ID (resources/strings.txt).
#pragma once

#include <string>

#include "string_ids.h"

namespace platform {

// The text with this ID; empty when the table has none.
std::u16string LoadText(unsigned id);

}  // namespace platform
