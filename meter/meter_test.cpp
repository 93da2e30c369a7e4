#include "kvl/meter/meter.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "kvl/platform/files.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();

class MeterTest : public TControlTest<TMeter> {
protected:
  std::string Events;
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->OnOverFlow = [this](TObject*) { Events += "O"; };
    Ctl->OnUnderFlow = [this](TObject*) { Events += "U"; };
    Ctl->OnNormalRange = [this](TObject*) { Events += "N"; };
  }
  // The labels the scale draws, in drawing order, with where they would go.
  struct TLabel {
    std::string Text;
    int X, Y;
  };
  std::vector<TLabel> Labels() {
    std::vector<TLabel> L;
    Ctl->SetOnBeforeDrawScaleLabel([&](TObject*, TCanvas*, std::string& T, int X, int Y) {
      L.push_back({T, X, Y});
    });
    Ctl->SetOnBeforeDrawScaleLabel(nullptr);
    return L;
  }
  std::string LabelTexts() {
    std::string S;
    for (const TLabel& L : Labels()) S += (S.empty() ? "" : " ") + L.Text;
    return S;
  }
  void ExpectInvariants() {
    const double Mn = Ctl->GetMeterMinValue(), Mx = Ctl->GetMeterMaxValue();
    ASSERT_TRUE(std::isfinite(Mn) && std::isfinite(Mx));
    EXPECT_LT(Mn, Mx);
    EXPECT_LE(Mn, Ctl->GetThresholdLow());
    EXPECT_LE(Ctl->GetThresholdLow(), Ctl->GetThresholdHigh());
    EXPECT_LE(Ctl->GetThresholdHigh(), Mx);
    EXPECT_TRUE(Ctl->GetValue() >= Mn && Ctl->GetValue() <= Mx);
    if (Ctl->GetLogarithmic()) {
      EXPECT_GT(Mn, 0);
    }
  }
};

TEST_F(MeterTest, RangeSettersMoveTheOtherBound) {
  struct TCase {
    bool Log;
    double Min, Max;  // set in this order (Max first when Min is NAN)
    double WantMin, WantMax;
  } Cases[] = {
      {false, 5, NAN, 5, 6},
      {false, NAN, -3, -4, -3},
      {true, NAN, 0.005, 0.0005, 0.005},
      {true, 1e-101, NAN, 0, 1},
      {true, NAN, 1e-120, 0, 1},
      {false, 1e17, NAN, 1e17, 1e17 + 1e8},
      {false, NAN, -1e17, -1e17 - 1e8, -1e17},
      {false, -1e308, NAN, -1e300, 1},
  };
  for (const TCase& C : Cases) {
    Ctl->SetLogarithmic(false);
    Ctl->SetMeterMinValue(0);
    Ctl->SetMeterMaxValue(1);
    if (C.Log) {
      Ctl->SetMeterMinValue(0.01);
      Ctl->SetLogarithmic(true);
      Ctl->SetMeterMinValue(0);
    }
    if (!std::isnan(C.Min)) Ctl->SetMeterMinValue(C.Min);
    if (!std::isnan(C.Max)) Ctl->SetMeterMaxValue(C.Max);
    const double WantMin = C.Log && C.WantMin == 0 ? 0.01 : C.WantMin;
    EXPECT_DOUBLE_EQ(Ctl->GetMeterMinValue(), WantMin) << C.Min << " " << C.Max;
    EXPECT_DOUBLE_EQ(Ctl->GetMeterMaxValue(), C.WantMax) << C.Min << " " << C.Max;
    ExpectInvariants();
  }
}

TEST_F(MeterTest, ValueEventsCompareBeforeClampingAndIncludeTheThresholds) {
  struct TStep {
    double V;
    const char* Want;
  } Steps[] = {{0.5, "N"}, {0, "U"}, {1, "O"}, {5, "O"}, {5, "O"}, {1, ""}, {0.3, "N"}};
  for (const TStep& S : Steps) {
    Events.clear();
    Ctl->SetValue(S.V);
    EXPECT_EQ(Events, S.Want) << S.V;
    EXPECT_EQ(Ctl->GetValue(), std::min(S.V, 1.0));
  }
  // The primary needle hidden: still drawn, but no events; the flags are cleared.
  Ctl->GetNeedleLayout().SetVisible(false);
  Events.clear();
  Ctl->SetValue(1);
  EXPECT_EQ(Events, "");
  EXPECT_FALSE(Ctl->GetOverflow());
  // Thresholds ignore the needles, keep their order and test the value with equality.
  Ctl->SetThresholdLow(0.6);
  EXPECT_EQ(Events, "");
  Ctl->SetThresholdHigh(0.4);
  EXPECT_EQ(Ctl->GetThresholdLow(), 0.4);
  Ctl->SetThresholdLow(1);
  EXPECT_EQ(Events, "OU");
  EXPECT_EQ(Ctl->GetThresholdHigh(), 1);
  EXPECT_TRUE(Ctl->GetOverflow() && Ctl->GetUnderflow());
}

TEST_F(MeterTest, SecondaryValueIsQuietWhileItsNeedleIsHidden) {
  int Paints = 0;
  Ctl->OnMeterRendered = [&](TObject*, TCanvas*) { ++Paints; };
  D.Capture(*Ctl);
  Paints = 0;
  Ctl->SetValueSec(0.7);
  EXPECT_EQ(Events, "");
  EXPECT_EQ(Paints, 0);
  EXPECT_EQ(Ctl->GetValueSec(), 0.7);
  Ctl->GetNeedleLayoutSec().SetVisible(true);
  Paints = 0;
  Ctl->SetValueSec(2);
  EXPECT_EQ(Events, "O");
  EXPECT_EQ(Paints, 1);
}

TEST_F(MeterTest, LoadingStoresOnlyAndLoadedRestoresTheInvariants) {
  struct TCase {
    const char* Name;
    std::function<void(TMeter&)> Set;
  } Cases[] = {
      {"min above max", [](TMeter& M) { M.SetMeterMinValue(5), M.SetMeterMaxValue(0); }},
      {"log below zero", [](TMeter& M) { M.SetMeterMinValue(-1), M.SetLogarithmic(true); }},
      {"crossed thresholds",
       [](TMeter& M) { M.SetThresholdLow(7), M.SetThresholdHigh(2), M.SetValue(9); }},
      {"NaN value", [](TMeter& M) { M.SetValue(NAN), M.SetValueSec(-3); }},
  };
  for (const TCase& C : Cases) {
    Ctl->BeginLoading();
    C.Set(*Ctl);
    Ctl->EndLoading();
    EXPECT_EQ(Events, "") << C.Name;
    D.Capture(*Ctl);
    ExpectInvariants();
  }
  EXPECT_EQ(Ctl->GetValueSec(), -3);  // kept as loaded
}

TEST_F(MeterTest, StepTableAndLabels) {
  struct TCase {
    double Min, Max;
    int N;
    double Step;
    int Sub;
  } Cases[] = {{0, 1, 3, 0.2, 4},          {0, 100, 3, 20, 4},     {0, 100, 5, 10, 5},
               {-1, 1, 3, 0.5, 5},         {0, 40, 2, 10, 5},      {0, 100, 10, 10, 5},
               {0, 10, 2, 2, 4},           {-500, -400, 2, 20, 4}, {0, 1e-12, 4, 2e-13, 4},
               {1e200, 4e200, 2, 1e200, 5}};
  for (const TCase& C : Cases) {
    const TMeterStep S = MeterStep(C.Min, C.Max, C.N);
    EXPECT_DOUBLE_EQ(S.Step, C.Step) << C.Min << ".." << C.Max << " / " << C.N;
    EXPECT_EQ(S.Subdivisions, C.Sub) << C.Min << ".." << C.Max;
    EXPECT_NEAR(S.First, C.Min, std::fabs(S.Step) * 1e-3);
  }
  Ctl->SetMeterMinValue(-1);
  Ctl->SetMeterNrTicks(5);
  // The middle major is -2.2e-16: no "-0.0", and a German locale changes no decimal point.
  const std::string Old = std::setlocale(LC_NUMERIC, nullptr);
  for (const char* Locale : {"C", "de_DE.UTF-8"}) {
    if (!std::setlocale(LC_NUMERIC, Locale)) continue;
    EXPECT_EQ(LabelTexts(), "-1.0 -0.8 -0.6 -0.4 -0.2 0.0 0.2 0.4 0.6 0.8 1.0") << Locale;
  }
  std::setlocale(LC_NUMERIC, Old.c_str());
  Ctl->SetMeterNrTicks(30);
  EXPECT_EQ(Ctl->GetMeterNrTicks(), 21);
  Ctl->SetMeterDecPlaces(-1);
  EXPECT_EQ(Ctl->GetMeterDecPlaces(), 0);
  Ctl->SetMeterNrTicks(2);
  EXPECT_EQ(LabelTexts(), "-1 0 1");
}

TEST_F(MeterTest, LogarithmicLabels) {
  Ctl->SetMeterMaxValue(1000);
  Ctl->SetMeterMinValue(1);
  Ctl->SetLogarithmic(true);
  EXPECT_EQ(LabelTexts(), "1.0 2.0 5.0 10.0 20.0 50.0 100.0 200.0 500.0 1000.0");
  // Unlabelled majors (8 pixels long, minors are 4) at 3, 4, 6 ... 9 times each decade.
  const TBitmap Shot = D.Capture(*Ctl);
  for (const double V : {3.0, 7.0, 40.0, 90.0, 600.0}) {
    const double P = (135 - 90 * std::log(V) / std::log(1000)) * std::acos(-1) / 180;
    const int X = 148 + int(std::nearbyint(169 * std::cos(P)));
    const int Y = 191 - int(std::nearbyint(169 * std::sin(P)));
    int Ink = 0;
    for (int Dy = -1; Dy <= 1; ++Dy)
      for (int Dx = -1; Dx <= 1; ++Dx) Ink += PixelOf(Shot, X + Dx, Y + Dy) == clNavy;
    EXPECT_GT(Ink, 0) << V;
  }
  Ctl->SetMeterMinValue(2);
  Ctl->SetMeterMaxValue(8);
  EXPECT_EQ(LabelTexts(), "2.0 3.0 4.0 5.0 6.0 7.0 8.0");
  // Logarithmic cannot be switched on over a range that reaches zero.
  Ctl->SetLogarithmic(false);
  Ctl->SetMeterMinValue(0);
  Ctl->SetLogarithmic(true);
  EXPECT_FALSE(Ctl->GetLogarithmic());
}

TEST_F(MeterTest, LabelHookPlacesChangesAndDropsLabels) {
  const std::vector<TLabel> L = Labels();
  ASSERT_EQ(L.size(), 6u);
  // The label of the maximum lies on the inner ellipse along the maximum's direction.
  TBitmap Probe(1, 1);
  TCanvas& C = *Probe.GetCanvas();
  C.SetFont(Ctl->GetFont());
  const double Lx = C.TextWidth("1.0") / 2.0 + 15, Ly = C.TextHeight("1.0") / 2.0 + 15;
  const double P = 45 * std::acos(-1) / 180, R = Ctl->GetMeterRadius();
  EXPECT_EQ(L[5].X, int(std::nearbyint(148 + std::cos(P) * (R - Lx))) - C.TextWidth("1.0") / 2);
  EXPECT_EQ(L[5].Y, int(std::nearbyint(191 - std::sin(P) * (R - Ly))) - C.TextHeight("1.0") / 2);
  // Empty texts draw no label; the ticks stay.
  Ctl->SetOnBeforeDrawScaleLabel([](TObject*, TCanvas*, std::string& T, int, int) { T.clear(); });
  const TBitmap Empty = D.Capture(*Ctl);
  EXPECT_EQ(PixelOf(Empty, L[5].X + 3, L[5].Y + C.TextHeight("1") / 2), clWhite);
  EXPECT_EQ(PixelOf(Empty, 148 + int(std::nearbyint(175 * std::cos(P))) - 1,
                    191 - int(std::nearbyint(175 * std::sin(P))) + 1),
            clNavy);
}

TEST_F(MeterTest, ScaleRebuildsOnlyWhenWhatItShowsChanges) {
  int Runs = 0;
  Ctl->SetOnBeforeDrawScaleLabel([&](TObject*, TCanvas*, std::string&, int, int) { ++Runs; });
  Runs = 0;
  Ctl->SetValue(0.5);
  Ctl->SetCaption("x");
  EXPECT_GT(Runs, 0) << "caption";
  const std::vector<std::pair<const char*, std::function<void()>>> Setters = {
      {"min", [&] { Ctl->SetMeterMinValue(-1); }},
      {"max", [&] { Ctl->SetMeterMaxValue(2); }},
      {"low", [&] { Ctl->SetThresholdLow(0.1); }},
      {"high", [&] { Ctl->SetThresholdHigh(0.9); }},
      {"layout", [&] { Ctl->SetMeterLayout(mlCirc180); }},
      {"rim", [&] { Ctl->SetRimSide(12); }},
      {"ticks", [&] { Ctl->SetMeterNrTicks(4); }},
      {"decimals", [&] { Ctl->SetMeterDecPlaces(2); }},
      {"short ticks", [&] { Ctl->SetMeterShortTicks(false); }},
      {"scale line", [&] { Ctl->SetMeterScaleLine(false); }},
      {"colour", [&] { Ctl->SetColorScale(clRed); }},
      {"background", [&] { Ctl->SetColorBakG(clYellow); }},
      {"band colour", [&] { Ctl->SetColorSclBkHigh(clBlue); }},
      {"bands", [&] { Ctl->SetScaleBkVisible(true); }},
      {"band width", [&] { Ctl->SetScaleBkWidth(30); }},
      {"fill mode", [&] { Ctl->SetBkgndFillMode(bfTiled); }},
      {"font", [&] { Ctl->GetFont().SetSize(11); }},
      {"caption font", [&] { Ctl->GetFontCaption().SetColor(clRed); }},
      {"size", [&] { Ctl->SetWidth(320); }},
      {"rebuild", [&] { Ctl->RebuildScale(); }},
  };
  for (const auto& [Name, Set] : Setters) {
    Runs = 0;
    Set();
    D.Capture(*Ctl);
    EXPECT_GT(Runs, 0) << Name;
    Runs = 0;
    Ctl->SetValue(Ctl->GetValue() == 0.5 ? 0.6 : 0.5);
    D.Capture(*Ctl);
    EXPECT_EQ(Runs, 0) << "value after " << Name;
  }
}

TEST_F(MeterTest, ConversionsRoundTripOnEveryLayout) {
  for (const bool Log : {false, true}) {
    Ctl->SetLogarithmic(false);
    Ctl->SetMeterMinValue(Log ? 1 : -3);
    Ctl->SetMeterMaxValue(Log ? 1000 : 7);
    Ctl->SetLogarithmic(Log);
    for (int L = 0; L < 6; ++L) {
      Ctl->SetMeterLayout(TMeterLayout(L));
      double V = 0;
      EXPECT_TRUE(Ctl->ConvertPixelToValue(Ctl->GetMeterCenterX(), Ctl->GetMeterCenterY(), V));
      EXPECT_NEAR(V, Log ? std::sqrt(1000) : 2, 1e-9) << L;
      if (L != mlCirc360) {
        EXPECT_FALSE(Ctl->ConvertPixelToValue(Ctl->GetMeterCenterX(), 1000, V));
        EXPECT_EQ(V, 0);
      }
      const double Span = Ctl->GetMeterAngle(), Pixel = 180 / std::acos(-1) / (0.9 * 175);
      for (double F = 0.05; F < 0.96; F += 0.15) {
        const double Want = Log ? std::pow(1000, F) : -3 + 10 * F;
        int X, Y;
        Ctl->ConvertToPixelCoords(Want, 90, X, Y);
        ASSERT_TRUE(Ctl->ConvertPixelToValue(X, Y, V));
        const double Back = Log ? std::log(V) / std::log(1000) : (V + 3) / 10;
        EXPECT_NEAR(Back, F, 2 * Pixel / Span) << L << " " << Want;
      }
    }
  }
}

TEST_F(MeterTest, MouseMoveReportsAfterTheInheritedEvent) {
  std::string Seen;
  Ctl->OnMouseMove = [&](TObject*, TShiftState, int, int) { Seen += "move "; };
  Ctl->OnMouseMoveInMeter = [&](TObject*, bool In, TShiftState S, double V) {
    Seen += std::string(In ? "in " : "out ") + ((S & ssShift) ? "shift " : "") +
            std::to_string(int(std::lround(V * 100)));
  };
  D.MouseMove(*Ctl, 148, 100);
  EXPECT_EQ(Seen, "move in 50");
  Seen.clear();
  D.KeyDown(*Form, 16);
  D.MouseMove(*Ctl, 148, 200);
  EXPECT_EQ(Seen, "move out shift 0");
}

TEST_F(MeterTest, HostileValuesKeepTheInvariantsAndPaint) {
  TMeter& M = *Ctl;
  using TDoubleSetter = void (TMeter::*)(double);
  const TDoubleSetter DoubleSetters[] = {&TMeter::SetMeterMinValue, &TMeter::SetMeterMaxValue,
                                         &TMeter::SetValue,         &TMeter::SetValueSec,
                                         &TMeter::SetThresholdLow,  &TMeter::SetThresholdHigh,
                                         &TMeter::SetScaleBkWidth};
  const double Doubles[] = {NAN, Inf, -Inf, 1e308, -1e308, 4.9e-324, -0.0, 2.2e-308};
  for (const double X : Doubles) {
    for (const TDoubleSetter Set : DoubleSetters) {
      (M.*Set)(X);
      ExpectInvariants();
      EXPECT_TRUE(std::isfinite(M.GetScaleBkWidth()));
    }
    D.Capture(M);
  }
  // A step lost in the rounding of a huge minimum, and a range of a few subnormals.
  M.SetMeterMaxValue(1.8e18);
  M.SetMeterMinValue(1.7e18 + 256);
  M.SetMeterMaxValue(1.7e18 + 512);
  M.SetMeterNrTicks(2);
  EXPECT_EQ(PixelAt(148 - 124, 191 - 124), clNavy) << "the tick at the minimum";
  M.SetMeterMinValue(0);
  M.SetMeterMaxValue(5e-324);
  D.Capture(M);
  using TIntSetter = void (TMeter::*)(int);
  const TIntSetter IntSetters[] = {&TMeter::SetRimTop,       &TMeter::SetRimBottom,
                                   &TMeter::SetRimSide,      &TMeter::SetAnchorSize,
                                   &TMeter::SetMeterNrTicks, &TMeter::SetMeterDecPlaces};
  using TNeedleSetter = void (TNeedleLayout::*)(int);
  const TNeedleSetter NeedleSetters[] = {&TNeedleLayout::SetHeadSize,
                                         &TNeedleLayout::SetHeadAngle,
                                         &TNeedleLayout::SetHeadMidLeng,
                                         &TNeedleLayout::SetThickness,
                                         &TNeedleLayout::SetPercentNeedleLength,
                                         &TNeedleLayout::SetShadowDx,
                                         &TNeedleLayout::SetShadowDy};
  for (const int I : {INT_MIN, INT_MAX}) {
    for (const TIntSetter Set : IntSetters) {
      (M.*Set)(I);
      D.Capture(M);
      (M.*Set)(10);
    }
    for (const TNeedleSetter Set : NeedleSetters) {
      (M.GetNeedleLayout().*Set)(I);
      D.Capture(M);
    }
  }
  EXPECT_EQ(Ctl->GetRimTop(), 10);
  EXPECT_EQ(Ctl->GetNeedleLayout().GetShadowDx(), INT_MAX);
  EXPECT_EQ(Ctl->GetNeedleLayout().GetHeadAngle(), 180);
  for (const auto& [W, H] : {std::pair{0, 0}, {1, 1}, {30000, 30000}}) {
    Ctl->SetBounds(0, 0, W, H);
    Ctl->SetValue(Ctl->GetValue() + 0.01);
    D.Capture(*Form);
  }
}

TEST_F(MeterTest, AssignCopiesTheMetersOwnStateQuietly) {
  TNeedleLayout Lone;
  EXPECT_FALSE(Lone.GetVisible());
  EXPECT_EQ(Lone.GetHeadSize() + Lone.GetPercentNeedleLength() + int(Lone.GetColorBody()), 0);
  int Notes = 0;
  Lone.OnChange = [&](TObject*) { ++Notes; };
  Lone.SetHeadAngle(400);
  Lone.SetHeadAngle(180);  // clamped before the comparison: no second note
  Lone.Assign(&Ctl->GetNeedleLayout());
  EXPECT_EQ(Notes, 2);
  EXPECT_EQ(Lone.GetHeadAngle(), 30);
  Lone.SetColorBody(clRed);
  int Paints = 0;
  Ctl->OnMeterRendered = [&](TObject*, TCanvas*) { ++Paints; };
  D.Capture(*Ctl);
  Paints = 0;
  Ctl->SetNeedleLayoutSec(Lone);
  EXPECT_EQ(Paints, 1);
  EXPECT_EQ(Ctl->GetNeedleLayoutSec().GetColorBody(), clRed);
  EXPECT_TRUE(Ctl->GetNeedleLayoutSec().GetVisible());

  auto* Src = new TMeter(Form);
  Src->SetMeterMaxValue(50);
  Src->SetValue(60);
  Src->SetCaption("src");
  Src->SetColorCover(clTeal);
  Src->SetBounds(300, 10, 200, 150);
  Src->GetFont().SetSize(14);
  Src->SetDragMode(dmAutomatic);
  Src->SetStyleElements(seFont);
  EXPECT_EQ(Src->GetDragMode(), dmAutomatic);
  EXPECT_EQ(Src->GetStyleElements(), seFont);
  Paints = 0;
  Ctl->Assign(Src);
  D.Capture(*Ctl);
  EXPECT_EQ(Events, "");
  EXPECT_EQ(Paints, 1);
  EXPECT_EQ(Ctl->GetValue(), 50);
  EXPECT_TRUE(Ctl->GetOverflow());
  EXPECT_EQ(Ctl->GetCaption(), "src");
  EXPECT_EQ(Ctl->GetColorCover(), clTeal);
  EXPECT_EQ(Ctl->GetWidth(), 297);
  EXPECT_NE(Ctl->GetFont().GetSize(), 14);
  EXPECT_THROW(Ctl->Assign(&Lone), EConvertError);
}

// --- picture files ---

class MeterPictureTest : public MeterTest {
protected:
  std::string Dir;
  void SetUp() override {
    MeterTest::SetUp();
    Dir = TestOutputPath("meter_pictures");
    ::mkdir(Dir.c_str(), 0755);
  }
  std::string Png(const std::string& Name, int W, int H, TColor C) {
    TBitmap B(W, H);
    B.GetCanvas()->GetBrush().SetColor(C);
    B.GetCanvas()->FillRect(Rect(0, 0, W, H));
    const std::string Path = Dir + "/" + Name;
    B.SaveToPngFile(Path);
    return Path;
  }
  std::string Bytes(const std::string& Name, const std::string& Content) {
    const std::string Path = Dir + "/" + Name;
    std::ofstream(Path, std::ios::binary) << Content;
    return Path;
  }
};

TEST_F(MeterPictureTest, NamesThatAreNoRegularFileAreCleared) {
  const std::string Good = Png("good.png", 3, 2, clBlue);
  const std::string Fifo = Dir + "/fifo", Link = Dir + "/link", Loop = Dir + "/loop";
  ::unlink(Fifo.c_str());
  ::mkfifo(Fifo.c_str(), 0600);
  ::unlink(Link.c_str());
  ::symlink(Good.c_str(), Link.c_str());
  const std::string Dangling = Dir + "/dangling";
  ::unlink(Dangling.c_str());
  ::symlink((Dir + "/none").c_str(), Dangling.c_str());
  ::unlink(Loop.c_str());
  ::symlink(Loop.c_str(), Loop.c_str());
  for (const std::string& Bad :
       {Dir + "/missing.png", Fifo, std::string("/dev/zero"), Dir, Dangling, Loop}) {
    Ctl->SetBackGroundImg(Good);
    Ctl->SetBackGroundImg(Bad);
    EXPECT_EQ(Ctl->GetBackGroundImg(), "") << Bad;
    Ctl->SetAnchorImage(Good);
    Ctl->SetAnchorImage(Bad);
    EXPECT_EQ(Ctl->GetAnchorImage(), "") << Bad;
  }
  Ctl->SetBackGroundImg(Link);
  EXPECT_EQ(Ctl->GetBackGroundImg(), Link);
  EXPECT_EQ(Ctl->GetBackgroundBitmap().GetWidth(), 3);
}

TEST_F(MeterPictureTest, UnreadablePicturesKeepThePreviousOne) {
  const std::string Good = Png("one.png", 1, 1, clRed);
  std::string Whole;
  {
    std::ifstream In(Png("big.png", 40, 40, clBlue), std::ios::binary);
    Whole.assign(std::istreambuf_iterator<char>(In), {});
  }
  // A PNG header that declares 100 000 x 100 000 pixels.
  std::string Huge = Whole.substr(0, 33);
  for (const int Off : {16, 20}) {
    Huge[Off] = 0, Huge[Off + 1] = 1, Huge[Off + 2] = char(0x86), Huge[Off + 3] = char(0xA0);
  }
  // The same picture declaring 0 x 0 pixels.
  std::string Empty = Whole;
  for (int I = 16; I < 24; ++I) Empty[std::size_t(I)] = 0;
  const std::string Sparse = Dir + "/sparse.png";
  { std::ofstream(Sparse, std::ios::binary) << Whole.substr(0, 8); }
  ASSERT_EQ(::truncate(Sparse.c_str(), (off_t(1) << 30) + 1), 0);
  Ctl->SetBkgndFillMode(bfTiled);
  Ctl->SetBackGroundImg(Good);
  const TBitmap Before = D.Capture(*Ctl);
  for (const std::string& Bad : {Bytes("cut.png", Whole.substr(0, Whole.size() / 2)),
                                 Bytes("empty.png", Empty), Bytes("huge.png", Huge), Sparse}) {
    EXPECT_THROW(Ctl->SetBackGroundImg(Bad), EInvalidGraphic) << Bad;
    EXPECT_EQ(Ctl->GetBackGroundImg(), Good);
    EXPECT_TRUE(SamePicture(D.Capture(*Ctl), Before));
    Ctl->SetAnchorImage(Good);
    Ctl->SetAnchorImage(Bad);
    EXPECT_EQ(Ctl->GetAnchorImage(), "");
  }
  // The 1 x 1 picture tiled over 400 x 400 colours every background pixel.
  Ctl->SetBounds(0, 0, 400, 400);
  Ctl->SetScaleVisible(false);
  const TBitmap Tiled = D.Capture(*Ctl);
  EXPECT_EQ(PixelOf(Tiled, 200, 60), clRed);
  EXPECT_EQ(PixelOf(Tiled, 30, 300), clRed);
  // While loading the name is only stored; Loaded reads it and clears a failure.
  Ctl->BeginLoading();
  Ctl->SetBackGroundImg(Dir + "/cut.png");
  Ctl->SetAnchorImage(Good);
  EXPECT_EQ(Ctl->GetBackGroundImg(), Dir + "/cut.png");
  Ctl->EndLoading();
  EXPECT_EQ(Ctl->GetBackGroundImg(), "");
  EXPECT_EQ(Ctl->GetAnchorImage(), Good);
}

}  // namespace
}  // namespace kvl
