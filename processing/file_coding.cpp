#include "processing/file_coding.h"

#include <cstdlib>
#include <cstring>

#include "processing/binary_content.h"

bool ChooseFileCoding(const ProgramSettings& settings, std::span<const unsigned char> bytes,
                      FileCoding& coding) {
  coding = {settings.inputCodePage, settings.outputCodePage, ByteOrderMark::None};
  if (!settings.useByteOrderMarks)
    return true;
  const ByteOrderMark mark = FindByteOrderMark(bytes);
  if (mark == ByteOrderMark::Utf32Le || mark == ByteOrderMark::Utf32Be)
    return false;
  if (const auto codePage = CodePageOfMark(mark))
    coding = {*codePage, *codePage, mark};
  return true;
}

platform::ErrorCode PrefixMark(const FileCoding& coding, ByteBuffer& bytes) {
  const std::span<const unsigned char> mark = ByteOrderMarkBytes(coding.mark);
  if (mark.empty())
    return 0;
  const size_t size = bytes.size();
  // The zero bytes after the text come along: two after UTF-16.
  constexpr size_t kTerminator = 2;
  auto* block = static_cast<unsigned char*>(std::malloc(mark.size() + size + kTerminator));
  if (!block)
    return platform::kErrorOutOfMemory;
  std::memcpy(block, mark.data(), mark.size());
  if (size != 0)
    std::memcpy(block + mark.size(), bytes.data(), size);
  std::memset(block + mark.size() + size, 0, kTerminator);
  bytes.Adopt(block, mark.size() + size);
  return 0;
}

platform::ErrorCode ReadFileHead(const std::u16string& path, std::basic_string<unsigned char>& head,
                                 platform::FileTimes* times) {
  platform::File file;
  platform::ErrorCode error = 0;
  if (!file.Open(path, platform::FileAccess::Read, platform::FileShare::All, error) ||
      (times && !file.GetTimes(*times, error)))
    return error;
  head.resize(kBinarySniffSize);
  size_t filled = 0;
  while (filled < head.size()) {
    size_t done = 0;
    if (!file.Read(head.data() + filled, head.size() - filled, done, error))
      return error;
    if (done == 0)
      break;
    filled += done;
  }
  head.resize(filled);
  return 0;
}
