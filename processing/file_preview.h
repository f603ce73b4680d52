// What a preview run keeps of a file instead of changing it.
#pragma once

#include <span>
#include <string>

#include "run/record/file_result.h"
#include "text/code_page.h"

// Records the file's bytes as read and as the run would write them in the entry's preview.
void RecordContentPreview(CFileResult& entry, std::span<const unsigned char> before,
                          std::span<const unsigned char> after, CodePage readCodePage,
                          CodePage writeCodePage);

// Records that the run would rename the file to `newName` (empty: to the recycle bin).
void RecordNamePreview(CFileResult& entry, const std::u16string& newName);
