// Where the main dialog's controls go when its client area changes size.
#pragma once

#include <map>
#include <span>

struct LayoutRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  bool IsZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

// Control rectangles in client pixels, by control ID.
using ControlRects = std::map<int, LayoutRect>;

// How a control follows the client area.
enum class LayoutRole {
  FillWidth,    // a group box: its right edge follows the effective width
  GrowRight,    // a field: its right edge moves with the width
  MoveRight,    // the right column: moves with the width
  ResultsList,  // the lower three follow the whole client area
  Details,
  StatusBar,
};

struct LaidOutControl {
  int id;
  LayoutRole role;
};

// Every control the layout moves, the one list both the layout and the window iterate.
std::span<const LaidOutControl> MainLayoutControls();

// The status bar's height at 96 DPI.
inline constexpr int kStatusBarHeightAt96 = 20;

// Lays the main dialog out for the new client rectangle: the results list, the details field and
// the status bar follow the whole client area; the upper controls follow the change of the
// effective width (never below 685 pixels) since the previous pass, recorded in layoutRect,
// which is updated. Only the upper controls present in `controls` are moved. Pixel constants
// are for 96 DPI and scaled to `dpi`. Before the first pass is recorded (layoutRect all zero)
// only the lower three controls move.
void LayoutMainDialog(const LayoutRect& client, int resultsLabelBottom, int dpi,
                      LayoutRect& layoutRect, ControlRects& controls);
