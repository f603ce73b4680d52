#include <gio/gio.h>
#include <sys/stat.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "platform/path_queries.h"
#include "platform/posix/utf8_path.h"
#include "text/utf8.h"

namespace platform {
namespace {

struct GFree {
  void operator()(gchar* text) const { g_free(text); }
};
using GText = std::unique_ptr<gchar, GFree>;

// The desktop's description of a content type, looked up once per type.
std::u16string DescriptionOf(const gchar* contentType) {
  static std::mutex mutex;
  static std::map<std::string, std::u16string> descriptions;
  std::lock_guard lock(mutex);
  auto found = descriptions.find(contentType);
  if (found == descriptions.end()) {
    GText description(g_content_type_get_description(contentType));
    std::u16string text;
    Utf8ToUtf16(description ? description.get() : "", text);
    found = descriptions.emplace(contentType, std::move(text)).first;
  }
  return found->second;
}

}  // namespace

bool IsDirectory(const std::u16string& path) {
  struct stat status {};
  return stat(ToUtf8(path).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// As the shell names a type by the file's name, the content type is guessed from the name alone;
// a name the shared MIME database does not know has no type name.
std::u16string FileTypeName(const std::u16string& path) {
  const size_t separator = path.find_last_of(u'/');
  const std::string name =
      ToUtf8(separator == std::u16string::npos ? path : path.substr(separator + 1));
  gboolean uncertain = FALSE;
  GText contentType(g_content_type_guess(name.c_str(), nullptr, 0, &uncertain));
  if (!contentType || g_content_type_is_unknown(contentType.get()))
    return std::u16string();
  return DescriptionOf(contentType.get());
}

}  // namespace platform
