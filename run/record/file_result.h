// One file found by a run: what the walk saw, what processing did, and the matches it recorded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/calendar_time.h"
#include "platform/path_separator.h"

// Why a run passed over a file (or a folder) without processing it.
enum class SkipReason : std::int32_t {
  None = 0,
  Binary = 1,    // its first bytes hold a zero byte
  Excluded = 2,  // an exclusion takes it
  Size = 3,      // outside the size limits
  Date = 4,      // outside the date limits
};
inline constexpr int kSkipReasons = 5;
// A text shown with one part of it marked, [markStart, markEnd).
struct MarkedText {
  std::u16string text;
  size_t markStart = 0;
  size_t markEnd = 0;
};

// One change shown before it is made: the lines it touches as they are, with the match marked,
// and as they would be, with what the change puts in marked.
struct ChangeLines {
  MarkedText before;
  MarkedText after;
};

// What a preview run found it would do to a file instead of doing it.
struct FilePreview {
  // Content: the bytes as read and as they would be written, and the code pages of the two.
  std::string before;
  std::string after;
  std::int32_t readCodePage = 0;
  std::int32_t writeCodePage = 0;
  // Rename mode: the name the file would get, or toRecycleBin.
  std::u16string newName;
  bool renames = false;
  bool toRecycleBin = false;
};

// The line of a recorded match as a run keeps it, cut to a window around the match ("…" where
// cut): as found, and for a changing action also as the change leaves it. The marks are unit
// ranges of the match in `before` and of what the change put in its place in `after`.
struct MatchLine {
  std::u16string before;
  std::u16string after;
  std::uint32_t beforeMark = 0;
  std::uint32_t beforeMarkLength = 0;
  std::uint32_t afterMark = 0;
  std::uint32_t afterMarkLength = 0;
  bool changed = false;
};

struct CFileResult {
  // One recorded match, counted from 0: line breaks before it, units since the last of them.
  struct replace_info {
    std::int64_t line = 0;
    std::int64_t character = 0;
  };

  std::u16string name;
  std::u16string typeName;
  std::uint64_t size = 0;
  CalendarTime modified;
  std::u16string resultText;
  std::u16string folder;
  std::vector<replace_info> matches;
  SkipReason skipped = SkipReason::None;
  // Set by a preview run when the file would be changed, renamed or deleted.
  std::unique_ptr<FilePreview> preview;
  // The change a confirmation question is about, set only while the question is asked.
  const ChangeLines* askedChange = nullptr;
  // lines[i] belongs to matches[i]; only the first matches of a file keep their lines.
  std::vector<MatchLine> lines;
  // Listed although it has no match: the row of a file that Undo restored or skipped, or that an
  // apply left alone because it changed after its preview.
  bool listedWithoutMatches = false;
};

// Whether the results show the file: a file is listed for its matches, or as a row of its own.
inline bool IsListedResult(const CFileResult& file) {
  return !file.matches.empty() || file.listedWithoutMatches;
}

inline std::u16string FullPathOf(const CFileResult& file) {
  return platform::JoinPath(file.folder, file.name);
}
