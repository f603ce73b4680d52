// What a control puts on the screen, as pixels, to compare with a reference drawing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> data;  // 0x00RRGGBB, rows top to bottom
};

// The control's client area as it paints it.
Pixels DrawnPixels(HWND control);
// `text` drawn over the control's client area with DrawTextW and `format`, in the control's font
// and the colours its dialog gives static controls.
Pixels TextPixels(HWND control, const std::u16string& text, UINT format);
size_t DifferingPixels(const Pixels& a, const Pixels& b);
