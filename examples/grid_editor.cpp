// A string grid that edits a small parameter table in place. The "Unit" column is edited
// through a pick list: the grid says so in GetEditStyle and fills the list in
// GetPickListItems each time it drops down. With --png FILE it opens the editor on a cell,
// paints once and writes the picture.
#include <cstdio>
#include <string>

#include "kvl/platform/application.h"
#include "kvl/platform/grids.h"
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

}  // namespace

int main(int argc, char** argv) {
  auto* Form = new kvl::TForm(kvl::Application);
  Form->SetCaption("Parameters");
  Form->SetBounds(100, 100, 360, 240);

  auto* Status = new kvl::TLabel(Form);
  Status->SetParent(Form);
  Status->SetAlign(kvl::alBottom);
  Status->SetCaption("Enter, F2 or typing edits a cell");

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
