// What the console front end prints for a file in a preview: a unified diff of its content, or
// the rename it would get, and the same as JSON.
#pragma once

#include <cstddef>
#include <string>

#include "cli/result_lines.h"
#include "run/record/file_result.h"

struct PreviewStyle {
  size_t context = 3;  // lines around each change
  bool color = false;  // removed lines red, added green, headers bold
  // The folder that paths are shown relative to (the current directory), absolute.
  std::u16string base;
};

// The path relative to `base` as git writes it: '/' between names, ".." to climb; the path
// itself when the two share no root.
std::u16string RelativePath(const std::u16string& path, const std::u16string& base);

// A name in a diff header as git quotes it: in double quotes with C escapes (bytes above 0x7F in
// octal) when it holds a quote, a backslash, a control character or such a byte; else as it is.
std::string QuotedDiffName(const std::string& bytes);

// "--- a/PATH" / "+++ b/PATH" and the hunks for a content change; "PATH -> NEWPATH" or
// "PATH -> recycle bin" for a name.
void WritePreviewLines(const CFileResult& file, const FilePreview& preview,
                       const PreviewStyle& style, const TextSink& write);

// The "preview" member of the file's JSON object, with a comma before it: the hunks as data,
// or the new name.
std::string PreviewJsonMember(const CFileResult& file, const FilePreview& preview,
                              const PreviewStyle& style);
