#include "ui/help_file.h"

std::u16string HelpFolder(const std::vector<std::u16string>& folders, std::u16string_view fileName,
                          const std::function<bool(const std::u16string&)>& exists) {
  for (const std::u16string& folder : folders) {
    if (!folder.empty() && exists(folder + std::u16string(fileName)))
      return folder;
  }
  return folders.empty() ? std::u16string() : folders.front();
}
