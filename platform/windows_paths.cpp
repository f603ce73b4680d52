#include "platform/windows_paths.h"

#include <vector>

namespace platform {
namespace {

bool IsSeparator(char16_t c) {
  return c == u'\\' || c == u'/';
}

bool IsDriveLetter(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool StartsWithDeviceForm(std::u16string_view path) {
  return path.size() >= 4 && IsSeparator(path[0]) &&
         ((IsSeparator(path[1]) && (path[2] == u'?' || path[2] == u'.')) ||
          (path[1] == u'?' && path[2] == u'?')) &&
         IsSeparator(path[3]);
}

// The components of `rest` between separators, empty ones left out.
std::vector<std::u16string_view> Components(std::u16string_view rest,
                                            std::u16string_view separators) {
  std::vector<std::u16string_view> parts;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find_first_of(separators, start);
    if (end == std::u16string_view::npos)
      end = rest.size();
    if (end > start)
      parts.push_back(rest.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// The length of the UNC prefix "\\server\share" (without the separator after it); 0 when the
// path has no server and share.
size_t UncRootLength(std::u16string_view path) {
  const size_t server = 2;
  size_t end = server;
  while (end < path.size() && !IsSeparator(path[end]))
    ++end;
  if (end == server || end >= path.size())
    return 0;
  size_t share = end + 1;
  size_t shareEnd = share;
  while (shareEnd < path.size() && !IsSeparator(path[shareEnd]))
    ++shareEnd;
  return shareEnd == share ? 0 : shareEnd;
}

// Whether a component of `rest` other than "." and ".." ends in a dot or a space; with
// `lastIsPattern` the last component is not looked at.
bool HasNameEndingInDotOrSpace(std::u16string_view rest, bool lastIsPattern) {
  size_t end = rest.size();
  if (lastIsPattern) {
    const size_t separator = rest.find_last_of(u"\\/");
    end = separator == std::u16string_view::npos ? 0 : separator;
  }
  size_t start = 0;
  for (size_t i = 0; i < end; ++i) {
    if (IsSeparator(rest[i])) {
      start = i + 1;
      continue;
    }
    if (i + 1 < end && !IsSeparator(rest[i + 1]))
      continue;
    const std::u16string_view name = rest.substr(start, i + 1 - start);
    if (name != u"." && name != u".." && EndsInDotOrSpace(name))
      return true;
  }
  return false;
}

}  // namespace

std::u16string FoldDotSegments(std::u16string_view root, std::u16string_view rest,
                               std::u16string_view separators, char16_t separator) {
  std::vector<std::u16string_view> kept;
  for (std::u16string_view part : Components(rest, separators)) {
    if (part == u".")
      continue;
    if (part == u"..") {
      if (!kept.empty())
        kept.pop_back();
      continue;
    }
    kept.push_back(part);
  }
  std::u16string folded(root);
  for (size_t i = 0; i < kept.size(); ++i) {
    if (i != 0 || (!folded.empty() && folded.back() != separator))
      folded += separator;
    folded += kept[i];
  }
  return folded;
}

bool IsFullyQualifiedWindowsPath(std::u16string_view path) {
  if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == u':' && IsSeparator(path[2]))
    return true;
  return path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) &&
         !IsSeparator(path[2]);
}

bool EndsInDotOrSpace(std::u16string_view name) {
  return !name.empty() && (name.back() == u'.' || name.back() == u' ');
}

bool IsReservedDeviceName(std::u16string_view name) {
  std::u16string_view base = name.substr(0, name.find(u'.'));
  while (!base.empty() && base.back() == u' ')
    base.remove_suffix(1);
  auto upper = [](char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c; };
  auto is = [&](std::u16string_view word) {
    if (base.size() < word.size())
      return false;
    for (size_t i = 0; i < word.size(); ++i)
      if (upper(base[i]) != word[i])
        return false;
    return true;
  };
  if (base.size() == 3)
    return is(u"CON") || is(u"PRN") || is(u"AUX") || is(u"NUL");
  if (base.size() != 4 || !(is(u"COM") || is(u"LPT")))
    return false;
  const char16_t digit = base[3];
  return (digit >= u'0' && digit <= u'9') || digit == u'\u00B9' || digit == u'\u00B2' ||
         digit == u'\u00B3';
}

std::u16string Win32CallPath(std::u16string_view path, bool lastIsPattern) {
  if (StartsWithDeviceForm(path) || !IsFullyQualifiedWindowsPath(path))
    return std::u16string(path);
  const bool unc = IsSeparator(path[0]);
  const size_t rootLength = unc ? UncRootLength(path) : 2;
  if (unc && rootLength == 0)
    return std::u16string(path);
  const std::u16string_view rest = path.substr(rootLength);
  if (path.size() < kMaxPathUnits && !HasNameEndingInDotOrSpace(rest, lastIsPattern))
    return std::u16string(path);
  std::u16string root = unc ? u"\\\\?\\UNC\\" : u"\\\\?\\";
  for (char16_t c : path.substr(unc ? 2 : 0, unc ? rootLength - 2 : rootLength))
    root += IsSeparator(c) ? u'\\' : c;
  root += u'\\';
  return FoldDotSegments(root, rest, u"\\/", u'\\');
}

ShellPathFault CheckShellPath(std::u16string_view path) {
  if (!IsFullyQualifiedWindowsPath(path))
    return ShellPathFault::NotFullyQualified;
  if (path.size() >= kMaxPathUnits)
    return ShellPathFault::TooLong;
  if (StartsWithDeviceForm(path) || Win32CallPath(path) != path)
    return ShellPathFault::NotAsTyped;
  return ShellPathFault::None;
}

}  // namespace platform
