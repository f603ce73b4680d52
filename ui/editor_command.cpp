#include "ui/editor_command.h"

#include <array>

#include "text/text_format.h"

namespace {

bool StartsWithName(std::u16string_view text, std::u16string_view name) {
  if (text.size() < name.size())
    return false;
  for (size_t i = 0; i < name.size(); ++i) {
    char16_t unit = text[i];
    if (unit >= u'A' && unit <= u'Z')
      unit = static_cast<char16_t>(unit - u'A' + u'a');
    if (unit != name[i])
      return false;
  }
  return true;
}

std::u16string Number(std::int64_t value) {
  return AsciiToText(std::to_string(value));
}

}  // namespace

std::u16string ExpandEditorCommand(std::u16string_view command, std::u16string_view path,
                                   std::int64_t line, std::int64_t column) {
  std::u16string expanded;
  bool quoted = false;
  for (size_t i = 0; i < command.size();) {
    const std::u16string_view rest = command.substr(i);
    if (rest[0] == u'"')
      quoted = !quoted;
    if (rest[0] != u'%') {
      expanded += rest[0];
      ++i;
    } else if (StartsWithName(rest, u"%%")) {
      expanded += u'%';
      i += 2;
    } else if (StartsWithName(rest, u"%path%")) {
      expanded += quoted ? std::u16string(path) : u"\"" + std::u16string(path) + u"\"";
      i += 6;
    } else if (StartsWithName(rest, u"%line%")) {
      expanded += Number(line);
      i += 6;
    } else if (StartsWithName(rest, u"%column%")) {
      expanded += Number(column);
      i += 8;
    } else {
      expanded += u'%';
      ++i;
    }
  }
  return expanded;
}

std::vector<EditorChoice> InstalledEditors(
    const EditorFolders& folders, const std::function<bool(const std::u16string&)>& exists) {
  struct Known {
    KnownEditor editor;
    const std::u16string* folder;
    const char16_t* program;
    const char16_t* arguments;
  };
  const std::array<Known, 6> known = {{
      {KnownEditor::Notepad, &folders.windows, u"\\notepad.exe", u" %path%"},
      {KnownEditor::NotepadPlusPlus, &folders.programFiles, u"\\Notepad++\\notepad++.exe",
       u" -n%line% -c%column% %path%"},
      {KnownEditor::NotepadPlusPlus, &folders.programFilesX86, u"\\Notepad++\\notepad++.exe",
       u" -n%line% -c%column% %path%"},
      {KnownEditor::VisualStudioCode, &folders.localAppData, u"\\Programs\\Microsoft VS Code\\Code.exe",
       u" --goto \"%path%:%line%:%column%\""},
      {KnownEditor::VisualStudioCode, &folders.programFiles, u"\\Microsoft VS Code\\Code.exe",
       u" --goto \"%path%:%line%:%column%\""},
      {KnownEditor::VisualStudioCode, &folders.programFilesX86, u"\\Microsoft VS Code\\Code.exe",
       u" --goto \"%path%:%line%:%column%\""},
  }};
  std::vector<EditorChoice> choices;
  for (const Known& editor : known) {
    if (editor.folder->empty())
      continue;
    const std::u16string program = *editor.folder + editor.program;
    bool listed = false;
    for (const EditorChoice& choice : choices)
      listed = listed || choice.editor == editor.editor;
    if (listed || !exists(program))
      continue;
    choices.push_back({editor.editor, u"\"" + program + u"\"" + editor.arguments});
  }
  return choices;
}
