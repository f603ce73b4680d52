#include "ui/mask_presets.h"

#include <cstdio>

#include "platform/path_separator.h"
#include "platform/program_files.h"

namespace {
constexpr char16_t kMaskFile[] = u"ext.txt";
}

std::vector<std::u16string> BuiltInMaskPresets() {
  return {u"\"*.*\"",
          u"\"*.txt\"",
          u"\"*.rtf\"",
          u"\"*.doc\"",
          u"\"*.bat\", \"*.cmd\"",
          u"\"*.htm\", \"*.html\"",
          u"\"*.cfg\", \"*.conf\"",
          u"\"*.xml\", \"*.xsl\""};
}

std::vector<std::u16string> MaskPresetFiles() {
  std::vector<std::u16string> paths{kMaskFile};
  const std::u16string folder = platform::ProgramFolder();
  if (!folder.empty())
    paths.push_back(folder + platform::kPathSeparator + kMaskFile);
  return paths;
}

std::vector<std::u16string> LoadMaskPresets(const std::vector<std::u16string>& paths) {
  platform::TextStream file;
  for (size_t i = 0; i < paths.size() && !file; ++i)
    file = platform::OpenTextForReading(paths[i]);
  if (!file)
    return BuiltInMaskPresets();

  std::vector<std::u16string> presets;
  char buffer[1024];
  while (std::fgets(buffer, sizeof buffer, file.get())) {
    std::u16string piece;
    // Bytes are widened one to one.
    for (const char* p = buffer; *p; ++p)
      piece += static_cast<char16_t>(static_cast<unsigned char>(*p));
    if (!piece.empty() && piece.back() == u'\n')
      piece.pop_back();
    // Text mode on Windows already turns CR LF into LF; elsewhere drop the CR too.
    if (!piece.empty() && piece.back() == u'\r')
      piece.pop_back();
    presets.push_back(std::move(piece));
  }
  return presets;
}
