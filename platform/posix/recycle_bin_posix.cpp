#include <gio/gio.h>

#include <memory>

#include "platform/posix/utf8_path.h"
#include "platform/recycle_bin.h"

namespace platform {
namespace {

struct ObjectRelease {
  void operator()(gpointer object) const { g_object_unref(object); }
};
struct ErrorRelease {
  void operator()(GError* error) const { g_error_free(error); }
};

}  // namespace

// GIO moves the file into the freedesktop.org trash (the user's, or the one at the top of
// another file system) and fails, leaving the file, where it cannot.
bool MoveToRecycleBin(const std::u16string& path, void*, ErrorCode& error) {
  error = 0;
  std::unique_ptr<GFile, ObjectRelease> file(g_file_new_for_path(ToUtf8(path).c_str()));
  GError* rawError = nullptr;
  const bool trashed = g_file_trash(file.get(), nullptr, &rawError) != FALSE;
  std::unique_ptr<GError, ErrorRelease> gioError(rawError);
  return trashed;
}

}  // namespace platform
