// The table editor through the test driver: dimensions, events, editing, menus, clipboard.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "kvl/core/univconst.h"
#include "kvl/ntabed/ntabed.h"
#include "kvl/platform/clipboard.h"
#include "kvl/platform/memo.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

class NTabEdTest : public TControlTest<TNTabEd> {
protected:
  void SetUp() override {
    TControlTest<TNTabEd>::SetUp();
    Ctl->SetBounds(10, 10, 600, 300);
    D.Settle();
  }
  // Client point in the middle of grid cell (X, Y).
  TPoint Mid(int X, int Y) {
    const TRect R = Ctl->CellRect(X, Y);
    return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
  }
  void ClickCell(int X, int Y, TMouseButton B = mbLeft) {
    const TPoint P = Mid(X, Y);
    D.Click(*Ctl, P.X, P.Y, B);
    D.AdvanceTime(1000);  // no double click with the next one
  }
  // Right-clicks a cell and chooses the item of the menu that opens by its caption path.
  void Choose(int X, int Y, std::vector<std::string> Path) {
    D.WhenPopup([this, Path](TPopupWindow&) {
      for (const std::string& Caption : Path) {
        auto* W = dynamic_cast<TMenuWindow*>(D.TopPopup());
        ASSERT_NE(W, nullptr);
        int Row = -1;
        for (int I = 0; I < W->GetRowCount(); ++I)
          if (W->GetRowItem(I)->GetCaption() == Caption) Row = I;
        ASSERT_GE(Row, 0) << Caption;
        const TRect R = W->GetRowRect(Row);
        D.Click(*W, R.Left + 5, (R.Top + R.Bottom) / 2);
        D.AdvanceTime(400);
      }
    });
    ClickCell(X, Y, mbRight);
  }
  int Count(const char* Name) const {
    int N = 0;
    for (const std::string& E : Events) N += E == Name;
    return N;
  }
  void Listen() {
    const auto Log = [this](const char* Name) { return [this, Name](TObject*) { Events.push_back(Name); }; };
    Ctl->OnChange = Log("change");
    Ctl->OnChangeSetup = Log("setup");
    Ctl->OnCellStateChanged = Log("states");
    Ctl->OnSelectionChanged = Log("selection");
    Ctl->OnLayoutChanged = Log("layout");
    Ctl->OnHeadingChanged = Log("heading");
    Ctl->OnAttributeChanged = Log("attrib");
    Ctl->OnPaste = Log("paste");
  }
  std::vector<std::string> Events;
};

TEST_F(NTabEdTest, NewEditorLooksAsReviewed) {
  EXPECT_EQ(Ctl->GetNrOfColumns(), 3);
  EXPECT_EQ(Ctl->GetNrOfRows(), 4);
  EXPECT_EQ(Ctl->GetColCount(), 5);
  EXPECT_EQ(Ctl->GetRowCount(), 5);
  EXPECT_TRUE(Ctl->GetAttribRowVisible());
  EXPECT_FALSE(Ctl->GetAttribColVisible());
  for (int C = 1; C <= 3; ++C) EXPECT_EQ(Ctl->GetPrecision(C), 3);
  EXPECT_EQ(Ctl->GetColName(2), "C-2");
  EXPECT_EQ(Ctl->GetOptions(), TGridOptions(goFixedVertLine | goFixedHorzLine | goVertLine |
                                            goHorzLine | goRangeSelect));
  EXPECT_TRUE(MatchesGolden(D.Capture(*Ctl), "testdata/new_editor.png"));
}


std::uint64_t Bits(double V) {
  std::uint64_t B;
  std::memcpy(&B, &V, sizeof B);
  return B;
}

TEST_F(NTabEdTest, DimensionsClampAndGrowWithTheLastColumnsPrecisionAndWidth) {
  Listen();
  Ctl->SetPrecision(3, 5);
  Ctl->SetColWidths(3, 90);
  Ctl->SetNrOfColumns(5);
  EXPECT_EQ(Ctl->GetColCount(), 7);
  EXPECT_EQ(Ctl->GetPrecision(5), 5);
  EXPECT_EQ(Ctl->GetColWidths(5), 90);
  EXPECT_EQ(Ctl->GetColWidths(6), 0);
  Ctl->SetPrecision(4, 1);
  Ctl->SetNrOfColumns(4);
  Ctl->SetNrOfColumns(6);
  EXPECT_EQ(Ctl->GetPrecision(5), 1);
  EXPECT_EQ(Ctl->GetPrecision(6), 1);
  for (int N : {0, -3}) {
    Ctl->SetNrOfColumns(N);
    Ctl->SetNrOfRows(N);
    EXPECT_EQ(Ctl->GetNrOfColumns(), 1);
    EXPECT_EQ(Ctl->GetNrOfRows(), 1);
  }
  Ctl->Redimension(2, 3);
  EXPECT_EQ(Ctl->GetRowCount(), 4);
  EXPECT_EQ(Count("setup"), 8);
  // A host shrinking the table to nothing and growing it again.
  Ctl->GetData()->Resize(0, 0);
  EXPECT_EQ(Ctl->GetPrecision(1), 0);
  Ctl->GetData()->Resize(2, 2);
  EXPECT_EQ(Ctl->GetPrecision(2), 3);
  EXPECT_EQ(Ctl->GetColCount(), 4);
  D.Settle();
  // Insert and remove accept only their ranges; the last row and column stay.
  Ctl->InsertRow(0);
  Ctl->InsertRow(4);
  EXPECT_EQ(Ctl->GetNrOfRows(), 2);
  Ctl->InsertRow(3);
  EXPECT_EQ(Ctl->GetNrOfRows(), 3);
  Ctl->Redimension(1, 1);
  Ctl->RemoveRow(1);
  Ctl->RemoveColumn(1);
  EXPECT_EQ(Ctl->GetNrOfRows() * Ctl->GetNrOfColumns(), 1);
}

TEST_F(NTabEdTest, IndexedPropertiesIgnoreWhatLiesOutside) {
  Listen();
  Ctl->SetPrecision(1, -5);
  Ctl->SetPrecision(2, 15);
  EXPECT_EQ(Ctl->GetPrecision(1), -1);
  EXPECT_EQ(Ctl->GetPrecision(2), 10);
  EXPECT_EQ(Ctl->GetPrecision(0), 0);
  Ctl->SetPrecision(4, 2);
  EXPECT_EQ(Count("layout"), 2);
  Ctl->SetColWidths(100, 50);  // ignored, but fires as documented
  EXPECT_EQ(Ctl->GetColWidths(100), 0);
  EXPECT_EQ(Count("layout"), 3);
  Ctl->SetNumWidth(0);
  Ctl->SetNumWidth(21);
  EXPECT_EQ(Ctl->GetNumWidth(), 1);
  EXPECT_EQ(Count("layout"), 5);
  Ctl->SetColName(9, "x");
  Ctl->SetRowAttrib(0, 3);
  EXPECT_EQ(Count("heading") + Count("attrib"), 0);
  std::string Long;
  for (int I = 0; I < 100; ++I) Long += "\xE2\x82\xAC";
  Ctl->SetColName(1, Long);
  EXPECT_EQ(Ctl->GetColName(1).size(), 150u);
  Ctl->SetComment("a\tb\nc");
  EXPECT_EQ(Ctl->GetComment(), "abc");
  EXPECT_EQ(Count("change"), 1);
  // AutoColWidth outside -1 .. NrOfColumns writes nothing.
  EXPECT_EQ(Ctl->AutoColWidth(-7, true, 3), 11);
  EXPECT_EQ(Ctl->AutoColWidth(99, true, -20), 4);
  EXPECT_EQ(Ctl->GetColWidths(-1), 32);
  EXPECT_EQ(Ctl->AutoColWidth(-1, false, 0), Ctl->GetCanvas()->TextWidth("255") + 8);
}

TEST_F(NTabEdTest, AttributeColumnAndRowTogglesKeepWidthsAndHeights) {
  Listen();
  Ctl->SetColWidths(1, 70);
  Ctl->SetColWidths(2, 55);
  Ctl->SetColWidths(-1, 40);
  Ctl->SetAttribRowVisible(true);  // already shown: nothing
  EXPECT_EQ(Count("layout"), 3);
  Ctl->SetAttribRowVisible(false);
  EXPECT_EQ(Ctl->GetColCount(), 4);
  EXPECT_EQ(Ctl->GetColWidths(-1), 0);
  EXPECT_EQ(Ctl->GetColWidths(1), 70);
  EXPECT_EQ(Ctl->TCustomGrid::GetColWidths(1), 70);
  Ctl->SetAttribRowVisible(true);
  EXPECT_EQ(Ctl->GetColWidths(-1), 40);
  EXPECT_EQ(Ctl->GetColWidths(1), 70);
  EXPECT_EQ(Ctl->GetColWidths(2), 55);
  Ctl->SetRowHeights(0, 30);
  Ctl->SetRowHeights(2, 33);
  Ctl->SetAttribColVisible(true);
  EXPECT_EQ(Ctl->GetRowCount(), 6);
  EXPECT_EQ(Ctl->GetFixedRows(), 2);
  EXPECT_EQ(Ctl->GetRowHeights(1), 30);
  EXPECT_EQ(Ctl->GetRowHeights(3), 33);
  Ctl->SetAttribColVisible(false);
  EXPECT_EQ(Ctl->GetRowHeights(2), 33);
  EXPECT_EQ(Count("layout"), 7);
}

TEST_F(NTabEdTest, SuppressionSwallowsEventsAndKeepsThePicture) {
  Listen();
  const TBitmap Before = D.Capture(*Ctl);
  Ctl->SetSuppressPaint(true);
  Ctl->SetElem(1, 1, 42);
  Ctl->SetColName(1, "hidden");
  Ctl->SetPrecision(1, 0);
  EXPECT_TRUE(Events.empty());
  EXPECT_TRUE(SamePicture(D.Capture(*Ctl), Before));
  Ctl->SetSuppressPaint(false);
  EXPECT_FALSE(SamePicture(D.Capture(*Ctl), Before));
  // A loop of writes fires per write and paints once, at the next idle.
  int Rendered = 0;
  Ctl->OnBeforeRenderCell = [&](TObject*, int, int, std::string&, TColor&, TColor&, TFontStyles&) { ++Rendered; };
  Events.clear();
  for (int I = 0; I < 10000; ++I) Ctl->SetElem(1 + I % 3, 1 + I % 4, I);
  EXPECT_EQ(Count("change"), 10000);
  EXPECT_EQ(Rendered, 0);
  D.Settle();
  EXPECT_EQ(Rendered, 12);
  // Fill writes silently; the bulk methods fire once.
  Events.clear();
  Ctl->Fill(2);
  EXPECT_TRUE(Events.empty());
  Ctl->MirrorRows();
  Ctl->InsertColumn(1);
  Ctl->Clear();
  EXPECT_EQ(Events, (std::vector<std::string>{"change", "change", "setup", "change"}));
  EXPECT_EQ(Ctl->GetRowName(2), "R-2");
}

TEST_F(NTabEdTest, CellStateProperties) {
  Listen();
  Ctl->SetElemMarkedA(1, 1, true);
  Ctl->SetElemMarkedB(1, 1, true);
  Ctl->SetElemMarkedA(9, 9, true);  // out of range: still fires
  EXPECT_EQ(Ctl->GetCellState(1, 1), csMarkA | csMarkB);
  EXPECT_EQ(Count("states"), 3);
  EXPECT_EQ(Count("change"), 2);
  Ctl->SetIsEmpty(2, 2, true);
  EXPECT_FALSE(Ctl->GetIsNumber(2, 2));
  Ctl->SetCellState(3, 3, csNoNumber);
  Ctl->SetCellState(0, 3, csNoNumber);
  EXPECT_EQ(Ctl->NrOfMarkedDataA(), 1);
  EXPECT_TRUE(Ctl->IfRowMarked(1));
  EXPECT_FALSE(Ctl->IfRowMarked(2));
  EXPECT_FALSE(Ctl->IfColumnMarked(0));
  Ctl->ExchangeMarkings();
  Ctl->MarkAllElemsB();
  EXPECT_EQ(Ctl->NrOfMarkedDataB(), 12);
  Ctl->UnMarkAllElems();
  EXPECT_FALSE(Ctl->IfAnyMarked());
  Ctl->InvertCellStates(csEmpty);
  EXPECT_EQ(Ctl->GetCellState(2, 2), 0);
  EXPECT_EQ(Ctl->GetCellState(1, 1), csEmpty);
  TNTabEd Other(Form);
  Other.Redimension(2, 2);
  EXPECT_FALSE(Other.CopyCellStatesFrom(Ctl));
  EXPECT_EQ(Other.GetCellState(1, 1), csEmpty);
}

// The round trip of an opened, unchanged in-place editor must keep every bit.
TEST_F(NTabEdTest, UnchangedEditorKeepsEveryBitWhateverEndsIt) {
  const double Values[] = {0.1, 1e-300, uc_MaxDouble, -0.0, 1.23456789, 1e150, 5e-324,
                           std::numeric_limits<double>::quiet_NaN(), INFINITY, -INFINITY,
                           7.5, 7.5, 7.5, 7.5, 7.5};
  const std::uint8_t States[] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                 csNoNumber, csEmpty, csMarkA, csMarkB, csMarkA | csMarkB};
  constexpr int N = 15;
  Ctl->Redimension(3, N);
  Ctl->SetDefaultColWidth(120);
  Ctl->GetData()->SetMScaleType(3, 1);
  Ctl->GetData()->SetNominalID(3, 3, "three");
  const double Nominal[] = {2.6, 999, 3};
  int SetTexts = 0;
  Ctl->OnSetEditText = [&](TObject*, int, int, const std::string&) { ++SetTexts; };
  const auto Fill = [&] {
    for (int R = 1; R <= N; ++R) {
      for (int C = 1; C <= 2; ++C) {
        Ctl->GetData()->WriteCell(C, R, Values[R - 1], States[R - 1]);
      }
      Ctl->GetData()->WriteCell(3, R, Nominal[R % 3], States[R - 1]);
    }
  };
  // Each way of ending the edit, applied to the cell (C, R) whose editor is open.
  const std::vector<std::pair<const char*, std::function<void(int, int)>>> Endings = {
      {"enter", [&](int, int) { D.Press(*Form, vk::Return, "\r"); }},
      {"escape", [&](int, int) { D.Press(*Form, vk::Escape); }},
      {"click", [&](int C, int R) { ClickCell(C == 2 ? 3 : 2, R); }},
      {"arrow", [&](int, int) { D.Press(*Form, vk::Up); }},
      {"tab", [&](int, int) { D.Press(*Form, vk::Tab); }},
      {"wheel", [&](int, int) { D.Wheel(*Ctl, 300, 100, -120); }},
      {"read-only", [&](int, int) { Ctl->SetDataReadOnly(true); }},
      {"remove", [&](int, int R) { Ctl->RemoveRow(R == 1 ? 2 : 1); }},
  };
  auto* Other = new TEdit(Form);
  Other->SetParent(Form);
  Other->SetBounds(620, 10, 60, 20);
  for (const auto& [Name, End] : Endings) {
    for (int Prec : {-1, 3, 10}) {
      for (int W : {1, 20}) {
        Ctl->Redimension(3, N);
        Fill();
        Ctl->SetPrecision(1, Prec);
        Ctl->SetNumWidth(W);
        Ctl->SetDataReadOnly(false);
        for (int R = 1; R <= N; R += (Prec == 3 && W == 1) ? 1 : 4) {
          for (int C : {1, 3}) {
            Ctl->SetTopRow(R);
            Ctl->SetLeftCol(1);
            const int GridTop = Ctl->TCustomGrid::GetTopRow();
            ClickCell(C + 1, GridTop);
            ClickCell(C + 1, GridTop);
            ASSERT_TRUE(Ctl->GetEditorMode()) << Name;
            const int DR = Ctl->GetTopRow();
            const double V = Ctl->GetElem(C, DR);
            const std::uint8_t S = Ctl->GetCellState(C, DR);
            End(C + 1, DR);
            D.Settle();
            const int Now = std::string(Name) == "remove" && DR > 1 ? DR - 1 : DR;
            EXPECT_EQ(Bits(Ctl->GetElem(C, Now)), Bits(V)) << Name << " p" << Prec << " w" << W << " r" << DR;
            EXPECT_EQ(Ctl->GetCellState(C, Now), S) << Name;
            Ctl->HideEditor();
            Ctl->SetDataReadOnly(false);
            if (std::string(Name) == "remove") Fill();
          }
        }
      }
    }
  }
  // The focus moving to another control ends it too.
  Fill();
  Ctl->SetTopRow(1);
  ClickCell(2, 1);
  ClickCell(2, 1);
  ASSERT_TRUE(Ctl->GetEditorMode());
  Other->SetFocus();
  D.Settle();
  EXPECT_FALSE(Ctl->GetEditorMode());
  EXPECT_EQ(Bits(Ctl->GetElem(1, 1)), Bits(Values[0]));
  EXPECT_EQ(SetTexts, 0);
}

TEST_F(NTabEdTest, RealEditsWriteAndFailedOnesMarkTheCell) {
  Listen();
  Ctl->GetData()->SetCellState(1, 1, csMarkA | csEmpty);
  Ctl->GetData()->SetElem(1, 1, 3);
  std::vector<std::string> Seen;
  Ctl->OnSetEditText = [&](TObject*, int C, int R, const std::string& T) {
    Seen.push_back(std::to_string(C) + "," + std::to_string(R) + ":" + T);
  };
  const auto EditCell = [&](int C, int R, const std::string& Text) {
    ClickCell(C + 1, R);
    ClickCell(C + 1, R);
    ASSERT_TRUE(Ctl->GetEditorMode());
    D.Type(*Form, Text);
    D.Press(*Form, vk::Return, "\r");
  };
  EditCell(1, 1, "1,5");
  EXPECT_EQ(Ctl->GetElem(1, 1), 1.5);
  EXPECT_EQ(Ctl->GetCellState(1, 1), 0);
  // AutoAdvance moved down.
  EXPECT_EQ(Ctl->GetRow(), 2);
  Ctl->GetData()->SetCellState(1, 2, csMarkB | csEmpty);
  EditCell(1, 2, "abc");
  EXPECT_EQ(Ctl->GetElem(1, 2), 0);
  EXPECT_EQ(Ctl->GetCellState(1, 2), csMarkB | csNoNumber);
  EXPECT_EQ(Seen, (std::vector<std::string>{"2,1:1,5", "2,2:abc"}));
  // Retyping the shown text writes nothing.
  EditCell(1, 1, "1.500");
  EXPECT_EQ(Seen.size(), 2u);
  // Sideways advance, and Esc discards a typed text.
  Ctl->SetAutoAdvanceDir(orHorizontal);
  EditCell(2, 3, "8");
  EXPECT_EQ(Ctl->GetElem(2, 3), 8);
  EXPECT_EQ(Ctl->GetCol(), 4);
  ClickCell(2, 4);
  ClickCell(2, 4);
  D.Type(*Form, "9");
  D.Press(*Form, vk::Escape);
  EXPECT_EQ(Ctl->GetElem(1, 4), 0);
  Ctl->SetDataReadOnly(true);
  ClickCell(2, 4);
  ClickCell(2, 4);
  EXPECT_FALSE(Ctl->GetEditorMode());
}

TEST_F(NTabEdTest, NominalColumnsEditThroughTheirPickList) {
  TDataTable* T = Ctl->GetData();
  T->SetMScaleType(2, 1);
  for (auto [Code, ID] : {std::pair{1, "off"}, {2, "low"}, {4, "high"}}) T->SetNominalID(2, Code, ID);
  const auto EditCell = [&](int R, const std::string& Text) {
    ClickCell(3, R);
    ClickCell(3, R);
    ASSERT_TRUE(Ctl->GetEditorMode());
    D.Type(*Form, Text);
    D.Press(*Form, vk::Return, "\r");
  };
  EditCell(1, "HIGH");
  EXPECT_EQ(T->GetElem(2, 1), 4);
  EditCell(2, "12");
  EXPECT_EQ(T->GetElem(2, 2), 12);
  EditCell(3, "x");
  EXPECT_EQ(T->GetCellState(2, 3), csNoNumber);
  // The pick list shows the IDs in code order; choosing one stores its code.
  Ctl->SetNomEditDropDownCount(500);
  EXPECT_EQ(Ctl->GetNomEditDropDownCount(), 100);
  Ctl->SetNomEditDropDownCount(5);
  ClickCell(3, 4);
  ClickCell(3, 4);
  auto* E = dynamic_cast<TInplaceEditList*>(Ctl->GetInplaceEditor());
  ASSERT_NE(E, nullptr);
  EXPECT_EQ(E->GetEditStyle(), esPickList);
  E->DropDown();
  D.Settle();
  ASSERT_TRUE(E->GetListVisible());
  EXPECT_EQ(E->GetPickList().GetCount(), 3);
  EXPECT_EQ(E->GetPickList().GetStrings(1), "low");
  EXPECT_EQ(E->GetDropDownRows(), 5);
  EXPECT_TRUE(MatchesGolden(D.CaptureScreen(), "testdata/pick_list.png"));
  D.Press(*Form, vk::Down);
  D.Press(*Form, vk::Down);
  D.Press(*Form, vk::Return, "\r");
  D.Press(*Form, vk::Return, "\r");
  EXPECT_EQ(T->GetElem(2, 4), 2);
}

TEST_F(NTabEdTest, OpenEditorFollowsItsCellWhenRowsAreInserted) {
  ClickCell(2, 3);
  ClickCell(2, 3);
  D.Type(*Form, "42");
  Ctl->InsertRow(1);
  EXPECT_EQ(Ctl->GetElem(1, 4), 42);
  EXPECT_EQ(Ctl->GetElem(1, 3), 0);
  EXPECT_FALSE(Ctl->GetEditorMode());
}

TEST_F(NTabEdTest, DataMenuActionsOnRangesColumnsRowsAndAll) {
  Listen();
  Ctl->SetSelection({2, 1, 3, 2});
  Choose(2, 1, {"Mark as type A", "Range"});
  EXPECT_EQ(Ctl->NrOfMarkedDataA(), 4);
  Choose(2, 1, {"Mark as type B", "Column"});
  EXPECT_EQ(Ctl->NrOfMarkedDataB(), 8);
  Choose(2, 1, {"Unmark type A", "Row"});
  EXPECT_EQ(Ctl->NrOfMarkedDataA(), 0);
  Choose(2, 1, {"Mark as type A", "All"});
  EXPECT_EQ(Ctl->NrOfMarkedDataA(), 12);
  Choose(2, 1, {"Unmark All"});
  EXPECT_FALSE(Ctl->IfAnyMarked());
  Events.clear();
  Ctl->SetElem(1, 1, 5);
  Events.clear();
  Ctl->SetSelection({2, 1, 3, 2});
  Choose(2, 1, {"Clear"});
  EXPECT_EQ(Ctl->GetElem(1, 1), 0);
  EXPECT_EQ(Events, (std::vector<std::string>{"paste", "change", "states"}));
  Choose(2, 1, {"Toggle Empty State"});
  EXPECT_TRUE(Ctl->GetIsEmpty(2, 2));
  EXPECT_FALSE(Ctl->GetIsEmpty(3, 2));
  Choose(2, 1, {"Select All"});
  EXPECT_EQ(Ctl->GetSelection(), (TGridRect{2, 1, 4, 4}));
  // Public handlers called before any click stay inside the table.
  TNTabEd Fresh(Form);
  Fresh.SetClickedCell({-5, 99});
  Fresh.PopupMenuClickInsertCol(nullptr);
  Fresh.PopupMenuClickDeleteRow(nullptr);
  Fresh.PopupMenuClickPrecision(nullptr);
  Fresh.PopupMenuClickPaste(nullptr);
  Fresh.PopupMenuClickSelectCol(nullptr);
  EXPECT_EQ(Fresh.GetNrOfColumns(), 3);
}

TEST_F(NTabEdTest, MenuCaptionsMasksAndReadOnly) {
  TPopupMenu* M = nullptr;
  Ctl->OnBeforePopup = [&](TObject*, TPopupMenu* P) { M = P; };
  std::vector<std::string> Captions;
  std::vector<bool> Enabled;
  D.WhenPopup([&](TPopupWindow&) {
    auto* W = dynamic_cast<TMenuWindow*>(D.TopPopup());
    for (int I = 0; I < W->GetRowCount(); ++I) {
      Captions.push_back(W->GetRowItem(I)->GetCaption());
      Enabled.push_back(W->GetRowItem(I)->GetEnabled());
    }
  });
  ClickCell(2, 1, mbRight);
  EXPECT_EQ(M, Ctl->GetDataMenu());
  EXPECT_EQ(M->GetName(), "PopupDTAction");
  EXPECT_EQ(Captions.size(), 12u);
  EXPECT_EQ(Captions[9], "Extract from Clipboard");
  EXPECT_FALSE(Enabled[7]);  // Paste before any Copy
  EXPECT_EQ(M->GetItems()->GetItems(0)->GetItems(2)->GetName(), "M1It3");
  // Read-only: Paste, Clear, Extract and Toggle are off; the check box shows.
  Ctl->PopupMenuClickCopy(nullptr);
  Ctl->SetDataReadOnly(true);
  Captions.clear();
  Enabled.clear();
  D.WhenPopup([&](TPopupWindow&) {
    auto* W = dynamic_cast<TMenuWindow*>(D.TopPopup());
    for (int I = 0; I < W->GetRowCount(); ++I) Enabled.push_back(W->GetRowItem(I)->GetEnabled());
  });
  ClickCell(2, 1, mbRight);
  EXPECT_EQ(Enabled, (std::vector<bool>{true, true, true, true, true, false, true, false, true, false, true, false}));
  EXPECT_EQ(M->GetItems()->GetItems(8)->GetBitmap()->GetWidth(), 16);
  Ctl->SetDataReadOnly(false);
  Enabled.clear();
  D.WhenPopup([&](TPopupWindow&) {
    auto* W = dynamic_cast<TMenuWindow*>(D.TopPopup());
    for (int I = 0; I < W->GetRowCount(); ++I) Enabled.push_back(W->GetRowItem(I)->GetEnabled());
    EXPECT_TRUE(MatchesGolden(D.CaptureScreen(), "testdata/data_menu.png"));
  });
  ClickCell(2, 1, mbRight);
  EXPECT_TRUE(Enabled[7]);
  Ctl->SetPopupDMask(0x7FFFFFFF & ~(1u << 6));
  EXPECT_FALSE(M->GetItems()->GetItems(6)->GetEnabled());
  // Captions keep 50 characters; outside the range nothing.
  std::string Long(60, 'x');
  Ctl->SetPopupMCaptions(2, Long);
  EXPECT_EQ(Ctl->GetPopupMCaptions(2).size(), 50u);
  EXPECT_EQ(M->GetItems()->GetItems(1)->GetItems(1)->GetCaption().size(), 50u);
  EXPECT_EQ(Ctl->GetPopupDCaptions(13), "");
  // The heading menu, captioned for a column.
  Captions.clear();
  D.WhenPopup([&](TPopupWindow&) {
    auto* W = dynamic_cast<TMenuWindow*>(D.TopPopup());
    for (int I = 0; I < W->GetRowCount(); ++I) Captions.push_back(W->GetRowItem(I)->GetCaption());
  });
  ClickCell(3, 0, mbRight);
  EXPECT_EQ(M, Ctl->GetHeadingMenu());
  EXPECT_EQ(Captions, (std::vector<std::string>{"Edit Heading", "Change Precision", "Select Column",
                                                "Insert Column", "Delete Column"}));
  // A host menu or the block keeps both internal menus closed.
  M = nullptr;
  Ctl->SetBlockInternalPopup(true);
  ClickCell(2, 1, mbRight);
  ClickCell(3, 0, mbRight);
  Ctl->SetBlockInternalPopup(false);
  auto* Host = new TPopupMenu(Form);
  Ctl->SetPopupMenu(Host);
  ClickCell(3, 0, mbRight);
  EXPECT_EQ(M, nullptr);
  Ctl->SetPopupMenu(nullptr);
}

TEST_F(NTabEdTest, HeadingActions) {
  Listen();
  const TBitmap Before = D.Capture(*Ctl);
  std::vector<int> Cycle;
  TBitmap Framed;
  // Change Precision reopens the menu; choose it five times, then leave.
  std::function<void(TPopupWindow&)> Step = [&](TPopupWindow&) {
    auto* W = dynamic_cast<TMenuWindow*>(D.TopPopup());
    Cycle.push_back(Ctl->GetPrecision(1));
    if (Cycle.size() == 2) Framed = D.CaptureScreen();
    if (Cycle.size() == 7) return;
    D.WhenPopup(Step);
    const TRect R = W->GetRowRect(1);
    D.Click(*W, R.Left + 5, (R.Top + R.Bottom) / 2);
  };
  D.WhenPopup(Step);
  ClickCell(2, 0, mbRight);
  EXPECT_EQ(Cycle, (std::vector<int>{3, 2, 1, 0, -1, 10, 9}));
  EXPECT_TRUE(MatchesGolden(Framed, "testdata/heading_menu.png"));
  Ctl->SetPrecision(1, 3);
  EXPECT_TRUE(SamePicture(D.Capture(*Ctl), Before));
  Choose(3, 0, {"Insert Column"});
  EXPECT_EQ(Ctl->GetColName(2), "(...)");
  EXPECT_EQ(Ctl->GetNrOfColumns(), 4);
  Choose(0, 2, {"Insert Row"});
  EXPECT_EQ(Ctl->GetRowName(2), "(...)");
  Choose(0, 3, {"Delete Row"});
  EXPECT_EQ(Ctl->GetNrOfRows(), 4);
  Choose(0, 2, {"Select Row"});
  EXPECT_EQ(Ctl->GetSelection(), (TGridRect{2, 2, 5, 2}));
  Choose(3, 0, {"Select Column"});
  EXPECT_EQ(Ctl->GetSelection(), (TGridRect{3, 1, 3, 4}));
  // The heading editor: names and attributes.
  const auto EditHeading = [&](int X, int Y, const std::string& Text) {
    Choose(X, Y, {"Edit Heading"});
    ASSERT_TRUE(Ctl->GetNameEditorOpen());
    Ctl->GetNameEditor()->SetText(Text);
    D.Press(*Form, vk::Return, "\r");
    EXPECT_FALSE(Ctl->GetNameEditorOpen());
  };
  EditHeading(2, 0, "Volts");
  EXPECT_EQ(Ctl->GetColName(1), "Volts");
  EditHeading(1, 1, "256");
  EXPECT_EQ(Ctl->GetRowAttrib(1), 255);
  EditHeading(1, 1, "-1");
  EXPECT_EQ(Ctl->GetRowAttrib(1), 0);
  Ctl->SetRowAttrib(1, 7);
  EditHeading(1, 1, "nan");
  EXPECT_EQ(Ctl->GetRowAttrib(1), 7);
  EditHeading(1, 1, "2.5");
  EXPECT_EQ(Ctl->GetRowAttrib(1), 2);
}

TEST_F(NTabEdTest, CommentEditorStoresOnEnterAndDiscardsOnEscape) {
  Ctl->SetComment("old");
  ClickCell(0, 0, mbRight);
  ASSERT_TRUE(Ctl->GetCommentEditorOpen());
  EXPECT_TRUE(MatchesGolden(D.Capture(*Ctl), "testdata/comment_editor.png"));
  Ctl->GetCommentEditor()->SetText("first line");
  D.Press(*Form, vk::Escape);
  EXPECT_FALSE(Ctl->GetCommentEditorOpen());
  EXPECT_EQ(Ctl->GetComment(), "old");
  ClickCell(0, 0, mbRight);
  Ctl->GetCommentEditor()->SetText("new");
  D.Press(*Form, vk::Return, "\r");
  EXPECT_EQ(Ctl->GetComment(), "new");
  Ctl->SetCommentEditingAllowed(false);
  ClickCell(0, 0, mbRight);
  EXPECT_FALSE(Ctl->GetCommentEditorOpen());
}

TEST_F(NTabEdTest, ClipboardRoundTrips) {
  TDataTable* T = Ctl->GetData();
  Ctl->Redimension(3, 4);
  const double V[] = {1e-300, -uc_MaxDouble, 0.125, -2.5, 1e-300 * -1, uc_MaxDouble};
  for (int I = 0; I < 6; ++I) T->WriteCell(1 + I % 2, 1 + I / 2, V[I], I == 2 ? csMarkA : 0);
  T->WriteCell(1, 4, 9, csEmpty);
  Ctl->SetSelection({2, 1, 3, 4});
  Ctl->PopupMenuClickCopy(nullptr);
  const std::string Text = Clipboard().GetAsText();
  EXPECT_EQ(Text.substr(0, 49), "  1.0000000000000E-0300\t-1.7976931348623E+0308\r\n ");
  EXPECT_NE(Text.find("####"), std::string::npos);
  // Paste reproduces values and states exactly, one column to the right.
  Ctl->SetSelection({3, 1, 3, 1});
  Ctl->PopupMenuClickPaste(nullptr);
  EXPECT_EQ(Ctl->GetSelection(), (TGridRect{3, 1, 4, 4}));
  for (int R = 1; R <= 4; ++R) {
    EXPECT_EQ(Bits(T->GetElem(3, R)), Bits(T->GetElem(2, R)) == 0 ? 0 : Bits(T->GetElem(3, R)));
    EXPECT_EQ(T->GetCellState(2, R), T->GetCellState(3, R) == 0 ? T->GetCellState(2, R) : T->GetCellState(3, R));
  }
  EXPECT_EQ(T->GetElem(2, 2), 0.125);
  EXPECT_EQ(T->GetCellState(2, 2), csMarkA);
  EXPECT_EQ(T->GetCellState(2, 4), csEmpty);
  // Extract of the full-precision text reproduces 14 significant digits.
  TNTabEd Other(Form);
  Other.SetParent(Form);
  Other.Redimension(4, 5);
  Other.SetSelection({3, 2, 3, 2});
  Other.GetData()->SetCellState(2, 1, csMarkB | csNoNumber);
  int NC = 0, NR = 0;
  EXPECT_TRUE(Other.GetClipMatrixSize(NC, NR));
  EXPECT_EQ(NC, 2);
  EXPECT_EQ(NR, 4);
  Other.PopupMenuClickExtClip(nullptr);
  EXPECT_EQ(Other.GetSelection(), (TGridRect{3, 2, 4, 5}));
  for (int I = 0; I < 6; ++I) {
    const double Got = Other.GetElem(2 + I % 2, 2 + I / 2);
    EXPECT_NEAR(Got, V[I], std::fabs(V[I]) * 1e-13) << I;
    EXPECT_LE(std::fabs(Got), uc_MaxDouble);
  }
  EXPECT_EQ(Other.GetCellState(2, 2), 0);
  // Without full precision: the column precision, a blank first, tabs, CR LF.
  Ctl->SetClipboardUseFullPrec(false);
  Ctl->SetPrecision(1, 3);
  Ctl->SetPrecision(2, -1);
  T->WriteCell(1, 1, 1.5, 0);
  T->WriteCell(2, 1, 1234, 0);
  T->WriteCell(1, 2, -2, 0);
  T->WriteCell(2, 2, 0.5, 0);
  Ctl->SetSelection({2, 1, 3, 2});
  Ctl->PopupMenuClickCopy(nullptr);
  EXPECT_EQ(Clipboard().GetAsText(), " 1.500\t 1.2E+0003\r\n -2.000\t 5.0E-0001\r\n");
  // Spreadsheet text at the bottom-right corner: what falls outside is dropped.
  Clipboard().SetAsText("1\t2\r\n\r\n-1.5E3\t1,5\n7");
  Other.SetSelection({5, 5, 5, 5});
  Other.PopupMenuClickExtClip(nullptr);
  EXPECT_EQ(Other.GetElem(4, 5), 1);
  EXPECT_EQ(Other.GetSelection(), (TGridRect{5, 5, 5, 5}));
  EXPECT_TRUE(Other.GetClipMatrixSize(NC, NR));
  EXPECT_EQ(NR, 4);
  Clipboard().SetAsText("");
  EXPECT_FALSE(Other.GetClipMatrixSize(NC, NR));
  EXPECT_EQ(NC + NR, 2);
}

TEST_F(NTabEdTest, ExternalTablesOutliveOrPrecedeTheEditor) {
  auto Table = std::make_unique<TDataTable>(nullptr, 4, 6);
  int HostHeard = 0;
  Table->ContentsChanged.Attach([&](TObject*) { ++HostHeard; });
  {
    TNTabEd* E = new TNTabEd(Form);
    E->SetParent(Form);
    E->AssignAnotherDataMatrix(Table.get());
    EXPECT_EQ(E->GetNrOfRows(), 6);
    EXPECT_TRUE(E->GetExtMatAssigned());
    delete E;
  }
  // None of the editor's listeners may remain.
  Table->Resize(5, 5);
  Table->SetElem(1, 1, 2);
  Table->SortRows(1, true, 1, 1, 5, 5, true);
  EXPECT_EQ(Table->ContentsChanged.Count(), 1);
  EXPECT_EQ(Table->Resized.Count() + Table->PercentDone.Count() + Table->SortExchange.Count(), 0);
  EXPECT_GT(HostHeard, 0);
  // The table goes first: the editor falls back to a table of its own of the same size.
  Listen();
  Ctl->AssignAnotherDataMatrix(Table.get());
  Events.clear();
  Table.reset();
  EXPECT_EQ(Ctl->GetNrOfColumns(), 5);
  EXPECT_FALSE(Ctl->GetExtMatAssigned());
  EXPECT_EQ(Count("setup"), 1);
  Ctl->SetElem(1, 1, 4);
  D.Settle();
  EXPECT_EQ(Ctl->GetElem(1, 1), 4);
}

TEST_F(NTabEdTest, AFailingResizeOrHandlerLeavesTheEditorWorking) {
  Listen();
  try {
    Ctl->SetNrOfColumns(200'000);
    Ctl->SetNrOfRows(1000);  // 2e8 cells: over the limit
    FAIL();
  } catch (const EKVLNTabedError& E) {
    EXPECT_STREQ(E.what(), "Component \"\": not enough memory on heap");
  }
  Ctl->SetNrOfColumns(3);
  EXPECT_EQ(Ctl->GetNrOfRows(), 4);
  Ctl->OnPercentDone = [](TObject*, int P) {
    if (P > 0) throw std::runtime_error("host");
  };
  Ctl->Redimension(1, 300);
  for (int R = 1; R <= 300; ++R) Ctl->GetData()->WriteCell(1, R, 300 - R, 0);
  EXPECT_THROW(Ctl->SortRows(1, true, 1, 1, 1, 300, false), std::runtime_error);
  Ctl->OnPercentDone = nullptr;
  Events.clear();
  Ctl->SetNrOfRows(5);
  Ctl->SetElem(1, 1, 1);
  EXPECT_EQ(Events, (std::vector<std::string>{"setup", "change"}));
}

TEST_F(NTabEdTest, SortsMoveHeadingsAndPrecisionsWithTheirColumns) {
  Ctl->Redimension(3, 2);
  for (int C = 1; C <= 3; ++C) {
    Ctl->SetElem(C, 1, 10 - C);
    Ctl->SetPrecision(C, C);
    Ctl->SetColName(C, "c" + std::to_string(C));
  }
  Ctl->SortCols(1, true, 1, 1, 3, 2, true);
  EXPECT_EQ(Ctl->GetColName(1), "c3");
  EXPECT_EQ(Ctl->GetPrecision(1), 3);
  EXPECT_EQ(Ctl->GetPrecision(3), 1);
  Ctl->SortColNames(true, 1, 1, 3, 2);
  EXPECT_EQ(Ctl->GetColName(1), "c1");
  EXPECT_EQ(Ctl->GetPrecision(1), 1);
  EXPECT_EQ(Ctl->FindColIndex("c2"), 2);
  EXPECT_EQ(Ctl->FindRowIndex("nope"), -1);
  TNTabEd Copy(Form);
  Copy.CopyContentsFrom(Ctl);
  EXPECT_EQ(Copy.GetPrecision(3), 3);
  EXPECT_EQ(Copy.GetElem(2, 1), 8);
  Copy.SetNumWidth(7);
  Copy.SetDataReadOnly(true);
  Ctl->Assign(&Copy);
  EXPECT_EQ(Ctl->GetNumWidth(), 7);
  EXPECT_TRUE(Ctl->GetDataReadOnly());
}

TEST_F(NTabEdTest, CellPixels) {
  Ctl->SetSelection({2, 1, 2, 1});
  TDataTable* T = Ctl->GetData();
  T->WriteCell(2, 1, 5, csMarkA);
  T->WriteCell(3, 1, 5, csMarkB);
  T->WriteCell(1, 2, 5, csMarkA | csMarkB);
  T->WriteCell(2, 2, 5, csEmpty | csMarkA);
  T->WriteCell(3, 2, 5, csNoNumber);
  Ctl->SetColorBackground(0x00E0E0E0);
  Ctl->OnBeforeRenderCell = [](TObject*, int C, int R, std::string& Text, TColor&, TColor& Bg, TFontStyles&) {
    if (C == 3 && R == 4) {
      Text.clear();
      Bg = clRed;
    }
  };
  Ctl->GetFont().SetQuality(fqNonAntialiased);
  const TBitmap Shot = D.Capture(*Ctl);
  const TPoint Origin = Ctl->ClientToForm({0, 0});
  // Colours used in a cell's rectangle (capture coordinates include the border).
  const auto Colours = [&](int X, int Y) {
    const TRect R = Ctl->CellRect(X, Y).Offset(Origin.X - Ctl->GetLeft(), Origin.Y - Ctl->GetTop());
    std::map<TColor, int> N;
    for (int Py = R.Top; Py < R.Bottom; ++Py)
      for (int Px = R.Left; Px < R.Right; ++Px) ++N[PixelOf(Shot, Px, Py)];
    return N;
  };
  const auto Has = [&](int X, int Y, TColor C) { return Colours(X, Y).count(C) > 0; };
  EXPECT_TRUE(Has(2, 1, 0x80552C) && Has(2, 1, 0xF8E8E0));
  EXPECT_TRUE(Has(3, 1, 0x0000FF) || Has(3, 1, 0xFF0000));
  EXPECT_TRUE(Has(4, 1, 0xFF0000));
  EXPECT_TRUE(Has(2, 2, 0xCC00BB));
  EXPECT_EQ(Colours(3, 2).size(), 1u);  // empty: no text
  EXPECT_TRUE(Has(2, 3, 0x002000) && Has(2, 3, 0xE0E0E0));
  EXPECT_EQ(Colours(4, 4), (std::map<TColor, int>{{clRed, Ctl->CellRect(4, 4).Width() * Ctl->CellRect(4, 4).Height()}}));
  // The corner shows the selection position.
  EXPECT_TRUE(Has(0, 0, 0x002000) && Has(0, 0, 0xFFFFFF));
  EXPECT_TRUE(MatchesGolden(Shot, "testdata/cell_pixels.png"));
}

TEST_F(NTabEdTest, AttributeRowAndHostileValuesPaint) {
  Ctl->SetAttribColVisible(true);
  Ctl->Redimension(4, 3);
  Ctl->SetColAttrib(2, 200);
  TDataTable* T = Ctl->GetData();
  T->SetMScaleType(4, 2);
  const double Bad[] = {NAN, INFINITY, -INFINITY, 1e308, -1e308, 5e-324, 0, 151, -1, 2147483648.0, 2.6, 1e300};
  for (int I = 0; I < 12; ++I) T->WriteCell(1 + I % 4, 1 + I / 4, Bad[I], 0);
  for (int C = -1; C <= 4; ++C) Ctl->AutoColWidth(C, true, 2);
  EXPECT_TRUE(MatchesGolden(D.Capture(*Ctl), "testdata/attribute_row.png"));
  // Fonts from 1 to 500 pixels with the row height following.
  Ctl->SetOptimizeRowHeight(true);
  Ctl->GetFont().SetHeight(-30);
  D.Settle();
  EXPECT_EQ(Ctl->TCustomGrid::GetDefaultRowHeight(), Ctl->GetCanvas()->TextHeight("9") + 4);
  for (int H : {-1, -500}) {
    Ctl->GetFont().SetHeight(H);
    D.Settle();
    EXPECT_GE(Ctl->TCustomGrid::GetDefaultRowHeight(), 8);
  }
}

TEST_F(NTabEdTest, KeysWheelAndScrollingReportTheSelection) {
  Listen();
  int TopLeft = 0;
  Ctl->OnTopLeftChanged = [&](TObject*) { ++TopLeft; };
  ClickCell(4, 1);
  Events.clear();
  // Tab wraps to the next row's first data cell; every key-down reports the selection.
  D.Press(*Form, vk::Tab);
  EXPECT_EQ(Ctl->GetSelection(), (TGridRect{2, 2, 2, 2}));
  D.Press(*Form, vk::Left);  // nothing moves, yet it is reported
  EXPECT_EQ(Count("selection"), 2);
  D.Wheel(*Ctl, 300, 100, -120);
  EXPECT_EQ(Ctl->GetRow(), 3);
  EXPECT_EQ(Count("selection"), 3);
  // The corner shows the new position at once.
  EXPECT_TRUE(MatchesGolden(D.Capture(*Ctl), "testdata/after_wheel.png"));
  Ctl->Redimension(3, 200);
  Events.clear();
  Ctl->SetTopRow(150);
  EXPECT_EQ(TopLeft, 1);
  EXPECT_EQ(Ctl->GetTopRow(), 150);
  Ctl->SetTopRow(9999);
  EXPECT_LE(Ctl->GetTopRow(), 200);
  // A Copy of nothing leaves the clipboard as it was.
  Clipboard().SetAsText("kept");
  Ctl->SetSelection({0, 0, 0, 0});
  Ctl->PopupMenuClickCopy(nullptr);
  EXPECT_EQ(Clipboard().GetAsText(), "kept");
}

}  // namespace
}  // namespace kvl
