#include "processing/content_processing.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/file.h"
#include "platform/file_attributes.h"
#include "platform/string_table.h"
#include "processing/backup/backup_store.h"
#include "processing/binary_content.h"
#include "processing/byte_table.h"
#include "processing/change_lines.h"
#include "processing/confirmation.h"
#include "processing/file_coding.h"
#include "processing/file_outcome.h"
#include "processing/file_preview.h"
#include "processing/find_in_pieces.h"
#include "processing/line_breaks.h"
#include "processing/lossless_decoding.h"
#include "processing/match_lines.h"
#include "processing/preview_check.h"
#include "processing/search/plain_scan.h"
#include "processing/whole_file.h"
#include "text/code_page_conversion.h"
#include "processing/search/regex_driver.h"
#include "text/text_format.h"
#include "text/variables.h"

namespace {

// Whether the action with an empty find text throws the old text away.
bool ReplacesWholeText(ActionType action) {
  return action != ActionType::AddToBeginning && action != ActionType::AddToEnd;
}

// The whole text replaced, extended or emptied for an empty find text, after one question.
platform::ErrorCode ChangeWholeText(RunParameters& parameters, CFileResult& entry, TextBuffer& text,
                                    const std::u16string& replace) {
  const CFileResult::replace_info start{0, 0};
  const TextEdit edit = WholeTextEdit(parameters.action, text.length(), replace);
  const auto describe = [&] { return LinesOfChange(text.view(), 0, text.length(), edit); };
  if (!AskConfirmation(parameters, start, entry, describe))
    return 0;
  entry.matches.push_back(start);
  if (parameters.action == ActionType::FindOnly)
    return 0;
  return SpliceText(text, edit.removed, edit.start, edit.inserted) ? 0
                                                                   : platform::kErrorOutOfMemory;
}

platform::ErrorCode Decode(CodePage codePage, std::span<const unsigned char> bytes,
                           TextBuffer& text) {
  if (codePage == kCodePageUtf16Le)
    return BytesAsText(bytes.data(), bytes.size(), text) ? 0 : platform::kErrorOutOfMemory;
  ConvertedBuffer converted;
  size_t byteLength = 0;
  platform::ErrorCode error = platform::kErrorOutOfMemory;
  if (!ConvertText(false, converted, bytes.size(), bytes.data(), byteLength, codePage, &error))
    return error;
  text = std::move(converted.text);
  return 0;
}

// The bytes to write after any byte order mark: the text encoded, and an odd last byte of a
// UTF-16 input kept after it when the file is written in the same code page.
platform::ErrorCode Encode(const FileCoding& coding, std::span<const unsigned char> original,
                           const TextBuffer& text, ByteBuffer& bytes) {
  const CodePage output = coding.output;
  platform::ErrorCode error = platform::kErrorOutOfMemory;
  if (output == kCodePageUtf16Le) {
    if (!TextAsBytes(text.view(), bytes))
      return error;
  } else {
    ConvertedBuffer converted;
    size_t byteLength = 0;
    if (!ConvertText(true, converted, text.length(), text.data(), byteLength, output, &error))
      return error;
    bytes = std::move(converted.bytes);
  }
  const bool utf16 = output == kCodePageUtf16Le || output == kCodePageUtf16Be;
  if (utf16 && coding.input == output && original.size() % 2 == 1) {
    const size_t size = bytes.size();
    // Room for the byte and the two zero bytes that end a UTF-16 byte buffer.
    auto* block = static_cast<unsigned char*>(std::realloc(bytes.Release(), size + 3));
    if (!block)
      return platform::kErrorOutOfMemory;
    block[size] = original.back();
    block[size + 1] = 0;
    block[size + 2] = 0;
    bytes.Adopt(block, size + 1);
  }
  return 0;
}

bool HasSurrogates(std::u16string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char16_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; });
}

FileOutcome BackupFailed(const std::u16string& reason) {
  return FailedWith(FormatString(IDS_BACKUP_FAILED, {reason}));
}

// Writes the changed bytes, after the file's byte order mark, in place once the original is
// backed up; with batched writes the backup is only staged and the write waits in the outcome.
// After a failed write the old content is back, and so are its times. A preview only records
// the change.
FileOutcome WriteChanged(const RunParameters& parameters, ContentFile& file, ByteBuffer& bytes,
                         CFileResult& entry) {
  platform::ErrorCode error = PrefixMark(file.coding, bytes);
  if (error != 0)
    return Failed(error);
  if (parameters.preview) {
    RecordContentPreview(entry, file.original.view(), bytes.view(), file.coding.input,
                         file.coding.output);
    return MatchesFound(entry);
  }
  std::u16string reason;
  if (!file.backup.Stage(file.handle, file.original.view(), reason))
    return BackupFailed(reason);
  file.changed = std::move(bytes);
  if (file.backup.Staged()) {
    if (parameters.batchWrites) {
      file.writeWaits = true;
      return {};
    }
    if (!parameters.backup->MakeDurable(reason))
      return GiveUpPendingChange(file, reason);
  }
  return WritePendingChange(file, entry);
}

// Asks for each change; an accepted one keeps its line when `lines` is given.
MatchConsent ConsentOf(RunParameters& parameters, CFileResult& entry,
                       PlainMatchLines* lines = nullptr) {
  return [&parameters, &entry, lines](const CFileResult::replace_info& position,
                                       const ChangeDescription& describe) {
    if (!AskConfirmation(parameters, position, entry, describe))
      return false;
    if (lines)
      lines->Keep(entry, position);
    return true;
  };
}

// A plain search in a one-to-one single-byte code page (or in UTF-8 that is all ASCII), on the
// bytes as read. Find only needs no
// text; a file written back in the same code page is changed byte by byte. Returns false when
// the file needs its text after all: then nothing was recorded.
bool ProcessBytes(RunParameters& parameters, const platform::StopEvent& stop, CFileResult& entry,
                  ContentFile& file, const ByteTable& table, const std::u16string& find,
                  std::u16string& replace, FileOutcome& outcome) {
  const ProgramSettings& settings = parameters.settings;
  const std::span<const unsigned char> bytes = file.text();
  platform::ErrorCode error = 0;
  if (parameters.action == ActionType::FindOnly) {
    error = FindPlainTextInBytes(bytes, table, find, parameters.caseSensitive, entry.matches,
                                 static_cast<size_t>(-1), &stop);
    const LineSource source(bytes, table);
    PlainMatchLines(source, find.size(), {}, parameters.matchLineBytes).KeepRecorded(entry);
    outcome = error == 0 ? MatchesFound(entry) : Failed(error);
    return true;
  }
  if (file.coding.output != file.coding.input || HasSurrogates(replace)) {
    // The text is needed only when there is a match.
    std::vector<CFileResult::replace_info> first;
    error = FindPlainTextInBytes(bytes, table, find, parameters.caseSensitive, first, 1, &stop);
    if (error != 0 || first.empty()) {
      outcome = error == 0 ? MatchesFound(entry) : Failed(error);
      return true;
    }
    return false;
  }
  if (!replace.empty())
    ConvertLineBreaks(replace, ResolveNewLineMode(settings.newLineMode, bytes, table));
  ConvertedBuffer encoded;
  size_t byteLength = 0;
  if (!ConvertText(true, encoded, replace.size(), replace.data(), byteLength,
                   file.coding.output, &error)) {
    outcome = Failed(error);
    return true;
  }
  ByteBuffer changed;
  const LineSource source(bytes, table);
  PlainMatchLines lines(source, find.size(), {parameters.action, replace},
                        parameters.matchLineBytes);
  error = ChangePlainTextInBytes(bytes, table, parameters.action, find, encoded.bytes.view(),
                                 parameters.caseSensitive, ConsentOf(parameters, entry, &lines),
                                 entry.matches, changed, &stop);
  if (error != 0)
    outcome = Failed(error);
  else if (entry.matches.empty())
    outcome = MatchesFound(entry);
  else
    outcome = WriteChanged(parameters, file, changed, entry);
  return true;
}

// Everything between opening the file and closing it; the file stays open for the caller. The
// times to keep are those given, read before the file was first opened, or else the handle's.
FileOutcome ProcessOpenFile(RunParameters& parameters, const platform::StopEvent& stop,
                            CFileResult& entry, ContentFile& file, const std::u16string& find,
                            std::u16string& replace,
                            const std::optional<platform::FileTimes>& times) {
  // Find only reads a large file in pieces. A change, its preview and a regular expression
  // need the whole file in memory, and so does every file read here.
  if (ReadsInPieces(parameters, find, entry.size))
    return FindInPieces(parameters, stop, entry, file.handle, find);
  const ProgramSettings& settings = parameters.settings;
  const bool changes = parameters.action != ActionType::FindOnly;
  platform::File& handle = file.handle;
  platform::ErrorCode error = 0;
  if (times)
    file.times = *times;
  file.keepTimes = settings.keepFileDate && (times || handle.GetTimes(file.times, error));
  if ((error = ReadWholeFile(handle, file.original)) != 0)
    return Failed(error);
  if (ContentChangedSincePreview(parameters, entry, file.original.view())) {
    entry.listedWithoutMatches = true;
    return Processed(platform::LoadText(IDS_CHANGED_SINCE_PREVIEW));
  }
  // A changing run tested the file before opening it for writing.
  if (!changes && settings.skipBinaryFiles &&
      LooksBinary(file.original.view(), settings.inputCodePage))
    return SkippedAsBinary();
  if (!ChooseFileCoding(settings, file.original.view(), file.coding))
    return FailedWith(platform::LoadText(IDS_UTF32_NOT_SUPPORTED));

  ByteTable table;
  FileOutcome outcome;
  if (!parameters.useRegex && !find.empty() && ByteTableFor(file.coding.input, file.text(), table) &&
      ProcessBytes(parameters, stop, entry, file, table, find, replace, outcome))
    return outcome;

  TextBuffer text;
  if ((error = Decode(file.coding.input, file.text(), text)) != 0)
    return Failed(error);
  if (changes && !replace.empty())
    ConvertLineBreaks(replace, ResolveNewLineMode(settings.newLineMode, text.view()));

  if (find.empty()) {
    error = ChangeWholeText(parameters, entry, text, replace);
  } else if (parameters.useRegex) {
    error = ApplyRegexToText(parameters, entry, text, &stop);
  } else {
    // The lines are read from the text as given, which a change replaces only at the end.
    const LineSource source(text.view());
    PlainMatchLines lines(source, find.size(), {parameters.action, replace},
                          parameters.matchLineBytes);
    error = ScanPlainText(text, parameters.action, find, replace, parameters.caseSensitive,
                          ConsentOf(parameters, entry, &lines), entry.matches, &stop);
    if (error == 0 && !changes)
      lines.KeepRecorded(entry);
  }
  if (error != 0)
    return Failed(error);
  if (!changes || entry.matches.empty())
    return MatchesFound(entry);

  ByteBuffer bytes;
  if ((error = Encode(file.coding, file.text(), text, bytes)) != 0)
    return Failed(error);
  // Bytes that did not decode would be lost, unless the old text is thrown away as a whole.
  DecodingLoss loss = DecodingLoss::kNone;
  if (!(find.empty() && ReplacesWholeText(parameters.action)) &&
      (error = CheckDecodingLoss(file.coding.input, file.text(), loss)) != 0)
    return Failed(error);
  if (loss != DecodingLoss::kNone)
    return FailedWith(platform::LoadText(
        loss == DecodingLoss::kUndecodableBytes ? IDS_INVALID_INPUT_BYTES : IDS_NO_ROUND_TRIP));
  return WriteChanged(parameters, file, bytes, entry);
}

}  // namespace

unsigned AttributeSkipText(const platform::FileAttributes& attributes,
                           const ProgramSettings& settings, ActionType action) {
  if (!settings.replaceReadOnly && attributes.readOnly && action != ActionType::FindOnly)
    return IDS_FILE_READ_ONLY;
  if (!settings.searchHidden && attributes.hidden)
    return IDS_FILE_HIDDEN;
  if (!settings.searchOnlineOnly && attributes.onlineOnly)
    return IDS_FILE_ONLINE_ONLY;
  return 0;
}

namespace {

FileOutcome Process(RunParameters& parameters, const platform::StopEvent& stop,
                    CFileResult& entry) {
  const ProgramSettings& settings = parameters.settings;
  if (!parameters.confirmReplace && parameters.confirmState != ConfirmAnswer::YesToAll)
    parameters.confirmState = ConfirmAnswer::YesToAll;

  const std::u16string path = FullPathOf(entry);
  const bool changes = parameters.action != ActionType::FindOnly;
  platform::FileAttributes attributes;
  platform::ErrorCode attributesError = 0;
  const bool haveAttributes =
      changes ? platform::ReadFileAttributes(path, attributes, attributesError)
              : platform::ReadSearchAttributes(path, attributes, attributesError);

  std::u16string find = parameters.findText;
  std::u16string replace = parameters.replaceText;
  if (ExpandsFindVariables(parameters)) {
    if (!ExpandVariables(find, &entry))
      return FailedWith(FormatString(IDS_VARIABLE_PARSE_ERROR, {find}));
    if (ExpandsReplaceVariables(parameters) && !ExpandVariables(replace, &entry))
      return FailedWith(FormatString(IDS_VARIABLE_PARSE_ERROR, {replace}));
    // A find text whose variables expand to nothing finds nothing: it must not turn into the
    // empty find text, which stands for the whole content.
    if (find.empty() && !parameters.findText.empty())
      return MatchesFound(entry);
  }

  if (find.empty() && parameters.action == ActionType::FindOnly) {
    // Every file matches the whole content unread. With binary files skipped, a head that can
    // be read is looked at first (not an online-only file's, which reading would download); a
    // file that cannot be read is listed all the same.
    if (settings.skipBinaryFiles && !(haveAttributes && attributes.onlineOnly)) {
      std::basic_string<unsigned char> head;
      if (ReadFileHead(path, head, nullptr) == 0 && LooksBinary(head, settings.inputCodePage))
        return SkippedAsBinary();
    }
    entry.matches.push_back({0, 0});
    return MatchesFound(entry);
  }
  if (!haveAttributes)
    return Failed(attributesError);
  if (const unsigned skipText = AttributeSkipText(attributes, settings, parameters.action))
    return Processed(platform::LoadText(skipText));

  // Find only never touches the attributes, and lets others go on writing and deleting the
  // file; a change is never written while another may write. A binary file is never opened for
  // writing. A preview opens as a change would but only for reading, and leaves the attributes as
  // they are.
  const bool writes = changes && !parameters.preview;
  std::optional<platform::FileTimes> times;
  if (changes && settings.skipBinaryFiles) {
    std::basic_string<unsigned char> head;
    if (settings.keepFileDate)
      times.emplace();
    if (const platform::ErrorCode error = ReadFileHead(path, head, times ? &*times : nullptr))
      return Failed(error);
    if (LooksBinary(head, settings.inputCodePage))
      return SkippedAsBinary();
  }
  auto file = std::make_unique<ContentFile>(parameters.backup, path, attributes);
  if (writes)
    file->writeAttributes.emplace(path, attributes);
  platform::ErrorCode error = 0;
  if (!file->handle.Open(path, writes ? platform::FileAccess::ReadWrite : platform::FileAccess::Read,
                         changes ? platform::FileShare::Read : platform::FileShare::All, error))
    return Failed(error);
  FileOutcome outcome = ProcessOpenFile(parameters, stop, entry, *file, find, replace, times);
  if (file->writeWaits)
    outcome.pendingWrite = std::move(file);
  return outcome;
}

}  // namespace

FileOutcome WritePendingChange(ContentFile& file, CFileResult& entry) {
  const platform::ErrorCode error =
      WriteWholeFile(file.handle, file.changed.view(), file.original.view());
  file.backup.After(error == 0, file.changed.view());
  platform::ErrorCode ignored = 0;
  if (file.keepTimes)
    file.handle.SetTimes(file.times, ignored);
  if (file.writeAttributes)
    file.writeAttributes->written = true;
  FileOutcome outcome = error == 0 ? MatchesFound(entry) : Failed(error);
  outcome.written = true;
  return outcome;
}

FileOutcome GiveUpPendingChange(ContentFile& file, const std::u16string& reason) {
  file.backup.GiveUp();
  return BackupFailed(reason);
}

FileOutcome ProcessContent(RunParameters& parameters, const platform::StopEvent& stop,
                           CFileResult& entry) {
  try {
    return Process(parameters, stop, entry);
  } catch (const std::bad_alloc&) {
    return Failed(platform::kErrorOutOfMemory);
  }
}
