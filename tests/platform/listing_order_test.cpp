#include "platform/posix/listing_order.h"

#include <gtest/gtest.h>

namespace {

TEST(ListingOrderLess, UpperCasedUnitsThenExactUnits) {
  EXPECT_TRUE(platform::ListingOrderLess(u"a", u"B"));
  EXPECT_TRUE(platform::ListingOrderLess(u"B", u"c"));
  EXPECT_TRUE(platform::ListingOrderLess(u"z", u"_"));  // '_' sorts after upper-case letters
  EXPECT_TRUE(platform::ListingOrderLess(u"a", u"ab"));
  EXPECT_TRUE(platform::ListingOrderLess(u"A", u"a"));
  EXPECT_FALSE(platform::ListingOrderLess(u"a", u"A"));
  EXPECT_FALSE(platform::ListingOrderLess(u"a", u"a"));
}

}  // namespace
