// The row editor: its layout on both kinds of form, the control of each kind, what each way
// out writes back, and that it leaves nothing behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "kvl/numio/numedit.h"
#include "kvl/platform/buttons.h"
#include "kvl/platform/combobox.h"
#include "kvl/platform/dtpicker.h"
#include "kvl/platform/scrollbox.h"
#include "kvl/replist/reportview_test_fixture.h"

namespace kvl {
namespace {

using TCells = std::vector<std::string>;

class RowEditorTest : public ReportViewTest {
protected:
  // Columns from "format=cell;..." (cells of row Row).
  void Columns(std::string Text, int Row = 1) {
    Ctl->SetNrOfColumns(int(std::count(Text.begin(), Text.end(), ';')) + 1);
    Ctl->SetNrOfRows(std::max(Row, 2));
    std::istringstream In(Text);
    for (auto [C, Col] = std::pair{1, std::string()}; std::getline(In, Col, ';'); ++C) {
      Ctl->SetHeader(C, "Column " + std::to_string(C));
      Ctl->SetColumnFormat(C, Col.substr(0, Col.find('=')));
      Ctl->SetElem(C, Row, Col.substr(Col.find('=') + 1));
    }
  }
  template <class T = TWinControl>
  static T* Part(TCustomForm& F, const std::string& Name) {
    return dynamic_cast<T*>(F.FindComponent("runtime_rlre_" + Name));
  }
  TCells Row(int R) const {
    TCells Cells;
    for (int C = 1; C <= Ctl->GetNrOfColumns(); ++C) Cells.push_back(Ctl->GetElem(C, R));
    return Cells;
  }
};

TEST_F(RowEditorTest, LayoutAndPicturesOnOwnAndContainerForms) {
  const char* const Names[] = {"Id", "A much longer name", "Mid name"};
  const auto Width = [](int C) { return C == 2 ? 200 : 40 + 7 * C; };  // 200: no width given
  for (const int N : {1, 3, 12}) {
    for (const bool OnHost : {false, true}) {
      Ctl->SetNrOfColumns(N);
      int MaxW = 0;
      for (int C = 1; C <= N; ++C) {
        Ctl->SetHeader(C, Names[C % 3]);
        Ctl->SetColumnFormat(C, C == 2 ? "" : "[s][" + std::to_string(Width(C)) + "]");
        MaxW = std::max(MaxW, Width(C));
      }
      TForm Host(nullptr);
      Host.SetBounds(0, 0, 900, 60);
      const int Ox = OnHost ? 10 : 0, Oy = OnHost ? 10 : 45;
      D.WhenModal([&](TCustomForm& F) {
        int Wl = 0;
        for (int C = 1; C <= N; ++C)
          Wl = std::max(Wl, F.GetCanvas()->TextWidth(Ctl->GetHeader(C)) + 8);
        for (int C = 1; C <= N; ++C) {
          const int Y = Oy + (C - 1) * 25;
          auto* L = Part<TLabel>(F, "Label" + std::to_string(C));
          const TControl* E = Part(F, "Edit" + std::to_string(C));
          ASSERT_TRUE(L && E);
          EXPECT_EQ(L->GetBoundsRect(), Rect(Ox + 8, Y + 3, Ox + 8 + Wl, Y + 3 + L->GetHeight()));
          EXPECT_EQ(E->GetBoundsRect(), Rect(Ox + Wl + 12, Y, Ox + Wl + 12 + Width(C), Y + 21));
        }
        const TControl *Ok = Part<TSpeedButton>(F, "ButOK"), *Cancel = Ctl->GetSBERCancel();
        EXPECT_EQ(F.GetCaption(), OnHost ? "" : "Editing Row 1");
        EXPECT_EQ(F.GetBoundsRect(), OnHost ? Rect(0, 0, 900, std::max(60, N * 25 + 38))
                                            : Rect(30, 40, 58 + Wl + MaxW, 40 + N * 25 + 83));
        ASSERT_EQ(!OnHost, Ok && Cancel);
        if (OnHost) return;
        EXPECT_EQ(Ok->GetBoundsRect(), Rect(Wl + MaxW - 154, 4, Wl + MaxW - 73, 33));
        EXPECT_EQ(Cancel->GetBoundsRect(), Rect(Wl + MaxW - 69, 4, Wl + MaxW + 12, 33));
        EXPECT_TRUE(Ok->GetCaption() == "OK" && F.GetBorderStyle() == bsDialog);
      });
      OnHost ? Ctl->EditRowEntries(1, &Host, 10, 10) : Ctl->EditRowEntries(1, 30, 40);
    }
  }
  // Taller than the screen (800 pixels here): the form stops at the screen's height and the
  // fields scroll in an area below the buttons, at their usual places inside it.
  Ctl->SetNrOfColumns(40);
  for (int C = 1; C <= 40; ++C) Ctl->SetColumnFormat(C, "[s][60]");
  D.WhenModal([&](TCustomForm& F) {
    auto* Box = Part<TScrollBox>(F, "ScrollBox");
    ASSERT_NE(Box, nullptr);
    const TControl* Last = Part(F, "Edit40");
    EXPECT_EQ(F.GetHeight(), 800);
    EXPECT_EQ(Box->GetTop(), 45);
    EXPECT_EQ(Box->GetTop() + Box->GetHeight(), 800);
    EXPECT_EQ(Last->GetParent(), Box);
    EXPECT_EQ(Last->GetTop(), 39 * 25);
    // The last field can be scrolled into view.
    EXPECT_GE(Box->GetVertScrollBar()->GetRange(), Last->GetTop() + Last->GetHeight());
    EXPECT_GT(Box->GetVertScrollBar()->GetRange(), Box->GetClientHeight());
  });
  Ctl->EditRowEntries(1, 0, 0);
  Columns(
      "[c:5][110]red|green|blue|cyan|magenta=green;[l][90]small|large=large;"
      "[ddd.MM.yyyy][100]=24.12.2023;[e][90]=1.5e3;[f][90]=-2.25;[h][60]=7F;[i][60]=42;"
      "[s][160]=Holunder;[#s][120]=read only;[q][80]=never shown");
  for (const std::string Name : {"own", "container"}) {
    TForm Host(nullptr);
    Host.SetBounds(0, 0, 100, 100);
    D.WhenModal([&](TCustomForm& F) {
      EXPECT_TRUE(MatchesGolden(D.Capture(F), "testdata/roweditor_" + Name + ".png"));
    });
    Name == "own" ? Ctl->EditRowEntries(1, 0, 0) : Ctl->EditRowEntries(1, &Host, 10, 10);
  }
}

TEST_F(RowEditorTest, OneControlPerKind) {
  Columns(
      "[l:5][120]red|green|blue=purple;[c:-5][90]red||blue=;[c:999999][10]a|b|=x;"
      "[ddd.MM.yyyy]=24.12.2023;[i][60]rix3=;[s][80]$pwd$8=;=plain;[x][50]=kept;[e]=1.5;"
      "[f][99999999999]=2;[h]=1F;[#s][80]=Hill;[#l][80]b|Hill=Hill;"
      "[#ddd.MM.yyyy][90]=01.02.2003;[#i][80]=12",
      7);
  std::string Asked;
  Ctl->OnRequestEditFormat = [&](TObject*, int Col, int Row, std::string& Format) {
    if (Col < 3) Asked += std::to_string(Col) + "," + std::to_string(Row) + Format + " ";
    if (Col == 7) Format = "[s][33]" + std::string(100, 'b');  // longer than a stored format
  };
  D.WhenModal([&](TCustomForm& F) {
    const auto Box = [&](const std::string& Name) {
      auto* C = Part<TComboBox>(F, Name);
      return std::vector<int>{C->GetStyle(),         C->GetWidth(),     C->GetItems()->GetCount(),
                              C->GetDropDownCount(), C->GetItemIndex(), int(C->GetTag())};
    };
    EXPECT_EQ(Box("CBox1"), (std::vector<int>{csDropDownList, 120, 3, 5, -1, 1}));
    EXPECT_EQ(Box("CBox2"), (std::vector<int>{csDropDown, 90, 3, 1, 1, 2}));  // "" is item 1
    EXPECT_EQ(Box("CBox3"), (std::vector<int>{csDropDown, 10, 2, 100, -1, 3}));
    EXPECT_EQ(Part<TComboBox>(F, "CBox2")->GetItems()->GetText(), "red\n\nblue\n");
    const std::tuple<int, TInFormat, std::string> Numbers[] = {
        {5, itInt, "007"}, {9, itDynamic, "1.5"}, {10, itFloat, "2"}, {11, itHex, "1F"}};
    for (const auto& [Col, Format, Text] : Numbers) {
      auto* I = Part<TNumIO>(F, "NumIO" + std::to_string(Col));
      EXPECT_EQ(std::tuple(I->GetInputFormat(), I->GetText(), I->GetTag(), I->GetDecPlaceSep()),
                std::tuple(Format, Text, Col, dpsBoth));
      EXPECT_TRUE(I->GetRangeLow() == -1.7e308 && I->GetRangeHigh() == 1.7e308);
    }
    EXPECT_EQ(Part(F, "NumIO10")->GetWidth(), 4000);
    EXPECT_EQ(Part<TDateTimePicker>(F, "DtPick4")->GetFormat(), "dd.MM.yyyy");
    EXPECT_EQ(Part<TDateTimePicker>(F, "DtPick4")->GetDateTime(), EncodeDate(2023, 12, 24));
    const std::string Pwd = Part(F, "Edit6")->GetText();
    EXPECT_TRUE(Pwd.size() == 8 && std::all_of(Pwd.begin(), Pwd.end(), ::isalnum)) << Pwd;
    EXPECT_EQ(Part(F, "Edit7")->GetText() + std::to_string(Part(F, "Edit7")->GetWidth()),
              "plain33");
    EXPECT_EQ(F.GetComponentCount(), 2 + 15 + 14);  // buttons, labels, no field for "[x]"
    for (const char* Name : {"Edit12", "CBox13", "DtPick14", "NumIO15"}) {  // read-only
      TControl* W = Part(F, Name);
      EXPECT_TRUE(!W->GetEnabled() && W->GetFont().GetColor() == 0x00808080) << Name;
      EXPECT_EQ(PixelOf(D.Capture(*W), 4, W->GetHeight() - 4), TColor(0x00E0E0E0)) << Name;
    }
  });
  EXPECT_EQ(Ctl->EditRowEntries(7, 0, 0), mrCancel);
  EXPECT_EQ(Asked, "1,7[l:5][120]red|green|blue 2,7[c:-5][90]red||blue ");
}

// Every way out (Enter, Escape and the close box on one host form): only OK and Enter in each
// kind of field write, only changes and the defaults shown for empty cells; other cells stay
// byte for byte (decimals in a comma locale too), and nothing is left, also after a raise.
TEST_F(RowEditorTest, WaysOutWriteOnlyChangesAndShownDefaults) {
  const char* Old = std::getenv("LC_ALL");
  const std::string Saved = Old ? Old : "";
  setenv("LC_ALL", "de_DE.utf8", 1);
  std::string Long;
  for (int I = 0; I < 300; ++I) Long += "\u00e4";
  TForm Host(nullptr);
  Host.OnShow = [](TObject*) {};  // the host's handler stays
  const auto Leave = [&](TCustomForm& F, const std::string& Way) {
    if (Way == "OK" || Way == "Cancel")
      return D.Click(Way == "OK" ? *Part<TControl>(F, "ButOK") : *Ctl->GetSBERCancel(), 5, 5);
    if (Way == "close box") return D.WindowEvent(F, THostEventKind::CloseRequest);
    if (Way == "Escape") return D.Press(F, vk::Escape, "\x1b");
    if (Way == "edit") {  // a picked item, a stepped day, typed text, a long paste
      F.SetActiveControl(Part(F, "CBox1")), D.Press(F, vk::Down);
      F.SetActiveControl(Part(F, "DtPick14")), D.Press(F, vk::Up);
      F.SetActiveControl(Part(F, "Edit13")), D.Press(F, vk::End), D.Type(F, "!");
      Part(F, "Edit15")->SetText(Long);
      return D.Click(*Part<TControl>(F, "ButOK"), 5, 5);
    }
    F.SetActiveControl(Part(F, Way));  // Enter in that field
    D.Press(F, vk::Return, "\r");
  };
  int Changes = 0;
  Ctl->OnChange = [&](TObject*) { ++Changes; };
  for (const std::string Way : {"OK", "Cancel", "edit", "CBox1", "CBox12", "NumIO2", "DtPick3",
                                "Edit10", "Escape", "close box"}) {
    SCOPED_TRACE(Way);
    Columns(
        "[l:5][120]red|green|blue=purple;[i][60]=12 kg;[ddd.MM.yyyy][90]=31.02.2023;[d][100]=;"
        "[#ddd.MM.yyyy][90]=24.12.2023 x;[l][60]red|green=Red;[e][60]=1.5;[e][60]=2,5;"
        "[i][60]rix3=;[s][80]$pwd$8=;[ddd.MM.yyyy][90]01.02.2003=;[c][60]a|b=;[s]=checked;"
        "[ddd.MM.yyyy]=24.12.2023;[s]=",
        7);
    Ctl->SetColumnCheckMode(13, cmBox);
    Ctl->SetElemChecked(13, 7, true);
    TCells Expected = Row(7);
    Changes = 0;
    D.WhenModal([&](TCustomForm& F) {
      EXPECT_EQ(Ctl->EditRowEntries(7, 0, 0) + Ctl->EditRowEntries(7, &Host, 0, 0), 4);
      EXPECT_EQ(F.GetActiveControl(), Part(F, "CBox1"));
      EXPECT_EQ(Part(F, "NumIO7")->GetText() + Part(F, "NumIO8")->GetText(), "1.52,5");
      Leave(F, Way);
    });
    const bool Ok = Way != "Cancel" && Way != "Escape" && Way != "close box";
    const bool Own = Way == "OK" || Way == "Cancel" || Way == "edit";
    EXPECT_EQ(Own ? Ctl->EditRowEntries(7, 0, 0) : Ctl->EditRowEntries(7, &Host, 5, 5), Ok ? 1 : 2);
    if (Ok) Expected[8] = "007", Expected[9] = Ctl->GetElem(10, 7), Expected[10] = "01.02.2003";
    if (Way == "edit")
      Expected[0] = "red", Expected[12] = "checked!", Expected[13] = "25.12.2023",
      Expected[14] = Long.substr(0, 2 * 255);
    EXPECT_EQ(Row(7), Expected);
    EXPECT_TRUE(Changes == Ok && Ctl->GetElemChecked(13, 7));
    EXPECT_TRUE(Host.GetComponentCount() == 0 && Host.OnShow && !Ctl->GetContainerForm());
  }
  Old ? setenv("LC_ALL", Saved.c_str(), 1) : unsetenv("LC_ALL");
  // A raise leaves nothing; rows out of range are refused before the handler runs.
  Ctl->OnRequestEditFormat = [&](TObject*, int Col, int, std::string&) {
    if (Col == 3) throw EKVLRepListError("refused");
  };
  EXPECT_THROW(Ctl->EditRowEntries(7, &Host, 0, 0), EKVLRepListError);
  EXPECT_THROW(Ctl->EditRowEntries(7, 0, 0), EKVLRepListError);
  EXPECT_TRUE(Host.GetComponentCount() == 0 && !Ctl->GetContainerForm() && !Ctl->GetSBERCancel());
  EXPECT_EQ(Ctl->EditRowEntries(0, 0, 0) + Ctl->EditRowEntries(Ctl->GetNrOfRows() + 1, 0, 0), 4);
  Ctl->OnRequestEditFormat = nullptr;
  Host.Show();
  EXPECT_THROW(Ctl->EditRowEntries(7, &Host, 0, 0), EKVLRepListError);
  // An open in-place editor is ended first: its text is committed and the dialog shows it.
  Columns("[s][80]=old");
  Ctl->SetColumnEditable(1, true);
  ClickCell(0, 1);
  D.Press(*Form, vk::F1 + 1);
  D.Type(*Form, "new");
  ASSERT_TRUE(Ctl->GetEditorMode());
  D.WhenModal([&](TCustomForm& F) {
    EXPECT_EQ(Part(F, "Edit1")->GetText(), "new");
    D.Press(F, vk::Escape, "\x1b");
  });
  EXPECT_EQ(Ctl->EditRowEntries(1, 0, 0), 2);
  EXPECT_FALSE(Ctl->GetEditorMode());
  EXPECT_EQ(Ctl->GetElem(1, 1), "new");
  Ctl->OnChange = nullptr;  // it counts into this test's frame
}

}  // namespace
}  // namespace kvl
