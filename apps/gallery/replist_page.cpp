// The report list page: a report view of a million rows with a column of every kind (sorted
// by a click on a header, several rows selected with Ctrl and Shift), a label with the
// selection and the last check mark, an empty view with its message, and a disabled view with
// a fixed first column, its own column order and an inter-row indicator. "Edit row..." or a
// double click on a row opens the row editor.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "kvl/platform/stdctrls.h"
#include "kvl/replist/replist.h"
#include "event_log.h"
#include "pages.h"

namespace kvl::gallery {

namespace {

constexpr int MillionRows = 1'000'000;

const char* const Names[] = {"Amsel", "Birke", "Clematis", "Distel", "Eibe", "Fichte",
                             "Ginster", "Holunder"};
const char* const Colours[] = {"red", "green", "blue", "cyan", "magenta", "yellow"};

TReportListView* NewView(TWinControl& Host, int X, int Y, int W, int H) {
  auto* V = new TReportListView(&Host);
  V->SetParent(&Host);
  V->SetBounds(X, Y, W, H);
  return V;
}

// The same cells every run, so the picture never changes.
void FillMillion(TReportListView& V) {
  const TReportListView::TPaintPause Pause(V);
  V.SetNrOfColumns(11);
  const char* const Heads[] = {"#",     "Name",  "Ok",       "Ref",  "Colour", "Grade",
                               "Date",  "Value\n[mV]", "Scaled", "Reg", "Key"};
  const char* const Formats[] = {"[#i][60]rix7", "[s][160]", "", "", "[c:6][90]red|green|blue|cyan|magenta|yellow",
                                 "[l][50]A|B|C|D", "[ddd.MM.yyyy][100]", "[f][80]0.0", "[e][90]",
                                 "[h][60]rix4", "[s][90]$pwd$8"};
  const int Widths[] = {64, 110, 50, 36, 66, 46, 78, 56, 76, 48, 60};
  for (int C = 1; C <= 11; ++C) {
    V.SetHeader(C, Heads[C - 1]);
    V.SetColumnFormat(C, Formats[C - 1]);
    V.SetColWidths(C, Widths[C - 1]);
  }
  V.SetColumnCheckMode(3, cmBox);
  V.SetColumnCheckMode(4, cmRadio);
  V.SetColumnAlignment(1, taRightJustify);
  V.SetColumnAlignment(8, taCenter);
  V.SetColumnAlignment(10, taRightJustify);
  V.SetColumnIsPwd(11, true);
  V.SetNrOfRows(MillionRows);
  // Texts that repeat are formatted once.
  std::vector<std::string> Values(2000), Scaled(97 * 11);
  char Buf[64];
  for (int I = 0; I < 2000; ++I) {
    std::snprintf(Buf, sizeof Buf, "%.1f", I / 10.0);
    Values[std::size_t(I)] = Buf;
  }
  for (int I = 0; I < 97 * 11; ++I) {
    std::snprintf(Buf, sizeof Buf, "%.3e", (I % 97 + 1) * 1.2345e-3 * (I / 97 + 1));
    Scaled[std::size_t(I)] = Buf;
  }
  for (int R = 1; R <= MillionRows; ++R) {
    std::snprintf(Buf, sizeof Buf, R % 7 == 0 ? "%07d (7)" : "%07d", R);
    V.SetElem(1, R, Buf);
    const char* Name = Names[(R * 5) % 8];
    if (R % 4 == 0)
      std::snprintf(Buf, sizeof Buf, "%s from the far corner of the garden", Name);
    else
      std::snprintf(Buf, sizeof Buf, "%s %d", Name, R % 100);
    V.SetElem(2, R, Buf);
    V.SetElem(3, R, R % 3 == 0 ? "yes" : "no");
    if (R % 3 == 0) V.SetElemChecked(3, R, true);
    V.SetElem(5, R, Colours[R % 6]);
    V.SetElem(6, R, std::string(1, char('A' + (R * 3) % 4)));
    std::snprintf(Buf, sizeof Buf, "%02d.%02d.%04d", R % 28 + 1, R % 12 + 1, 2000 + R % 25);
    V.SetElem(7, R, Buf);
    V.SetElem(8, R, Values[std::size_t((R * 37) % 2000)]);
    V.SetElem(9, R, Scaled[std::size_t(R % 97 + 97 * (R % 11))]);
    std::snprintf(Buf, sizeof Buf, "%04X", (R * 2654435761u) >> 16 & 0xFFFF);
    V.SetElem(10, R, Buf);
    V.SetElem(11, R, "k" + std::to_string(R % 1000));
    if (R % 10 == 6) V.SetRowEnabled(R, false);
  }
  V.SetElemChecked(4, 2, true);
}

}  // namespace

void BuildReplistPage(TWinControl& Host) {
  auto* Caption = new TLabel(&Host);
  Caption->SetParent(&Host);
  Caption->SetBounds(10, 8, 700, 16);
  Caption->SetCaption("A million report rows: click a header to sort, Ctrl or Shift to select more");

  TReportListView* Big = NewView(Host, 10, 28, 720, 330);
  FillMillion(*Big);
  Big->SetCommonHeaderVisible(true);
  Big->SetCommonHeader("Garden survey");
  Big->SetColumnHeadersHeight(34);
  Big->SetRowSelectMode(2);
  Big->SetHighLightRow(3);
  Big->SetHighLightColumn(6);
  Big->SetHighLightBold(true);

  auto* Status = new TLabel(&Host);
  Status->SetParent(&Host);
  Status->SetBounds(10, 364, 600, 16);
  Status->SetName("ReportStatus");
  auto LastMark = std::make_shared<std::string>("none");
  const auto Show = [Big, Status, LastMark] {
    Status->SetCaption(std::to_string(Big->NumSelectedRows()) + " rows selected; last check mark: " +
                       *LastMark);
  };
  Big->OnSelectedChange = [Show](TObject*) { Show(); };
  Big->OnCheckedChange = [Show, LastMark](TObject*, bool& State, int Col, int Row) {
    // The event hears the inverse of the state that was applied.
    *LastMark = "row " + std::to_string(Row) + ", column " + std::to_string(Col) +
                (State ? " cleared" : " checked");
    Show();
  };
  Show();

  // The row editor near the top of the view.
  const auto EditRow = [Big, Show](int Row) {
    const TPoint At = Big->ClientToScreen({40, 40});
    const int Result = Big->EditRowEntries(Row, At.X, At.Y);
    LogEvent("row editor " + std::to_string(Row) + ": " + std::to_string(Result) + " " +
             Big->GetElem(2, Row));
    Show();
  };
  auto* Edit = new TButton(&Host);
  Edit->SetParent(&Host);
  Edit->SetBounds(630, 360, 100, 24);
  Edit->SetName("EditRowButton");
  Edit->SetCaption("Edit row...");
  // The first selected row, else the current one.
  Edit->OnClick = [Big, EditRow](TObject*) {
    EditRow(Big->NumSelectedRows() > 0 ? Big->FirstSelectedRow()
                                       : Big->GetRow() - Big->CountHeadRows() + 1);
  };
  // A double click on a data row edits that row; the press said where it was.
  auto Pressed = std::make_shared<TPoint>();
  Big->OnMouseDown = [Pressed](TObject*, TMouseButton, TShiftState, int X, int Y) {
    *Pressed = {X, Y};
  };
  Big->OnDblClick = [Big, EditRow, Pressed](TObject*) {
    const int GridRow = Big->MouseCoord(Pressed->X, Pressed->Y).Y;
    if (GridRow >= Big->CountHeadRows()) EditRow(GridRow - Big->CountHeadRows() + 1);
  };

  TReportListView* Empty = NewView(Host, 10, 388, 350, 150);
  Empty->SetNrOfColumns(3);
  Empty->SetHeader(1, "Time");
  Empty->SetHeader(2, "Sensor");
  Empty->SetHeader(3, "Value");
  Empty->SetNrOfRows(0);
  Empty->SetColorEmptyMsg(0x00804020);
  Empty->SetEmptyMessage("No measurements|yet");

  TReportListView* Off = NewView(Host, 370, 388, 360, 150);
  Off->SetNrOfColumns(4);
  Off->SetNrOfRows(6);
  const char* const Heads[] = {"Id", "Probe", "Site", "pH"};
  for (int C = 1; C <= 4; ++C) Off->SetHeader(C, Heads[C - 1]);
  for (int R = 1; R <= 6; ++R) {
    Off->SetElem(1, R, "P" + std::to_string(R));
    Off->SetElem(2, R, Names[R]);
    Off->SetElem(3, R, Colours[R % 6]);
    Off->SetElem(4, R, std::to_string(6 + R % 3) + "." + std::to_string(R));
  }
  Off->SetFixedFirstColumn(true);
  Off->SetColumnOrder({1, 4, 2, 3});
  Off->SetColumnSelected(4, true);
  Off->SetInterRowIndicatorPos(3);
  Off->SetEnabled(false);
}

}  // namespace kvl::gallery
