#include "platform/posix/single_byte_tables.h"

#include <memory>
#include <mutex>
#include <new>

#include "platform/posix/icu_converter.h"

namespace platform {
namespace {

constexpr int kSurrogateFirst = 0xD800;
constexpr int kSurrogateCount = 0x800;
constexpr int kNonSurrogateCount = 0x10000 - kSurrogateCount;

char16_t NonSurrogate(int index) {
  return static_cast<char16_t>(index < kSurrogateFirst ? index : index + kSurrogateCount);
}

bool IsSingleByte(UConverter* converter) {
  const UConverterType type = ucnv_getType(converter);
  return (type == UCNV_SBCS || type == UCNV_LATIN_1 || type == UCNV_US_ASCII) &&
         ucnv_getMaxCharSize(converter) == 1;
}

// Every byte in one pass; each must give exactly one unit.
bool FillUnits(UConverter* converter, SingleByteTable& table) {
  char bytes[0x100];
  for (int b = 0; b < 0x100; ++b)
    bytes[b] = static_cast<char>(b);
  int32_t offsets[0x100];
  char16_t* target = table.units;
  const char* source = bytes;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_toUnicode(converter, &target, table.units + 0x100, &source, bytes + 0x100, offsets, true,
                 &status);
  if (U_FAILURE(status) || target != table.units + 0x100)
    return false;
  for (int b = 0; b < 0x100; ++b) {
    if (offsets[b] != b)
      return false;
  }
  return true;
}

// Every unit outside the surrogates in one pass; each gives one byte or none.
bool FillBytes(UConverter* converter, SingleByteTable& table) {
  std::unique_ptr<char16_t[]> units(new (std::nothrow) char16_t[kNonSurrogateCount]);
  std::unique_ptr<char[]> bytes(new (std::nothrow) char[kNonSurrogateCount]);
  std::unique_ptr<int32_t[]> offsets(new (std::nothrow) int32_t[kNonSurrogateCount]);
  if (!units || !bytes || !offsets)
    return false;
  for (int i = 0; i < kNonSurrogateCount; ++i)
    units[i] = NonSurrogate(i);
  char* target = bytes.get();
  const char16_t* source = units.get();
  UErrorCode status = U_ZERO_ERROR;
  ucnv_fromUnicode(converter, &target, target + kNonSurrogateCount, &source,
                   source + kNonSurrogateCount, offsets.get(), true, &status);
  if (U_FAILURE(status))
    return false;
  for (int unit = 0; unit < 0x10000; ++unit)
    table.bytes[unit] = SingleByteTable::kNotAByte;
  const int32_t length = static_cast<int32_t>(target - bytes.get());
  for (int32_t i = 0; i < length; ++i) {
    std::uint16_t& entry = table.bytes[NonSurrogate(offsets[i])];
    if (entry != SingleByteTable::kNotAByte)
      return false;  // two bytes for one unit
    entry = static_cast<unsigned char>(bytes[i]);
  }
  return true;
}

std::unique_ptr<SingleByteTable> BuildTable(const IcuCodePage& codePage) {
  ErrorCode error = 0;
  IcuConverter converter = OpenIcuConverter(codePage, error);
  if (!converter || !IsSingleByte(converter.get()))
    return nullptr;
  std::unique_ptr<SingleByteTable> table(new (std::nothrow) SingleByteTable);
  if (!table || !FillUnits(converter.get(), *table) || !FillBytes(converter.get(), *table))
    return nullptr;
  table->asciiUnchanged = true;
  for (int c = 0; c < 0x80; ++c)
    table->asciiUnchanged = table->asciiUnchanged && table->units[c] == c && table->bytes[c] == c;
  return table;
}

struct TableSlot {
  std::once_flag built;
  std::unique_ptr<SingleByteTable> table;
};

}  // namespace

const SingleByteTable* FindSingleByteTable(const IcuCodePage& codePage) {
  static const std::unique_ptr<TableSlot[]> slots(new (std::nothrow)
                                                      TableSlot[IcuCodePages().size()]);
  if (!slots)
    return nullptr;
  TableSlot& slot = slots[&codePage - IcuCodePages().data()];
  std::call_once(slot.built, [&] { slot.table = BuildTable(codePage); });
  return slot.table.get();
}

}  // namespace platform
