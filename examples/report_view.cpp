// A report view of 10,000 generated measurements with a check-box column: click a header to
// sort, click boxes and rows, double-click a row to edit it in the row editor; what happens is
// printed, and the table is saved as XML when the window closes. With --png FILE it paints the
// form once and writes the picture instead.
#include <cstdio>
#include <string>

#include "kvl/platform/application.h"
#include "kvl/replist/replist.h"

int main(int argc, char** argv) {
  auto* Form = new kvl::TForm(kvl::Application);
  Form->SetCaption("kvl report view");
  Form->SetBounds(100, 100, 520, 360);

  auto* View = new kvl::TReportListView(Form);
  View->SetParent(Form);
  View->SetBounds(8, 8, 504, 344);
  View->SetNrOfColumns(4);
  View->SetHeader(1, "Sample");
  View->SetHeader(2, "Use");
  View->SetHeader(3, "Temperature [C]");
  View->SetHeader(4, "Pressure [hPa]");
  View->SetColumnCheckMode(2, kvl::cmBox);
  View->SetColumnAlignment(3, kvl::taRightJustify);
  View->SetColumnAlignment(4, kvl::taRightJustify);
  View->SetRowSelectMode(2);
  {
    // Painting waits until all rows are in.
    const kvl::TReportListView::TPaintPause Pause(*View);
    View->SetNrOfRows(10000);
    char Buf[32];
    for (int R = 1; R <= 10000; ++R) {
      std::snprintf(Buf, sizeof Buf, "S-%05d", R);
      View->SetElem(1, R, Buf);
      View->SetElemChecked(2, R, R % 4 != 0);
      std::snprintf(Buf, sizeof Buf, "%.2f", 20.0 + (R * 7919 % 1000) / 100.0);
      View->SetElem(3, R, Buf);
      std::snprintf(Buf, sizeof Buf, "%.1f", 1013.0 + (R * 104729 % 400) / 10.0 - 20.0);
      View->SetElem(4, R, Buf);
    }
  }
  View->AutoColWidth(1, true, 8);
  View->FitAllColWidths(3, true, 8, 200, 4);  // room for the line after each column

  View->OnCheckedChange = [](kvl::TObject*, bool& State, int Col, int Row) {
    // The event hears the inverse of the state the click applied.
    std::printf("row %d, column %d: %s\n", Row, Col, State ? "unchecked" : "checked");
  };
  View->OnSelectedChange = [View](kvl::TObject*) {
    std::printf("%d rows selected, the first %d\n", View->NumSelectedRows(),
                View->FirstSelectedRow());
  };

  // The row editor's fields follow the column formats: numbers in numeric boxes.
  View->SetColumnFormat(3, "[f][80]");
  View->SetColumnFormat(4, "[f][80]");
  View->OnDblClick = [View](kvl::TObject*) {
    // The first click made the row under the pointer the current one.
    const int Row = View->GetRow() - View->CountHeadRows() + 1;
    const kvl::TPoint At = View->ClientToScreen({20, 20});
    if (View->EditRowEntries(Row, At.X, At.Y) == kvl::mrOk) std::printf("row %d edited\n", Row);
  };

  if (argc == 3 && std::string(argv[1]) == "--png") {
    Form->Show();
    kvl::Application->ProcessMessages();
    Form->GetBackBuffer().SaveToPngFile(argv[2]);
    std::printf("wrote %s\n", argv[2]);
    return 0;
  }
  Form->OnClose = [View](kvl::TObject*, kvl::TCloseAction&) {
    View->SaveAsXMLFile("report_view.xml", "measurements");
    std::printf("saved report_view.xml\n");
  };
  kvl::Application->SetMainForm(Form);
  kvl::Application->Run();  // until the window is closed
  return 0;
}
