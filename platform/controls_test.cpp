#include "kvl/platform/controls.h"

#include <gtest/gtest.h>

#include "kvl/platform/forms.h"
#include "kvl/platform/recording_controls.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/testing/driver.h"
#include "kvl/testing/golden.h"

namespace kvl {
namespace {

using test::TLog;
using test::TRecGraphic;
using test::TRecWindowed;

class ControlsTest : public ::testing::Test {
protected:
  TDriver D;
  TForm* Form = nullptr;
  void SetUp() override {
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 200, 100);
    Form->SetColor(clWhite);
  }
  void TearDown() override { delete Form; }
  TColor At(int X, int Y) { return PixelToColor(Form->GetBackBuffer().ScanLine(Y)[X]); }
};

TEST_F(ControlsTest, OwnerAndParentDeleteWhatTheyHoldAndDeletionDetaches) {
  auto* Panel = new TRecWindowed(Form, Form, nullptr, "Panel");
  auto* Owned = new TRecGraphic(Form, Panel, nullptr, "Owned");
  auto* Unowned = new TRecGraphic(nullptr, Panel, nullptr, "Unowned");
  EXPECT_EQ(Panel->GetControlCount(), 2);
  EXPECT_EQ(Form->GetComponentCount(), 2);

  delete Owned;
  EXPECT_EQ(Panel->GetControlCount(), 1);
  EXPECT_EQ(Panel->GetControls(0), Unowned);
  EXPECT_EQ(Form->GetComponentCount(), 1);

  // The panel takes its unowned child with it (LeakSanitizer would report it otherwise).
  delete Panel;
  EXPECT_EQ(Form->GetControlCount(), 0);
  EXPECT_EQ(Form->GetComponentCount(), 0);
}

class TWindowWatcher : public TCustomControl {
public:
  using TCustomControl::TCustomControl;
  int Created = 0, Destroyed = 0;

protected:
  void CreateWnd() override { ++Created; }
  void DestroyWnd() override { ++Destroyed; }
};

TEST_F(ControlsTest, AWindowIsCreatedEachTimeTheControlReachesAForm) {
  auto* Panel = new TRecWindowed(nullptr, nullptr, nullptr, "Panel");
  auto* W = new TWindowWatcher(Panel);
  W->SetParent(Panel);
  EXPECT_FALSE(W->HandleAllocated());
  Panel->SetParent(Form);
  EXPECT_TRUE(W->HandleAllocated());
  Panel->SetParent(nullptr);
  Panel->SetParent(Form);
  EXPECT_EQ(W->Created, 2);
  EXPECT_EQ(W->Destroyed, 1);
}

TEST_F(ControlsTest, AControlThatLeavesItsParentInAnyWayLeavesNoPictureBehind) {
  enum TWay { Hide, Unparent, Delete };
  Form->Show();
  for (const TWay Way : {Hide, Unparent, Delete}) {
    auto* Panel = new TCustomControl(Form);
    Panel->SetParent(Form);
    Panel->SetBounds(10, 10, 150, 70);
    Panel->SetColor(clYellow);
    const TBitmap Bare = D.Capture(*Panel);
    auto* Button = new TButton(Form);
    Button->SetParent(Panel);
    Button->SetBounds(20, 20, 60, 25);
    Button->SetCaption("Beep");
    ASSERT_FALSE(SamePicture(D.Capture(*Panel), Bare));
    switch (Way) {
      case Hide:
        Button->Hide();
        break;
      case Unparent:
        Button->SetParent(nullptr);
        break;
      case Delete:
        delete Button;
        break;
    }
    EXPECT_TRUE(SamePicture(D.Capture(*Panel), Bare)) << "way " << int(Way);
    if (Way == Unparent) delete Button;
    delete Panel;
  }
}

TEST_F(ControlsTest, ClientAndScreenCoordinatesFollowTheWindowsPlace) {
  auto* Panel = new TRecWindowed(Form, Form, nullptr, "Panel");
  Panel->SetBounds(10, 20, 100, 60);
  auto* Inner = new TRecGraphic(Form, Panel, nullptr, "Inner");
  Inner->SetBounds(5, 6, 20, 20);
  Form->SetBounds(300, 200, 200, 100);
  EXPECT_EQ(Inner->ClientToScreen({1, 2}), (TPoint{316, 228}));
  Form->Show();
  EXPECT_EQ(Inner->ClientToScreen({1, 2}), (TPoint{316, 228}));
  EXPECT_EQ(Inner->ScreenToClient({316, 228}), (TPoint{1, 2}));
  // The window is moved by the user (or placed by a window manager): the form follows.
  THostEvent E;
  E.Kind = THostEventKind::Moved;
  E.Window = Form->GetWindow();
  E.X = 40;
  E.Y = 30;
  D.Host().Post(E);
  D.Settle();
  EXPECT_EQ(Form->GetBoundsRect(), Rect(40, 30, 240, 130));
  EXPECT_EQ(Form->ClientToScreen({0, 0}), (TPoint{40, 30}));
  EXPECT_EQ(Panel->ScreenToClient({50, 50}), (TPoint{0, 0}));
  // The program moves it: the headless host records the window's new place.
  Form->SetLeft(500);
  EXPECT_EQ(D.Host().Window(Form->GetWindow())->Request.Bounds.Left, 500);
  EXPECT_EQ(Inner->ClientToScreen({0, 0}), (TPoint{515, 56}));
}

TEST_F(ControlsTest, ControlCannotContainItself) {
  auto* Outer = new TRecWindowed(Form, Form, nullptr, "Outer");
  auto* Inner = new TRecWindowed(Form, Outer, nullptr, "Inner");
  EXPECT_THROW(Outer->SetParent(Inner), EInvalidOperation);
  EXPECT_THROW(Outer->SetParent(Outer), EInvalidOperation);
  EXPECT_EQ(Outer->GetParent(), Form);
}

TEST_F(ControlsTest, InvalidatedControlsPaintOnceWhenIdle) {
  auto* A = new TRecGraphic(Form, Form, nullptr, "A");
  A->SetBounds(10, 10, 20, 20);
  D.Settle();
  A->Paints = 0;
  A->Invalidate();
  A->Invalidate();
  Form->Invalidate();
  EXPECT_EQ(A->Paints, 0);
  D.Settle();
  EXPECT_EQ(A->Paints, 1);
  EXPECT_EQ(At(15, 15), clRed);
  D.Settle();
  EXPECT_EQ(A->Paints, 1);
}

TEST_F(ControlsTest, DirectDrawingIsInTheBackBufferAtOnceAndClippedToTheControl) {
  auto* A = new TRecGraphic(Form, Form, nullptr, "A");
  A->SetBounds(10, 10, 20, 20);
  D.Settle();
  TCanvas* C = A->GetCanvas();
  C->GetBrush().SetColor(clBlue);
  C->FillRect(Rect(-50, -50, 500, 500));
  EXPECT_EQ(At(10, 10), clBlue);
  EXPECT_EQ(At(29, 29), clBlue);
  EXPECT_EQ(At(9, 9), clWhite);
  EXPECT_EQ(At(30, 30), clWhite);
  // The canvas keeps its state from one use to the next.
  EXPECT_EQ(A->GetCanvas()->GetBrush().GetColor(), clBlue);
}

TEST_F(ControlsTest, ControlsWithNowhereToDrawDiscardTheirDrawing) {
  auto* Hidden = new TRecGraphic(Form, Form, nullptr, "Hidden");
  Hidden->SetBounds(0, 0, 50, 50);
  Hidden->SetVisible(false);
  auto* Loose = new TRecGraphic(nullptr, nullptr, nullptr, "Loose");
  Loose->SetBounds(0, 0, 50, 50);
  D.Settle();
  for (TControl* C : {static_cast<TControl*>(Hidden), static_cast<TControl*>(Loose)}) {
    TCanvas* Canvas = C->GetCanvas();
    Canvas->GetBrush().SetColor(clBlack);
    Canvas->FillRect(Rect(0, 0, 50, 50));
    Canvas->LineTo(40, 40);
    EXPECT_EQ(Canvas->GetPixel(5, 5), clInvalidPixel);
  }
  EXPECT_EQ(At(5, 5), clWhite);
  EXPECT_GT(Loose->GetCanvas()->TextWidth("abc"), 0);
  delete Loose;
  // At design time a hidden control still shows.
  Hidden->SetDesigning(true);
  Hidden->GetCanvas()->FillRect(Rect(0, 0, 50, 50));
  EXPECT_EQ(At(5, 5), clBlack);
}

// A graphic control that darkens what lies beneath it: repainting it alone would darken the
// same pixels again and again.
class TDarkener : public TGraphicControl {
public:
  using TGraphicControl::TGraphicControl;

protected:
  void Paint() override {
    TCanvas* C = GetCanvas();
    for (int Y = 0; Y < GetHeight(); ++Y)
      for (int X = 0; X < GetWidth(); ++X) {
        const std::uint32_t Rgb = ColorToRGB(C->GetPixel(X, Y));
        C->SetPixel(X, Y, (Rgb >> 1) & 0x7F7F7F);
      }
  }
};

TEST_F(ControlsTest, InvalidatingATransparentControlRepaintsTheBackgroundUnderItFirst) {
  auto* T = new TDarkener(Form);
  T->SetParent(Form);
  T->SetBounds(0, 0, 10, 10);
  D.Settle();
  const TColor Once = At(5, 5);
  EXPECT_EQ(Once, TColor(0x7F7F7F));
  T->Invalidate();
  D.Settle();
  T->Repaint();
  EXPECT_EQ(At(5, 5), Once);
}

TEST_F(ControlsTest, PaintOrderIsBackgroundGraphicChildrenThenWindowedChildren) {
  auto* Win = new TRecWindowed(Form, Form, nullptr, "Win");
  Win->SetBounds(0, 0, 20, 20);
  Win->SetColor(clBlue);
  Win->Fill = clBlue;
  auto* Top = new TRecGraphic(Form, Form, nullptr, "Top");  // later, but graphic: beneath
  Top->SetBounds(10, 10, 20, 20);
  Top->Fill = clRed;
  D.Settle();
  EXPECT_EQ(At(15, 15), clBlue);
  EXPECT_EQ(At(25, 25), clRed);
  EXPECT_EQ(At(40, 40), clWhite);
  Win->SetVisible(false);
  D.Settle();
  EXPECT_EQ(At(15, 15), clRed);
  EXPECT_EQ(At(5, 5), clWhite);
}

TEST_F(ControlsTest, ResizeNotifiesAfterSizeChangesOnly) {
  auto* A = new TRecGraphic(Form, Form, nullptr, "A");
  int Resizes = 0;
  A->OnResize = [&](TObject* Sender) {
    EXPECT_EQ(Sender, A);
    ++Resizes;
  };
  A->SetBounds(0, 0, 30, 30);
  A->SetLeft(5);
  EXPECT_EQ(Resizes, 1);
  A->SetWidth(31);
  A->SetHeight(-4);
  EXPECT_EQ(Resizes, 3);
  EXPECT_EQ(A->GetHeight(), 0);
}

TEST_F(ControlsTest, FontAndColorFollowTheParentUntilSetOwn) {
  auto* Panel = new TRecWindowed(Form, Form, nullptr, "Panel");
  auto* A = new TRecGraphic(Form, Panel, nullptr, "A");
  A->SetParentColor(true);
  Form->GetFont().SetSize(14);
  Form->SetColor(clYellow);
  EXPECT_EQ(Panel->GetFont().GetSize(), 14);
  EXPECT_EQ(A->GetFont().GetSize(), 14);
  EXPECT_NE(Panel->GetColor(), clYellow);  // ParentColor is off by default
  Panel->SetColor(clAqua);
  EXPECT_EQ(A->GetColor(), clAqua);

  A->GetFont().SetName("DejaVu Serif");
  EXPECT_FALSE(A->GetParentFont());
  Form->GetFont().SetSize(20);
  EXPECT_EQ(A->GetFont().GetSize(), 14);
  EXPECT_EQ(Panel->GetFont().GetSize(), 20);
  A->SetParentFont(true);
  EXPECT_EQ(A->GetFont().GetSize(), 20);
}

TEST_F(ControlsTest, AlignedChildrenShareTheClientAreaAndAnchorsFollowResizes) {
  auto* Top = new TRecGraphic(Form, Form, nullptr, "Top");
  Top->SetHeight(10);
  Top->SetAlign(alTop);
  auto* Left = new TRecGraphic(Form, Form, nullptr, "Left");
  Left->SetWidth(30);
  Left->SetAlign(alLeft);
  auto* Rest = new TRecGraphic(Form, Form, nullptr, "Rest");
  Rest->SetAlign(alClient);
  auto* Corner = new TRecWindowed(Form, Form, nullptr, "Corner");
  Corner->SetBounds(150, 80, 40, 10);
  Corner->SetAnchors(akRight | akBottom);
  auto* Stretch = new TRecWindowed(Form, Form, nullptr, "Stretch");
  Stretch->SetBounds(40, 50, 100, 10);
  Stretch->SetAnchors(akLeft | akRight | akTop);

  EXPECT_EQ(Top->GetBoundsRect(), Rect(0, 0, 200, 10));
  EXPECT_EQ(Left->GetBoundsRect(), Rect(0, 10, 30, 100));
  EXPECT_EQ(Rest->GetBoundsRect(), Rect(30, 10, 200, 100));

  Form->SetBounds(0, 0, 300, 150);
  EXPECT_EQ(Top->GetBoundsRect(), Rect(0, 0, 300, 10));
  EXPECT_EQ(Rest->GetBoundsRect(), Rect(30, 10, 300, 150));
  EXPECT_EQ(Corner->GetBoundsRect(), Rect(250, 130, 290, 140));
  EXPECT_EQ(Stretch->GetBoundsRect(), Rect(40, 50, 240, 60));
  EXPECT_EQ(Form->GetBackBuffer().GetWidth(), 300);
}

struct TGroupMessage : TControlMessage {
  int Group = 0;
};

class TGroupMember : public TGraphicControl {
public:
  TGroupMember(TWinControl* Parent, int Group, bool Takes)
      : TGraphicControl(Parent), FGroup(Group), FTakes(Takes) {
    SetParent(Parent);
  }
  int Seen = 0;

protected:
  void HandleMessage(TControlMessage& M) override {
    auto* G = dynamic_cast<TGroupMessage*>(&M);
    if (!G || G->Group != FGroup) return;
    ++Seen;
    G->Handled = FTakes;
  }

private:
  int FGroup;
  bool FTakes;
};

TEST_F(ControlsTest, BroadcastReachesChildrenInOrderUntilOneHandlesIt) {
  auto* A = new TGroupMember(Form, 1, false);
  auto* Other = new TGroupMember(Form, 2, false);
  auto* B = new TGroupMember(Form, 1, true);
  auto* C = new TGroupMember(Form, 1, false);
  TGroupMessage M;
  M.Group = 1;
  Form->Broadcast(M);
  EXPECT_TRUE(M.Handled);
  EXPECT_EQ(A->Seen, 1);
  EXPECT_EQ(Other->Seen, 0);
  EXPECT_EQ(B->Seen, 1);
  EXPECT_EQ(C->Seen, 0);
  TControlMessage Plain;
  Form->Broadcast(Plain);
  EXPECT_FALSE(Plain.Handled);
}

}  // namespace
}  // namespace kvl
