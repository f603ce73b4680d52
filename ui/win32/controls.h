// Thin helpers for the standard controls of a dialog, in the core's UTF-16 strings.
#pragma once

#include <windows.h>

#include <string>

std::u16string GetWindowTextU16(HWND window);
std::u16string GetItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::u16string& text);

// Exactly checked: an indeterminate state counts as unchecked.
bool IsItemChecked(HWND dialog, int id);
void SetItemChecked(HWND dialog, int id, bool checked);
void EnableItem(HWND dialog, int id, bool enabled);

int AddComboItem(HWND dialog, int id, const std::u16string& text);
int GetComboSelection(HWND dialog, int id);
void SetComboSelection(HWND dialog, int id, int index);
