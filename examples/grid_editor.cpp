// A string grid that edits a small parameter table in place. The "Unit" column is edited
// through a pick list: the grid says so in GetEditStyle and fills the list in
// GetPickListItems each time it drops down. A context menu inserts, deletes and copies rows;
// the grid and the status line explain themselves in hints. With --png FILE it opens the editor on
// a cell, paints once and writes the picture.
#include <cstdio>
#include <functional>
#include <string>

#include "kvl/platform/application.h"
#include "kvl/platform/clipboard.h"
#include "kvl/platform/grids.h"
#include "kvl/platform/menus.h"
#include "kvl/platform/stdctrls.h"

namespace {

class TParameterGrid : public kvl::TStringGrid {
public:
  static constexpr int UnitCol = 2;
  using kvl::TStringGrid::TStringGrid;

protected:
  kvl::TEditStyle GetEditStyle(int ACol, int) override {
    return ACol == UnitCol ? kvl::esPickList : kvl::esSimple;
  }
  void GetPickListItems(int ACol, int, kvl::TStrings& Items) override {
    if (ACol == UnitCol)
      for (const char* U : {"mm", "cm", "m", "ms", "s", "V", "mA"}) Items.Add(U);
  }
};

// Moves rows From ... last one place down (Step 1) or up (Step -1).
void ShiftRows(kvl::TStringGrid& G, int From, int Step) {
  const int Last = G.GetRowCount() - 1;
  kvl::TStringList Line;
  const auto Move = [&](int To, int Src) {
    Line.Assign(&G.GetRows(Src));
    G.SetRows(To, Line);
  };
  if (Step > 0) {
    for (int R = Last; R > From; --R) Move(R, R - 1);
  } else {
    for (int R = From; R < Last; ++R) Move(R, R + 1);
  }
}

void AddRowMenu(kvl::TForm& Form, kvl::TStringGrid& Grid, kvl::TLabel& Status) {
  auto* Menu = new kvl::TPopupMenu(&Form);
  const auto Item = [&](const char* Caption, std::function<std::string()> Act) {
    auto* I = new kvl::TMenuItem(&Form);
    I->SetCaption(Caption);
    I->OnClick = [S = &Status, Act](kvl::TObject*) { S->SetCaption(Act()); };
    Menu->GetItems()->Add(I);
  };
  kvl::TStringGrid* G = &Grid;
  Item("&Insert row", [G] {
    const int At = G->GetRow();
    G->HideEditor();
    G->SetRowCount(G->GetRowCount() + 1);
    ShiftRows(*G, At, 1);
    for (int C = 0; C < G->GetColCount(); ++C) G->SetCells(C, At, "");
    return "Row " + std::to_string(At) + " inserted";
  });
  Item("&Delete row", [G] {
    const int At = G->GetRow();
    // The heading and one data row stay.
    if (G->GetRowCount() <= G->GetFixedRows() + 1) return std::string("The last row stays");
    G->HideEditor();
    ShiftRows(*G, At, -1);
    G->SetRowCount(G->GetRowCount() - 1);
    return "Row " + std::to_string(At) + " deleted";
  });
  Item("-", {});
  Item("&Copy row", [G] {
    std::string Line;
    for (int C = 0; C < G->GetColCount(); ++C)
      Line += (C ? "\t" : "") + G->GetCells(C, G->GetRow());
    kvl::Clipboard().SetAsText(Line);
    return "Row " + std::to_string(G->GetRow()) + " copied";
  });
  Grid.SetPopupMenu(Menu);
}

}  // namespace

int main(int argc, char** argv) {
  auto* Form = new kvl::TForm(kvl::Application);
  Form->SetCaption("Parameters");
  Form->SetBounds(100, 100, 360, 240);

  auto* Status = new kvl::TLabel(Form);
  Status->SetParent(Form);
  Status->SetAlign(kvl::alBottom);
  Status->SetCaption("Enter, F2 or typing edits a cell");
  Status->SetHint("What the last edit or menu choice did.");
  Status->SetShowHint(true);

  auto* Grid = new TParameterGrid(Form);
  Grid->SetParent(Form);
  Grid->SetAlign(kvl::alClient);
  Grid->SetColCount(3);
  Grid->SetRowCount(5);
  Grid->SetColWidths(0, 120);
  Grid->SetColWidths(1, 90);
  Grid->SetOptions(Grid->GetOptions() | kvl::goEditing | kvl::goTabs);
  const char* const Rows[][3] = {{"Parameter", "Value", "Unit"},
                                 {"Length", "12.5", "mm"},
                                 {"Period", "20", "ms"},
                                 {"Supply", "5", "V"},
                                 {"Current", "350", "mA"}};
  for (int R = 0; R < 5; ++R)
    for (int C = 0; C < 3; ++C) Grid->SetCells(C, R, Rows[R][C]);
  Grid->SetHint("Right-click a row to insert, delete or copy it.\nF4 opens the unit list.");
  Grid->SetShowHint(true);
  AddRowMenu(*Form, *Grid, *Status);
  // Called once per edit, and only when the text changed.
  Grid->OnSetEditText = [Status](kvl::TObject*, int Col, int Row, const std::string& Value) {
    Status->SetCaption("Row " + std::to_string(Row) + ", column " + std::to_string(Col) +
                       " is now \"" + Value + "\"");
  };

  if (argc == 3 && std::string(argv[1]) == "--png") {
    Form->Show();
    Grid->SetCol(TParameterGrid::UnitCol);
    Grid->SetRow(2);
    Grid->SetFocus();
    Grid->ShowEditor();
    kvl::Application->ProcessMessages();
    Form->GetBackBuffer().SaveToPngFile(argv[2]);
    std::printf("wrote %s\n", argv[2]);
    return 0;
  }
  kvl::Application->SetMainForm(Form);
  kvl::Application->Run();
  return 0;
}
