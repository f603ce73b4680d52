#include "platform/name_in_folder.h"

#include "platform/windows_paths.h"

bool StaysInFolder(std::u16string_view name) {
  if (name.empty() || name == u"." || name == u"..")
    return false;
#ifdef _WIN32
  return name.find_first_of(u"\\/") == std::u16string_view::npos &&
         !platform::EndsInDotOrSpace(name) && !platform::IsReservedDeviceName(name);
#else
  return name.find(u'/') == std::u16string_view::npos;
#endif
}
