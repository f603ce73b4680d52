// Lookup tables for the single-byte code pages, built once from ICU's own mapping so that a
// table conversion gives exactly what the ICU converter gives.
#pragma once

#include <cstdint>

#include "platform/posix/icu_code_pages.h"

namespace platform {

struct SingleByteTable {
  // A surrogate, or a unit that ICU converts to no byte at all (it drops default-ignorable
  // characters that the code page lacks): texts holding one need ICU itself.
  static constexpr std::uint16_t kNotAByte = 0x100;

  char16_t units[0x100];         // the unit of every byte
  std::uint16_t bytes[0x10000];  // the byte of every unit, or kNotAByte
  bool asciiUnchanged;           // bytes and units 0 to 127 map to themselves
};

// The table of a stateless single-byte code page, whose every byte decodes to one unit; null
// for any other code page or when the table cannot be built. codePage is a row of
// IcuCodePages(). Safe to call from any thread.
const SingleByteTable* FindSingleByteTable(const IcuCodePage& codePage);

}  // namespace platform
