// How a found file is opened from the results list: files that the shell would run when opened
// (programs, scripts, registry files, shortcuts) are edited or offered to Open With instead.
#pragma once

#include <functional>
#include <string>
#include <string_view>

enum class ResultOpen {
  Open,      // the shell's "open" verb
  Edit,      // the shell's "edit" verb
  OpenWith,  // the system's Open With choice
};

// Whether the shell runs a file of this name when it is opened: its extension is in `pathExt`
// (the PATHEXT list, ";"-separated) or is a script, registry or shortcut type. Any case.
bool RunsWhenOpened(std::u16string_view name, std::u16string_view pathExt);

// The way to open a file of this name. `hasEditVerb` is asked, with the extension (".bat"), only
// for files that would run.
ResultOpen ChooseResultOpen(
    std::u16string_view name, std::u16string_view pathExt,
    const std::function<bool(const std::u16string& extension)>& hasEditVerb);

// The explorer's parameters that open the folder of `path` with the file selected; the path is
// quoted, since a comma in it would end the argument.
std::u16string ExplorerSelectParameters(const std::u16string& path);
