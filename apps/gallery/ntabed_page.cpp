// The table editor page: a TNTabEd over a 1,000 x 1,000 measurement table that the page owns,
// with fixed, scientific and asterisk texts, two nominal columns, marks, empty and invalid
// cells, a selection, a comment and a tint from OnBeforeRenderCell. Both internal menus are
// live; the status label beside it echoes the editor's events.
#include <cmath>
#include <string>

#include "kvl/ntabed/ntabed.h"
#include "kvl/platform/stdctrls.h"
#include "pages.h"

namespace kvl::gallery {

namespace {

constexpr int TableSize = 1000;

// A smooth surface whose magnitude grows with the column, so that fixed text, scientific text
// and asterisks all show in the first columns.
double SurfaceAt(int Col, int Row) {
  const double Wave = std::sin(Row * 0.07) * std::cos(Col * 0.11) + 1.2;
  const int Decade = (Col * 7 + Row) % 13 - 4;
  if (Col == 6) return Wave * std::pow(10.0, 95 + Row % 10);
  return Wave * std::pow(10.0, Decade);
}

void FillTable(TNTabEd& Ed, TDataTable& T) {
  Ed.SetSuppressPaint(true);
  for (int C = 1; C <= TableSize; ++C) {
    T.SetColName(C, "Ch " + std::to_string(C));
    T.SetColAttrib(C, std::uint8_t(C % 7));
    for (int R = 1; R <= TableSize; ++R) T.WriteCell(C, R, SurfaceAt(C, R), 0);
  }
  for (int R = 1; R <= TableSize; ++R) {
    T.SetRowName(R, "t " + std::to_string(R));
    T.SetRowAttrib(R, std::uint8_t(R % 4));
  }
  const int Precisions[] = {0, 1, 3, -1, 10};
  for (int C = 1; C <= 5; ++C) Ed.SetPrecision(C, Precisions[C - 1]);
  // Two nominal columns: levels with one code that has no ID, and a yes/no column.
  T.SetMScaleType(7, 1);
  const char* Levels[] = {"off", "low", "mid", "high"};
  for (int Code = 1; Code <= 4; ++Code) T.SetNominalID(7, Code, Levels[Code - 1]);
  T.SetMScaleType(8, 2);
  T.SetNominalID(8, 1, "no");
  T.SetNominalID(8, 2, "yes");
  for (int R = 1; R <= TableSize; ++R) {
    T.WriteCell(7, R, R % 6 == 5 ? 7 : 1 + R % 4, 0);
    T.WriteCell(8, R, 1 + R % 2, 0);
  }
  // Mark A on a block, mark B on a band, both where they meet; empty and invalid cells.
  T.ModifyStates(2, 3, 4, 8, 0, csMarkA, 0);
  T.ModifyStates(1, 6, 9, 7, 0, csMarkB, 0);
  T.ModifyStates(9, 2, 9, 3, 0, csEmpty, 0);
  T.ModifyStates(5, 10, 6, 10, 0, csNoNumber, 0);
  for (int R : {12, 13}) T.WriteCell(1, R, std::nan(""), 0);
  T.SetFComment("Bench run 7: ten channels at 1 kHz");
  Ed.SetSuppressPaint(false);
}

}  // namespace

void BuildNTabEdPage(TWinControl& Host) {
  auto* Caption = new TLabel(&Host);
  Caption->SetParent(&Host);
  Caption->SetBounds(10, 8, 560, 16);
  Caption->SetCaption("Table editor: 1,000 x 1,000 values; right-click cells, headings or the corner");

  auto* Table = new TDataTable(&Host, TableSize, TableSize);
  auto* Ed = new TNTabEd(&Host);
  Ed->SetParent(&Host);
  Ed->SetBounds(10, 28, 560, 470);
  Ed->AssignAnotherDataMatrix(Table);
  Ed->SetAttribColVisible(true);
  FillTable(*Ed, *Table);
  Ed->SetColWidths(6, 72);
  Ed->SetSelection({3, 3, 5, 6});
  // Values above 2 show on a light orange ground.
  Ed->OnBeforeRenderCell = [Table](TObject*, int C, int R, std::string&, TColor&, TColor& Bg,
                                   TFontStyles&) {
    if (!IsNominalScale(Table->GetMScaleType(C)) && Table->GetIsNumber(C, R) &&
        Table->GetElem(C, R) > 2 && Table->GetElem(C, R) < 10)
      Bg = 0xD8ECFF;
  };

  auto* Status = new TLabel(&Host);
  Status->SetParent(&Host);
  Status->SetBounds(580, 28, 150, 120);
  Status->SetWordWrap(true);
  Status->SetCaption("Events show here.");
  const auto Echo = [Ed, Status](const char* Event) {
    return [Ed, Status, Event](TObject*) {
      const TGridRect S = Ed->GetSelection();
      Status->SetCaption(std::string(Event) + "\nselection " + std::to_string(S.Left - 1) + ":" +
                         std::to_string(S.Top - 1) + " .. " + std::to_string(S.Right - 1) + ":" +
                         std::to_string(S.Bottom - 1));
    };
  };
  Ed->OnChange = Echo("OnChange");
  Ed->OnCellStateChanged = Echo("OnCellStateChanged");
  Ed->OnSelectionChanged = Echo("OnSelectionChanged");
  Ed->OnPaste = Echo("OnPaste");

  const auto Button = [&Host](int Top, const char* Text, std::function<void()> Action) {
    auto* B = new TButton(&Host);
    B->SetParent(&Host);
    B->SetBounds(580, Top, 130, 26);
    B->SetCaption(Text);
    B->OnClick = [Action](TObject*) { Action(); };
  };
  Button(160, "Read-only", [Ed] { Ed->SetDataReadOnly(!Ed->GetDataReadOnly()); });
  Button(194, "Attribute row", [Ed] { Ed->SetAttribColVisible(!Ed->GetAttribColVisible()); });
  Button(228, "Auto width", [Ed] {
    for (int C = Ed->GetLeftCol(); C < Ed->GetLeftCol() + 12; ++C) Ed->AutoColWidth(C, true, 4);
  });
}

}  // namespace kvl::gallery
