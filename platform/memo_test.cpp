// Memos driven as a person would: typing and line breaks, the key handlers that see a key
// first, navigation over wrapped rows, Lines and Text in step, limits, and the pictures.
#include "kvl/platform/memo.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "kvl/core/stringl.h"
#include "kvl/platform/clipboard.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

class MemoTest : public TControlTest<TMemo> {
protected:
  int Changes = 0;
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->SetBounds(10, 10, 185, 89);
    Ctl->OnChange = [this](TObject*) { ++Changes; };
    Form->Show();
    Ctl->SetFocus();
  }
  void WithCtrl(const std::function<void()>& Act) {
    D.KeyDown(*Form, vk::Control);
    Act();
    D.KeyUp(*Form, vk::Control);
  }
  std::string LinesText() {
    std::string S;
    for (int I = 0; I < Ctl->GetLines()->GetCount(); ++I) S += (I ? "|" : "") + (*Ctl->GetLines())[I];
    return S;
  }
};

TEST_F(MemoTest, TypingLineBreaksAndKeyHandlers) {
  struct TCase {
    const char* Name;
    std::function<void()> Setup;
    std::function<void()> Act;
    const char* Text;
    int Changes;
  };
  bool FormSawEnter = false;
  Form->OnKeyPress = [&](TObject*, char32_t& K) { FormSawEnter |= K == '\r'; };
  const TCase Cases[] = {
      {"typing", [] {}, [&] { D.Type(*Form, "ab"); }, "ab", 2},
      {"enter breaks the line", [] {}, [&] { D.Type(*Form, "a\nb"); }, "a\nb", 3},
      {"enter without WantReturns", [&] { Ctl->SetWantReturns(false); },
       [&] { D.Type(*Form, "a\nb"); }, "ab", 2},
      {"ctrl+enter without WantReturns", [&] { Ctl->SetWantReturns(false); },
       [&] { D.Type(*Form, "a"), WithCtrl([&] { D.Press(*Form, vk::Return, "\r"); }); }, "a\n", 2},
      {"a key handler that takes Enter",
       [&] {
         Ctl->OnKeyDown = [&](TObject*, std::uint16_t& K, TShiftState) {
           if (K == vk::Return) Ctl->Hide();
         };
         Ctl->OnKeyPress = [](TObject*, char32_t& K) {
           if (K == '\r' || K == 27) K = 0;
         };
       },
       [&] { D.Type(*Form, "x\n"); }, "x", 1},
      {"tab goes to the form", [] {}, [&] { D.Press(*Form, vk::Tab, "\t"); }, "", 0},
      {"tab typed with WantTabs", [&] { Ctl->SetWantTabs(true); },
       [&] { D.Press(*Form, vk::Tab, "\t"); }, "\t", 1},
      {"read only", [&] { Ctl->SetReadOnly(true); }, [&] { D.Type(*Form, "a\n"); }, "", 0},
      {"max length counts breaks", [&] { Ctl->SetMaxLength(3); },
       [&] { D.Type(*Form, "a\nbcd"); }, "a\nb", 3},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Ctl->SetText("");
    Ctl->SetWantReturns(true);
    Ctl->SetWantTabs(false);
    Ctl->SetReadOnly(false);
    Ctl->SetMaxLength(0);
    Ctl->OnKeyDown = nullptr;
    Ctl->OnKeyPress = nullptr;
    Ctl->Show();
    Ctl->SetFocus();
    C.Setup();
    Changes = 0;
    C.Act();
    EXPECT_EQ(Ctl->GetText(), C.Text);
    EXPECT_EQ(Changes, C.Changes);
  }
  EXPECT_TRUE(FormSawEnter);  // Enter without WantReturns reached the form's key handler
}

TEST_F(MemoTest, LinesAndTextInStep) {
  Ctl->SetText("one\r\ntwo\rthree\n");
  EXPECT_EQ(Ctl->GetText(), "one\ntwo\nthree\n");
  EXPECT_EQ(LinesText(), "one|two|three|");
  Ctl->GetLines()->Delete(3);
  Ctl->GetLines()->Insert(1, "x\r\ny");
  Ctl->GetLines()->SetStrings(0, "ONE");
  Ctl->GetLines()->Add("four");
  EXPECT_EQ(Ctl->GetText(), "ONE\nx\ny\ntwo\nthree\nfour");
  EXPECT_EQ(LinesText(), "ONE|x|y|two|three|four");
  Ctl->GetLines()->Clear();
  EXPECT_EQ(Ctl->GetLines()->GetCount(), 0);
  Ctl->GetLines()->Add("only");
  EXPECT_EQ(Ctl->GetText(), "only");
  // Selection positions count each line break as one character.
  Ctl->SetText("ab\ncd\u00e9f");
  Ctl->SetSelStart(4);
  Ctl->SetSelLength(3);
  EXPECT_EQ(Ctl->GetSelText(), "d\u00e9f");
  EXPECT_EQ(Ctl->GetCaretPos().Y, 1);
  Ctl->SetSelStart(1);
  Ctl->SetSelLength(3);
  EXPECT_EQ(Ctl->GetSelText(), "b\nc");
  // A paste of CR LF text, and 10 MB with and without a limit.
  Clipboard().SetAsText("1\r\n2\r3");
  Changes = 0;
  D.KeyDown(*Form, vk::Control);
  D.Press(*Form, 'V');
  D.KeyUp(*Form, vk::Control);
  EXPECT_EQ(Ctl->GetText(), "a1\n2\n3d\u00e9f");
  EXPECT_EQ(Changes, 1);
  std::string Big(10 << 20, 'x');
  for (std::size_t I = 100; I < Big.size(); I += 100) Big[I] = '\n';
  Clipboard().SetAsText(Big);
  Ctl->SetMaxLength(1000);
  Ctl->SelectAll();
  Ctl->PasteFromClipboard();
  EXPECT_EQ(Utf8Length(Ctl->GetText()), 1000);
  Ctl->SetMaxLength(0);
  Ctl->SelectAll();
  Ctl->PasteFromClipboard();
  EXPECT_EQ(Ctl->GetText().size(), Big.size());
  EXPECT_EQ(Ctl->GetLines()->GetCount(), int((Big.size() - 1) / 100) + 1);
  // Bytes that start no character become U+FFFD as they come in, so that pieces put together
  // never join into another character behind the caret's count.
  Ctl->SetText("a\xE2");
  Ctl->SetSelStart(2);
  Clipboard().SetAsText("\x82\xAC\r");
  Ctl->PasteFromClipboard();
  EXPECT_EQ(Ctl->GetText(), "a\uFFFD\uFFFD\uFFFD\n");
  EXPECT_EQ(Ctl->GetSelStart(), 5);
  Ctl->GetLines()->Add("\xC3");
  EXPECT_EQ(Ctl->GetLines()->GetStrings(2), "\uFFFD");
  // A caret kept over a deleted line lands on a character's start, never inside one.
  Ctl->SetText("a\xC3\xA9\u20AC\nlonger line");
  Ctl->SetSelStart(9);  // byte 5 of the second line, inside the euro sign once moved up
  Ctl->GetLines()->Delete(1);
  EXPECT_EQ(Ctl->GetSelStart(), 2);
  EXPECT_EQ(Ctl->GetCaretPos().X, 2);
  D.Capture(*Ctl);
}

TEST_F(MemoTest, NavigationOverWrappedRows) {
  // The first paragraph wraps; three short ones of equal width follow.
  Ctl->SetText("alpha beta gamma delta epsilon zeta eta theta iota kappa lambda\nmu\nnu\nun");
  const int Rows = Ctl->GetRowCount();
  ASSERT_GT(Rows, 4);  // the first paragraph wraps
  const TPoint Start = {0, 0};
  EXPECT_EQ(Ctl->GetCaretPos(), Start);
  D.Press(*Form, vk::End);  // end of the first display row, still in paragraph 0
  EXPECT_EQ(Ctl->GetCaretPos().Y, 0);
  EXPECT_GT(Ctl->GetCaretPos().X, 0);
  const int RowEnd = Ctl->GetCaretPos().X;
  D.Press(*Form, vk::Down);
  EXPECT_EQ(Ctl->GetCaretPos().Y, 0);
  EXPECT_GT(Ctl->GetCaretPos().X, RowEnd);
  WithCtrl([&] { D.Press(*Form, vk::End); });
  EXPECT_EQ(Ctl->GetCaretPos(), (TPoint{2, 3}));
  D.Press(*Form, vk::Up);
  EXPECT_EQ(Ctl->GetCaretPos(), (TPoint{2, 2}));
  D.Press(*Form, vk::Right);
  EXPECT_EQ(Ctl->GetCaretPos(), (TPoint{0, 3}));
  D.Press(*Form, vk::Back);
  D.Press(*Form, vk::Back);
  EXPECT_EQ(Ctl->GetText().substr(Ctl->GetText().size() - 7), "\nmu\nnun");
  WithCtrl([&] { D.Press(*Form, vk::Home); });
  D.Press(*Form, vk::Next);
  EXPECT_GT(Ctl->GetCaretPos().Y + Ctl->GetCaretPos().X, 0);
  // Shift extends; the selection crosses lines.
  D.KeyDown(*Form, vk::Shift);
  WithCtrl([&] { D.Press(*Form, vk::End); });
  D.KeyUp(*Form, vk::Shift);
  EXPECT_EQ(Ctl->GetSelStart() + Ctl->GetSelLength(), Utf8Length(Ctl->GetText()));
}

TEST_F(MemoTest, RewrapKeepsTheCaretAndTouchesOneParagraph) {
  std::string Text;
  for (int I = 0; I < 200; ++I) Text += "paragraph " + std::to_string(I) + " with some words to wrap\n";
  Ctl->SetText(Text);
  Ctl->SetScrollBars(ssVertical);
  Ctl->SetCaretPos({20, 150});
  const std::int64_t Wraps = Ctl->GetWrapCount();
  D.Type(*Form, "Z");
  EXPECT_EQ(Ctl->GetWrapCount(), Wraps + 1);
  EXPECT_EQ((*Ctl->GetLines())[150].substr(20, 1), "Z");
  const int Top = Ctl->GetTopRow();
  EXPECT_GT(Top, 0);  // the caret is kept in view
  Ctl->SetWidth(400);
  EXPECT_EQ(Ctl->GetCaretPos(), (TPoint{21, 150}));
  D.Type(*Form, "Y");
  EXPECT_EQ((*Ctl->GetLines())[150].substr(20, 2), "ZY");
  // The wheel scrolls three rows; 0 x 0 and 30 000 pixels wide stay whole.
  const int T = Ctl->GetTopRow();
  D.Wheel(*Ctl, 20, 20, 120);
  EXPECT_EQ(Ctl->GetTopRow(), T - 3);
  for (const int W : {0, 30000}) {
    Ctl->SetBounds(0, 0, W, W ? 60 : 0);
    D.Capture(*Ctl);
    EXPECT_EQ(Ctl->GetLines()->GetCount(), 201);
  }
  // A replacement over two paragraphs that wraps only the second one anew counts rows anew.
  Ctl->SetBounds(10, 10, 185, 89);
  Ctl->SetSelStart(Utf8Length(Ctl->GetLines()->GetStrings(0)));
  Ctl->SetSelLength(1);
  Ctl->SetSelText("\nmany more words to wrap here, many more words to wrap here ");
  const int Rows = Ctl->GetRowCount();
  Ctl->SetText(Ctl->GetText());
  EXPECT_EQ(Rows, Ctl->GetRowCount());
}

TEST_F(MemoTest, MouseSelectionAcrossLines) {
  Ctl->SetText("first line\nsecond line\nthird");
  D.MouseDown(*Ctl, 30, 3);
  D.MouseMove(*Ctl, 20, 40);
  D.MouseUp(*Ctl, 20, 40);
  const std::string Sel = Ctl->GetSelText();
  EXPECT_NE(Sel.find("\nsecond line\n"), std::string::npos) << Sel;
  EXPECT_EQ(Ctl->GetCaretPos().Y, 2);
}

TEST_F(MemoTest, Looks) {
  Ctl->SetScrollBars(ssVertical);
  Ctl->SetText("A memo wraps its words at the edge of the box.\nSecond paragraph\n\nfour\nfive\nsix");
  Ctl->SetSelStart(2);
  Ctl->SetSelLength(30);
  auto* Comment = new TMemo(Form);
  Comment->SetParent(Form);
  Comment->SetBounds(200, 10, 150, 89);
  Comment->SetColor(0x808000);
  Comment->GetFont().SetColor(clWhite);
  Comment->SetText("comment\ntext");
  auto* Off = new TMemo(Form);
  Off->SetParent(Form);
  Off->SetBounds(360, 10, 120, 89);
  Off->SetText("disabled\nmemo");
  Off->SetEnabled(false);
  Form->SetBounds(0, 0, 490, 110);
  EXPECT_TRUE(MatchesGolden(D.Capture(*Form), "testdata/memo_states.png"));
}

}  // namespace
}  // namespace kvl
