// A draw grid over a million rows of computed data: nothing is stored per row, OnDrawCell
// draws each cell when it shows, so the grid costs what one screen costs. With --png FILE it
// paints once (after scrolling to the middle) and writes the picture.
#include <cmath>
#include <cstdio>
#include <string>

#include "kvl/platform/application.h"
#include "kvl/platform/grids.h"

int main(int argc, char** argv) {
  auto* Form = new kvl::TForm(kvl::Application);
  Form->SetCaption("A million rows");
  Form->SetBounds(100, 100, 520, 360);

  auto* Grid = new kvl::TDrawGrid(Form);
  Grid->SetParent(Form);
  Grid->SetAlign(kvl::alClient);
  Grid->SetColCount(4);
  Grid->SetRowCount(1'000'001);  // one header row and a million data rows
  Grid->SetColWidths(0, 80);
  Grid->SetColWidths(1, 110);
  Grid->SetColWidths(3, 160);
  Grid->SetOptions(Grid->GetOptions() | kvl::goThumbTracking | kvl::goColSizing);
  Grid->OnDrawCell = [Grid](kvl::TObject*, int Col, int Row, const kvl::TRect& R,
                            kvl::TGridDrawState) {
    static const char* const Heads[] = {"Row", "Square", "Root", "Sine"};
    char Text[64];
    if (Row == 0)
      std::snprintf(Text, sizeof Text, "%s", Heads[Col]);
    else if (Col == 0)
      std::snprintf(Text, sizeof Text, "%d", Row);
    else if (Col == 1)
      std::snprintf(Text, sizeof Text, "%lld", static_cast<long long>(Row) * Row);
    else if (Col == 2)
      std::snprintf(Text, sizeof Text, "%.4f", std::sqrt(double(Row)));
    else
      std::snprintf(Text, sizeof Text, "%+.6f", std::sin(Row / 1000.0));
    // The grid has filled the cell in its state's colours and set the font.
    kvl::TCanvas& C = *Grid->GetCanvas();
    C.GetBrush().SetStyle(kvl::bsClear);
    C.TextOut(R.Left + 4, R.Top + 4, Text);
    C.GetBrush().SetStyle(kvl::bsSolid);
  };

  if (argc == 3 && std::string(argv[1]) == "--png") {
    Form->Show();
    Grid->SetRow(500'000);
    kvl::Application->ProcessMessages();
    Form->GetBackBuffer().SaveToPngFile(argv[2]);
    std::printf("wrote %s\n", argv[2]);
    return 0;
  }
  kvl::Application->SetMainForm(Form);
  kvl::Application->Run();
  return 0;
}
