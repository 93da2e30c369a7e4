#include "kvl/progbar/progbar.h"

#include <sys/stat.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

#include "kvl/testing/control_fixture.h"
#include "kvl/testing/png_claiming.h"

namespace kvl {
namespace {

constexpr TColor Silver = clSilver;

class ProgBarTest : public TControlTest<TProgBar> {
protected:
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->SetName("Bar");
    Ctl->SetTextVisible(false);
  }
  void Plain() {
    Ctl->SetFrameStyleInner(fsNone);
    Ctl->SetFrameStyleOuter(fsNone);
  }
};

TEST_F(ProgBarTest, ColorTableInterpolatesTheLowBytesByTruncation) {
  const std::pair<int, TColor> Entries[] = {
      {0, clBlue}, {1, 0xFE0000}, {511, 0x7F007F}, {512, 0x7F007F}, {1022, 0x0000FE}, {1023, clRed}};
  for (const auto& [Ix, Col] : Entries) EXPECT_EQ(Ctl->GetBarColors(Ix), Col) << Ix;
  // A system colour stays in its entry and interpolates from its low bytes.
  Ctl->SetColorMin(clBtnFace);
  EXPECT_EQ(Ctl->GetColorMin(), clBtnFace);
  EXPECT_EQ(Ctl->GetBarColors(1), 0x00000F);
  // Entry writes read back, outside the range are ignored, and ColorMax discards them.
  Ctl->SetBarColors(7, clLime);
  for (const int Bad : {-1, 1024, INT_MIN, INT_MAX}) {
    Ctl->SetBarColors(Bad, clAqua);
    EXPECT_EQ(Ctl->GetBarColors(Bad), 0u);
  }
  EXPECT_EQ(Ctl->GetBarColors(7), clLime);
  EXPECT_EQ(Ctl->GetBarColors(1023), clRed);
  Ctl->SetColorMax(clRed);
  EXPECT_NE(Ctl->GetBarColors(7), clLime);
}

TEST_F(ProgBarTest, SolidBarGeometryInEachDirection) {
  struct TCase {
    TDirection Dir;
    double Value;
    TPoint In, Out;  // a pixel of the bar and its neighbour beyond the end
  };
  // 300 x 28 across, 40 x 200 upright; margins 4: inner 292 wide, 192 high.
  const TCase Cases[] = {
      {dirRight, 50, {149, 14}, {150, 14}},  {dirRight, 10, {32, 14}, {33, 14}},
      {dirRight, 150, {297, 14}, {297, 1}},  {dirRight, -20, {3, 14}, {6, 14}},
      {dirLeft, 50, {150, 14}, {149, 14}},   {dirUp, 50, {20, 100}, {20, 99}},
      {dirUp, 100, {20, 6}, {20, 3}},        {dirDown, 50, {20, 99}, {20, 100}},
      {dirRight, 0, {2, 2}, {6, 14}},
  };
  for (const TCase& C : Cases) {
    const bool Upright = C.Dir == dirUp || C.Dir == dirDown;
    Ctl->SetBounds(0, 0, Upright ? 40 : 300, Upright ? 200 : 28);
    Ctl->SetDirection(C.Dir);
    Ctl->SetValue(C.Value);
    const TColor InColor = C.Value == 0 ? Silver : clBlue;
    EXPECT_EQ(PixelAt(C.In.X, C.In.Y), InColor) << int(C.Dir) << " " << C.Value;
    EXPECT_NE(PixelAt(C.Out.X, C.Out.Y), clBlue) << int(C.Dir) << " " << C.Value;
  }
  // Below Min the gradient draws nothing, not even in the margin.
  Ctl->SetValue(-20);
  Ctl->SetShowColorGradient(true);
  EXPECT_EQ(PixelAt(3, 14), Silver);
}

TEST_F(ProgBarTest, GradientMappingsAndGrid) {
  Plain();
  Ctl->SetShowColorGradient(true);
  Ctl->SetValue(50);  // 146 of 292 columns, the first at x = 4
  struct TCase {
    TColorMapping Map;
    int First, Mid, Last;  // table entries at x = 4, 77, 149
  };
  for (const TCase& C : {TCase{cgmCover, 0, 256, 508}, TCase{cgmStretch, 0, 512, 1016},
                         TCase{cgmMove, 515, 771, 1023}}) {
    Ctl->SetColorMapMode(C.Map);
    EXPECT_EQ(PixelAt(4, 14), Ctl->GetBarColors(C.First)) << int(C.Map);
    EXPECT_EQ(PixelAt(77, 14), Ctl->GetBarColors(C.Mid)) << int(C.Map);
    EXPECT_EQ(PixelAt(149, 14), Ctl->GetBarColors(C.Last)) << int(C.Map);
    EXPECT_EQ(PixelAt(150, 14), Silver);
  }
  Ctl->SetColorGrid(clLime);
  Ctl->SetGridDist(10);
  EXPECT_EQ(PixelAt(14, 14), clLime);
  EXPECT_EQ(PixelAt(144, 14), clLime);
  EXPECT_NE(PixelAt(15, 14), clLime);
  EXPECT_NE(PixelAt(154, 14), clLime);
  Ctl->SetGridDist(1);
  EXPECT_NE(PixelAt(14, 14), clLime);
  // Upright: lines from the bottom row up, GridDist apart, while within the bar.
  Ctl->SetBounds(0, 0, 40, 200);
  Ctl->SetDirection(dirUp);
  Ctl->SetGridDist(10);
  EXPECT_EQ(PixelAt(20, 195), clLime);
  EXPECT_EQ(PixelAt(20, 105), clLime);
  EXPECT_NE(PixelAt(20, 95), clLime);
}

TEST_F(ProgBarTest, HugeAndNonFiniteValuesDrawOnlyWhatShows) {
  Plain();
  Ctl->SetGridDist(2);
  Ctl->SetShowColorGradient(true);
  Ctl->SetValue(1e10);
  for (const TColorMapping M : {cgmCover, cgmStretch, cgmMove}) {
    Ctl->SetColorMapMode(M);
    // Odd columns lie between grid lines: entry by the line's place on the whole bar.
    const TColor AtEnd = M == cgmCover ? Ctl->GetBarColors(1019) : clBlue;
    EXPECT_EQ(PixelAt(295, 14), AtEnd) << int(M);
    EXPECT_EQ(PixelAt(297, 14), M == cgmCover ? clRed : clBlue) << int(M);
    EXPECT_EQ(PixelAt(296, 14), clBlack) << int(M);
  }
  for (const TDirection Dir : {dirUp, dirDown, dirLeft}) {
    Ctl->SetDirection(Dir);
    EXPECT_NE(PixelAt(151, 15), Silver) << int(Dir);
  }
  Ctl->SetDirection(dirRight);
  Ctl->SetGridDist(0);
  Ctl->SetShowColorGradient(false);
  Ctl->SetTextVisible(true);
  Ctl->SetTextPosX(200);
  const auto TextShows = [&] {
    const TBitmap Shot = D.Capture(*Ctl);
    for (int X = 180; X < 220; ++X)
      if (PixelOf(Shot, X, 14) != Silver) return true;
    return false;
  };
  const double Inf = std::numeric_limits<double>::infinity();
  for (const double V : {std::nan(""), Inf, -Inf}) {
    Ctl->SetValue(V);
    EXPECT_EQ(PixelAt(8, 14), Silver) << V;
    EXPECT_TRUE(TextShows()) << V;
  }
  Ctl->SetValue(5);
  Ctl->SetRange(5, 5);
  EXPECT_EQ(PixelAt(8, 14), Silver);
  EXPECT_TRUE(TextShows());
  Ctl->SetRange(5, 1);
  EXPECT_EQ(Ctl->GetMin(), 1);
  EXPECT_EQ(Ctl->GetMax(), 5);
}

TEST_F(ProgBarTest, FramesOfEachStyleWithMarginCorners) {
  Ctl->SetFrameStyleInner(fsNone);
  Ctl->SetColorMargin(clYellow);
  const int W = 300, H = 28;
  struct TCase {
    TFrameStyle Style;
    std::vector<std::pair<TPoint, TColor>> Pixels;
  };
  const TCase Cases[] = {
      {fsSimple, {{{0, 10}, clGray}, {{W - 1, 10}, clGray}, {{1, 10}, clYellow}}},
      {fsLowered,
       {{{1, 10}, clBlack}, {{10, 1}, clBlack}, {{10, H - 1}, clWhite}, {{W - 1, 10}, clWhite},
        {{0, 10}, clGray}, {{W - 2, 10}, clGray}, {{0, H - 1}, clYellow}, {{W - 1, 0}, clYellow}}},
      {fsRaised, {{{1, 10}, clWhite}, {{10, H - 1}, clBlack}, {{0, 10}, clGray}}},
      {fsEmbossed,
       {{{1, 10}, clGray}, {{W - 1, 10}, clGray}, {{0, 10}, clWhite}, {{W - 2, 10}, clWhite},
        {{0, H - 1}, clYellow}}},
      {fsEngraved, {{{1, 10}, clWhite}, {{0, 10}, clGray}, {{W - 1, 0}, clYellow}}},
  };
  for (const TCase& C : Cases) {
    Ctl->SetFrameStyleOuter(C.Style);
    for (const auto& [P, Col] : C.Pixels)
      EXPECT_EQ(PixelAt(P.X, P.Y), Col) << int(C.Style) << " at " << P.X << "," << P.Y;
  }
  // The inner frame lies on the inner area, the scheme's colours on both.
  Ctl->SetFrameStyleInner(fsLowered);
  EXPECT_EQ(PixelAt(5, 10), clBlack);
  EXPECT_EQ(PixelAt(4, 10), clGray);
  Ctl->SetColorScheme(csSystem);
  EXPECT_EQ(PixelAt(4, 10), ColorToRGB(clBtnShadow));
  // Margins beyond the control and unknown styles paint without a fault.
  for (const int M : {0, -7, 500, INT_MIN, INT_MAX}) {
    Ctl->SetMarginLeft(M);
    Ctl->SetMarginRight(M);
    Ctl->SetMarginBottom(-(M / 2));
    Ctl->SetValue(M);
    D.Capture(*Ctl);
  }
  Ctl->SetFrameStyleOuter(static_cast<TFrameStyle>(7));
  EXPECT_EQ(Ctl->GetFrameStyleOuter(), fsNone);
  Ctl->SetDirection(static_cast<TDirection>(255));
  Ctl->SetColorMapMode(static_cast<TColorMapping>(7));
  Ctl->SetTextAlignment(static_cast<TAlignment>(9));
  EXPECT_EQ(Ctl->GetDirection(), dirRight);
  EXPECT_EQ(Ctl->GetColorMapMode(), cgmStretch);
  EXPECT_EQ(Ctl->GetTextAlignment(), taCenter);
  for (const auto& [W2, H2] : {std::pair{0, 0}, {1, 1}, {30000, 20}}) {
    Ctl->SetBounds(0, 0, W2, H2);
    D.Capture(*Ctl);
  }
}

TEST(ProgBarValueText, FormsOfEveryDecimalSetting) {
  const double Inf = std::numeric_limits<double>::infinity();
  struct TCase {
    double Value;
    int Decimals;
    std::string Text;
  };
  const TCase Cases[] = {
      {0, 0, "0"},           {3.14159, 3, "3.142"},       {-12.5, 1, "-12.5"},
      {1234567, 0, "1234567"}, {1, 10, "1.0000000000"},  {-0.4, 0, "-0"},
      {2.5, 0, "3"},         {0.125, 2, "0.13"},          {0, -1, "0.000E+00"},
      {0, -2, "0.000E+0000"}, {123456, -1, "1.235E+05"},  {-123456, -2, "-1.235E+0005"},
      {1e-300, -2, "1.000E-0300"}, {1e-300, -1, "**********"}, {1e100, -1, "**********"},
      {std::nan(""), 2, "NaN"}, {Inf, -1, "Inf"},         {-Inf, 0, "-Inf"},
  };
  for (const TCase& C : Cases) EXPECT_EQ(ProgBarValueText(C.Value, C.Decimals), C.Text) << C.Value;
  const std::string Huge = ProgBarValueText(1e308, 10);
  EXPECT_EQ(Huge.size(), 309u + 11u);
  EXPECT_EQ(Huge.substr(0, 4), "1000");
  if (std::setlocale(LC_ALL, "de_DE.utf8")) {
    EXPECT_EQ(ProgBarValueText(1.5, 1), "1.5");
    std::setlocale(LC_ALL, "C");
  }
}

TEST_F(ProgBarTest, ValueTextPlacementHookAndClamps) {
  Ctl->SetBounds(0, 0, 300, 60);
  Ctl->SetValue(0);
  Ctl->SetTextVisible(true);
  Ctl->SetTextPosX(150);
  Ctl->SetTextPosY(30);
  // The ink of the text around the anchor: centred, starting at it, ending at it.
  const auto InkColumns = [&] {
    const TBitmap Shot = D.Capture(*Ctl);
    int L = 300, R = -1;
    for (int Y = 10; Y < 50; ++Y)
      for (int X = 8; X < 292; ++X)
        if (PixelOf(Shot, X, Y) != Silver) L = std::min(L, X), R = std::max(R, X);
    return std::pair{L, R};
  };
  std::string Seen;
  Ctl->OnShowValue = [&](TObject*, std::string& T) {
    Seen = T;
    T = "42 %";
  };
  Ctl->SetTextDecPlaces(1);
  EXPECT_EQ(Seen, "0.0");
  auto [L, R] = InkColumns();
  EXPECT_NEAR((L + R) / 2.0, 150, 2);
  Ctl->SetTextAlignment(taLeftJustify);
  std::tie(L, R) = InkColumns();
  EXPECT_NEAR(L, 150, 2);
  Ctl->SetTextAlignment(taRightJustify);
  std::tie(L, R) = InkColumns();
  EXPECT_NEAR(R, 150, 2);
  Ctl->SetTextAlignment(taCenter);
  Ctl->SetTextAngle(90);
  std::tie(L, R) = InkColumns();
  EXPECT_LT(R - L, 20);
  EXPECT_NEAR((L + R) / 2.0, 150, 3);
  struct TClamp {
    void (TProgBar::*Set)(int);
    int (TProgBar::*Get)() const;
    int In, Out;
  };
  TProgBar& Subject = *Ctl;
  const TClamp Clamps[] = {{&TProgBar::SetTextAngle, &TProgBar::GetTextAngle, 400, 360},
                           {&TProgBar::SetTextAngle, &TProgBar::GetTextAngle, -5, 0},
                           {&TProgBar::SetTextDecPlaces, &TProgBar::GetTextDecPlaces, -5, -2},
                           {&TProgBar::SetTextDecPlaces, &TProgBar::GetTextDecPlaces, 11, 10},
                           {&TProgBar::SetTextPosX, &TProgBar::GetTextPosX, -3, 0},
                           {&TProgBar::SetTextPosX, &TProgBar::GetTextPosX, 900, 300},
                           {&TProgBar::SetTextPosY, &TProgBar::GetTextPosY, 900, 60},
                           {&TProgBar::SetStartInterval, &TProgBar::GetStartInterval, 3, 10}};
  for (const TClamp& C : Clamps) {
    (Subject.*C.Set)(C.In);
    EXPECT_EQ((Subject.*C.Get)(), C.Out) << C.In;
  }
}

TEST_F(ProgBarTest, BackgroundPictureLoadsOnlyRealPictures) {
  namespace fs = std::filesystem;
  const fs::path Dir = TestOutputPath("progbar_bg");
  fs::create_directories(Dir);
  TBitmap Pic(2, 1);
  Pic.ScanLine(0)[0] = ColorToPixel(clRed);
  Pic.ScanLine(0)[1] = ColorToPixel(clLime);
  const std::string Png = (Dir / "pic.png").string(), Bmp = (Dir / "pic.bmp").string();
  Pic.SaveToPngFile(Png);
  Pic.SaveToFile(Bmp);
  Plain();
  Ctl->SetValue(0);
  for (const std::string& F : {Png, Bmp}) {
    Ctl->SetBackGroundImg(F);
    EXPECT_EQ(Ctl->GetBackGroundImg(), F);
    EXPECT_EQ(PixelAt(10, 14), clRed);
    EXPECT_EQ(PixelAt(290, 14), clLime);
  }
  Ctl->SetBackGroundImg("../fuzz/corpus/jpeg_fuzz/colour444_restart.jpg");
  EXPECT_EQ(Ctl->GetBackGroundImg(), "../fuzz/corpus/jpeg_fuzz/colour444_restart.jpg");
  Ctl->SetBackGroundImg(Png);
  // The copy keeps its own pixels when the source loads another picture.
  auto* Copy = new TProgBar(Form);
  Copy->SetParent(Form);
  Copy->SetBounds(0, 100, 300, 28);
  Copy->Assign(Ctl);
  Ctl->SetBackGroundImg(Bmp);
  Ctl->SetBackGroundImg("");
  EXPECT_EQ(PixelOf(D.Capture(*Copy), 10, 14), clRed);
  Ctl->SetBackGroundImg(Png);

  const std::string Fifo = (Dir / "fifo").string();
  fs::remove(Fifo);
  ASSERT_EQ(mkfifo(Fifo.c_str(), 0600), 0);
  const std::string Truncated = (Dir / "cut.png").string(), Huge = (Dir / "huge.png").string();
  const std::vector<std::uint8_t> Bytes = Pic.SaveToPngMemory();
  std::ofstream(Truncated, std::ios::binary).write(reinterpret_cast<const char*>(Bytes.data()), 30);
  {
    const std::vector<std::uint8_t> Claim = testing::PngClaiming(Pic.SaveToPngMemory(), 100000, 100000);
    std::ofstream(Huge, std::ios::binary).write(reinterpret_cast<const char*>(Claim.data()),
                                                std::streamsize(Claim.size()));
  }
  const TBitmap Before = D.Capture(*Ctl);
  for (const std::string& Bad :
       {(Dir / "missing.png").string(), Dir.string(), Fifo, std::string("/dev/zero"), Truncated, Huge}) {
    Ctl->SetBackGroundImg(Bad);
    EXPECT_EQ(Ctl->GetBackGroundImg(), Png) << Bad;
    EXPECT_TRUE(SamePicture(D.Capture(*Ctl), Before)) << Bad;
  }
}

TEST_F(ProgBarTest, AutoIncrementPhasesOnTheClock) {
  int Count = 0;
  Ctl->SetOnAutoInc([&](TObject*) { ++Count; });
  Ctl->SetAutoInc(true);
  Ctl->SetAutoIncStep(0);
  const std::pair<int, double> Steps[] = {{1499, 10}, {1500, 11}, {2199, 11}, {2200, 12}, {2900, 13}};
  int Now = 0;
  for (const auto& [At, Value] : Steps) {
    D.AdvanceTime(At - Now);
    Now = At;
    EXPECT_EQ(Ctl->GetValue(), Value) << At;
    EXPECT_EQ(Count, int(Value) - 10) << At;
  }
  // A new start interval starts over; a new repeat interval ends the start phase at once.
  Ctl->SetStartInterval(1000);
  D.AdvanceTime(999);
  EXPECT_EQ(Ctl->GetValue(), 13);
  D.AdvanceTime(1);
  EXPECT_EQ(Ctl->GetValue(), 14);
  Ctl->SetStartInterval(2000);
  Ctl->SetRepeatInterval(100);
  D.AdvanceTime(100);
  EXPECT_EQ(Ctl->GetValue(), 15);
  // A throwing handler reaches the application's handler; the ticks go on.
  int Handled = 0;
  Application->OnException = [&](TObject*, const std::exception&) { ++Handled; };
  Ctl->SetOnAutoInc([](TObject*) { throw EKVLError("boom"); });
  D.AdvanceTime(200);
  Application->OnException = nullptr;
  EXPECT_EQ(Handled, 2);
  EXPECT_EQ(Ctl->GetValue(), 17);
  Ctl->SetAutoInc(false);
  D.AdvanceTime(1000);
  EXPECT_EQ(Ctl->GetValue(), 17);
  // Refused timers raise the unit's error; design time stores the flag only.
  D.Host().SetRefuseTimers(true);
  try {
    Ctl->SetAutoInc(true);
    ADD_FAILURE() << "no error";
  } catch (const EKVLProgBar& E) {
    EXPECT_STREQ(E.what(), "Component \"Bar\": no timer available");
  }
  D.Host().SetRefuseTimers(false);
  Ctl->SetAutoInc(false);
  Ctl->SetDesigning(true);
  Ctl->SetAutoInc(true);
  EXPECT_TRUE(Ctl->GetAutoInc());
  D.AdvanceTime(3000);
  EXPECT_EQ(Ctl->GetValue(), 17);
}

}  // namespace
}  // namespace kvl

namespace kvl {
namespace {

TEST_F(ProgBarTest, GoldenBars) {
  TBitmap Sheet(300, 6 * 30 + 120);
  const TColorMapping Maps[] = {cgmCover, cgmStretch, cgmMove};
  Ctl->SetTextVisible(true);
  Ctl->SetTextPosX(150);
  for (int I = 0; I < 6; ++I) {
    Ctl->SetShowColorGradient(I > 0 && I < 4);
    Ctl->SetColorMapMode(Maps[I % 3]);
    Ctl->SetValue(I < 5 ? 20.0 * I + 15 : 130);
    Ctl->SetGridDist(I == 3 ? 6 : 0);
    Ctl->SetFrameStyleOuter(static_cast<TFrameStyle>(I));
    Ctl->SetTextDecPlaces(I - 2);
    Sheet.GetCanvas()->Draw(0, I * 30, D.Capture(*Ctl));
  }
  Ctl->SetBounds(0, 0, 40, 120);
  Ctl->SetShowColorGradient(true);
  Ctl->SetTextDecPlaces(0);
  Ctl->SetTextPosX(20);
  Ctl->SetTextPosY(60);
  Ctl->SetTextAngle(90);
  for (int Dir = 0; Dir < 4; ++Dir) {
    Ctl->SetDirection(static_cast<TDirection>(Dir));
    Ctl->SetValue(30 + 15 * Dir);
    Sheet.GetCanvas()->Draw(Dir * 50, 180, D.Capture(*Ctl));
  }
  EXPECT_TRUE(MatchesGolden(Sheet, "testdata/bars.png"));
}

}  // namespace
}  // namespace kvl
