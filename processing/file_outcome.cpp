#include "processing/file_outcome.h"

#include <cstdint>
#include <utility>

#include "platform/string_table.h"
#include "text/text_format.h"

namespace {

FileOutcome Outcome(ResultStatus status, std::u16string text) {
  FileOutcome outcome;
  outcome.status = status;
  outcome.text = std::move(text);
  return outcome;
}

}  // namespace

FileOutcome Processed(std::u16string text) {
  return Outcome(ResultStatus::FileResult, std::move(text));
}

FileOutcome Failed(platform::ErrorCode error) {
  std::u16string text;
  FormatSystemError(error, text);
  return FailedWith(std::move(text));
}

FileOutcome FailedWith(std::u16string text) {
  return Outcome(ResultStatus::FileError, std::move(text));
}

FileOutcome MatchesFound(const CFileResult& entry) {
  return Processed(
      FormatString(IDS_MATCHES_FOUND, {static_cast<std::int64_t>(entry.matches.size())}));
}

FileOutcome SkippedAsBinary() {
  FileOutcome outcome = Processed(platform::LoadText(IDS_BINARY_FILE_SKIPPED));
  outcome.skipped = SkipReason::Binary;
  return outcome;
}
