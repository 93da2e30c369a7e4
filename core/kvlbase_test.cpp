#include "kvl/core/kvlbase.h"

#include <gtest/gtest.h>

#include "kvl/core/dstruct.h"
#include "kvl/core/kvlcolors.h"

namespace kvl {
namespace {

class EKVLSampleError : public EKVLError {
public:
  using EKVLError::EKVLError;
};

TEST(ComponentMessage, NamesTheComponentInQuotes) {
  EXPECT_EQ(ComponentMessage("NumIO1", rsNoTimer), "Component \"NumIO1\": no timer available");
  EXPECT_EQ(ComponentMessage("", rsIntegerOverflow), "Component \"\": integer overflow");
  EXPECT_EQ(ComponentMessage("Tab\"le", rsInitTableEditor),
            "Component \"Tab\"le\": failed to initialize table editor (out of memory)");
}

TEST(ComponentMessage, UnitExceptionsAreCaughtAsTheFamilyAndCarryTheMessage) {
  try {
    RaiseComponentError<EKVLSampleError>("RLData1", rsHeapFull);
    FAIL() << "nothing raised";
  } catch (const EKVLError& E) {
    EXPECT_NE(dynamic_cast<const EKVLSampleError*>(&E), nullptr);
    EXPECT_EQ(E.Message(), "Component \"RLData1\": not enough memory on heap");
    EXPECT_STREQ(E.what(), E.Message().c_str());
  }
  EXPECT_THROW(RaiseComponentError<EKVLSampleError>("", rsInitOutOfMemory), Exception);
}

TEST(Enumerations, KeepTheirStoredOrdinals) {
  EXPECT_EQ(int(fsEngraved), 5);
  EXPECT_EQ(int(dpsBoth), 3);
  EXPECT_EQ(int(csSystem), 1);
  EXPECT_EQ(int(dirUp), 0);
  EXPECT_EQ(int(dirRight), 3);
  EXPECT_EQ(int(bfTiled), 2);
  EXPECT_EQ(int(lgEnglish), 1);
  EXPECT_EQ(int(lgSpanish), 4);
  EXPECT_EQ(sizeof(TFrameStyle), 1u);
}

TEST(Enumerations, UnknownBytesMapToSafeValues) {
  EXPECT_EQ(FrameStyleFromByte(4), fsEmbossed);
  EXPECT_EQ(FrameStyleFromByte(6), fsNone);
  EXPECT_EQ(FrameStyleFromByte(255), fsNone);
  EXPECT_EQ(DecPSepFromByte(2), dpsComma);
  EXPECT_EQ(DecPSepFromByte(4), dpsBoth);
}

TEST(ColorScheme, FixedIsGreyAndWhiteEveryOtherValueUsesTheDesktop) {
  EXPECT_EQ(ColorSchemeColors(csFixed).Shadow, clGray);
  EXPECT_EQ(ColorSchemeColors(csFixed).Light, clWhite);
  EXPECT_EQ(ColorSchemeColors(csSystem).Shadow, clBtnShadow);
  EXPECT_EQ(ColorSchemeColors(csSystem).Light, clBtnHighlight);
  EXPECT_EQ(ColorSchemeColors(static_cast<TColorScheme>(7)).Shadow, clBtnShadow);
}

TEST(PredefinedColors, NumbersTheBasicColoursTheExtrasAndTheFirstSystemColours) {
  const std::pair<int, TColor> Cases[] = {
      {1, clBlack},       {2, clMaroon},   {10, clRed},       {16, clWhite},
      {17, clMoneyGreen}, {20, clMedGray}, {21, clScrollBar}, {36, clBtnFace},
      {45, clInfoBk},     {46, clHotLight}, {47, clGradientActiveCaption},
      {0, clNone},        {48, clNone},    {-1, clNone}};
  for (const auto& [N, C] : Cases) EXPECT_EQ(PredefinedColors[N], C) << N;
  EXPECT_EQ(TPredefinedColors::Count, 47);
}

TEST(MeanColor, AveragesEachChannelOfResolvedColours) {
  EXPECT_EQ(MeanColor(clBlack, clWhite), RGBColor(127, 127, 127));
  EXPECT_EQ(MeanColor(clRed, clBlue), RGBColor(127, 0, 127));
  EXPECT_EQ(MeanColor(clWindow, clWindow), ColorToRGB(clWindow));
  // The top byte of a plain colour is ignored.
  EXPECT_EQ(MeanColor(0x6000FF00, 0x0000FF00), clLime);
}

TEST(DoubleArray, ReadsOutsideGiveZeroWritesOutsideAreIgnored) {
  TDoubleArray A;
  EXPECT_TRUE(A.Empty());
  A.SetNumElems(3);
  A.SetElem(0, 1.5);
  A.SetElem(3, 9.0);
  A.SetElem(-1, 9.0);
  EXPECT_EQ(A.GetElem(0), 1.5);
  EXPECT_EQ(A.GetElem(2), 0.0);
  EXPECT_EQ(A.GetElem(3), 0.0);
  EXPECT_EQ(A.GetElem(-1), 0.0);
  A.Add(4.0);
  EXPECT_EQ(A.GetNumElems(), 4);
  EXPECT_EQ(A.GetElem(3), 4.0);
  A.SetNumElems(-5);
  EXPECT_TRUE(A.Empty());
}

}  // namespace
}  // namespace kvl
