// The ICU converter that stands in for each code page number of the program's catalogue.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform {

struct IcuCodePage {
  std::int32_t codePage;
  const char* converterName;
};

// Every code page that has a converter, each once; 0 is UTF-8, 1 IBM 437, 2 Mac Roman.
std::span<const IcuCodePage> IcuCodePages();

// The row of codePage in IcuCodePages(), or null when no converter stands in for it.
const IcuCodePage* FindIcuCodePage(std::int32_t codePage);

}  // namespace platform
