#include "ui/main_layout.h"

#include <algorithm>

#include "resources/resource.h"

namespace {

constexpr int kMinimumEffectiveWidth = 685;
constexpr int kListGapBelowLabel = 7;
constexpr int kListBottomMargin = 73;
constexpr int kDetailsTopMargin = 68;
constexpr int kDetailsHeight = 48;

constexpr LaidOutControl kControls[] = {
    {IDC_SEARCH_OPTIONS, LayoutRole::FillWidth},  {IDC_TEXT_OPTIONS, LayoutRole::FillWidth},
    {IDC_SEARCH_PATH, LayoutRole::GrowRight},     {IDC_EXCLUDE, LayoutRole::GrowRight},
    {IDC_FIND_TEXT, LayoutRole::GrowRight},       {IDC_REPLACE_TEXT, LayoutRole::GrowRight},
    {IDC_MASKS_LABEL, LayoutRole::MoveRight},     {IDC_MASKS, LayoutRole::MoveRight},
    {IDC_SELECT_MASKS, LayoutRole::MoveRight},    {IDC_RUN, LayoutRole::MoveRight},
    {IDC_STOP, LayoutRole::MoveRight},            {IDC_ACTION_LABEL, LayoutRole::MoveRight},
    {IDC_ACTION, LayoutRole::MoveRight},          {IDC_INCLUDE_SUBFOLDERS, LayoutRole::MoveRight},
    {IDC_CASE_SENSITIVE, LayoutRole::MoveRight},  {IDC_CONFIRM_REPLACE, LayoutRole::MoveRight},
    {IDC_RENAME_MODE, LayoutRole::MoveRight},     {IDC_USE_REGEX, LayoutRole::MoveRight},
    {IDC_USE_VARIABLES, LayoutRole::MoveRight},   {IDC_EXCLUDE_PRESET, LayoutRole::MoveRight},
    {IDC_FIND_HISTORY, LayoutRole::MoveRight},    {IDC_REPLACE_HISTORY, LayoutRole::MoveRight},
    {IDC_MASK_HISTORY, LayoutRole::MoveRight},    {IDC_EXCLUDE_HISTORY, LayoutRole::MoveRight},
    {IDC_PREVIEW, LayoutRole::MoveRight},         {IDC_RESULTS, LayoutRole::ResultsList},
    {IDC_DETAILS, LayoutRole::Details},           {IDC_STATUS_BAR, LayoutRole::StatusBar}};

int Scale(int pixels, int dpi) {
  return (pixels * dpi + 48) / 96;
}

}  // namespace

std::span<const LaidOutControl> MainLayoutControls() {
  return kControls;
}

void LayoutMainDialog(const LayoutRect& client, int resultsLabelBottom, int dpi,
                      LayoutRect& layoutRect, ControlRects& controls) {
  const LayoutRect& c = client;
  int listTop = resultsLabelBottom + Scale(kListGapBelowLabel, dpi);
  // The list never gets a negative height.
  int listBottom = std::max(listTop, c.bottom - Scale(kListBottomMargin, dpi));
  int detailsTop = c.bottom - Scale(kDetailsTopMargin, dpi);
  bool upperToo = !layoutRect.IsZero();
  int effectiveRight = std::max(c.right, Scale(kMinimumEffectiveWidth, dpi));
  int shift = upperToo ? effectiveRight - layoutRect.width() - c.left : 0;

  for (const LaidOutControl& control : kControls) {
    switch (control.role) {
      case LayoutRole::ResultsList:
        controls[control.id] = {c.left, listTop, c.right, listBottom};
        continue;
      case LayoutRole::Details:
        controls[control.id] = {c.left, detailsTop, c.right, detailsTop + Scale(kDetailsHeight, dpi)};
        continue;
      case LayoutRole::StatusBar:
        controls[control.id] = {c.left, c.bottom - Scale(kStatusBarHeightAt96, dpi), c.right, c.bottom};
        continue;
      default:
        break;
    }
    auto found = controls.find(control.id);
    if (!upperToo || found == controls.end())
      continue;
    LayoutRect& r = found->second;
    if (control.role == LayoutRole::FillWidth) {
      r.right = effectiveRight;
    } else {
      r.right += shift;
      if (control.role == LayoutRole::MoveRight)
        r.left += shift;
    }
  }
  if (upperToo)
    layoutRect = {c.left, c.top, effectiveRight, c.bottom};
}
