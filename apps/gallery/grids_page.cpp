// The grids page: a draw grid over a million computed rows, fed only by OnDrawCell, with a
// label that follows the current and the top row; and a string grid holding a parameter table
// that is edited in place, its "Unit" column through a pick list, with a context menu whose
// choices show in a status line.
#include <cmath>
#include <cstdio>
#include <string>

#include "kvl/platform/clipboard.h"
#include "kvl/platform/grids.h"
#include "kvl/platform/menus.h"
#include "kvl/platform/stdctrls.h"
#include "pages.h"

namespace kvl::gallery {

namespace {

constexpr int MillionRows = 1'000'000;

// The computed value shown for a row: a smooth wave, the same every run.
double WaveOf(int Row) { return std::sin(Row * 0.05) * 50.0 + 50.0; }

void DrawMillionCell(TDrawGrid& G, int ACol, int ARow, const TRect& R, TGridDrawState State) {
  TCanvas& C = *G.GetCanvas();
  char Text[48] = "";
  if (ARow == 0) {
    static const char* const Heads[] = {"Row", "Wave", "Bar",  "Square",
                                        "Hex", "Even", "Tens", "Label"};
    std::snprintf(Text, sizeof Text, "%s", Heads[ACol % 8]);
  } else if (ACol == 0) {
    std::snprintf(Text, sizeof Text, "%d", ARow);
  } else {
    // Every other row is shaded unless the grid highlights it.
    if (!(State & gdSelected) && ARow % 2 == 0) {
      C.GetBrush().SetColor(0xF4EEE8);
      C.FillRect(R);
    }
    const double V = WaveOf(ARow);
    switch (ACol) {
      case 1:
        std::snprintf(Text, sizeof Text, "%.2f", V);
        break;
      case 2: {
        // A small bar as long as the value.
        const int W = static_cast<int>(V * (R.Width() - 8) / 100.0);
        C.GetBrush().SetColor((State & gdSelected) ? clHighlightText : 0x3C8C3C);
        C.FillRect(Rect(R.Left + 4, R.Top + 6, R.Left + 4 + W, R.Bottom - 6));
        return;
      }
      case 3:
        std::snprintf(Text, sizeof Text, "%lld", static_cast<long long>(ARow) * ARow);
        break;
      case 4:
        std::snprintf(Text, sizeof Text, "0x%X", ARow);
        break;
      case 5:
        std::snprintf(Text, sizeof Text, "%s", ARow % 2 ? "odd" : "even");
        break;
      case 6:
        std::snprintf(Text, sizeof Text, "%d", ARow / 10 * 10);
        break;
      default:
        std::snprintf(Text, sizeof Text, "item %d", ARow % 1000);
        break;
    }
  }
  C.GetBrush().SetStyle(bsClear);
  C.TextOut(R.Left + 4, R.Top + 4, Text);
  C.GetBrush().SetStyle(bsSolid);
}

// A parameter table whose "Unit" column picks from a list.
class TParameterGrid : public TStringGrid {
public:
  static constexpr int UnitCol = 3;
  using TStringGrid::TStringGrid;

protected:
  TEditStyle GetEditStyle(int ACol, int) override {
    return ACol == UnitCol ? esPickList : esSimple;
  }
  void GetPickListItems(int ACol, int, TStrings& Items) override {
    if (ACol != UnitCol) return;
    for (const char* U : {"mm", "cm", "m", "s", "ms", "V", "mA", "Hz"}) Items.Add(U);
  }
};

// A 16x16 picture of two sheets for the copy item; white is the transparent corner colour.
TBitmap CopyGlyph() {
  TBitmap B(16, 16);
  TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetColor(clWhite);
  C.FillRect(Rect(0, 0, 16, 16));
  for (const int O : {0, 5}) {
    C.GetBrush().SetColor(clNavy);
    C.FillRect(Rect(2 + O, 2 + O, 10 + O, 12 + O));
    C.GetBrush().SetColor(clSilver);
    C.FillRect(Rect(3 + O, 3 + O, 9 + O, 11 + O));
  }
  return B;
}

// The string grid's context menu: copy, grid lines, editing on or off, row height.
void AddTableMenu(TWinControl& Host, TStringGrid& Table, TLabel& Status) {
  auto* Menu = new TPopupMenu(&Host);
  const auto Item = [&](TMenuItem* Parent, const std::string& Text, TNotifyEvent Then = {}) {
    auto* I = new TMenuItem(&Host);
    I->SetCaption(Text);
    I->OnClick = [S = &Status, I, Then](TObject* Sender) {
      if (Then) Then(Sender);
      S->SetCaption("Chosen: " + ParseMenuCaption(I->GetCaption()).Text +
                    (I->GetChecked() ? " (checked)" : ""));
    };
    Parent->Add(I);
    return I;
  };
  TStringGrid* G = &Table;
  TMenuItem* Copy = Item(Menu->GetItems(), "&Copy cell", [G](TObject*) {
    Clipboard().SetAsText(G->GetCells(G->GetCol(), G->GetRow()));
  });
  const TBitmap Glyph = CopyGlyph();
  Copy->SetBitmap(&Glyph);
  Copy->SetDefault(true);
  Item(Menu->GetItems(), "&Paste")->SetEnabled(false);
  TMenuItem* Lines = Item(Menu->GetItems(), "Grid &lines", [G](TObject* Sender) {
    const TGridOptions L = goVertLine | goHorzLine;
    const bool On = static_cast<TMenuItem*>(Sender)->GetChecked();
    G->SetOptions(On ? G->GetOptions() | L : G->GetOptions() & ~L);
  });
  Lines->SetAutoCheck(true);
  Lines->SetChecked(true);
  Item(Menu->GetItems(), "-");
  for (const bool Edit : {true, false}) {
    TMenuItem* R = Item(Menu->GetItems(), Edit ? "&Editable" : "&Read only", [G, Edit](TObject*) {
      G->SetOptions(Edit ? G->GetOptions() | goEditing : G->GetOptions() & ~goEditing);
    });
    R->SetRadioItem(true);
    R->SetAutoCheck(true);
    R->SetGroupIndex(1);
    R->SetChecked(Edit);
  }
  Item(Menu->GetItems(), "-");
  TMenuItem* Height = Item(Menu->GetItems(), "Row &height");
  const struct {
    const char* Caption;
    int Height;
  } Heights[] = {{"&Small", 18}, {"&Normal", 24}, {"&Large", 30}};
  for (const auto& H : Heights) {
    TMenuItem* R =
        Item(Height, H.Caption, [G, Px = H.Height](TObject*) { G->SetDefaultRowHeight(Px); });
    R->SetRadioItem(true);
    R->SetAutoCheck(true);
    R->SetGroupIndex(2);
    R->SetChecked(H.Height == 24);
  }
  Table.SetPopupMenu(Menu);
}

}  // namespace

void BuildGridsPage(TWinControl& Host) {
  auto* Caption = new TLabel(&Host);
  Caption->SetParent(&Host);
  Caption->SetBounds(10, 8, 400, 16);
  Caption->SetCaption("A million rows, each cell drawn when it shows");

  auto* Million = new TDrawGrid(&Host);
  Million->SetParent(&Host);
  Million->SetBounds(10, 28, 720, 260);
  Million->SetColCount(8);
  Million->SetRowCount(MillionRows + 1);
  Million->SetDefaultRowHeight(20);
  Million->SetColWidths(0, 64);
  Million->SetOptions(Million->GetOptions() | goColSizing | goThumbTracking);
  Million->SetDefaultDrawing(true);
  Million->SetHint(
      "A million rows, drawn only where they show.\nDrag the thumb or turn the wheel.");
  Million->SetShowHint(true);
  Million->OnDrawCell = [Million](TObject*, int C, int R, const TRect& Rc, TGridDrawState S) {
    DrawMillionCell(*Million, C, R, Rc, S);
  };

  auto* Where = new TLabel(&Host);
  Where->SetParent(&Host);
  Where->SetBounds(10, 292, 470, 16);
  const auto ShowWhere = [Million, Where](TObject*) {
    char Text[96];
    std::snprintf(Text, sizeof Text, "Row %d of %d, top row %d", Million->GetRow(), MillionRows,
                  Million->GetTopRow());
    Where->SetCaption(Text);
  };
  Million->OnTopLeftChanged = ShowWhere;
  // Asked before the row changes: shows the row being moved to.
  Million->OnSelectCell = [Million, Where](TObject*, int, int ARow, bool&) {
    char Text[96];
    std::snprintf(Text, sizeof Text, "Row %d of %d, top row %d", ARow, MillionRows,
                  Million->GetTopRow());
    Where->SetCaption(Text);
  };
  ShowWhere(nullptr);

  auto* Title = new TLabel(&Host);
  Title->SetParent(&Host);
  Title->SetBounds(10, 318, 300, 16);
  Title->SetCaption("Parameters (Enter or F2 edits)");

  auto* Table = new TParameterGrid(&Host);
  Table->SetParent(&Host);
  Table->SetBounds(10, 338, 330, 200);
  Table->SetColCount(4);
  Table->SetRowCount(7);
  Table->SetColWidths(0, 40);
  Table->SetColWidths(1, 110);
  Table->SetColWidths(2, 90);
  Table->SetColWidths(3, 60);
  Table->SetOptions(Table->GetOptions() | goEditing | goTabs | goColSizing);
  const char* const Rows[][4] = {
      {"#", "Parameter", "Value", "Unit"}, {"1", "Length", "12.5", "mm"},
      {"2", "Period", "20", "ms"},         {"3", "Supply", "5", "V"},
      {"4", "Current", "350", "mA"},       {"5", "Frequency", "50", "Hz"},
      {"6", "Depth", "0.8", "m"},
  };
  for (int R = 0; R < 7; ++R)
    for (int C = 0; C < 4; ++C) Table->SetCells(C, R, Rows[R][C]);
  Table->SetHint("Right-click for a menu; the Unit column picks from a list.");
  Table->SetShowHint(true);

  auto* Status = new TLabel(&Host);
  Status->SetParent(&Host);
  Status->SetBounds(350, 338, 380, 16);
  Status->SetCaption("Right-click the table for a menu.");
  Status->SetHint("The menu's choices show here.");
  Status->SetShowHint(true);
  AddTableMenu(Host, *Table, *Status);
}

}  // namespace kvl::gallery
