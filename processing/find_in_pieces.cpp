#include "processing/find_in_pieces.h"

#include <algorithm>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/string_table.h"
#include "processing/binary_content.h"
#include "processing/byte_table.h"
#include "processing/file_coding.h"
#include "processing/match_lines.h"
#include "processing/search/growing_block.h"
#include "processing/search/plain_matcher.h"
#include "processing/search/plain_scan.h"
#include "text/code_page_conversion.h"

namespace {

PieceSizes pieceSizes = kPieceSizes;

// Units kept before where the next search starts: a match's line shows up to
// kMatchContextUnits of them, and one more tells whether the line begins earlier.
constexpr size_t kContext = kMatchContextUnits + 4;

// How a piece of the file's bytes becomes text to search.
enum class Reading {
  Bytes,  // a one-to-one single-byte code page: the bytes are searched as they are
  Utf8,   // as bytes where they are all ASCII, else decoded; cut after an ASCII byte
  Utf16,  // decoded; cut at an even byte
  Whole,  // decoded once the whole file is read: a code page cut anywhere may decode otherwise
};

Reading ReadingOf(CodePage codePage, ByteTable& table) {
  static constexpr unsigned char kAscii[] = {'a'};
  if (codePage == kCodePageUtf16Le || codePage == kCodePageUtf16Be)
    return Reading::Utf16;
  if (OneToOneByteTable(codePage, table))
    return Reading::Bytes;
  if (ByteTableFor(codePage, kAscii, table))
    return Reading::Utf8;
  return Reading::Whole;
}

// The search of one file. The window holds the text from a little before where the next search
// starts to the end of what is read and decoded: as bytes while the table reads them, else as
// UTF-16 units. Bytes read but not decoded yet wait in `pending`. The blocks come from the
// thread's kept blocks (KeptBlocksScope), so that they serve file after file.
class PieceSearch {
 public:
  PieceSearch(RunParameters& parameters, const platform::StopEvent& stop, CFileResult& entry,
              const std::u16string& find)
      : parameters_(parameters),
        stop_(stop),
        entry_(entry),
        find_(find),
        finder_(find, parameters.caseSensitive),
        runBytesBefore_(parameters.matchLineBytes) {}

  FileOutcome Run(platform::File& handle);

 private:
  size_t Length() const { return inUnits_ ? units_.size() : bytes_.size(); }
  char16_t At(size_t i) const { return inUnits_ ? units_.data()[i] : table_[bytes_.data()[i]]; }
  std::span<const unsigned char> Bytes() const { return {bytes_.data(), bytes_.size()}; }
  std::u16string_view Units() const { return {units_.data(), units_.size()}; }

  platform::ErrorCode Read(platform::File& handle, GrowingBlock<unsigned char>& into, size_t count);
  platform::ErrorCode ReadPiece(platform::File& handle, size_t count);
  platform::ErrorCode TakePending();
  bool Widen();
  void Narrow();
  platform::ErrorCode Search(TextPart& part);
  void MoveOn(const TextPart& part);
  FileOutcome ReadFailed(platform::ErrorCode error);

  RunParameters& parameters_;
  const platform::StopEvent& stop_;
  CFileResult& entry_;
  const std::u16string& find_;
  const plain_match::MatchFinder finder_;
  const size_t runBytesBefore_;

  CodePage codePage_ = 0;
  Reading reading_ = Reading::Bytes;
  ByteTable table_{};
  bool end_ = false;
  GrowingBlock<unsigned char> pending_;
  GrowingBlock<unsigned char> bytes_;
  GrowingBlock<char16_t> units_;
  bool inUnits_ = false;
  // The position of the window's first unit, and where in the window the next search starts.
  plain_match::Counters base_;
  size_t from_ = 0;
  std::vector<CFileResult::replace_info> found_;
  std::vector<size_t> starts_;
};

// Reads up to `count` bytes after those `into` holds; sets end_ at the end of the file, which a
// short read of a disk file is.
platform::ErrorCode PieceSearch::Read(platform::File& handle, GrowingBlock<unsigned char>& into,
                                      size_t count) {
  unsigned char* room = into.Room(count);
  if (!room)
    return platform::kErrorOutOfMemory;
  size_t filled = 0;
  platform::ErrorCode error = 0;
  while (filled < count) {
    size_t done = 0;
    const size_t asked = count - filled;
    if (!handle.Read(room + filled, asked, done, error))
      return error;
    filled += done;
    if (done == 0 || (done < asked && handle.ShortReadEnds())) {
      end_ = true;
      break;
    }
  }
  into.Extend(filled);
  return 0;
}

// Reads the next piece: straight into the window while it holds bytes and nothing waits to be
// decoded, else after the bytes that wait. UTF-8 that is not all ASCII waits too.
platform::ErrorCode PieceSearch::ReadPiece(platform::File& handle, size_t count) {
  const bool direct = reading_ == Reading::Bytes ||
                      (reading_ == Reading::Utf8 && !inUnits_ && pending_.size() == 0);
  GrowingBlock<unsigned char>& into = direct ? bytes_ : pending_;
  const size_t had = into.size();
  if (const platform::ErrorCode error = Read(handle, into, count))
    return error;
  if (!direct || reading_ == Reading::Bytes)
    return 0;
  const std::span<const unsigned char> piece(bytes_.data() + had, bytes_.size() - had);
  ByteTable ascii;
  if (ByteTableFor(codePage_, piece, ascii))
    return 0;
  if (!pending_.Append(piece.data(), piece.size()))
    return platform::kErrorOutOfMemory;
  bytes_.Truncate(had);
  return 0;
}

// Moves the pending bytes that decode alone into the window: UTF-16 up to an even byte, UTF-8 up
// to and with the last ASCII byte (where no sequence can be cut), everything at the end.
platform::ErrorCode PieceSearch::TakePending() {
  const unsigned char* bytes = pending_.data();
  size_t count = pending_.size();
  if (!end_) {
    if (reading_ == Reading::Utf16) {
      count &= ~size_t{1};
    } else if (reading_ == Reading::Utf8) {
      while (count > 0 && bytes[count - 1] >= 0x80)
        --count;
    } else {
      count = 0;
    }
  }
  if (count == 0)
    return 0;
  const std::span<const unsigned char> taken(bytes, count);
  ByteTable ascii;
  const bool asBytes = reading_ == Reading::Utf8 && ByteTableFor(codePage_, taken, ascii);
  if (asBytes && inUnits_)
    Narrow();
  if (asBytes && !inUnits_) {
    if (!bytes_.Append(bytes, count))
      return platform::kErrorOutOfMemory;
  } else {
    if (!inUnits_ && !Widen())
      return platform::kErrorOutOfMemory;
    ConvertedBuffer converted;
    size_t byteLength = 0;
    platform::ErrorCode error = platform::kErrorOutOfMemory;
    if (!ConvertText(false, converted, count, bytes, byteLength, codePage_, &error))
      return error;
    if (!units_.Append(converted.text.data(), converted.text.length()))
      return platform::kErrorOutOfMemory;
  }
  pending_.DropFront(count);
  return 0;
}

// The window as units, for text that needs decoding.
bool PieceSearch::Widen() {
  const size_t length = bytes_.size();
  char16_t* room = units_.Room(length);
  if (!room)
    return false;
  for (size_t i = 0; i < length; ++i)
    room[i] = table_[bytes_.data()[i]];
  units_.Extend(length);
  bytes_.Clear();
  inUnits_ = true;
  return true;
}

// The window back to bytes, when its units are all ASCII.
void PieceSearch::Narrow() {
  const std::u16string_view units = Units();
  if (std::any_of(units.begin(), units.end(), [](char16_t unit) { return unit >= 0x80; }))
    return;
  unsigned char* room = bytes_.Room(units.size());
  if (!room)
    return;
  for (size_t i = 0; i < units.size(); ++i)
    room[i] = static_cast<unsigned char>(units[i]);
  bytes_.Extend(units.size());
  units_.Clear();
  inUnits_ = false;
}

// Searches the part of the window and records its matches, with their lines while the file and
// the run keep lines.
platform::ErrorCode PieceSearch::Search(TextPart& part) {
  found_.clear();
  starts_.clear();
  part.starts = &starts_;
  const bool caseSensitive = parameters_.caseSensitive;
  const platform::ErrorCode error =
      inUnits_ ? FindPlainTextInPart(Units(), find_, caseSensitive, part, found_, &stop_)
               : FindPlainTextInPart(Bytes(), table_, find_, caseSensitive, part, found_, &stop_);
  const LineSource source = inUnits_ ? LineSource(Units()) : LineSource(Bytes(), table_);
  PlainMatchLines lines(source, find_.size(), {}, parameters_.matchLineBytes);
  for (size_t i = 0; i < found_.size(); ++i) {
    const CFileResult::replace_info& at = found_[i];
    const bool firstLine = at.line == 0;
    entry_.matches.push_back(
        {base_.line + at.line, firstLine ? base_.character + at.character : at.character});
    // Lines are kept for the first matches only, and only while none was left out.
    if (entry_.lines.size() + 1 == entry_.matches.size())
      lines.KeepAt(entry_, starts_[i]);
  }
  return error;
}

// Drops the window's text before the context of the next search, which starts where the
// search of the whole text would look next: after the part, or after a match that reached
// beyond it. The window never starts at the LF of a CR LF pair, which would count as a break.
void PieceSearch::MoveOn(const TextPart& part) {
  const size_t resume = std::max(part.until, part.matchedTo);
  size_t start = resume > kContext ? resume - kContext : 0;
  if (start > 0 && At(start) == u'\n' && At(start - 1) == u'\r')
    --start;
  if (inUnits_) {
    base_.Advance(plain_match::UnitSource(units_.data(), units_.size()), 0, start);
    units_.DropFront(start);
  } else {
    base_.Advance(plain_match::ByteSource(Bytes(), table_, finder_.filter()), 0, start);
    bytes_.DropFront(start);
  }
  from_ = resume - start;
}

// A file that could not be read to its end is reported as one that could not be read at all.
FileOutcome PieceSearch::ReadFailed(platform::ErrorCode error) {
  entry_.matches.clear();
  entry_.lines.clear();
  parameters_.matchLineBytes = runBytesBefore_;
  return Failed(error);
}

FileOutcome PieceSearch::Run(platform::File& handle) {
  const ProgramSettings& settings = parameters_.settings;
  const size_t piece = pieceSizes.piece;
  // The head is read first, as much of it as the binary test looks at.
  platform::ErrorCode error = Read(handle, bytes_, std::max(piece, kBinarySniffSize));
  if (error != 0)
    return ReadFailed(error);
  const std::span<const unsigned char> head = Bytes();
  if (settings.skipBinaryFiles && LooksBinary(head, settings.inputCodePage))
    return SkippedAsBinary();
  FileCoding coding;
  if (!ChooseFileCoding(settings, head, coding))
    return FailedWith(platform::LoadText(IDS_UTF32_NOT_SUPPORTED));
  codePage_ = coding.input;
  reading_ = ReadingOf(codePage_, table_);
  bytes_.DropFront(ByteOrderMarkBytes(coding.mark).size());
  ByteTable ascii;
  const bool asBytes = reading_ == Reading::Bytes ||
                       (reading_ == Reading::Utf8 && ByteTableFor(codePage_, Bytes(), ascii));
  if (!asBytes) {
    if (!pending_.Append(bytes_.data(), bytes_.size()))
      return Failed(platform::kErrorOutOfMemory);
    bytes_.Clear();
  }
  // A match is settled, line and all, when the window holds this much after its start.
  const size_t margin = 2 * find_.size() + kContext;
  for (;;) {
    if ((error = TakePending()) != 0)
      return Failed(error);
    const size_t length = Length();
    if (end_ || length > from_ + margin) {
      TextPart part{from_, end_ ? length : length - margin, from_};
      if ((error = Search(part)) != 0)
        return Failed(error);
      if (end_)
        return MatchesFound(entry_);
      MoveOn(part);
    }
    if (stop_.IsSet())
      return Failed(platform::kErrorCancelled);
    if ((error = ReadPiece(handle, piece)) != 0)
      return ReadFailed(error);
  }
}

}  // namespace

PieceSizes SetPieceSizes(PieceSizes sizes) {
  return std::exchange(pieceSizes, sizes);
}

bool ReadsInPieces(const RunParameters& parameters, const std::u16string& find,
                   std::uint64_t listedSize) {
  if (parameters.action != ActionType::FindOnly || parameters.useRegex || parameters.preview ||
      find.empty() || listedSize <= pieceSizes.threshold)
    return false;
  ByteTable table;
  return ReadingOf(parameters.settings.inputCodePage, table) != Reading::Whole;
}

FileOutcome FindInPieces(RunParameters& parameters, const platform::StopEvent& stop,
                         CFileResult& entry, platform::File& handle, const std::u16string& find) {
  PieceSearch search(parameters, stop, entry, find);
  return search.Run(handle);
}
