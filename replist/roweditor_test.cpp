// The row editor: its layout on both kinds of form, the control of each kind, what OK and the
// other ways out write back, and that it leaves nothing behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "kvl/numio/numedit.h"
#include "kvl/platform/buttons.h"
#include "kvl/platform/combobox.h"
#include "kvl/platform/dtpicker.h"
#include "kvl/platform/scrollbox.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/replist/reportview_test_fixture.h"

namespace kvl {
namespace {

class RowEditorTest : public ReportViewTest {
protected:
  // Columns of the given formats and cells (row Row; the others empty).
  void Columns(const std::vector<std::pair<std::string, std::string>>& FormatsAndCells,
               int Row = 1) {
    Ctl->SetNrOfColumns(int(FormatsAndCells.size()));
    Ctl->SetNrOfRows(std::max(Row, 2));
    for (int C = 1; C <= Ctl->GetNrOfColumns(); ++C) {
      Ctl->SetHeader(C, "Column " + std::to_string(C));
      Ctl->SetColumnFormat(C, FormatsAndCells[std::size_t(C - 1)].first);
      Ctl->SetElem(C, Row, FormatsAndCells[std::size_t(C - 1)].second);
    }
  }
  template <class T = TControl>
  static T* Part(TCustomForm& F, const std::string& Name) {
    return dynamic_cast<T*>(F.FindComponent("runtime_rlre_" + Name));
  }
  static int EditorParts(const TComponent& F) {
    int N = 0;
    for (int I = 0; I < F.GetComponentCount(); ++I)
      N += F.GetComponents(I)->GetName().find("runtime_rlre_") != std::string::npos;
    return N;
  }
  std::vector<std::string> Row(int R) const {
    std::vector<std::string> Cells;
    for (int C = 1; C <= Ctl->GetNrOfColumns(); ++C) Cells.push_back(Ctl->GetElem(C, R));
    return Cells;
  }
};

TEST_F(RowEditorTest, LayoutOnOwnAndContainerForms) {
  const std::vector<std::string> Names = {"Id", "A much longer name", "Mid name"};
  for (const int N : {1, 3, 12}) {
    for (const bool OnContainer : {false, true}) {
      SCOPED_TRACE(std::to_string(N) + (OnContainer ? " on a container" : " own"));
      Ctl->SetNrOfColumns(N);
      int MaxW = 0;
      for (int C = 1; C <= N; ++C) {
        Ctl->SetHeader(C, Names[std::size_t(C % 3)]);
        Ctl->SetColumnFormat(C, C == 2 ? "" : "[s][" + std::to_string(40 + 7 * C) + "]");
        MaxW = std::max(MaxW, C == 2 ? 200 : 40 + 7 * C);
      }
      TForm Container(nullptr);
      Container.SetBounds(0, 0, 900, 60);
      Container.SetCaption("host");
      const int Ox = OnContainer ? 10 : 0, Oy = OnContainer ? 10 : 45;
      D.WhenModal([&](TCustomForm& F) {
        int Wl = 0;
        for (int C = 1; C <= N; ++C) Wl = std::max(Wl, F.GetCanvas()->TextWidth(Ctl->GetHeader(C)));
        Wl += 8;
        for (int C = 1; C <= N; ++C) {
          const int Y = Oy + (C - 1) * 25;
          TLabel* L = Part<TLabel>(F, "Label" + std::to_string(C));
          ASSERT_TRUE(L);
          EXPECT_EQ(L->GetBoundsRect(), Rect(Ox + 8, Y + 3, Ox + 8 + Wl, Y + 3 + L->GetHeight()));
          EXPECT_EQ(L->GetCaption(), Ctl->GetHeader(C) + ":");
          EXPECT_FALSE(L->GetAutoSize());
          EXPECT_EQ(L->GetAlignment(), taRightJustify);
          const TControl* E = Part(F, "Edit" + std::to_string(C));
          ASSERT_TRUE(E);
          EXPECT_EQ(E->GetBoundsRect(), Rect(Ox + Wl + 12, Y, Ox + Wl + 12 + (C == 2 ? 200 : 40 + 7 * C), Y + 21));
        }
        const auto* Ok = Part<TSpeedButton>(F, "ButOK");
        const auto* Cancel = Ctl->GetSBERCancel();
        if (OnContainer) {
          EXPECT_EQ(&F, &Container);
          EXPECT_FALSE(Ok);
          EXPECT_FALSE(Cancel);
          EXPECT_EQ(F.GetWidth(), 900);
          EXPECT_EQ(F.GetHeight(), std::max(60, N * 25 + 38));
          EXPECT_EQ(F.GetCaption(), "");
          return;
        }
        ASSERT_TRUE(Ok && Cancel);
        EXPECT_EQ(Ok->GetBoundsRect(), Rect(Wl + MaxW - 154, 4, Wl + MaxW - 73, 33));
        EXPECT_EQ(Cancel->GetBoundsRect(), Rect(Wl + MaxW - 69, 4, Wl + MaxW + 12, 33));
        EXPECT_EQ(Ok->GetCaption(), "OK");
        EXPECT_EQ(Cancel->GetCaption(), "Cancel");
        EXPECT_EQ(F.GetBoundsRect(), Rect(30, 40, 30 + Wl + MaxW + 28, 40 + N * 25 + 45 + 38));
        EXPECT_EQ(F.GetBorderStyle(), bsDialog);
        EXPECT_EQ(F.GetCaption(), "Editing Row 2");
        EXPECT_EQ(Ctl->GetContainerForm(), &F);
      });
      Ctl->SetNrOfRows(3);
      EXPECT_EQ(OnContainer ? Ctl->EditRowEntries(2, &Container, 10, 10) : Ctl->EditRowEntries(2, 30, 40), mrCancel);
      EXPECT_EQ(EditorParts(Container), 0);
      EXPECT_EQ(Container.GetCaption(), OnContainer ? "" : "host");
    }
  }
}

TEST_F(RowEditorTest, TallDialogScrollsWithinTheScreen) {
  Ctl->SetNrOfColumns(60);
  Ctl->SetNrOfRows(1);
  D.WhenModal([&](TCustomForm& F) {
    EXPECT_EQ(F.GetHeight(), Screen->GetHeight());
    const auto* Box = Part<TScrollBox>(F, "ScrollBox");
    ASSERT_TRUE(Box);
    const TControl* Last = Part(F, "Edit60");
    EXPECT_EQ(Last->GetParent(), Box);
    EXPECT_EQ(Last->GetTop(), 59 * 25);
  });
  EXPECT_EQ(Ctl->EditRowEntries(1, 0, 0), mrCancel);
}

TEST_F(RowEditorTest, OneControlPerKind) {
  Columns({{"[l:5][120]red|green|blue", "purple"},
           {"[c:-5][90]red||blue", ""},
           {"[c:999999][10]a|b|", "x"},
           {"[ddd.MM.yyyy]", "24.12.2023"},
           {"[i][60]rix3", ""},
           {"[s][80]$pwd$8", ""},
           {"", "plain"},
           {"[#s][80]", "grey"},
           {"[x][50]", "kept"},
           {"[e]", "1.5"},
           {"[f][99999999999]", "2"},
           {"[h]", "1F"},
           {"[d]", "2020-02-29"}},
          7);
  std::vector<std::pair<int, std::string>> Asked;
  Ctl->OnRequestEditFormat = [&](TObject* Sender, int Col, int Row, std::string& Format) {
    EXPECT_EQ(Sender, Ctl);
    EXPECT_EQ(Row, 7);
    Asked.emplace_back(Col, Format);
    if (Col == 7) Format = "[s][33]" + std::string(100, 'b');  // longer than a stored format
  };
  D.WhenModal([&](TCustomForm& F) {
    auto* L = Part<TComboBox>(F, "CBox1");
    ASSERT_TRUE(L);
    EXPECT_EQ(L->GetStyle(), csDropDownList);
    EXPECT_EQ(L->GetWidth(), 120);
    EXPECT_EQ(L->GetItems()->GetCount(), 3);
    EXPECT_EQ(L->GetDropDownCount(), 5);
    EXPECT_EQ(L->GetItemIndex(), -1);
    auto* C = Part<TComboBox>(F, "CBox2");
    ASSERT_TRUE(C);
    EXPECT_EQ(C->GetStyle(), csDropDown);
    EXPECT_EQ(C->GetItems()->GetText(), "red\n\nblue\n");
    EXPECT_EQ(C->GetDropDownCount(), 1);
    EXPECT_EQ(Part<TComboBox>(F, "CBox3")->GetDropDownCount(), 100);
    EXPECT_EQ(Part<TComboBox>(F, "CBox3")->GetItems()->GetCount(), 2);
    auto* P = Part<TDateTimePicker>(F, "DtPick4");
    ASSERT_TRUE(P);
    EXPECT_EQ(P->GetFormat(), "dd.MM.yyyy");
    EXPECT_EQ(P->GetDateTime(), EncodeDate(2023, 12, 24));
    auto* I = Part<TNumIO>(F, "NumIO5");
    ASSERT_TRUE(I);
    EXPECT_EQ(I->GetText(), "007");
    EXPECT_EQ(I->GetInputFormat(), itInt);
    EXPECT_EQ(I->GetRangeLow(), -1.7e308);
    EXPECT_EQ(I->GetRangeHigh(), 1.7e308);
    EXPECT_EQ(I->GetDecPlaceSep(), dpsBoth);
    const std::string Pwd = Part(F, "Edit6")->GetText();
    EXPECT_EQ(Pwd.size(), 8u);
    EXPECT_TRUE(std::all_of(Pwd.begin(), Pwd.end(), [](char Ch) { return std::isalnum(Ch); }));
    EXPECT_EQ(Part(F, "Edit7")->GetText(), "plain");
    EXPECT_EQ(Part(F, "Edit7")->GetWidth(), 33);
    EXPECT_FALSE(Part(F, "Edit8")->GetEnabled());
    EXPECT_TRUE(Part(F, "Label9"));
    EXPECT_EQ(EditorParts(F), 2 + 13 + 12);  // buttons, labels, inputs
    EXPECT_EQ(Part<TNumIO>(F, "NumIO10")->GetText(), "1.5");
    EXPECT_EQ(Part<TNumIO>(F, "NumIO10")->GetInputFormat(), itDynamic);
    EXPECT_EQ(Part<TNumIO>(F, "NumIO11")->GetInputFormat(), itFloat);
    EXPECT_EQ(Part(F, "NumIO11")->GetWidth(), 4000);
    EXPECT_EQ(Part<TNumIO>(F, "NumIO12")->GetInputFormat(), itHex);
    EXPECT_EQ(Part<TDateTimePicker>(F, "DtPick13")->GetDateTime(), EncodeDate(2020, 2, 29));
    for (int Col = 1; Col <= 13; ++Col)
      for (const char* Kind : {"CBox", "DtPick", "NumIO", "Edit"})
        if (const TControl* W = Part(F, Kind + std::to_string(Col))) {
          EXPECT_EQ(W->GetTag(), Col);
        }
  });
  EXPECT_EQ(Ctl->EditRowEntries(7, 0, 0), mrCancel);
  ASSERT_EQ(Asked.size(), 13u);
  EXPECT_EQ(Asked[0], std::make_pair(1, std::string("[l:5][120]red|green|blue")));
  EXPECT_EQ(Asked[12].first, 13);
}

TEST_F(RowEditorTest, ReadOnlyFieldsOfEveryKindAreGrey) {
  Columns({{"[#s][80]", "Hill"}, {"[#l][80]b|Hill", "Hill"}, {"[#ddd.MM.yyyy][90]", "01.02.2003"},
           {"[#i][80]", "12"}});
  D.WhenModal([&](TCustomForm& F) {
    for (const char* Name : {"Edit1", "CBox2", "DtPick3", "NumIO4"}) {
      SCOPED_TRACE(Name);
      TControl* W = Part(F, Name);
      ASSERT_TRUE(W);
      EXPECT_FALSE(W->GetEnabled());
      const TBitmap Shot = D.Capture(*W);
      EXPECT_EQ(PixelOf(Shot, 4, W->GetHeight() - 4), TColor(0x00E0E0E0));
      // The text's darkest pixels are the font colour, none darker (the glyphs are smoothed).
      int Darkest = 255;
      for (int Y = 2; Y < Shot.GetHeight() - 2; ++Y)
        for (int X = 2; X < 40; ++X) Darkest = std::min(Darkest, int(PixelOf(Shot, X, Y) & 0xFF));
      EXPECT_GE(Darkest, 0x80);
      EXPECT_LE(Darkest, 0x88);
    }
  });
  Ctl->EditRowEntries(1, 0, 0);
}

// Each way out of the dialog: only OK writes, and then only the defaults shown for empty cells
// and what the user changed; every other cell stays byte for byte.
TEST_F(RowEditorTest, OnlyChangedFieldsAndShownDefaultsAreWritten) {
  const char* OldLcAll = std::getenv("LC_ALL");
  const std::optional<std::string> Saved = OldLcAll ? std::optional<std::string>(OldLcAll) : std::nullopt;
  setenv("LC_ALL", "de_DE.utf8", 1);  // the numbers' separator is a comma, where one exists
  const std::vector<std::pair<std::string, std::string>> Row7 = {
      {"[l:5][120]red|green|blue", "purple"}, {"[i][60]", "12 kg"},
      {"[ddd.MM.yyyy][90]", "31.02.2023"},   {"[d][100]", ""},
      {"[#ddd.MM.yyyy][90]", "24.12.2023 x"}, {"[l][60]red|green", "Red"},
      {"[e][60]", "1.5"},                    {"[e][60]", "2,5"},
      {"[i][60]rix3", ""},                   {"[s][80]$pwd$8", ""},
      {"[ddd.MM.yyyy][90]01.02.2003", ""},     {"[c][60]a|b", ""}};
  const std::vector<std::string> Before = {"purple", "12 kg", "31.02.2023", "", "24.12.2023 x",
                                           "Red", "1.5", "2,5", "", "", "", ""};
  const struct {
    const char* Name;
    std::function<void(TCustomForm&)> Close;
    int Result;
  } Ways[] = {
      {"OK", [&](TCustomForm& F) { D.Click(*Part(F, "ButOK"), 5, 5); }, mrOk},
      {"Enter", [&](TCustomForm& F) { D.Press(F, vk::Return, "\r"); }, mrOk},
      {"Cancel", [&](TCustomForm&) { D.Click(*Ctl->GetSBERCancel(), 5, 5); }, mrCancel},
      {"Escape", [&](TCustomForm& F) { D.Press(F, vk::Escape, "\x1b"); }, mrCancel},
      {"close box", [&](TCustomForm& F) { D.WindowEvent(F, THostEventKind::CloseRequest); },
       mrCancel}};
  for (const auto& W : Ways) {
    SCOPED_TRACE(W.Name);
    Columns(Row7, 7);
    int Changes = 0;
    Ctl->OnChange = [&](TObject*) { ++Changes; };
    D.WhenModal([&](TCustomForm& F) {
      EXPECT_EQ(F.GetActiveControl(), Part(F, "CBox1"));
      EXPECT_EQ(Part(F, "NumIO7")->GetText(), "1.5");
      EXPECT_EQ(Part(F, "NumIO8")->GetText(), "2,5");
      W.Close(F);
    });
    EXPECT_EQ(Ctl->EditRowEntries(7, 0, 0), W.Result);
    std::vector<std::string> Expected = Before;
    if (W.Result == mrOk) {
      Expected[8] = "007";
      Expected[9] = Ctl->GetElem(10, 7);
      EXPECT_EQ(Expected[9].size(), 8u);
      Expected[10] = "01.02.2003";
    }
    EXPECT_EQ(Row(7), Expected);
    EXPECT_EQ(Changes, W.Result == mrOk ? 1 : 0);
    EXPECT_EQ(Ctl->GetContainerForm(), nullptr);
  }
  if (Saved)
    setenv("LC_ALL", Saved->c_str(), 1);
  else
    unsetenv("LC_ALL");
}

TEST_F(RowEditorTest, UserEditsAreWrittenBack) {
  Columns({{"[s][80]", "old"}, {"[l][80]red|green|blue", "red"}, {"[ddd.MM.yyyy][90]", "24.12.2023"},
           {"[s][80]", "checked"}, {"[s][80]", ""}});
  Ctl->SetColumnCheckMode(4, cmBox);
  Ctl->SetElemChecked(4, 1, true);
  std::string Long;
  for (int I = 0; I < 300; ++I) Long += "\u00e4";
  int Changes = 0;
  Ctl->OnChange = [&](TObject*) { ++Changes; };
  D.WhenModal([&](TCustomForm& F) {
    D.Type(F, "\b\b\bnew");
    F.SetActiveControl(dynamic_cast<TWinControl*>(Part(F, "CBox2")));
    D.Press(F, vk::Down);
    F.SetActiveControl(dynamic_cast<TWinControl*>(Part(F, "DtPick3")));
    D.Press(F, vk::Up);  // the day field: 25
    F.SetActiveControl(dynamic_cast<TWinControl*>(Part(F, "Edit4")));
    D.Press(F, vk::End);
    D.Type(F, "!");
    Part(F, "Edit5")->SetText(Long);  // as a paste would
    D.Click(*Part(F, "ButOK"), 5, 5);
  });
  EXPECT_EQ(Ctl->EditRowEntries(1, 0, 0), mrOk);
  EXPECT_EQ(Row(1), (std::vector<std::string>{"new", "green", "25.12.2023", "checked!",
                                              Long.substr(0, 2 * 255)}));
  EXPECT_TRUE(Ctl->GetElemChecked(4, 1));
  EXPECT_EQ(Changes, 1);
}

// Enter must reach each kind of field's key handler, whatever the form does with Enter.
TEST_F(RowEditorTest, EnterInEveryEditableKindGivesOk) {
  Columns({{"[s]", "a"}, {"[c]x|y", "x"}, {"[l]x|y", "y"}, {"[d]", "2000-01-01"}, {"[i]", "5"}});
  for (const char* Name : {"Edit1", "CBox2", "CBox3", "DtPick4", "NumIO5"}) {
    SCOPED_TRACE(Name);
    D.WhenModal([&](TCustomForm& F) {
      F.SetActiveControl(dynamic_cast<TWinControl*>(Part(F, Name)));
      D.Press(F, vk::Return, "\r");
    });
    EXPECT_EQ(Ctl->EditRowEntries(1, 0, 0), mrOk);
    EXPECT_EQ(Row(1), (std::vector<std::string>{"a", "x", "y", "2000-01-01", "5"}));
  }
}

TEST_F(RowEditorTest, NothingIsLeftBehindAndOneEditorAtATime) {
  Columns({{"[s]", "a"}, {"[ddd.MM.yyyy]", "31.02.2023"}, {"[ddd.MM][60]", "24.13"}});
  TForm Container(nullptr);
  Container.SetBounds(0, 0, 50, 50);
  int HostShows = 0;
  Container.OnShow = [&](TObject*) { ++HostShows; };
  const auto Clean = [&] {
    ASSERT_TRUE(Container.OnShow);
    EXPECT_EQ(EditorParts(Container), 0);
    EXPECT_EQ(Ctl->GetContainerForm(), nullptr);
    EXPECT_EQ(Ctl->GetSBERCancel(), nullptr);
  };
  for (int Pass = 0; Pass < 2; ++Pass) {
    D.WhenModal([&](TCustomForm& F) {
      EXPECT_EQ(Ctl->EditRowEntries(1, 0, 0), mrCancel);  // already open
      EXPECT_EQ(Ctl->EditRowEntries(1, &Container, 0, 0), mrCancel);
      D.Press(F, vk::Return, "\r");
    });
    EXPECT_EQ(Ctl->EditRowEntries(1, &Container, 5, 5), mrOk);
    Clean();
    EXPECT_EQ(HostShows, Pass + 1);
  }
  EXPECT_EQ(Row(1), (std::vector<std::string>{"a", "31.02.2023", "24.13"}));
  int Asked = 0;
  Ctl->OnRequestEditFormat = [&](TObject*, int Col, int, std::string&) {
    ++Asked;
    if (Col == 3) throw EKVLRepListError("refused");
  };
  EXPECT_THROW(Ctl->EditRowEntries(1, &Container, 0, 0), EKVLRepListError);
  Clean();
  EXPECT_THROW(Ctl->EditRowEntries(1, 0, 0), EKVLRepListError);
  Clean();
  Asked = 0;
  EXPECT_EQ(Ctl->EditRowEntries(0, 0, 0), mrCancel);
  EXPECT_EQ(Ctl->EditRowEntries(Ctl->GetNrOfRows() + 1, 0, 0), mrCancel);
  EXPECT_EQ(Asked, 0);
  Container.Show();
  EXPECT_THROW(Ctl->EditRowEntries(1, &Container, 0, 0), EKVLRepListError);
}

TEST_F(RowEditorTest, PicturesOfEveryKind) {
  Columns({{"[c:5][110]red|green|blue|cyan|magenta", "green"}, {"[l][90]small|large", "large"},
           {"[ddd.MM.yyyy][100]", "24.12.2023"}, {"[e][90]", "1.5e3"}, {"[f][90]", "-2.25"},
           {"[h][60]", "7F"}, {"[i][60]", "42"}, {"[s][160]", "Holunder"},
           {"[#s][120]", "read only"}, {"[q][80]", "never shown"}});
  for (const bool OnContainer : {false, true}) {
    TForm Container(nullptr);
    Container.SetBounds(0, 0, 100, 100);
    D.WhenModal([&](TCustomForm& F) {
      EXPECT_TRUE(MatchesGolden(D.Capture(F), OnContainer ? "testdata/roweditor_container.png"
                                                          : "testdata/roweditor_own.png"));
    });
    if (OnContainer)
      Ctl->EditRowEntries(1, &Container, 10, 10);
    else
      Ctl->EditRowEntries(1, 0, 0);
  }
}

}  // namespace
}  // namespace kvl
