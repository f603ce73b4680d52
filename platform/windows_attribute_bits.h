// Which Windows attribute bits file processing changes around a write. Portable so that the
// decision is tested in every build; its effect on the archive bit and on the change time shows
// on real Windows only.
#pragma once

#include <cstdint>
#include <optional>

namespace platform {

inline constexpr std::uint32_t kAttributeReadOnly = 0x1;  // FILE_ATTRIBUTE_READONLY
inline constexpr std::uint32_t kAttributeArchive = 0x20;  // FILE_ATTRIBUTE_ARCHIVE
inline constexpr std::uint32_t kAttributeNormal = 0x80;   // FILE_ATTRIBUTE_NORMAL

// The attributes that let a file be written: a set read-only bit cleared, the others kept.
// None when the file is writable as it is, so that nothing is changed and nothing is left to
// set back.
constexpr std::optional<std::uint32_t> AttributesForWrite(std::uint32_t saved) {
  if ((saved & kAttributeReadOnly) == 0)
    return std::nullopt;
  const std::uint32_t cleared = saved & ~kAttributeReadOnly;
  // Zero would leave the attributes as they are.
  return cleared == 0 ? kAttributeNormal : cleared;
}

// The attributes to set back after AttributesForWrite, or none when it changed nothing: the
// saved ones, and once the file was written the archive bit that the write set.
constexpr std::optional<std::uint32_t> AttributesAfterWrite(std::uint32_t saved, bool written) {
  if (!AttributesForWrite(saved))
    return std::nullopt;
  return written ? saved | kAttributeArchive : saved;
}

}  // namespace platform
