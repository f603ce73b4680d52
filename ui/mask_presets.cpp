#include "ui/mask_presets.h"

#include <cstdio>
#include <memory>

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

std::vector<std::u16string> LoadMaskPresets(const char* path) {
  struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "r"));
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
