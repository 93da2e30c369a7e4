#include "kvl/platform/graphics.h"

#include <gtest/gtest.h>

namespace kvl {
namespace {

TEST(Colors, ChannelsOfBGRValues) {
  EXPECT_EQ(clRed, RGBColor(255, 0, 0));
  EXPECT_EQ(clNavy, RGBColor(0, 0, 128));
  EXPECT_EQ(GetRValue(0x00123456), 0x56);
  EXPECT_EQ(GetGValue(0x00123456), 0x34);
  EXPECT_EQ(GetBValue(0x00123456), 0x12);
}

TEST(Colors, ColorToRGBUsesLow24BitsAndResolvesSystemColours) {
  EXPECT_EQ(ColorToRGB(0x6088FFF0), 0x0088FFF0u);
  EXPECT_EQ(ColorToRGB(clSilver), clSilver);
  EXPECT_EQ(ColorToRGB(clWindow), clWhite);
  EXPECT_EQ(ColorToRGB(clBtnHighlight), clWhite);
  EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
  EXPECT_FALSE(IsSystemColor(ColorToRGB(clBtnFace)));
  // Button shadow is darker than the face it shades.
  EXPECT_LT(GetRValue(ColorToRGB(clBtnShadow)), GetRValue(ColorToRGB(clBtnFace)));
  EXPECT_EQ(ColorToRGB(clSystemColor | 0xC8), clBlack);  // unknown index
  EXPECT_TRUE(IsSystemColor(clInactiveCaption));
  EXPECT_FALSE(IsSystemColor(clNone));
}

}  // namespace
}  // namespace kvl
