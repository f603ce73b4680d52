// The "Editor" setting: a command line that opens a file at a line, with %path%, %line% and
// %column% in it, and the ready-made choices for the editors found installed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The command with %path%, %line% and %column% (any case) replaced and "%%" made one "%"; any
// other "%" stays. The path is put in double quotes unless the command quotes it already, so
// that spaces in it stay inside one argument; what is put in is never expanded again, so a "%"
// in the path stays as it is.
std::u16string ExpandEditorCommand(std::u16string_view command, std::u16string_view path,
                                   std::int64_t line, std::int64_t column);

// Where the known editors are installed; empty for a folder the system does not have.
struct EditorFolders {
  std::u16string windows;
  std::u16string programFiles;
  std::u16string programFilesX86;
  std::u16string localAppData;
};

enum class KnownEditor { Notepad, NotepadPlusPlus, VisualStudioCode };

struct EditorChoice {
  KnownEditor editor;
  std::u16string command;
};

// Notepad, Notepad++ and Visual Studio Code, each when `exists` finds its program.
std::vector<EditorChoice> InstalledEditors(const EditorFolders& folders,
                                           const std::function<bool(const std::u16string&)>& exists);
