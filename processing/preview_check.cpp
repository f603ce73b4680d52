#include "processing/preview_check.h"

#include "processing/backup/content_hash.h"

namespace {

std::span<const unsigned char> BytesOf(const std::string& bytes) {
  return {reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()};
}

}  // namespace

bool ListedChangedSincePreview(const RunParameters& parameters, const CFileResult& entry) {
  const PreviewedFile* seen = PreviewedAs(parameters, FullPathOf(entry));
  return seen && (seen->size != entry.size || seen->modified != entry.modified);
}

bool ContentChangedSincePreview(const RunParameters& parameters, const CFileResult& entry,
                                std::span<const unsigned char> bytes) {
  if (!parameters.applyOnly)
    return false;
  const PreviewedFile* seen = PreviewedAs(parameters, FullPathOf(entry));
  return seen && seen->hasHash && seen->contentHash != ContentHash(bytes);
}

PreviewedFile PreviewedFileOf(const CFileResult& entry, const FilePreview& preview) {
  PreviewedFile seen;
  seen.size = entry.size;
  seen.modified = entry.modified;
  if (!preview.renames && !preview.toRecycleBin) {
    seen.contentHash = ContentHash(BytesOf(preview.before));
    seen.hasHash = true;
  }
  return seen;
}
