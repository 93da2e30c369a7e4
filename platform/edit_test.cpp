// TEdit driven as a person types and clicks: caret, selection, clipboard, limits, scrolling,
// change notifications and the look.
#include <gtest/gtest.h>

#include "kvl/platform/clipboard.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/testing/control_fixture.h"
#include "kvl/testing/golden.h"

namespace kvl {
namespace {

class EditTest : public TControlTest<TEdit> {
protected:
  TEdit* E = nullptr;
  int Changes = 0;
  void SetUp() override {
    TControlTest::SetUp();
    E = Ctl;
    E->SetBounds(10, 10, 121, 21);
    E->OnChange = [this](TObject*) { ++Changes; };
    Form->Show();
    E->SetFocus();
  }
  void Keys(std::initializer_list<std::uint16_t> Ks, std::uint16_t Held = 0) {
    if (Held) D.KeyDown(*Form, Held);
    for (auto K : Ks) D.Press(*Form, K);
    if (Held) D.KeyUp(*Form, Held);
  }
  void Ctrl(char Letter) { Keys({std::uint16_t(Letter)}, vk::Control); }
};

TEST_F(EditTest, TypingEditsAtTheCaretAndEveryChangeFiresOnce) {
  D.Type(*Form, "hello wörld");
  EXPECT_EQ(Changes, 11);
  EXPECT_EQ(E->GetCaretPos(), 11);  // characters, not bytes
  Keys({vk::Home, vk::Right, vk::Right});
  D.Type(*Form, "X");
  Keys({vk::Back, vk::Delete, vk::End, vk::Left, vk::Left, vk::Left, vk::Back});
  EXPECT_EQ(E->GetText(), "helo wrld");  // the two-byte "ö" went whole
  EXPECT_EQ(Changes, 15);
  // Moving, and deleting at the ends, changes nothing.
  Keys({vk::Home, vk::Back, vk::End, vk::Delete, vk::Left, vk::Right, vk::Up, vk::Down});
  EXPECT_EQ(Changes, 15);
  EXPECT_EQ(E->GetCaretPos(), 9);
  Keys({vk::Left, vk::Back}, vk::Control);  // to the word start, then the word before it
  EXPECT_EQ(E->GetText(), "wrld");
  // Program writes notify too, also when the text stays the same.
  E->SetText("wrld");
  E->SetCharCase(ecUpperCase);
  EXPECT_EQ(Changes, 18);
  D.Type(*Form, "é");
  EXPECT_EQ(E->GetText(), "ÉWRLD");  // a written text puts the caret at its start
}

TEST_F(EditTest, ShiftArrowsAndMouseSelect) {
  D.Type(*Form, "abcdef");
  Keys({vk::Left});
  Keys({vk::Left, vk::Left, vk::Left, vk::Right}, vk::Shift);  // the anchor stays
  EXPECT_EQ(E->GetSelText(), "de");
  D.Type(*Form, "Z");  // replacing a selection is one change
  EXPECT_EQ(E->GetText(), "abcZf");
  EXPECT_EQ(Changes, 7);
  Keys({vk::Home}, vk::Shift);
  Keys({vk::Right});  // an arrow ends a selection at its edge
  EXPECT_EQ(E->GetSelLength(), 0);
  EXPECT_EQ(E->GetCaretPos(), 4);
  Ctrl('A');
  EXPECT_EQ(E->GetSelText(), "abcZf");

  E->SetText("alpha beta gamma");
  D.Click(*E, E->XOfCharPos(3), 8);
  EXPECT_EQ(E->GetCaretPos(), 3);
  D.AdvanceTime(1000);
  D.MouseDown(*E, E->XOfCharPos(6), 8);
  D.MouseMove(*E, E->XOfCharPos(10), 8);
  D.MouseUp(*E, E->XOfCharPos(10), 8);
  D.MouseMove(*E, E->XOfCharPos(2), 8);  // no more after the release
  EXPECT_EQ(E->GetSelText(), "beta");
  D.AdvanceTime(1000);
  D.KeyDown(*Form, vk::Shift);
  D.Click(*E, E->XOfCharPos(16), 8);
  D.KeyUp(*Form, vk::Shift);
  EXPECT_EQ(E->GetSelText(), "beta gamma");
  D.AdvanceTime(1000);
  D.DblClick(*E, E->XOfCharPos(12) + 1, 8);
  EXPECT_EQ(E->GetSelText(), "gamma");
}

TEST_F(EditTest, ClipboardMaxLengthReadOnlyAndPassword) {
  E->SetText("one two");
  E->SetSelStart(4);
  E->SetSelLength(3);
  Ctrl('C');
  Keys({vk::Home});
  Keys({vk::Right, vk::Right, vk::Right}, vk::Shift);
  Changes = 0;
  Ctrl('V');
  EXPECT_EQ(E->GetText(), "two two");
  EXPECT_EQ(Changes, 1);
  Keys({vk::Home}, vk::Shift);
  Ctrl('X');
  Clipboard().SetAsText("red\r\ngreen");  // one line: up to the line break
  Ctrl('V');
  EXPECT_EQ(E->GetText(), "red two");
  Clipboard().SetAsText("\xFF");  // a stray byte comes in as U+FFFD
  Ctrl('V');
  EXPECT_EQ(E->GetText(), "red\uFFFD two");
  Keys({vk::Back});
  // The limit cuts what is typed and pasted, not what the program writes.
  E->SetMaxLength(8);
  D.Type(*Form, "abc");
  EXPECT_EQ(E->GetText(), "reda two");
  E->SetText("longer than eight");
  EXPECT_EQ(E->GetText(), "longer than eight");
  // Read-only: no edits, but copying.
  E->SetReadOnly(true);
  Changes = 0;
  Ctrl('A');
  D.Type(*Form, "x");
  Keys({vk::Back, vk::Delete});
  Ctrl('X');
  Ctrl('V');
  EXPECT_EQ(Changes, 0);
  Ctrl('C');
  EXPECT_EQ(Clipboard().GetAsText(), "longer than eight");
  // A password never reaches the clipboard.
  E->SetReadOnly(false);
  E->SetPasswordChar(U'*');
  Ctrl('A');
  Ctrl('X');
  EXPECT_EQ(Clipboard().GetAsText(), "longer than eight");
  EXPECT_EQ(E->GetText(), "longer than eight");
}

TEST_F(EditTest, LongTextScrollsShortTextAligns) {
  const std::string Long = "the quick brown fox jumps over the lazy dog again and again";
  D.Type(*Form, Long);
  const int W = E->GetClientWidth();
  EXPECT_GE(E->XOfCharPos(E->GetCaretPos()), 0);
  EXPECT_LT(E->XOfCharPos(E->GetCaretPos()), W);
  Keys({vk::Home});
  EXPECT_EQ(E->XOfCharPos(0), 1);
  // A drag beyond the right edge selects to the end and scrolls along.
  D.MouseDown(*E, 5, 8);
  for (int I = 0; I < 40; ++I) D.MouseMove(*E, W + 20, 8);
  D.MouseUp(*E, W + 20, 8);
  EXPECT_EQ(E->GetSelStart() + E->GetSelLength(), int(Long.size()));
  EXPECT_LT(E->XOfCharPos(int(Long.size())), W);
  E->SetText("abc");
  E->SetAlignment(taRightJustify);
  EXPECT_EQ(E->XOfCharPos(3), W - 2);
  E->SetAlignment(taCenter);
  EXPECT_NEAR(E->XOfCharPos(0) + E->XOfCharPos(3), W, 2);
}

TEST_F(EditTest, AutoSelectOnTabHideSelectionAndCaretBlink) {
  auto* Other = new TEdit(Form);
  Other->SetParent(Form);
  Other->SetBounds(10, 50, 121, 21);
  Other->SetText("other");
  D.Press(*Form, vk::Tab);
  EXPECT_EQ(Other->GetSelText(), "other");
  E->SetText("ab");
  D.Click(*E, E->XOfCharPos(2), 8);  // focusing by a click selects nothing
  EXPECT_EQ(E->GetSelLength(), 0);
  const auto Highlighted = [&] {
    const TBitmap B = D.Capture(*Other);
    int N = 0;
    for (int Y = 0; Y < B.GetHeight(); ++Y)
      for (int X = 0; X < B.GetWidth(); ++X) N += PixelOf(B, X, Y) == ColorToRGB(clHighlight);
    return N;
  };
  EXPECT_EQ(Highlighted(), 0);
  Other->SetHideSelection(false);
  EXPECT_GT(Highlighted(), 50);
  // The caret blinks every half second while focused.
  const int X = E->XOfCharPos(2) + 2, Y = 10;  // + the frame
  const TColor Ink = ColorToRGB(clWindowText), Paper = ColorToRGB(clWindow);
  EXPECT_EQ(PixelAt(X, Y), Ink);
  D.AdvanceTime(500);
  EXPECT_EQ(PixelAt(X, Y), Paper);
  D.AdvanceTime(500);
  EXPECT_EQ(PixelAt(X, Y), Ink);
}

TEST_F(EditTest, LooksNormalFocusedAndDisabled) {
  auto* Focused = new TEdit(Form);
  Focused->SetParent(Form);
  Focused->SetBounds(10, 50, 121, 21);
  E->SetText("Normal edit");
  Focused->SetText("Focused, selected");
  Focused->SetFocus();
  Focused->SetSelStart(9);
  Focused->SetSelLength(8);
  EXPECT_TRUE(MatchesGolden(D.Capture(*E), "testdata/edit_normal.png"));
  EXPECT_TRUE(MatchesGolden(D.Capture(*Focused), "testdata/edit_focused.png"));
  E->SetEnabled(false);
  EXPECT_TRUE(MatchesGolden(D.Capture(*E), "testdata/edit_disabled.png"));
}

}  // namespace
}  // namespace kvl
