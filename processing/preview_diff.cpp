#include "processing/preview_diff.h"

#include <string>
#include <string_view>

#include "text/code_page.h"
#include "text/code_page_conversion.h"
#include "text/utf8.h"

namespace {

bool IsUtf8(std::string_view bytes) {
  std::u16string ignored;
  return Utf8ToUtf16(bytes, ignored);
}

bool IsUtf16(std::int32_t codePage) {
  return codePage == kCodePageUtf16Le || codePage == kCodePageUtf16Be;
}

// The bytes decoded from their code page, as UTF-8; bytes that do not decode show as the
// platform's replacement.
std::string Decoded(const std::string& bytes, std::int32_t codePage) {
  TextBuffer text;
  if (codePage == kCodePageUtf16Le) {
    if (!BytesAsText(bytes.data(), bytes.size(), text))
      return std::string();
  } else {
    ConvertedBuffer converted;
    size_t byteLength = 0;
    if (!ConvertText(false, converted, bytes.size(), bytes.data(), byteLength, codePage))
      return std::string();
    text = std::move(converted.text);
  }
  return Utf16ToUtf8(text.view());
}

}  // namespace

PreviewDiff DiffOfPreview(const FilePreview& preview, size_t context) {
  PreviewDiff diff;
  diff.patchable = !IsUtf16(preview.readCodePage) && !IsUtf16(preview.writeCodePage) &&
                   IsUtf8(preview.before) && IsUtf8(preview.after);
  if (diff.patchable) {
    diff.hunks = DiffLines(preview.before, preview.after, context);
  } else {
    diff.hunks = DiffLines(Decoded(preview.before, preview.readCodePage),
                           Decoded(preview.after, preview.writeCodePage), context);
  }
  return diff;
}
