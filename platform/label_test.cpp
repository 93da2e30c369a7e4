// TLabel: auto-size, wrapping, alignment and layout, transparency, the focus control, the
// look, and a descendant that replaces the text step.
#include <gtest/gtest.h>

#include "kvl/platform/stdctrls.h"
#include "kvl/testing/control_fixture.h"
#include "kvl/testing/golden.h"

namespace kvl {
namespace {

class LabelTest : public TControlTest<TLabel> {
protected:
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->SetBounds(20, 20, 65, 17);
    Form->Show();
  }
  // First and last column (Rows: row) holding a pixel clearly darker than the background;
  // the text is anti-aliased, so exact colours would find only a few stems.
  std::pair<int, int> Ink(bool Rows = false) {
    const auto Sum = [](TColor C) { return int(C & 0xFF) + int((C >> 8) & 0xFF) + int(C >> 16); };
    const TBitmap B = D.Capture(*Ctl);
    const int Bk = Sum(ColorToRGB(Ctl->GetColor()));
    int First = -1, Last = -1;
    for (int Y = 0; Y < B.GetHeight(); ++Y)
      for (int X = 0; X < B.GetWidth(); ++X)
        if (Sum(PixelOf(B, X, Y)) < Bk - 150) {
          const int At = Rows ? Y : X;
          First = First < 0 ? At : std::min(First, At);
          Last = std::max(Last, At);
        }
    return {First, Last};
  }
};

TEST_F(LabelTest, AutoSizeFollowsCaptionFontAndWrapping) {
  Ctl->SetCaption("Short");
  const int W1 = Ctl->GetWidth(), H1 = Ctl->GetHeight();
  Ctl->SetCaption("A much longer caption");
  EXPECT_GT(Ctl->GetWidth(), 2 * W1);
  Ctl->SetCaption("");  // still one line high
  EXPECT_EQ(Ctl->GetHeight(), H1);
  Ctl->SetCaption("Two\nlines");
  EXPECT_EQ(Ctl->GetHeight(), 2 * H1);
  Ctl->GetFont().SetSize(16);
  EXPECT_GT(Ctl->GetHeight(), 3 * H1);
  Ctl->GetFont().SetSize(8);
  // Right-aligned, it grows to the left.
  Ctl->SetAlignment(taRightJustify);
  const int Right = Ctl->GetLeft() + Ctl->GetWidth();
  Ctl->SetCaption("one two three four five six");
  EXPECT_EQ(Ctl->GetLeft() + Ctl->GetWidth(), Right);
  // Wrapped, it keeps its width and takes the height the lines need, also after a resize.
  Ctl->SetWordWrap(true);
  Ctl->SetWidth(60);
  EXPECT_EQ(Ctl->GetWidth(), 60);
  EXPECT_GE(Ctl->GetHeight(), 3 * H1);
  EXPECT_LT(Ink().second, 60);
}

TEST_F(LabelTest, AlignmentAndLayoutPlaceTheText) {
  Ctl->SetAutoSize(false);
  Ctl->SetBounds(20, 20, 200, 60);
  Ctl->SetCaption("Text");
  const auto [Left, LeftEnd] = Ink();
  EXPECT_LT(Left, 3);
  Ctl->SetAlignment(taRightJustify);
  EXPECT_GT(Ink().second, 195);
  Ctl->SetAlignment(taCenter);
  EXPECT_NEAR(Ink().first + Ink().second, 200, 3);
  EXPECT_LT(Ink(true).first, 10);
  Ctl->SetLayout(tlCenter);
  EXPECT_NEAR(Ink(true).first + Ink(true).second, 60, 6);
}

TEST_F(LabelTest, TransparencyAndFocusControl) {
  Form->SetColor(clYellow);
  Ctl->SetCaption("Name:");
  Ctl->SetParentColor(false);
  Ctl->SetColor(clAqua);
  EXPECT_EQ(PixelAt(Ctl->GetWidth() - 1, 0), ColorToRGB(clAqua));
  Ctl->SetTransparent(true);
  EXPECT_EQ(PixelAt(Ctl->GetWidth() - 1, 0), ColorToRGB(clYellow));
  auto* Edit = new TEdit(Form);
  Edit->SetParent(Form);
  Edit->SetBounds(100, 20, 100, 21);
  D.Click(*Ctl, 3, 3);
  EXPECT_FALSE(Edit->Focused());
  Ctl->SetFocusControl(Edit);
  D.AdvanceTime(1000);
  D.Click(*Ctl, 3, 3);
  EXPECT_TRUE(Edit->Focused());
  // The label forgets a focus control that goes first; a click then focuses nothing.
  delete Edit;
  EXPECT_EQ(Ctl->GetFocusControl(), nullptr);
  D.AdvanceTime(1000);
  D.Click(*Ctl, 3, 3);
}

TEST_F(LabelTest, LooksNormalAndDisabled) {
  Ctl->SetCaption("Label caption");
  EXPECT_TRUE(MatchesGolden(D.Capture(*Ctl), "testdata/label_normal.png"));
  Ctl->SetEnabled(false);
  EXPECT_TRUE(MatchesGolden(D.Capture(*Ctl), "testdata/label_disabled.png"));
}

// A descendant that draws its own text and measures nothing.
class TBoxLabel : public TCustomLabel {
public:
  explicit TBoxLabel(TComponent* AOwner) : TCustomLabel(AOwner) { SetAutoSize(false); }

protected:
  void DoDrawText(TRect& R, unsigned Flags) override {
    if (Flags & ldfCalcRect) return;
    GetCanvas()->GetBrush().SetColor(clRed);
    GetCanvas()->FillRect(Rect(R.Left, R.Top, R.Left + 5, R.Top + 5));
  }
};

TEST_F(LabelTest, DescendantReplacesTheTextStep) {
  auto* B = new TBoxLabel(Form);
  B->SetParent(Form);
  B->SetBounds(100, 100, 50, 40);
  B->SetCaption("ignored");
  B->SetLayout(tlCenter);  // measuring left the rectangle: drawing starts at the top
  const TBitmap Shot = D.Capture(*B);
  EXPECT_EQ(PixelOf(Shot, 0, 0), ColorToRGB(clRed));
  EXPECT_EQ(PixelOf(Shot, 6, 6), ColorToRGB(Form->GetColor()));
  EXPECT_EQ(B->GetHeight(), 40);
}

}  // namespace
}  // namespace kvl
