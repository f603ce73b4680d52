// The shell's context menu for one file, with one command of the program's own at the top.
#pragma once

#include <windows.h>

#include <string>

// What the owner keeps between two menus: the popup menu of the last one.
class ShellContextMenu {
 public:
  ShellContextMenu() = default;
  ~ShellContextMenu();
  ShellContextMenu(const ShellContextMenu&) = delete;
  ShellContextMenu& operator=(const ShellContextMenu&) = delete;

  // Shows the menu at `screenPoint` and carries out the chosen command. The extra command opens
  // the file's folder in the explorer with the file selected. Any failure of the shell leaves the
  // menu unshown.
  void Show(HWND owner, POINT screenPoint, const std::u16string& path,
            const std::u16string& extraText);

 private:
  HMENU popup_ = nullptr;
};
