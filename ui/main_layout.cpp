#include "ui/main_layout.h"

#include <algorithm>

#include "resources/resource.h"

namespace {

constexpr int kMinimumEffectiveWidth = 685;
constexpr int kListGapBelowLabel = 7;
constexpr int kListBottomMargin = 73;
constexpr int kDetailsTopMargin = 68;
constexpr int kDetailsHeight = 48;
constexpr int kStatusBarHeight = 20;

constexpr int kGroupBoxes[] = {IDC_SEARCH_OPTIONS, IDC_TEXT_OPTIONS};
constexpr int kGrowingFields[] = {IDC_SEARCH_PATH, IDC_EXCLUDE, IDC_FIND_TEXT, IDC_REPLACE_TEXT};
constexpr int kRightColumn[] = {
    IDC_MASKS_LABEL,    IDC_MASKS,           IDC_SELECT_MASKS, IDC_RUN,
    IDC_STOP,           IDC_ACTION_LABEL,    IDC_ACTION,       IDC_INCLUDE_SUBFOLDERS,
    IDC_CASE_SENSITIVE, IDC_CONFIRM_REPLACE, IDC_RENAME_MODE,  IDC_USE_REGEX,
    IDC_USE_VARIABLES,  IDC_EXCLUDE_PRESET,  IDC_FIND_HISTORY, IDC_REPLACE_HISTORY,
    IDC_MASK_HISTORY,   IDC_PREVIEW};

int Scale(int pixels, int dpi) {
  return (pixels * dpi + 48) / 96;
}

template <typename Change>
void ForEachPresent(ControlRects& controls, const int* ids, size_t count, Change change) {
  for (size_t i = 0; i < count; ++i) {
    auto found = controls.find(ids[i]);
    if (found != controls.end())
      change(found->second);
  }
}

}  // namespace

void LayoutMainDialog(const LayoutRect& client, int resultsLabelBottom, int dpi,
                      LayoutRect& layoutRect, ControlRects& controls) {
  const LayoutRect& c = client;
  int listTop = resultsLabelBottom + Scale(kListGapBelowLabel, dpi);
  // The list never gets a negative height.
  int listBottom = std::max(listTop, c.bottom - Scale(kListBottomMargin, dpi));
  controls[IDC_RESULTS] = {c.left, listTop, c.right, listBottom};
  int detailsTop = c.bottom - Scale(kDetailsTopMargin, dpi);
  controls[IDC_DETAILS] = {c.left, detailsTop, c.right, detailsTop + Scale(kDetailsHeight, dpi)};
  controls[IDC_STATUS_BAR] = {c.left, c.bottom - Scale(kStatusBarHeight, dpi), c.right, c.bottom};

  if (layoutRect.IsZero())
    return;

  int effectiveRight = std::max(c.right, Scale(kMinimumEffectiveWidth, dpi));
  int shift = effectiveRight - layoutRect.width() - c.left;
  ForEachPresent(controls, kGroupBoxes, std::size(kGroupBoxes),
                 [&](LayoutRect& r) { r.right = effectiveRight; });
  ForEachPresent(controls, kGrowingFields, std::size(kGrowingFields),
                 [&](LayoutRect& r) { r.right += shift; });
  ForEachPresent(controls, kRightColumn, std::size(kRightColumn), [&](LayoutRect& r) {
    r.left += shift;
    r.right += shift;
  });
  layoutRect = {c.left, c.top, effectiveRight, c.bottom};
}
