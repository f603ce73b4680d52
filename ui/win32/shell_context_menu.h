// The shell's context menu for one file, with one command of the program's own at the top.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// What the owner keeps between two menus: the popup menu of the last one.
class ShellContextMenu {
 public:
  ShellContextMenu() = default;
  ~ShellContextMenu();
  ShellContextMenu(const ShellContextMenu&) = delete;
  ShellContextMenu& operator=(const ShellContextMenu&) = delete;

  // The owner's own commands, shown after the extra command and a separator: ID and text.
  using OwnCommands = std::vector<std::pair<UINT, std::u16string>>;

  // Shows the menu at `screenPoint` and carries out the chosen command. The extra command opens
  // the file's folder in the explorer with the file selected; one of `own` is returned for the
  // owner to carry out (0 for any other). Any failure of the shell leaves the menu unshown.
  UINT Show(HWND owner, POINT screenPoint, const std::u16string& path,
            const std::u16string& extraText, const OwnCommands& own = {});

 private:
  HMENU popup_ = nullptr;
};
