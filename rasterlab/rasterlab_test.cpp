#include "kvl/rasterlab/rasterlab.h"

#include <climits>
#include <cstring>

#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

constexpr TColor Off = 0x00404040;

class RasterLabTest : public TControlTest<TRasterLab> {
protected:
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->SetName("Ticker");
  }
  // A fresh label on the form with the same look as Ctl.
  TRasterLab* Twin(int Top) {
    auto* R = new TRasterLab(Form);
    R->SetParent(Form);
    R->SetBounds(0, Top, Ctl->GetWidth(), Ctl->GetHeight());
    R->SetDotSize(Ctl->GetDotSize());
    R->SetDotSpacing(Ctl->GetDotSpacing());
    R->SetCharBlockMode(Ctl->GetCharBlockMode());
    R->SetFrameStyle(Ctl->GetFrameStyle());
    R->SetText(Ctl->GetText());
    return R;
  }
  TFont Sans() {
    TFont F;
    F.SetName("Sans");
    F.SetSize(9);
    F.SetStyle(fsBold);
    return F;
  }
};

TEST(RasterLabFont, BuiltInFontKeepsItsRecords) {
  TFont F;
  F.SetName("DeFaUlT");
  for (const TRDCharMatrix& M : {TRasterLab::CreateBitFont(nullptr), TRasterLab::CreateBitFont(&F)}) {
    EXPECT_EQ(M.FontWidth, 7);
    EXPECT_EQ(M.FontHeight, 12);
    const struct {
      int Code, Left, Right;
      std::array<std::uint32_t, 12> Rows;
    } Samples[] = {
        {32, 0, 6, {}},
        {48, 1, 5, {0x00, 0x1C, 0x22, 0x22, 0x22, 0x22, 0x22, 0x22, 0x22, 0x1C, 0x00, 0x00}},
        {65, 0, 6, {0x00, 0x08, 0x08, 0x14, 0x14, 0x22, 0x3E, 0x22, 0x22, 0x77, 0x00, 0x00}},
        {103, 0, 6, {0x00, 0x00, 0x00, 0x00, 0x7E, 0x21, 0x21, 0x21, 0x3E, 0x20, 0x20, 0x1E}}};
    for (const auto& S : Samples) {
      EXPECT_EQ(M.LeftMostBit[S.Code], S.Left) << S.Code;
      EXPECT_EQ(M.RightMostBit[S.Code], S.Right) << S.Code;
      for (int R = 0; R < 12; ++R) EXPECT_EQ(M.BitData[S.Code][R], S.Rows[R]) << S.Code;
    }
    for (int Code = 0; Code < 256; ++Code) {
      std::uint32_t Any = 0, Outside = 0;
      for (int R = 0; R < 32; ++R) {
        Any |= M.BitData[Code][R];
        Outside |= R < 12 ? M.BitData[Code][R] & ~0x7Fu : M.BitData[Code][R];
      }
      const bool Printable = (Code >= 33 && Code <= 126) || Code >= 161;
      EXPECT_EQ(Any != 0, Printable) << Code;
      EXPECT_EQ(Outside, 0u) << Code;
      if (Code < 32) {
        EXPECT_EQ(M.LeftMostBit[Code] | M.RightMostBit[Code], 0) << Code;
      }
    }
  }
}

TEST_F(RasterLabTest, ConvertedFontHasNoBoxesAndBlankGlyphsAdvanceOnePitch) {
  Ctl->SetFont(Sans());
  const TRDCharMatrix M = Ctl->GetCharMatrix();
  EXPECT_GT(M.FontHeight, 6);
  EXPECT_LE(M.FontHeight, 32);
  EXPECT_EQ(M.LeftMostBit[32], 0);
  EXPECT_EQ(M.RightMostBit[32], M.FontWidth / 2);
  EXPECT_EQ(M.LeftMostBit[160], 31);
  EXPECT_EQ(M.RightMostBit[160], 0);
  for (int Code = 128; Code < 160; ++Code)
    for (int R = 0; R < 32; ++R) ASSERT_EQ(M.BitData[Code][R], 0u) << Code;
  const TFont F = Sans();
  const TRDCharMatrix Again = TRasterLab::CreateBitFont(&F);
  EXPECT_EQ(std::memcmp(&Again, &M, sizeof M), 0);
  // A blank between two letters: the second stands right of the first.
  Ctl->SetFrameStyle(fsNone);
  Ctl->SetCharBlockMode(rdbmOff);
  Ctl->SetDotSize(1);
  Ctl->SetDotSpacing(0);
  Ctl->SetText("a\xC2\xA0" "b");
  EXPECT_EQ(Ctl->GetTextBitLength(), Ctl->CalcTextBitLength("a\xC2\xA0" "b") + 1);
  const int AEnd = M.RightMostBit['a'] - M.LeftMostBit['a'] + 1;
  const TBitmap Shot = D.Capture(*Ctl);
  int FirstB = -1;
  for (int X = AEnd + 2; X < 60 && FirstB < 0; ++X)
    for (int Y = 0; Y < 32; ++Y)
      if (PixelOf(Shot, X, Y) == clLime) FirstB = X;
  EXPECT_EQ(FirstB, 1 + AEnd + 2);
  // Built again, the built-in font leaves nothing of the converted one.
  Ctl->GetFont().SetName("default");
  for (int Code = 0; Code < 32; ++Code)
    for (int R = 0; R < 32; ++R) ASSERT_EQ(Ctl->GetCharMatrix().BitData[Code][R], 0u);
}

TEST_F(RasterLabTest, DotsBlocksAndRaster) {
  Ctl->SetFrameStyle(fsNone);
  Ctl->SetPosX(0);
  Ctl->SetPosY(0);
  Ctl->SetText("A");
  const TRDCharMatrix& M = Ctl->GetCharMatrix();
  // One glyph: squares of DotSize at the pitch, single pixels at DotSize 1.
  for (const int Size : {1, 3}) {
    Ctl->SetDotSize(Size);
    Ctl->SetCharBlockMode(rdbmOff);
    const int P = Size + 1;
    const TBitmap Shot = D.Capture(*Ctl);
    for (int Y = 0; Y < 12 * P; ++Y)
      for (int X = 0; X < 7 * P; ++X) {
        const bool Dot = X % P < Size && Y % P < Size && (M.BitData['A'][Y / P] >> (X / P) & 1);
        ASSERT_EQ(PixelOf(Shot, X, Y), Dot ? clLime : clBlack) << Size << " " << X << "," << Y;
      }
  }
  // Blocks blank one pitch before and after each character; the raster runs through.
  Ctl->SetPosX(8);
  Ctl->SetText("II");
  const int Gap = 8 + (M.RightMostBit['I'] - M.LeftMostBit['I'] + 1) * 4;  // after the first I
  Ctl->SetCharBlockMode(rdbmOn);
  EXPECT_EQ(PixelAt(5, 10), clBlack);
  EXPECT_EQ(PixelAt(Gap + 1, 10), clBlack);
  EXPECT_EQ(PixelAt(Gap + 5, 10), Off);  // the raster inside the next block
  Ctl->SetCharBlockMode(rdbmRaster);
  EXPECT_EQ(PixelAt(5, 10), Off);
  EXPECT_EQ(PixelAt(Gap + 1, 10), Off);
  Ctl->SetDotSpacing(0);
  for (int X = 0; X < 8; ++X) EXPECT_EQ(PixelAt(X, 5), Off) << X;
  // The raster stays in phase with the text at negative offsets too: its spacing lines
  // never meet a dot.
  Ctl->SetDotSpacing(1);
  for (const auto& [X0, Y0] : {std::pair{5, 3}, {-7, -2}, {-1, 6}}) {
    Ctl->SetPosX(X0);
    Ctl->SetPosY(Y0);
    const TBitmap Shot = D.Capture(*Ctl);
    const int Px = ((X0 - 1) % 4 + 4) % 4, Py = ((Y0 - 1) % 4 + 4) % 4;
    int Dots = 0;
    for (int Y = 0; Y < 60; ++Y)
      for (int X = 0; X < 100; ++X) {
        const TColor C = PixelOf(Shot, X, Y);
        Dots += C == clLime;
        if (X % 4 == Px || Y % 4 == Py) {
          ASSERT_EQ(C, clBlack) << X0 << " " << X << "," << Y;
        }
      }
    EXPECT_GT(Dots, 20);
  }
}

TEST_F(RasterLabTest, FramesOfEachStyleAndScheme) {
  const int W = 400, H = 68;
  Ctl->SetText("");
  const std::pair<TFrameStyle, std::vector<std::pair<TPoint, TColor>>> Cases[] = {
      {fsNone, {{{1, 10}, Off}}},
      {fsSimple, {{{0, 10}, clGray}, {{W - 1, 10}, clGray}, {{10, H - 1}, clGray}, {{1, 10}, Off}}},
      {fsLowered,
       {{{1, 10}, clBlack}, {{10, 1}, clBlack}, {{10, H - 1}, clWhite}, {{W - 1, 10}, clWhite},
        {{0, 10}, clGray}, {{W - 2, 10}, clGray}, {{0, H - 1}, clBlack}, {{W - 1, 0}, clBlack}}},
      {fsRaised, {{{1, 10}, clWhite}, {{10, H - 1}, clBlack}, {{W - 1, 0}, clBlack}, {{0, 10}, clGray}}},
      {fsEmbossed, {{{1, 10}, clGray}, {{W - 1, 10}, clGray}, {{0, 10}, clWhite}, {{W - 2, 5}, clWhite}}},
      {fsEngraved, {{{1, 10}, clWhite}, {{0, 10}, clGray}}},
  };
  for (const auto& [Style, Pixels] : Cases) {
    Ctl->SetFrameStyle(Style);
    for (const auto& [P, Col] : Pixels)
      EXPECT_EQ(PixelAt(P.X, P.Y), Col) << int(Style) << " at " << P.X << "," << P.Y;
  }
  Ctl->SetColorScheme(csSystem);
  EXPECT_EQ(PixelAt(1, 10), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(PixelAt(0, 10), ColorToRGB(clBtnShadow));
}

TEST_F(RasterLabTest, LayoutAutoSizesAndClamps) {
  // "1" is 5 dots wide, "A" 7; pitch 4.
  EXPECT_EQ(Ctl->CalcTextBitLength("A1"), (8 + 6) * 4);
  Ctl->SetProportional(false);
  EXPECT_EQ(Ctl->CalcTextBitLength("A1"), 2 * 8 * 4);
  Ctl->SetText("A1");
  EXPECT_EQ(Ctl->GetTextBitLength(), 2 * 8 * 4 + 1);
  for (const auto& [Style, E] : {std::pair{fsNone, 0}, {fsSimple, 1}, {fsLowered, 1}, {fsEngraved, 2}}) {
    Ctl->SetFrameStyle(Style);
    Ctl->SetAutoHeight(false);
    Ctl->SetAutoHeight(true);
    EXPECT_EQ(Ctl->GetHeight(), E + 48) << int(Style);
  }
  Ctl->SetAutoCenter(true);
  EXPECT_EQ(Ctl->GetPosX(), (400 - 64) / 2 + 3);
  Ctl->SetProportional(true);
  EXPECT_EQ(Ctl->GetPosX(), (400 - 56) / 2 + 3);
  Ctl->SetWidth(300);
  EXPECT_EQ(Ctl->GetPosX(), (300 - 56) / 2 + 3);
  Ctl->SetAutoCenter(false);
  EXPECT_EQ(Ctl->GetPosX(), 1);
  struct TClamp {
    void (TRasterLab::*Set)(int);
    int (TRasterLab::*Get)() const;
    int In, Out;
  };
  TRasterLab& Subject = *Ctl;
  const TClamp Clamps[] = {{&TRasterLab::SetDotSize, &TRasterLab::GetDotSize, 40, 32},
                           {&TRasterLab::SetDotSize, &TRasterLab::GetDotSize, 0, 1},
                           {&TRasterLab::SetDotSpacing, &TRasterLab::GetDotSpacing, 5, 3},
                           {&TRasterLab::SetDotSpacing, &TRasterLab::GetDotSpacing, -1, 0},
                           {&TRasterLab::SetScrollInterval, &TRasterLab::GetScrollInterval, 5, 10},
                           {&TRasterLab::SetScrollIncrement, &TRasterLab::GetScrollIncrement, -4, 4},
                           {&TRasterLab::SetScrollIncrement, &TRasterLab::GetScrollIncrement, 0, 1},
                           {&TRasterLab::SetScrollIncrement, &TRasterLab::GetScrollIncrement, INT_MIN, INT_MAX}};
  for (const TClamp& C : Clamps) {
    (Subject.*C.Set)(C.In);
    EXPECT_EQ((Subject.*C.Get)(), C.Out) << C.In;
  }
  Ctl->SetCharBlockMode(static_cast<TRDBlockMode>(7));
  Ctl->SetScrollMode(static_cast<TRDScrollMode>(255));
  Ctl->SetFrameStyle(static_cast<TFrameStyle>(255));
  EXPECT_EQ(Ctl->GetCharBlockMode(), rdbmOn);
  EXPECT_EQ(Ctl->GetScrollMode(), rdsmOff);
  EXPECT_EQ(Ctl->GetFrameStyle(), fsNone);
  for (const auto& [W, H] : {std::pair{0, 0}, {1, 1}, {30000, 20}}) {
    Ctl->SetBounds(0, 0, W, H);
    D.Capture(*Ctl);
  }
}

TEST_F(RasterLabTest, HostileMatricesAreClamped) {
  TRDCharMatrix M = TRasterLab::CreateBitFont(nullptr);
  for (auto& Rows : M.BitData) Rows.fill(0xFFFFFFFF);
  M.LeftMostBit['x'] = 200;
  M.RightMostBit['x'] = 255;
  M.RightMostBit[255] = 255;
  const std::pair<int, int> Sizes[] = {{-5, 1000}, {INT_MAX, -1}, {40, INT_MIN}};
  for (const auto& [W, H] : Sizes)
    for (const bool Prop : {true, false}) {
      M.FontWidth = W;
      M.FontHeight = H;
      Ctl->SetProportional(Prop);
      Ctl->SetCharMatrix(M);
      const TRDCharMatrix& Got = Ctl->GetCharMatrix();
      EXPECT_EQ(Got.FontWidth, std::clamp(W, 0, 32));
      EXPECT_EQ(Got.FontHeight, std::clamp(H, 0, 32));
      EXPECT_EQ(Got.LeftMostBit['x'], 31);
      EXPECT_EQ(Got.RightMostBit[255], 31);
      Ctl->SetText(std::string("\x00\x1Fx\xC3\xBF\xFF", 6));
      EXPECT_EQ(Ctl->GetTextBitLength(), Ctl->CalcTextBitLength(Ctl->GetText()) + 1);
      D.Capture(*Ctl);
    }
}

TEST_F(RasterLabTest, ScrollingOnTheClock) {
  Ctl->SetText("Hello");
  Ctl->SetWidth(60);
  Ctl->SetScrollIncrement(7);
  int Ticks = 0, Restarts = 0;
  // What the screen shows when the tick's event fires: the tick has painted already.
  std::vector<std::pair<int, TBitmap>> Seen;
  Ctl->OnScrollLoopRestart = [&](TObject*) { ++Restarts; };
  Ctl->SetOnScrollTimer([&](TObject*) {
    ++Ticks;
    TBitmap Shot(Ctl->GetWidth(), Ctl->GetHeight());
    const TPoint O = Ctl->GetClientOrigin();
    for (int Y = 0; Y < Shot.GetHeight(); ++Y)
      for (int X = 0; X < Shot.GetWidth(); ++X)
        Shot.ScanLine(Y)[X] = Form->GetBackBuffer().ScanLine(O.Y + Y)[O.X + X];
    if (Seen.size() < 3) Seen.emplace_back(Ctl->GetScrollPosX(), Shot);
  });
  Ctl->SetScrollMode(rdsmRight);
  D.AdvanceTime(500);
  EXPECT_EQ(Ticks, 5);
  EXPECT_EQ(Ctl->GetScrollPosX(), 35);
  TRasterLab* Ref = Twin(100);
  for (const auto& [Offset, Shot] : Seen) {
    Ref->SetPosX(1 + Offset);
    EXPECT_TRUE(SamePicture(Shot, D.Capture(*Ref))) << Offset;
  }
  delete Ref;
  D.AdvanceTime(400);  // past 60 at the ninth tick: back to minus the text's length
  EXPECT_EQ(Restarts, 1);
  EXPECT_EQ(Ctl->GetScrollPosX(), -Ctl->GetTextBitLength());
  // Mirrored: left, then down and up on y.
  Ctl->SetScrollMode(rdsmLeft);
  D.AdvanceTime(100);  // already beyond minus the length: in again from the right
  EXPECT_EQ(Ctl->GetScrollPosX(), 60);
  EXPECT_EQ(Restarts, 2);
  D.AdvanceTime(100);
  EXPECT_EQ(Ctl->GetScrollPosX(), 53);
  Ctl->SetScrollMode(rdsmOff);
  EXPECT_EQ(Ctl->GetScrollPosX(), 0);
  Ctl->SetScrollMode(rdsmDown);
  D.AdvanceTime(1100);
  EXPECT_EQ(Ctl->GetScrollPosY(), -48 + 7);  // past 68 at 70: to minus 12 rows of 4
  Ctl->SetScrollMode(rdsmUp);
  D.AdvanceTime(100);
  EXPECT_EQ(Ctl->GetScrollPosY(), -48);
  // Without a loop the text leaves and stays away.
  Ctl->SetScrollLoop(false);
  Ctl->SetScrollMode(rdsmRight);
  D.AdvanceTime(3000);
  const int Gone = Ctl->GetScrollPosX();
  EXPECT_GE(Gone + Ctl->GetPosX(), 60);
  D.AdvanceTime(1000);
  EXPECT_EQ(Ctl->GetScrollPosX(), Gone);
  // Off stops the timer; a new interval restarts it.
  Ctl->SetScrollMode(rdsmOff);
  const int Before = Ticks;
  D.AdvanceTime(1000);
  EXPECT_EQ(Ticks, Before);
  Ctl->SetScrollLoop(true);
  Ctl->SetScrollMode(rdsmRight);
  D.AdvanceTime(50);
  Ctl->SetScrollInterval(200);
  D.AdvanceTime(199);
  EXPECT_EQ(Ticks, Before);
  D.AdvanceTime(1);
  EXPECT_EQ(Ticks, Before + 1);
}

TEST_F(RasterLabTest, HandlersMayStopOrRetextAndErrorsReachTheApplication) {
  Ctl->SetWidth(40);
  Ctl->SetScrollIncrement(30);
  std::vector<std::string> Messages = {"two", "three"};
  Ctl->OnScrollLoopRestart = [&](TObject*) {
    if (Messages.empty()) {
      Ctl->SetScrollMode(rdsmOff);
      return;
    }
    Ctl->SetText(Messages.front());
    Messages.erase(Messages.begin());
  };
  Ctl->SetScrollMode(rdsmRight);
  D.AdvanceTime(200);
  EXPECT_EQ(Ctl->GetText(), "two");
  EXPECT_EQ(Ctl->GetScrollPosX(), -Ctl->GetTextBitLength());
  D.AdvanceTime(2000);
  EXPECT_EQ(Ctl->GetScrollMode(), rdsmOff);
  EXPECT_EQ(Ctl->GetScrollPosX(), 0);
  int Handled = 0;
  Application->OnException = [&](TObject*, const std::exception&) { ++Handled; };
  Ctl->OnScrollLoopRestart = nullptr;
  Ctl->SetOnScrollTimer([](TObject*) { throw EKVLError("boom"); });
  Ctl->SetScrollMode(rdsmLeft);
  D.AdvanceTime(300);
  Application->OnException = nullptr;
  EXPECT_EQ(Handled, 3);
  EXPECT_EQ(Ctl->GetScrollPosX(), -90);
  D.Host().SetRefuseTimers(true);
  try {
    Ctl->SetScrollInterval(50);
    ADD_FAILURE() << "no error";
  } catch (const EKVLRasterLabError& E) {
    EXPECT_STREQ(E.what(), "Component \"Ticker\": no timer available");
  }
  D.Host().SetRefuseTimers(false);
  Ctl->SetScrollMode(rdsmOff);
  Ctl->SetText("still here");
  const TBitmap Shot = D.Capture(*Ctl);
  int Lit = 0;
  for (int X = 0; X < 40; ++X)
    for (int Y = 0; Y < 50; ++Y) Lit += PixelOf(Shot, X, Y) == clLime;
  EXPECT_GT(Lit, 0);
  Ctl->SetDesigning(true);
  Ctl->SetScrollMode(rdsmRight);
  D.AdvanceTime(500);
  EXPECT_EQ(Ctl->GetScrollPosX(), 0);
}

TEST_F(RasterLabTest, EveryTickEqualsAFullRedraw) {
  Ctl->SetBounds(0, 0, 70, 30);
  Ctl->SetDotSize(2);
  Ctl->SetText("Hi, Ag!");
  Ctl->SetPosX(-30);
  Ctl->SetPosY(-4);
  // Every frame style meets both scroll directions on the way.
  const TFrameStyle Styles[] = {fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved};
  int Case = 0;
  for (const TRDBlockMode Block : {rdbmOff, rdbmOn, rdbmRaster})
    for (const TRDScrollMode Mode : {rdsmLeft, rdsmRight, rdsmDown, rdsmUp})
      for (const int Inc : {1, 3, 6}) {
        Ctl->SetScrollMode(rdsmOff);
        Ctl->SetCharBlockMode(Block);
        Ctl->SetFrameStyle(Styles[Case++ % 6]);
        Ctl->SetScrollIncrement(Inc);
        Ctl->SetScrollMode(Mode);
        TRasterLab* Ref = Twin(100);
        for (int Tick = 0; Tick < 60; ++Tick) {
          D.AdvanceTime(100);
          Ref->SetPosX(Ctl->GetPosX() + Ctl->GetScrollPosX());
          Ref->SetPosY(Ctl->GetPosY() + Ctl->GetScrollPosY());
          ASSERT_TRUE(SamePicture(D.Capture(*Ctl), D.Capture(*Ref)))
              << int(Block) << " " << int(Mode) << " " << Inc << " frame "
              << int(Ctl->GetFrameStyle()) << " tick " << Tick;
        }
        delete Ref;
      }
}

TEST_F(RasterLabTest, TicksOfALabelHangingOverTheFormsEdgesEqualFullRedraws) {
  Ctl->SetDotSize(2);
  Ctl->SetText("Hi, Ag!");
  for (const int Left : {-20, Form->GetClientWidth() - 50})
    for (const TRDScrollMode Mode : {rdsmRight, rdsmUp}) {
      Ctl->SetScrollMode(rdsmOff);
      Ctl->SetBounds(Left, 0, 70, 30);
      Ctl->SetScrollMode(Mode);
      TRasterLab* Ref = Twin(100);
      Ref->SetLeft(Left);
      for (int Tick = 0; Tick < 20; ++Tick) {
        D.AdvanceTime(100);
        Ref->SetPosX(Ctl->GetPosX() + Ctl->GetScrollPosX());
        Ref->SetPosY(Ctl->GetPosY() + Ctl->GetScrollPosY());
        ASSERT_TRUE(SamePicture(D.Capture(*Ctl), D.Capture(*Ref)))
            << Left << " " << int(Mode) << " tick " << Tick;
      }
      delete Ref;
    }
}

TEST_F(RasterLabTest, HugeStepsStayInRange) {
  Ctl->SetScrollIncrement(INT_MAX);
  for (const bool Loop : {true, false})
    for (const TRDScrollMode Mode : {rdsmLeft, rdsmRight, rdsmDown, rdsmUp}) {
      Ctl->SetScrollMode(rdsmOff);
      Ctl->SetScrollLoop(Loop);
      Ctl->SetScrollMode(Mode);
      D.AdvanceTime(100 * 1000);
      if (!Loop) {
        const int Kept = Mode == rdsmLeft || Mode == rdsmRight ? Ctl->GetScrollPosX() : Ctl->GetScrollPosY();
        D.AdvanceTime(100);
        EXPECT_EQ(Mode == rdsmLeft || Mode == rdsmRight ? Ctl->GetScrollPosX() : Ctl->GetScrollPosY(), Kept);
      }
    }
}

TEST_F(RasterLabTest, AssignCopiesTheLookAndText) {
  auto* Src = new TRasterLab(Form);
  Src->SetText("copied");
  Src->SetColorDotOn(clRed);
  Src->SetColorScheme(csSystem);
  Src->SetFrameStyle(fsRaised);
  Src->SetDotSize(5);
  Src->SetScrollIncrement(9);
  Ctl->Assign(Src);
  EXPECT_EQ(Ctl->GetText(), "copied");
  EXPECT_EQ(Ctl->GetColorDotOn(), clRed);
  EXPECT_EQ(Ctl->GetColorScheme(), csSystem);
  EXPECT_EQ(Ctl->GetFrameStyle(), fsRaised);
  EXPECT_EQ(Ctl->GetDotSize(), 3);
  EXPECT_EQ(Ctl->GetScrollIncrement(), 1);
}

TEST_F(RasterLabTest, GoldenPictures) {
  // All 224 glyphs of the built-in font, 16 a row.
  TBitmap Sheet(16 * 24 + 2, 14 * 38);
  Ctl->SetBounds(0, 0, Sheet.GetWidth(), 38);
  Ctl->SetProportional(false);
  Ctl->SetFrameStyle(fsNone);
  Ctl->SetDotSize(2);
  for (int Row = 0; Row < 14; ++Row) {
    std::string Text;
    for (int I = 0; I < 16; ++I) {
      const int Code = 32 + Row * 16 + I;
      Text += Code < 128 ? std::string(1, char(Code))
                         : std::string{char(0xC0 | Code >> 6), char(0x80 | (Code & 0x3F))};
    }
    Ctl->SetText(Text);
    Sheet.GetCanvas()->Draw(0, Row * 38, D.Capture(*Ctl));
  }
  EXPECT_TRUE(MatchesGolden(Sheet, "testdata/glyphs.png"));
  // Tickers after a second and a half on the clock.
  Ctl->SetBounds(0, 0, 300, 40);
  Ctl->SetProportional(true);
  Ctl->SetFrameStyle(fsLowered);
  Ctl->SetText("Gr\xC3\xBC\xC3\x9F" "e 23.5\xC2\xB0" "C");
  Ctl->SetAutoHeight(true);
  Ctl->SetScrollInterval(50);
  Ctl->SetScrollIncrement(3);
  Ctl->SetScrollMode(rdsmRight);
  auto* Amber = Twin(100);
  Amber->SetDotSpacing(0);
  Amber->SetDotSize(3);
  Amber->SetColorDotOn(RGBColor(255, 176, 0));
  Amber->SetColorDotOff(RGBColor(60, 40, 0));
  Amber->SetScrollIncrement(2);
  Amber->SetScrollMode(rdsmLeft);
  D.AdvanceTime(1500);
  TBitmap Both(300, Ctl->GetHeight() + Amber->GetHeight());
  Both.GetCanvas()->Draw(0, 0, D.Capture(*Ctl));
  Both.GetCanvas()->Draw(0, Ctl->GetHeight(), D.Capture(*Amber));
  EXPECT_TRUE(MatchesGolden(Both, "testdata/tickers.png"));
}

}  // namespace
}  // namespace kvl
