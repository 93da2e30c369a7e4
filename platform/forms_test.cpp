// Where forms appear, and modal forms driven by scripts.
#include "kvl/platform/forms.h"

#include <gtest/gtest.h>

#include <memory>

#include "kvl/testing/driver.h"

namespace kvl {
namespace {

TEST(FormPosition, CentresOnTheScreenTheMainOrTheActiveFormAndStaysOnTheScreen) {
  struct TCase {
    TPosition Position;
    TRect Main, Active;  // bounds of the main form and of a second, active form
    TSize Size;          // of the form shown
    TPoint Expected;
  };
  const TCase Cases[] = {
      {poDesigned, Rect(0, 0, 400, 300), Rect(600, 400, 800, 600), {100, 50}, {7, 9}},
      {poScreenCenter, Rect(0, 0, 400, 300), Rect(600, 400, 800, 600), {100, 50}, {590, 375}},
      {poMainFormCenter, Rect(0, 0, 400, 300), Rect(600, 400, 800, 600), {100, 50}, {150, 125}},
      {poOwnerFormCenter, Rect(0, 0, 400, 300), Rect(600, 400, 800, 600), {100, 50}, {650, 475}},
      // Kept on the screen (1280 x 800): past the right and bottom edges, and past the top-left.
      {poOwnerFormCenter,
       Rect(0, 0, 400, 300),
       Rect(1200, 760, 1280, 800),
       {200, 100},
       {1080, 700}},
      {poMainFormCenter, Rect(-300, -200, 0, 0), Rect(600, 400, 800, 600), {200, 100}, {0, 0}},
      {poScreenCenter, Rect(0, 0, 400, 300), Rect(600, 400, 800, 600), {2000, 900}, {0, 0}},
  };
  for (const TCase& C : Cases) {
    TDriver D;
    auto Main = std::make_unique<TForm>(nullptr);
    Main->SetBounds(C.Main.Left, C.Main.Top, C.Main.Width(), C.Main.Height());
    Main->Show();
    auto Active = std::make_unique<TForm>(nullptr);
    Active->SetBounds(C.Active.Left, C.Active.Top, C.Active.Width(), C.Active.Height());
    Active->Show();
    TForm F(nullptr);
    F.SetBounds(7, 9, C.Size.cx, C.Size.cy);
    F.SetPosition(C.Position);
    F.Show();
    EXPECT_EQ(F.GetLeft(), C.Expected.X) << int(C.Position) << " " << C.Size.cx;
    EXPECT_EQ(F.GetTop(), C.Expected.Y) << int(C.Position) << " " << C.Size.cx;
  }
}

TEST(FormModal, ScriptsActInsideEachModalLoopInTheOrderTheFormsOpen) {
  TDriver D;
  TForm Outer(nullptr), Inner(nullptr);
  TModalResult InnerResult = mrNone;
  std::vector<std::string> Log;
  D.WhenModal([&](TCustomForm& F) {
    Log.push_back(F.IsModal() && &F == &Outer ? "outer" : "?");
    InnerResult = Inner.ShowModal();
    F.SetModalResult(mrYesToAll);
  });
  D.WhenModal([&](TCustomForm& F) {
    Log.push_back(F.IsModal() && &F == &Inner ? "inner" : "?");
    F.SetModalResult(mrNoToAll);
  });
  EXPECT_EQ(Outer.ShowModal(), mrYesToAll);
  EXPECT_EQ(InnerResult, mrNoToAll);
  EXPECT_EQ(Log, (std::vector<std::string>{"outer", "inner"}));
  // Without a script the form ends as cancelled once the loop idles.
  EXPECT_EQ(Outer.ShowModal(), mrCancel);
}

TEST(FormModal, OpensAsADialogOfTheActiveForm) {
  TDriver D;
  TForm Main(nullptr), Dlg(nullptr);
  Main.Show();
  const THostWindow MainWindow = Main.GetWindow();
  // Read inside the script, while the dialog's window is open.
  TWindowRequest Request;
  D.WhenModal([&](TCustomForm& F) { Request = D.Host().Window(F.GetWindow())->Request; });
  Dlg.ShowModal();
  EXPECT_TRUE(Request.Dialog);
  EXPECT_EQ(Request.Owner, MainWindow);
  // A form shown without ShowModal is a window of its own.
  Dlg.Show();
  EXPECT_FALSE(D.Host().Window(Dlg.GetWindow())->Request.Dialog);
  EXPECT_EQ(D.Host().Window(Dlg.GetWindow())->Request.Owner, THostWindow(0));
}

}  // namespace
}  // namespace kvl
