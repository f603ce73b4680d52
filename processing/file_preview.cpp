#include "processing/file_preview.h"

#include <memory>

namespace {

std::string Bytes(std::span<const unsigned char> bytes) {
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace

void RecordContentPreview(CFileResult& entry, std::span<const unsigned char> before,
                          std::span<const unsigned char> after, CodePage readCodePage,
                          CodePage writeCodePage) {
  auto preview = std::make_unique<FilePreview>();
  preview->before = Bytes(before);
  preview->after = Bytes(after);
  preview->readCodePage = readCodePage;
  preview->writeCodePage = writeCodePage;
  entry.preview = std::move(preview);
}

void RecordNamePreview(CFileResult& entry, const std::u16string& newName) {
  auto preview = std::make_unique<FilePreview>();
  preview->newName = newName;
  preview->renames = !newName.empty();
  preview->toRecycleBin = newName.empty();
  entry.preview = std::move(preview);
}
