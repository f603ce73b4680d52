// An apply changes a file only while it is as its preview saw it.
#pragma once

#include <span>

#include "run/record/file_result.h"
#include "run/record/run_parameters.h"

// Whether the found file's size or last-write time differs from its preview's; false when the
// run is no apply.
bool ListedChangedSincePreview(const RunParameters& parameters, const CFileResult& entry);

// Whether the bytes read from the file differ from those its preview read; false when the run is
// no apply or the preview kept no hash.
bool ContentChangedSincePreview(const RunParameters& parameters, const CFileResult& entry,
                                std::span<const unsigned char> bytes);

// How a preview saw the file, from its found record and, for a change of content, the bytes as
// read.
PreviewedFile PreviewedFileOf(const CFileResult& entry, const FilePreview& preview);
