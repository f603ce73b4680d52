#include <stdio.h>
#include <windows.h>

#include <memory>

#include "platform/log_file.h"
#include "platform/win32/wide.h"

namespace platform {
namespace {

struct StreamClose {
  void operator()(FILE* stream) const { fclose(stream); }
};

}  // namespace

bool AppendToLogFile(const std::u16string& path, std::u16string_view text) {
  // The runtime's wide text stream writes the byte order mark into a new file and turns each
  // line feed into CR LF.
  std::unique_ptr<FILE, StreamClose> stream(_wfopen(Wide(path), L"at, ccs=UTF-16LE"));
  if (!stream)
    return false;
  const std::u16string terminated(text);
  const bool written = terminated.empty() || fputws(Wide(terminated), stream.get()) >= 0;
  return fclose(stream.release()) == 0 && written;
}

}  // namespace platform
