#include "ui/main_layout.h"

#include <gtest/gtest.h>

#include "resources/resource.h"

namespace {

// The upper controls at some start position; only their relative movement matters.
ControlRects UpperControls() {
  return {{IDC_SEARCH_OPTIONS, {0, 9, 690, 99}},  {IDC_TEXT_OPTIONS, {0, 108, 690, 297}},
          {IDC_SEARCH_PATH, {9, 45, 495, 66}},    {IDC_FIND_TEXT, {9, 144, 495, 198}},
          {IDC_REPLACE_TEXT, {9, 225, 495, 279}}, {IDC_MASKS, {504, 45, 675, 66}},
          {IDC_RUN, {324, 72, 405, 93}},          {IDC_USE_VARIABLES, {504, 270, 592, 285}},
          {IDC_BROWSE, {9, 72, 90, 93}}};
}

}  // namespace

TEST(LayoutMainDialog, LowerControlsFollowTheClientArea) {
  LayoutRect layout{};
  ControlRects controls;
  LayoutMainDialog({0, 0, 684, 500}, 315, 96, layout, controls);
  EXPECT_EQ(controls[IDC_RESULTS], (LayoutRect{0, 322, 684, 427}));
  EXPECT_EQ(controls[IDC_DETAILS], (LayoutRect{0, 432, 684, 480}));
  EXPECT_EQ(controls[IDC_STATUS_BAR], (LayoutRect{0, 480, 684, 500}));
  EXPECT_TRUE(layout.IsZero()) << "nothing above moves before the first recorded pass";
}

TEST(LayoutMainDialog, WideningMovesTheRightColumnAndGrowsTheFields) {
  LayoutRect layout{0, 0, 700, 500};
  ControlRects before = UpperControls();
  ControlRects after = before;
  LayoutMainDialog({0, 0, 800, 500}, 315, 96, layout, after);
  EXPECT_EQ(after[IDC_MASKS].left, before[IDC_MASKS].left + 100);
  EXPECT_EQ(after[IDC_MASKS].width(), before[IDC_MASKS].width());
  EXPECT_EQ(after[IDC_RUN].left, before[IDC_RUN].left + 100);
  EXPECT_EQ(after[IDC_USE_VARIABLES].left, before[IDC_USE_VARIABLES].left + 100);
  for (int field : {IDC_SEARCH_PATH, IDC_FIND_TEXT, IDC_REPLACE_TEXT}) {
    EXPECT_EQ(after[field].left, before[field].left);
    EXPECT_EQ(after[field].right, before[field].right + 100);
  }
  EXPECT_EQ(after[IDC_SEARCH_OPTIONS].right, 800);
  EXPECT_EQ(after[IDC_TEXT_OPTIONS].right, 800);
  EXPECT_EQ(after[IDC_BROWSE], before[IDC_BROWSE]) << "the left buttons stay";
  EXPECT_EQ(layout, (LayoutRect{0, 0, 800, 500}));
}

TEST(LayoutMainDialog, BelowTheMinimumWidthTheUpperPartStaysPut) {
  LayoutRect layout{0, 0, 685, 500};
  ControlRects before = UpperControls();
  ControlRects after = before;
  LayoutMainDialog({0, 0, 500, 400}, 315, 96, layout, after);
  EXPECT_EQ(after[IDC_MASKS], before[IDC_MASKS]);
  EXPECT_EQ(after[IDC_SEARCH_PATH], before[IDC_SEARCH_PATH]);
  EXPECT_EQ(after[IDC_RESULTS].right, 500) << "the list follows the real width";
  // Narrowing from wider than the minimum stops at the minimum.
  layout = {0, 0, 800, 500};
  after = before;
  LayoutMainDialog({0, 0, 500, 400}, 315, 96, layout, after);
  EXPECT_EQ(after[IDC_MASKS].left, before[IDC_MASKS].left - 115);
  EXPECT_EQ(layout.right, 685);
}

TEST(LayoutMainDialog, ShortClientAreaGivesTheListNoNegativeHeight) {
  LayoutRect layout{};
  ControlRects controls;
  LayoutMainDialog({0, 0, 700, 350}, 315, 96, layout, controls);
  EXPECT_EQ(controls[IDC_RESULTS].height(), 0);
}

TEST(LayoutMainDialog, PixelConstantsScaleWithDpi) {
  LayoutRect layout{0, 0, 1028, 800};
  ControlRects controls = UpperControls();
  LayoutMainDialog({0, 0, 900, 800}, 400, 144, layout, controls);
  EXPECT_EQ(controls[IDC_STATUS_BAR], (LayoutRect{0, 770, 900, 800}));
  EXPECT_EQ(controls[IDC_RESULTS].top, 400 + 11);
  EXPECT_EQ(controls[IDC_RESULTS].bottom, 800 - 110);
  EXPECT_EQ(layout.right, 1028) << "685 at 144 DPI is 1028";
}
