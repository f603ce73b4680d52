// A preview's change of a file's content as the hunks of a unified diff.
#pragma once

#include <cstddef>
#include <vector>

#include "run/record/file_result.h"
#include "text/line_diff.h"

struct PreviewDiff {
  // The hunks are of the bytes themselves, for patch; else of the two sides decoded (from
  // their code pages) and shown as UTF-8.
  bool patchable = true;
  std::vector<DiffHunk> hunks;
};

// The diff of the bytes as read and as they would be written, with `context` lines around each
// change. Bytes that are UTF-8 are compared as they are; a side that is not, or in UTF-16, makes
// both sides decoded.
PreviewDiff DiffOfPreview(const FilePreview& preview, size_t context);
