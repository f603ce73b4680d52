#include "ui/result_open.h"

#include <algorithm>

namespace {

// Run when opened whatever PATHEXT says: scripts, installers, registry files, shortcuts.
constexpr std::u16string_view kAlwaysRun[] = {u".bat", u".cmd", u".com",  u".cpl", u".exe", u".hta",
                                              u".js",  u".jse", u".lnk",  u".msc", u".msi", u".msp",
                                              u".pif", u".ps1", u".psm1", u".reg", u".scr", u".vbe",
                                              u".vbs", u".wsf", u".wsh"};

char16_t Lower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char16_t x, char16_t y) { return Lower(x) == Lower(y); });
}

// From the last dot on; the system ignores trailing dots and blanks of a name. Empty without one.
std::u16string_view Extension(std::u16string_view name) {
  while (!name.empty() && (name.back() == u'.' || name.back() == u' '))
    name.remove_suffix(1);
  const size_t dot = name.find_last_of(u'.');
  return dot == std::u16string_view::npos ? std::u16string_view() : name.substr(dot);
}

bool InPathExt(std::u16string_view extension, std::u16string_view pathExt) {
  while (!pathExt.empty()) {
    const size_t end = std::min(pathExt.find(u';'), pathExt.size());
    if (SameIgnoringCase(pathExt.substr(0, end), extension))
      return true;
    pathExt.remove_prefix(std::min(end + 1, pathExt.size()));
  }
  return false;
}

}  // namespace

bool RunsWhenOpened(std::u16string_view name, std::u16string_view pathExt) {
  const std::u16string_view extension = Extension(name);
  if (extension.size() < 2)
    return false;
  return InPathExt(extension, pathExt) ||
         std::any_of(std::begin(kAlwaysRun), std::end(kAlwaysRun),
                     [&](std::u16string_view type) { return SameIgnoringCase(type, extension); });
}

ResultOpen ChooseResultOpen(
    std::u16string_view name, std::u16string_view pathExt,
    const std::function<bool(const std::u16string& extension)>& hasEditVerb) {
  if (!RunsWhenOpened(name, pathExt))
    return ResultOpen::Open;
  return hasEditVerb(std::u16string(Extension(name))) ? ResultOpen::Edit : ResultOpen::OpenWith;
}

std::u16string ExplorerSelectParameters(const std::u16string& path) {
  return u"/e,/select,\"" + path + u"\"";
}
