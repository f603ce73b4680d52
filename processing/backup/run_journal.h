// The journal of one run's backups: what a run changed and how far each change got, as the
// lines of a text file (UTF-8, one record per line, fields separated by tabs; text fields escape
// backslash, tab, line breaks and unpaired surrogates as \\, \t, \n, \r and \uXXXX).
//
//   voxalon-journal 1
//   run      <started> <action> <rename 0|1> <search paths>
//   content  <id> <offset> <size> <hash> <attributes> <read-only> <times...> <path>
//   delete   <id> <offset> <size> <hash> <attributes> <read-only> <times...> <path>
//   rename   <id> <path> <new path>
//   done     <id> [<new size> <new hash>]     the change is complete
//   failed   <id>                             the change failed; the original is back
//   restoring <id>  /  restored <id>          an undo's progress on the entry
//   end                                       the run ended (the process did not die)
//   undone                                    the run was taken back
//
// <times...> is: <known 0|1> <creation> <last access> <last write> <creation known 0|1>.
// Offsets and sizes locate the original bytes in the run's data file; hashes are XXH3 in hex.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file.h"
#include "platform/file_attributes.h"

enum class JournalEntryKind { Content, Deletion, Rename };

enum class JournalEntryState {
  Started,    // backed up; the change may be half done
  Done,       // the change is complete
  Failed,     // the change failed and was taken back at once
  Restoring,  // an undo began to put the original back
  Restored,   // the original is back
};

struct JournalEntry {
  int id = 0;
  JournalEntryKind kind = JournalEntryKind::Content;
  JournalEntryState state = JournalEntryState::Started;
  std::u16string path;
  std::u16string newPath;  // Rename
  // Content and Deletion: the original bytes in the data file, and their hash.
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
  std::uint64_t hash = 0;
  platform::FileAttributes attributes;
  bool timesKnown = false;
  platform::FileTimes times;
  // Content, once done: what the run wrote.
  std::uint64_t newSize = 0;
  std::uint64_t newHash = 0;
};

struct RunJournal {
  platform::FileTime started = 0;
  std::int32_t action = 0;
  bool renameMode = false;
  std::u16string searchPaths;
  std::vector<JournalEntry> entries;
  bool ended = false;
  bool undone = false;
};

// The lines of the records, each ending in a line feed.
std::string JournalHeaderLines(const RunJournal& run);
std::string JournalEntryLine(const JournalEntry& entry);
// done / failed / restoring / restored; "done" of a content entry carries the new size and hash.
std::string JournalStateLine(const JournalEntry& entry);
std::string JournalEndLine();
std::string JournalUndoneLine();

// Reads a journal's text. Unknown or damaged lines are skipped (a line cut short by a crash is
// the last one). False when the text is no journal.
bool ParseRunJournal(std::string_view text, RunJournal& run);

// Whether the entry's file may have been left half-changed by the program itself.
inline bool MayBeHalfDone(const JournalEntry& entry) {
  return entry.state == JournalEntryState::Started || entry.state == JournalEntryState::Restoring;
}
