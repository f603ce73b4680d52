// Where the help file is looked for: the current directory first, then the program's own folder,
// so that F1 works from a shortcut or from Explorer whatever the working directory.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The first of `folders` in which `folder + fileName` exists; the first folder when none holds
// it (the messages then name the place looked at first). `fileName` starts with a separator.
std::u16string HelpFolder(const std::vector<std::u16string>& folders, std::u16string_view fileName,
                          const std::function<bool(const std::u16string&)>& exists);
