// Text to the clipboard.
#pragma once

#include <windows.h>

#include <string>

// Puts the text on the clipboard as Unicode text, replacing what was there.
bool PutTextOnClipboard(HWND owner, const std::u16string& text);
