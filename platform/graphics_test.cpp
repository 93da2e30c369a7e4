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

TEST(Colors, ColorToStringNamesConstantsAndWritesOtherValuesInHex) {
  const std::pair<TColor, const char*> Cases[] = {
      {clRed, "clRed"},           {clBlack, "clBlack"},         {clMedGray, "clMedGray"},
      {clBtnFace, "clBtnFace"},   {clScrollBar, "clScrollBar"}, {clMenuBar, "clMenuBar"},
      {clNone, "clNone"},         {clDefault, "clDefault"},     {0x00123456, "0x00123456"},
      {0x00ABCDEF, "0x00ABCDEF"}, {0xFF000019, "0xFF000019"},  // system colour 25 has no name
      {0x12000000, "0x12000000"}, {0x000000FE, "0x000000FE"},
  };
  for (const auto& [C, Name] : Cases) EXPECT_EQ(ColorToString(C), Name) << std::hex << C;
}

}  // namespace
}  // namespace kvl

namespace kvl {
namespace {

TEST(Geometry, RectanglesNormaliseAndIntersect) {
  EXPECT_EQ(Rect(10, 8, 2, 3).Normalized(), Rect(2, 3, 10, 8));
  EXPECT_TRUE(Rect(5, 5, 5, 9).IsEmpty());
  EXPECT_TRUE(Rect(0, 0, 4, 4).Intersect(Rect(4, 0, 8, 4)).IsEmpty());
  EXPECT_EQ(Rect(0, 0, 4, 4).Intersect(Rect(2, -1, 8, 3)), Rect(2, 0, 4, 3));
  EXPECT_TRUE(Rect(0, 0, 2, 2).Contains({1, 1}));
  EXPECT_FALSE(Rect(0, 0, 2, 2).Contains({2, 1}));
}

TEST(MulDiv, RoundsHalvesAwayFromZero) {
  EXPECT_EQ(MulDiv(5, 1, 2), 3);
  EXPECT_EQ(MulDiv(-5, 1, 2), -3);
  EXPECT_EQ(MulDiv(7, 1, 3), 2);
  EXPECT_EQ(MulDiv(5, -1, 2), -3);
  EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000);  // no intermediate overflow
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

TEST(Font, SizeAndHeightAt96PixelsPerInch) {
  TFont F;
  EXPECT_EQ(F.GetName(), "Tahoma");
  EXPECT_EQ(F.GetSize(), 8);
  EXPECT_EQ(F.GetHeight(), -11);
  F.SetSize(12);
  EXPECT_EQ(F.GetHeight(), -16);
  F.SetHeight(-15);
  EXPECT_EQ(F.GetSize(), 11);
}

TEST(Font, EveryChangeReachesEveryListenerAndAssignCopiesAll) {
  TFont F;
  int A = 0, B = 0;
  const int IdA = F.AddChangeListener([&](const TFont&) { ++A; });
  F.AddChangeListener([&](const TFont&) { ++B; });
  F.SetColor(clRed);
  F.SetColor(clRed);  // unchanged: no notification
  F.SetStyle(fsBold | fsItalic);
  EXPECT_EQ(A, 2);
  EXPECT_EQ(B, 2);
  F.RemoveChangeListener(IdA);
  TFont G;
  G.SetName("Arial");
  G.SetOrientation(900);
  F.Assign(G);
  EXPECT_EQ(A, 2);
  EXPECT_EQ(B, 3);
  EXPECT_TRUE(F.SameAttributes(G));
  TFont Copy(F);  // a copy takes the attributes but not the listeners
  Copy.SetColor(clBlue);
  EXPECT_EQ(B, 3);
}

}  // namespace
}  // namespace kvl
