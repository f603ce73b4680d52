// The plain (not regular expression) search of a text, and the changes of the run's action.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/stop_event.h"
#include "platform/system_error.h"
#include "processing/byte_table.h"
#include "processing/confirmation.h"
#include "run/record/file_result.h"
#include "run/record/run_types.h"
#include "text/byte_buffer.h"
#include "text/text_buffer.h"

// Asked for every match that would change the text: whether it may. `describe` gives the
// change's lines, for a question.
using MatchConsent = std::function<bool(const CFileResult::replace_info& position,
                                        const ChangeDescription& describe)>;

// Finds `find` in the text from its start: an LF of the find text matches a CR, an LF or a CR LF
// pair alike; without caseSensitive units also match when they lower-case to the same unit. A
// match that fails part-way is tried again from its second unit. FindOnly records every match
// without asking and matches never overlap; every other action asks `consent` and, with it,
// records the position and changes the text (AddToBeginning and AddToEnd only once); a declined
// match lets an overlapping later one be found. Inserted text is never searched, and positions
// (line breaks before the match, units since the last of them) refer to the text as it was given.
//
// The changed text replaces the buffer's when there was a change. Returns 0,
// platform::kErrorOutOfMemory when memory ran out, or platform::kErrorCancelled when `stop` was
// found set (it is tested every 256 Ki units of text passed); then the records may be incomplete
// and the text must not be written.
[[nodiscard]]
platform::ErrorCode ScanPlainText(TextBuffer& text, ActionType action, std::u16string_view find,
                                  std::u16string_view replace, bool caseSensitive,
                                  const MatchConsent& consent,
                                  std::vector<CFileResult::replace_info>& matches,
                                  const platform::StopEvent* stop = nullptr);

// FindOnly over the bytes of a file in a one-to-one single-byte code page (OneToOneByteTable):
// the same matches, at the same positions, as ScanPlainText records on the decoded text, up to
// `limit` of them. Returns 0, platform::kErrorOutOfMemory when the records could not grow, or
// platform::kErrorCancelled as ScanPlainText.
[[nodiscard]]
platform::ErrorCode FindPlainTextInBytes(std::span<const unsigned char> bytes,
                                         const ByteTable& table, std::u16string_view find,
                                         bool caseSensitive,
                                         std::vector<CFileResult::replace_info>& matches,
                                         size_t limit = static_cast<size_t>(-1),
                                         const platform::StopEvent* stop = nullptr);

// The part of a longer text that FindPlainTextInPart looks at: matches are looked for at the
// tokens in [from, until), and may reach past `until`. `from` must be where a search of the
// whole text would look next (no match before it reaches it), with a unit before it if there is
// one, which tells whether an LF there starts a token.
struct TextPart {
  size_t from = 0;
  size_t until = 0;
  // Set to the index after the last match recorded, or to `from` when there was none.
  size_t matchedTo = 0;
  // When given, receives the index of each match recorded.
  std::vector<size_t>* starts = nullptr;
};

// FindOnly over a part of a text, as the bytes of a one-to-one single-byte code page or as
// UTF-16 units: the matches the whole text's search finds in that part, with positions counted
// from the start of the text given.
[[nodiscard]]
platform::ErrorCode FindPlainTextInPart(std::span<const unsigned char> bytes,
                                        const ByteTable& table, std::u16string_view find,
                                        bool caseSensitive, TextPart& part,
                                        std::vector<CFileResult::replace_info>& matches,
                                        const platform::StopEvent* stop = nullptr);
[[nodiscard]]
platform::ErrorCode FindPlainTextInPart(std::u16string_view text, std::u16string_view find,
                                        bool caseSensitive, TextPart& part,
                                        std::vector<CFileResult::replace_info>& matches,
                                        const platform::StopEvent* stop = nullptr);

// ScanPlainText over the bytes of a file in a one-to-one single-byte code page, for a file that
// is written back in the same code page: `replace` is the replacement already encoded in it,
// and `changed` receives the bytes of the changed text when there was a change. The result is
// the same as decoding, scanning and encoding, provided the replacement encodes the same alone
// as amid the text (it holds no surrogates).
[[nodiscard]]
platform::ErrorCode ChangePlainTextInBytes(
    std::span<const unsigned char> bytes, const ByteTable& table, ActionType action,
    std::u16string_view find, std::span<const unsigned char> replace, bool caseSensitive,
    const MatchConsent& consent, std::vector<CFileResult::replace_info>& matches,
    ByteBuffer& changed, const platform::StopEvent* stop = nullptr);
