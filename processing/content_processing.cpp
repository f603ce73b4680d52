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
#include "processing/byte_table.h"
#include "processing/confirmation.h"
#include "processing/line_breaks.h"
#include "processing/lossless_decoding.h"
#include "processing/match_lines.h"
#include "processing/plain_scan.h"
#include "processing/whole_file.h"
#include "run/search_worker.h"
#include "text/code_page_conversion.h"
#include "text/regex/regex_driver.h"
#include "text/text_format.h"
#include "text/variables.h"

namespace {

struct Outcome {
  ResultStatus status = ResultStatus::FileResult;
  std::u16string text;
  bool written = false;  // the file was written to
};

Outcome Processed(std::u16string text) {
  return {ResultStatus::FileResult, std::move(text)};
}

Outcome Failed(platform::ErrorCode error) {
  std::u16string text;
  FormatSystemError(error, text);
  return {ResultStatus::FileError, std::move(text)};
}

std::u16string MatchesFound(const CFileResult& entry) {
  return FormatString(IDS_MATCHES_FOUND, {static_cast<std::int64_t>(entry.matches.size())});
}

// Makes a read-only file writable for a changing run, and sets the saved attributes back when
// processing leaves, whichever way.
class WriteAttributes {
 public:
  WriteAttributes(const std::u16string& path, const platform::FileAttributes& attributes)
      : path_(path), attributes_(attributes) {
    platform::ErrorCode ignored = 0;
    platform::ClearAttributesForWrite(path_, attributes_, ignored);
  }
  ~WriteAttributes() {
    platform::ErrorCode ignored = 0;
    platform::RestoreFileAttributes(path_, attributes_, written, ignored);
  }
  WriteAttributes(const WriteAttributes&) = delete;
  WriteAttributes& operator=(const WriteAttributes&) = delete;

  bool written = false;

 private:
  const std::u16string& path_;
  const platform::FileAttributes& attributes_;
};

// Whether the action with an empty find text throws the old text away.
bool ReplacesWholeText(ActionType action) {
  return action != ActionType::AddToBeginning && action != ActionType::AddToEnd;
}

// The whole text replaced, extended or emptied for an empty find text, after one question.
platform::ErrorCode ChangeWholeText(RunParameters& parameters, CFileResult& entry, TextBuffer& text,
                                    const std::u16string& replace) {
  const CFileResult::replace_info start{0, 0};
  if (!AskConfirmation(parameters, start, entry))
    return 0;
  entry.matches.push_back(start);
  bool spliced = true;
  switch (parameters.action) {
    case ActionType::Replace:
    case ActionType::PlaceBefore:
    case ActionType::PlaceAfter:
      spliced = SpliceText(text, text.length(), 0, replace);
      break;
    case ActionType::AddToBeginning:
      spliced = SpliceText(text, 0, 0, replace);
      break;
    case ActionType::AddToEnd:
      spliced = SpliceText(text, 0, text.length(), replace);
      break;
    case ActionType::Delete:
      spliced = SpliceText(text, text.length(), 0, std::u16string_view());
      break;
    case ActionType::FindOnly:
      break;
  }
  return spliced ? 0 : platform::kErrorOutOfMemory;
}

platform::ErrorCode Decode(CodePage codePage, const FileBytes& bytes, TextBuffer& text) {
  if (codePage == kCodePageUtf16Le)
    return BytesAsText(bytes.view().data(), bytes.size(), text) ? 0 : platform::kErrorOutOfMemory;
  ConvertedBuffer converted;
  size_t byteLength = 0;
  platform::ErrorCode error = platform::kErrorOutOfMemory;
  if (!ConvertText(false, converted, bytes.size(), bytes.view().data(), byteLength, codePage,
                   &error))
    return error;
  text = std::move(converted.text);
  return 0;
}

// The bytes to write: the text encoded, and an odd last byte of a UTF-16 input kept after it
// when the file is written in the same code page.
platform::ErrorCode Encode(const ProgramSettings& settings, const FileBytes& original,
                           const TextBuffer& text, ByteBuffer& bytes) {
  const CodePage output = settings.outputCodePage;
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
  if (utf16 && settings.inputCodePage == output && original.size() % 2 == 1) {
    const size_t size = bytes.size();
    // Room for the byte and the two zero bytes that end a UTF-16 byte buffer.
    auto* block = static_cast<unsigned char*>(std::realloc(bytes.Release(), size + 3));
    if (!block)
      return platform::kErrorOutOfMemory;
    block[size] = original.view().back();
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

// The file open for processing, its content as read and the times to keep.
struct OpenFile {
  platform::File& handle;
  FileBytes original;
  platform::FileTimes times;
  bool keepTimes = false;
};

// Writes the changed bytes in place; after a failed write the old content is back, and so are
// its times.
Outcome WriteChanged(OpenFile& file, const ByteBuffer& bytes, const CFileResult& entry) {
  const platform::ErrorCode error = WriteWholeFile(file.handle, bytes.view(), file.original.view());
  platform::ErrorCode ignored = 0;
  if (file.keepTimes)
    file.handle.SetTimes(file.times, ignored);
  Outcome outcome = error == 0 ? Processed(MatchesFound(entry)) : Failed(error);
  outcome.written = true;
  return outcome;
}

// Asks for each change; an accepted one keeps its line when `lines` is given.
MatchConsent ConsentOf(RunParameters& parameters, CFileResult& entry,
                       PlainMatchLines* lines = nullptr) {
  return [&parameters, &entry, lines](const CFileResult::replace_info& position) {
    if (!AskConfirmation(parameters, position, entry))
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
                  OpenFile& file, const ByteTable& table, const std::u16string& find,
                  std::u16string& replace, Outcome& outcome) {
  const ProgramSettings& settings = parameters.settings;
  const std::span<const unsigned char> bytes = file.original.view();
  platform::ErrorCode error = 0;
  if (parameters.action == ActionType::FindOnly) {
    error = FindPlainTextInBytes(bytes, table, find, parameters.caseSensitive, entry.matches,
                                 static_cast<size_t>(-1), &stop);
    const LineSource source(bytes, table);
    PlainMatchLines(source, find.size(), {}, parameters.matchLineBytes).KeepRecorded(entry);
    outcome = error == 0 ? Processed(MatchesFound(entry)) : Failed(error);
    return true;
  }
  if (settings.outputCodePage != settings.inputCodePage || HasSurrogates(replace)) {
    // The text is needed only when there is a match.
    std::vector<CFileResult::replace_info> first;
    error = FindPlainTextInBytes(bytes, table, find, parameters.caseSensitive, first, 1, &stop);
    if (error != 0 || first.empty()) {
      outcome = error == 0 ? Processed(MatchesFound(entry)) : Failed(error);
      return true;
    }
    return false;
  }
  if (!replace.empty())
    ConvertLineBreaks(replace, ResolveNewLineMode(settings.newLineMode, bytes, table));
  ConvertedBuffer encoded;
  size_t byteLength = 0;
  if (!ConvertText(true, encoded, replace.size(), replace.data(), byteLength,
                   settings.outputCodePage, &error)) {
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
    outcome = Processed(MatchesFound(entry));
  else
    outcome = WriteChanged(file, changed, entry);
  return true;
}

// Everything between opening the file and closing it; the file stays open for the caller.
Outcome ProcessOpenFile(RunParameters& parameters, const platform::StopEvent& stop,
                        CFileResult& entry, platform::File& handle, const std::u16string& find,
                        std::u16string& replace) {
  const ProgramSettings& settings = parameters.settings;
  const bool changes = parameters.action != ActionType::FindOnly;

  OpenFile file{handle, {}, {}, false};
  platform::ErrorCode error = 0;
  file.keepTimes = settings.keepFileDate && handle.GetTimes(file.times, error);
  if ((error = ReadWholeFile(handle, file.original)) != 0)
    return Failed(error);

  ByteTable table;
  Outcome outcome;
  if (!parameters.useRegex && !find.empty() &&
      ByteTableFor(settings.inputCodePage, file.original.view(), table) &&
      ProcessBytes(parameters, stop, entry, file, table, find, replace, outcome))
    return outcome;

  TextBuffer text;
  if ((error = Decode(settings.inputCodePage, file.original, text)) != 0)
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
    return Processed(MatchesFound(entry));

  ByteBuffer bytes;
  if ((error = Encode(settings, file.original, text, bytes)) != 0)
    return Failed(error);
  // Bytes that did not decode would be lost, unless the old text is thrown away as a whole.
  DecodingLoss loss = DecodingLoss::kNone;
  if (!(find.empty() && ReplacesWholeText(parameters.action)) &&
      (error = CheckDecodingLoss(settings.inputCodePage, file.original.view(), loss)) != 0)
    return Failed(error);
  if (loss != DecodingLoss::kNone)
    return {ResultStatus::FileError,
            platform::LoadText(loss == DecodingLoss::kUndecodableBytes ? IDS_INVALID_INPUT_BYTES
                                                                       : IDS_NO_ROUND_TRIP)};
  return WriteChanged(file, bytes, entry);
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

Outcome Process(SearchWorker& worker, CFileResult& entry) {
  RunParameters& parameters = *worker.parameters;
  const ProgramSettings& settings = parameters.settings;
  if (!parameters.confirmReplace)
    parameters.confirmState = ConfirmAnswer::YesToAll;

  const std::u16string path = FullPathOf(entry);
  platform::FileAttributes attributes;
  platform::ErrorCode attributesError = 0;
  const bool haveAttributes = platform::ReadFileAttributes(path, attributes, attributesError);

  std::u16string find = parameters.findText;
  std::u16string replace = parameters.replaceText;
  if (ExpandsFindVariables(parameters)) {
    if (!ExpandVariables(find, &entry))
      return {ResultStatus::FileError, FormatString(IDS_VARIABLE_PARSE_ERROR, {find})};
    if (ExpandsReplaceVariables(parameters) && !ExpandVariables(replace, &entry))
      return {ResultStatus::FileError, FormatString(IDS_VARIABLE_PARSE_ERROR, {replace})};
    // A find text whose variables expand to nothing finds nothing: it must not turn into the
    // empty find text, which stands for the whole content.
    if (find.empty() && !parameters.findText.empty())
      return Processed(MatchesFound(entry));
  }

  if (find.empty() && parameters.action == ActionType::FindOnly) {
    entry.matches.push_back({0, 0});
    return Processed(MatchesFound(entry));
  }
  if (!haveAttributes)
    return Failed(attributesError);
  if (const unsigned skipText = AttributeSkipText(attributes, settings, parameters.action))
    return Processed(platform::LoadText(skipText));

  // Find only never touches the attributes, and lets others go on writing and deleting the
  // file; a change is never written while another may write.
  const bool changes = parameters.action != ActionType::FindOnly;
  std::optional<WriteAttributes> writeAttributes;
  if (changes)
    writeAttributes.emplace(path, attributes);
  platform::File file;
  platform::ErrorCode error = 0;
  if (!file.Open(path, changes ? platform::FileAccess::ReadWrite : platform::FileAccess::Read,
                 changes ? platform::FileShare::Read : platform::FileShare::All, error))
    return Failed(error);
  Outcome outcome = ProcessOpenFile(parameters, worker.stopEvent, entry, file, find, replace);
  if (writeAttributes)
    writeAttributes->written = outcome.written;
  return outcome;
}

}  // namespace

void ProcessFileContent(SearchWorker& worker, std::unique_ptr<CFileResult> entry) {
  Outcome outcome;
  try {
    outcome = Process(worker, *entry);
  } catch (const std::bad_alloc&) {
    outcome = Failed(platform::kErrorOutOfMemory);
  }
  entry->resultText = std::move(outcome.text);
  worker.SendFileResult(outcome.status, std::move(entry));
}
