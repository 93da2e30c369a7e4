// TReportListView painting: pixels at named places, each checking one rule, and reviewed
// pictures of whole views.
#include <climits>
#include <cmath>

#include "kvl/core/stringl.h"
#include "kvl/replist/reportview_test_fixture.h"

namespace kvl {
namespace {

const TColor Shadow = ColorToRGB(clBtnShadow);
const TColor Inactive = ColorToRGB(clInactiveCaption);
constexpr TColor White = 0x00FFFFFF, Edge = 0x00808080, Shaded = 0x00F0EFE8;

class ReportPaintTest : public ReportViewTest {
protected:
  // Whether any pixel in the client rectangle differs from Background.
  bool AnyOther(const TBitmap& Shot, const TRect& R, TColor Background) {
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X)
        if (ClientPixel(Shot, X, Y) != Background) return true;
    return false;
  }
  // The leftmost and rightmost columns holding a pixel of Color (Same) or of another colour
  // than Color (!Same, for antialiased text) in the client rectangle.
  std::pair<int, int> Extent(const TBitmap& Shot, const TRect& R, TColor Color, bool Same = true) {
    int Lo = INT_MAX, Hi = INT_MIN;
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X)
        if ((ClientPixel(Shot, X, Y) == Color) == Same) {
          Lo = std::min(Lo, X);
          Hi = std::max(Hi, X);
        }
    return {Lo, Hi};
  }
};

TEST_F(ReportPaintTest, ShadingRunsAndTheGapAfterEachCell) {
  Ctl->SetNrOfRows(9);
  TBitmap Shot = D.Capture(*Ctl);
  const TRect R1 = Ctl->CellRect(0, 1), R2 = Ctl->CellRect(0, 2);
  EXPECT_EQ(ClientPixel(Shot, R1.Left + 1, R1.Top + 1), Shaded);  // rows 1, 3, 5 ... shaded
  EXPECT_EQ(ClientPixel(Shot, R2.Left + 1, R2.Top + 1), White);
  // Without the scrolling lines the gap pixel right of and below a cell takes its colour.
  EXPECT_EQ(ClientPixel(Shot, R1.Right, R1.Top + 3), Shaded);
  EXPECT_EQ(ClientPixel(Shot, R1.Left + 3, R1.Bottom), Shaded);
  Ctl->SetRowColPattern(3);
  Shot = D.Capture(*Ctl);
  const TColor Runs[] = {Shaded, Shaded, Shaded, White, White, White, Shaded, Shaded, Shaded};
  for (int R = 1; R <= 9; ++R) {
    const TRect C = Ctl->CellRect(1, R);
    EXPECT_EQ(ClientPixel(Shot, C.Left + 2, C.Top + 2), Runs[R - 1]) << R;
  }
  Ctl->SetOptions(Ctl->GetOptions() | goVertLine | goHorzLine);
  Shot = D.Capture(*Ctl);
  const TRect C = Ctl->CellRect(0, 1);
  EXPECT_EQ(ClientPixel(Shot, C.Right, C.Top + 3), ColorToRGB(clSilver));
  EXPECT_EQ(ClientPixel(Shot, C.Left + 3, C.Bottom), ColorToRGB(clSilver));
}

TEST_F(ReportPaintTest, ColourOrderOfSelectionHighlightAndDisabledRows) {
  Ctl->SetNrOfRows(6);
  Ctl->SetColorSelectedCol(0x00112233);
  Ctl->SetColorSelectedBoth(0x00445566);
  Ctl->SetRowSelected(1, true);
  Ctl->SetColumnSelected(2, true);
  Ctl->SetRowSelected(2, true);
  Ctl->SetHighLightRow(2);
  Ctl->SetRowEnabled(3, false);
  Ctl->SetHighLightColumn(3);
  const TBitmap Shot = D.Capture(*Ctl);
  struct TCase {
    int Col, Row;
    TColor Expect;
    const char* Rule;
  } Cases[] = {
      {0, 1, Ctl->GetColorSelectedRow(), "selected row"},
      {1, 1, 0x00445566, "selected row and column"},
      {1, 4, 0x00112233, "selected column"},
      {0, 2, Ctl->GetColorHigh(), "highlight over a selected row"},
      {2, 5, Ctl->GetColorHigh(), "highlight column"},
      {2, 3, Ctl->GetColorDisabledBkgd(), "disabled row over highlight"},
      {0, 3, Ctl->GetColorDisabledBkgd(), "disabled row"},
  };
  for (const TCase& C : Cases) {
    const TRect R = Ctl->CellRect(C.Col, C.Row);
    EXPECT_EQ(ClientPixel(Shot, R.Left + 1, R.Top + 1), C.Expect) << C.Rule;
  }
}

TEST_F(ReportPaintTest, CheckBoxesRadioCirclesTicksAndDots) {
  Ctl->SetNrOfColumns(3);
  Ctl->SetColumnCheckMode(1, cmBox);
  Ctl->SetColumnCheckMode(2, cmRadio);
  Ctl->SetColumnCheckMode(3, cmBox);
  Ctl->SetColumnIsPwd(3, true);
  Ctl->SetElemChecked(1, 1, true);
  Ctl->SetElemChecked(2, 1, true);
  Ctl->SetElem(3, 1, "secret");
  Ctl->SetElemChecked(3, 2, true);
  const TColor Text = Ctl->GetColorText();
  TBitmap Shot = D.Capture(*Ctl);
  TRect R = Ctl->CellRect(0, 1);
  const int L = R.Left, T = R.Top;
  EXPECT_EQ(ClientPixel(Shot, L + 4, T + 4), Shadow) << "box outline";
  EXPECT_EQ(ClientPixel(Shot, L + 14, T + 14), Shadow) << "box outline";
  for (int K = 0; K <= 2; ++K) {
    EXPECT_EQ(ClientPixel(Shot, L + 6, T + 8 + K), Text) << "tick, k = " << K;
    EXPECT_EQ(ClientPixel(Shot, L + 12, T + 6 + K), Text) << "tick, k = " << K;
  }
  const TRect Rr = Ctl->CellRect(1, 1);
  EXPECT_EQ(ClientPixel(Shot, Rr.Left + 9, Rr.Top + 4), Shadow) << "radio circle";
  EXPECT_EQ(ClientPixel(Shot, Rr.Left + 8, Rr.Top + 7), Text) << "radio dot";
  EXPECT_EQ(ClientPixel(Shot, Rr.Left + 11, Rr.Top + 9), Text) << "radio dot";
  const TRect Un = Ctl->CellRect(0, 2);
  EXPECT_EQ(ClientPixel(Shot, Un.Left + 6, Un.Top + 8), White) << "unchecked: no tick";
  // A masked checked column decides its mark from the stored string.
  const TRect P1 = Ctl->CellRect(2, 1), P2 = Ctl->CellRect(2, 2);
  EXPECT_NE(ClientPixel(Shot, P1.Left + 6, P1.Top + 8), Text) << "masked unchecked";
  EXPECT_EQ(ClientPixel(Shot, P2.Left + 6, P2.Top + 8), Text) << "masked checked";

  Ctl->SetRowEnabled(1, false);
  Shot = D.Capture(*Ctl);
  EXPECT_EQ(ClientPixel(Shot, L + 4, T + 4), Ctl->GetColorDisabledBkgd()) << "disabled row box";
  EXPECT_EQ(ClientPixel(Shot, L + 6, T + 8), Ctl->GetColorDisabledText()) << "disabled row tick";
  Ctl->SetRowEnabled(1, true);
  Ctl->SetEnabled(false);
  Shot = D.Capture(*Ctl);
  EXPECT_EQ(ClientPixel(Shot, L + 4, T + 4), Inactive) << "disabled view box";
  EXPECT_EQ(ClientPixel(Shot, L + 6, T + 8), Inactive) << "disabled view tick";
  Ctl->SetEnabled(true);
  Ctl->SetCheckMarksReadOnly(true);
  Shot = D.Capture(*Ctl);
  EXPECT_EQ(ClientPixel(Shot, L + 4, T + 4), Shaded) << "read-only marks: no box";
  EXPECT_EQ(ClientPixel(Shot, L + 6, T + 8), Text) << "read-only marks: the tick stays";
  Ctl->SetCheckMarksReadOnly(false);
  Ctl->SetShowEmptyCheckBoxes(false);
  Shot = D.Capture(*Ctl);
  EXPECT_EQ(ClientPixel(Shot, Un.Left + 4, Un.Top + 4), White) << "no empty box";
  EXPECT_EQ(ClientPixel(Shot, L + 6, T + 8), Shaded) << "a bare mark is empty too";
}

TEST_F(ReportPaintTest, FittedCellTextAndHeaderLines) {
  Ctl->SetNrOfColumns(3);
  const std::string Long = "Hello wonderful world";
  FillColumn(1, {Long, Long});
  FillColumn(2, {Long});
  Ctl->SetColWidths(1, 60);
  Ctl->SetColWidths(2, 60);
  Ctl->SetColumnAlignment(2, taRightJustify);
  Ctl->SetHeader(3, Long + "\n" + Long);
  Ctl->SetColWidths(3, 70);
  TCanvas& C = *Ctl->GetCanvas();
  C.SetFont(Ctl->GetFont());
  const int T = C.TextWidth(Long.substr(1));
  const int N = int(std::nearbyint(21.0 * (60 - 9) / T - 4));
  EXPECT_EQ(Ctl->FittedCellText(1, Long, 60, C), Long.substr(0, std::size_t(N)) + "...");
  EXPECT_EQ(Ctl->FittedCellText(2, Long, 60, C), "H..." + Long.substr(21 - std::size_t(N)));
  EXPECT_EQ(Ctl->FittedCellText(1, "short", 60, C), "short");
  const int W = C.TextWidth(Long);
  const int Nh = int(std::nearbyint(21.0 * (70 - 13 - 9) / W - 3));
  EXPECT_EQ(Ctl->FittedHeaderLine(Long, 70, 13, C), Long.substr(0, std::size_t(Nh)) + "...");
  EXPECT_EQ(Ctl->FittedHeaderLine(Long, 5, 0, C), "H...");
  // No text pixel right of R - 5, neither for the cut nor for the tail.
  const TBitmap Shot = D.Capture(*Ctl);
  for (const int Col : {0, 1}) {
    const TRect R = Ctl->CellRect(Col, 1);
    EXPECT_FALSE(AnyOther(Shot, Rect(R.Right - 5, R.Top, R.Right, R.Bottom), Shaded)) << Col;
    EXPECT_TRUE(AnyOther(Shot, Rect(R.Left, R.Top, R.Right - 5, R.Bottom), Shaded)) << Col;
  }
}

bool ValidUtf8(std::string_view S) {
  for (std::size_t I = 0; I < S.size();) {
    int Len = 0;
    if (Utf8Decode(S, I, &Len) == 0xFFFD) return false;
    I += std::size_t(Len);
  }
  return true;
}

TEST_F(ReportPaintTest, CutsNeverSplitACharacter) {
  Ctl->SetNrOfColumns(2);
  Ctl->SetColumnAlignment(2, taRightJustify);
  TCanvas& C = *Ctl->GetCanvas();
  for (const std::string Unit : {"\xC3\xA9", "\xE2\x82\xAC"}) {
    std::string S;
    for (int I = 0; I < 40; ++I) S += Unit;
    for (int W = 100; W >= 0; W -= 7) {
      const std::string Left = Ctl->FittedCellText(1, S, W, C);
      const std::string Right = Ctl->FittedCellText(2, S, W, C);
      const std::string Head = Ctl->FittedHeaderLine(S, W, 13, C);
      EXPECT_TRUE(ValidUtf8(Left + Right + Head)) << W;
      EXPECT_EQ(Left.substr(Left.size() - 3) + Right.substr(Unit.size(), 3) +
                    Head.substr(Head.size() - 3), ".........") << W;
    }
  }
}

// A render hook sees every data cell and may change all it draws; what it returns is drawn
// safely whatever its size or bytes.
TEST_F(ReportPaintTest, RenderHookChangesColoursStylesAndText) {
  FillColumn(1, {"plain"});
  std::vector<std::pair<int, int>> Seen;
  Ctl->OnBeforeRenderCell = [&](TObject*, int ACol, int ARow, TColor& Pen, TColor& Brush,
                                TColor& Font, TFontStyles& Styles, std::string& Text) {
    Seen.emplace_back(ACol, ARow);
    if (ACol == 1 && ARow == 1) {
      Pen = Brush = 0x000000FF;
      Font = 0x00FF0000;
      Styles = fsBold | fsItalic | fsUnderline | fsStrikeOut;
      Text = "hooked";
    }
    if (ACol == 2 && ARow == 1) Text = std::string(1000000, 'w');
    if (ACol == 3 && ARow == 1) Text = "\xFF\xFE bad \xC3";
  };
  const TBitmap Shot = D.Capture(*Ctl);
  EXPECT_EQ(Seen.size(), 20u);
  const TRect R = Ctl->CellRect(0, 1);
  EXPECT_EQ(ClientPixel(Shot, R.Left + 1, R.Top + 1), 0x000000FF);
  EXPECT_EQ(Extent(Shot, R, 0x00FF0000).first > R.Left, true);
}

TEST_F(ReportPaintTest, FixedFirstColumnRaisedEdges) {
  Ctl->SetFixedFirstColumn(true);
  const TBitmap Shot = D.Capture(*Ctl);
  const TRect R = Ctl->CellRect(0, 2);
  EXPECT_EQ(ClientPixel(Shot, R.Left, R.Top + 5), White);
  EXPECT_EQ(ClientPixel(Shot, R.Left + 5, R.Top), White);
  EXPECT_EQ(ClientPixel(Shot, R.Right - 1, R.Top + 5), Edge);
  EXPECT_EQ(ClientPixel(Shot, R.Left + 5, R.Bottom - 1), Edge);
  EXPECT_EQ(ClientPixel(Shot, R.Left + 5, R.Top + 5), ColorToRGB(Ctl->GetColorColumnHd()));
  const TRect H = Ctl->CellRect(2, 0);  // column headers have the same edge
  EXPECT_EQ(ClientPixel(Shot, H.Left, H.Top + 5), White);
  EXPECT_EQ(ClientPixel(Shot, H.Right - 1, H.Top + 5), Edge);
}

TEST_F(ReportPaintTest, SortTrianglesPointTheWayOfTheSort) {
  FillColumn(1, {"b", "a"});
  for (const bool Ascending : {true, false}) {
    Ctl->Sort(1, -1, Ascending);
    const TBitmap Shot = D.Capture(*Ctl);
    const TRect R = Ctl->CellRect(0, 0);
    TCanvas& C = *Ctl->GetCanvas();
    C.SetFont(Ctl->GetFont());
    const int X = R.Left + 4 + C.TextWidth("C-1") + 10;
    const int Y = R.Top + 2 + C.TextHeight("C-1") / 2;
    const TColor Face = ColorToRGB(clBtnFace);
    if (Ascending) {
      EXPECT_EQ(ClientPixel(Shot, X, Y + 3), White) << "base at the bottom";
      EXPECT_EQ(ClientPixel(Shot, X - 3, Y + 3), White);
      EXPECT_EQ(ClientPixel(Shot, X - 3, Y - 3), Face) << "apex at the top";
    } else {
      EXPECT_EQ(ClientPixel(Shot, X, Y - 3), Edge) << "base at the top";
      EXPECT_EQ(ClientPixel(Shot, X - 3, Y - 3), Edge);
      EXPECT_EQ(ClientPixel(Shot, X - 3, Y + 3), Face) << "apex at the bottom";
    }
  }
}

TEST_F(ReportPaintTest, CommonHeaderEndsWithTwoLines) {
  Ctl->SetCommonHeaderVisible(true);
  const TBitmap Shot = D.Capture(*Ctl);
  const TRect Last = Ctl->CellRect(4, 0);
  const int E = Last.Right;
  EXPECT_EQ(ClientPixel(Shot, E - 1, 10), Edge);
  EXPECT_EQ(ClientPixel(Shot, E, 10), 0x00000000);
  EXPECT_EQ(ClientPixel(Shot, 0, 10), White);
  const auto [Lo, Hi] = Extent(Shot, Rect(2, 2, E - 2, 19), ColorToRGB(clBtnFace), false);
  EXPECT_NEAR((Lo + Hi) / 2.0, E / 2.0, 3) << "centred over the visible columns";
}

TEST_F(ReportPaintTest, EmptyTableShowsItsMessageCentred) {
  Ctl->SetNrOfRows(0);
  Ctl->SetColorEmptyMsg(0x000000FF);
  Ctl->SetEmptyMessage("No data|yet");
  const TBitmap Shot = D.Capture(*Ctl);
  const int W = Ctl->GetClientWidth();
  const int Y0 = 21;  // below the header row and its line
  const TRect Area = Rect(0, Y0, W, Ctl->GetClientHeight());
  EXPECT_EQ(ClientPixel(Shot, 2, Y0 + 2), ColorToRGB(Ctl->GetColor()));
  const TColor Window = ColorToRGB(Ctl->GetColor());
  EXPECT_NE(Extent(Shot, Area, 0x000000FF).first, INT_MAX) << "drawn in ColorEmptyMsg";
  const auto [Lo, Hi] = Extent(Shot, Area, Window, false);
  ASSERT_LT(Lo, Hi);
  EXPECT_NEAR((Lo + Hi) / 2.0, W / 2.0, 2);
  // Two lines: a run of message rows, a gap, and another run.
  int Runs = 0;
  bool In = false;
  for (int Y = Y0; Y < Area.Bottom; ++Y) {
    const bool Red = Extent(Shot, Rect(0, Y, W, Y + 1), Window, false).first != INT_MAX;
    if (Red && !In) ++Runs;
    In = Red;
  }
  EXPECT_EQ(Runs, 2);
  // Hostile texts cost what shows: 10,000 message lines, header names of 50 lines or only
  // line feeds, an empty common header that still paints its background.
  Ctl->SetEmptyMessage(std::string(10000, '|'));
  std::string Fifty;
  for (int I = 0; I < 50; ++I) Fifty += "line\n";
  Ctl->SetHeader(1, Fifty);
  Ctl->SetHeader(2, "\n\n\n");
  Ctl->SetCommonHeader("");
  Ctl->SetCommonHeaderVisible(true);
  const TBitmap Hostile = D.Capture(*Ctl);
  EXPECT_EQ(ClientPixel(Hostile, 100, 10), ColorToRGB(clBtnFace));
}

TEST_F(ReportPaintTest, InterRowIndicatorMarksTheBoundaryAboveItsRow) {
  Ctl->SetInterRowIndicatorWidth(1);
  const int Pitch = Ctl->GetDefaultRowHeight() + 1;
  for (const int P : {1, 2, 5}) {
    Ctl->SetInterRowIndicatorPos(P);
    const TBitmap Shot = D.Capture(*Ctl);
    EXPECT_EQ(ClientPixel(Shot, 100, 20 + (P - 1) * Pitch), 0x000000FF) << P;
  }
  Ctl->SetInterRowIndicatorPos(6);
  EXPECT_FALSE(Extent(D.Capture(*Ctl), Rect(0, 0, 300, 200), 0x000000FF).first != INT_MAX);
  Ctl->SetInterRowIndicatorPos(0);
  EXPECT_FALSE(Extent(D.Capture(*Ctl), Rect(0, 0, 300, 200), 0x000000FF).first != INT_MAX);
}

// Pictures reviewed by eye.
TEST_F(ReportPaintTest, Pictures) {
  struct TCase {
    const char* Name;
    std::function<void()> Setup;
  };
  const auto Data = [this] {
    Ctl->SetNrOfRows(8);
    Ctl->SetColumnCheckMode(2, cmBox);
    Ctl->SetColumnCheckMode(3, cmRadio);
    Ctl->SetColumnAlignment(4, taRightJustify);
    Ctl->SetColumnAlignment(5, taCenter);
    for (int R = 1; R <= 8; ++R) {
      Ctl->SetElem(1, R, "Sample " + std::to_string(9 - R));
      Ctl->SetElem(2, R, R % 3 ? "ok" : "");
      Ctl->SetElemChecked(2, R, R % 2);
      Ctl->SetElem(4, R, std::to_string(R * 137 % 1000) + ".5");
      Ctl->SetElem(5, R, R == 4 ? "a text far too long for its column" : "mid");
    }
    Ctl->SetElemChecked(3, 3, true);
  };
  const TCase Cases[] = {
      {"new", [] {}},
      {"headers", [&] {
         Data();
         Ctl->SetCommonHeaderVisible(true);
         Ctl->SetHeader(4, "Two-line\nname");
         Ctl->SetColumnHeadersHeight(34);
       }},
      {"sorted", [&] {
         Data();
         Ctl->Sort(1, -1, true);
       }},
      {"disabled", [&] {
         Data();
         Ctl->SetEnabled(false);
       }},
      {"fixed", [&] {
         Data();
         Ctl->SetFixedFirstColumn(true);
         Ctl->SetRowEnabled(5, false);
       }},
      {"selection", [&] {
         Data();
         Ctl->SetRowSelectMode(2);
         Ctl->SetRowSelected(2, true);
         Ctl->SetRowSelected(3, true);
         Ctl->SetHighLightRow(6);
         Ctl->SetHighLightColumn(4);
         Ctl->SetHighLightBold(true);
         Ctl->SetInterRowIndicatorPos(8);
       }},
      {"empty", [&] {
         Ctl->SetNrOfRows(0);
         Ctl->SetEmptyMessage("No measurements|yet");
       }},
  };
  for (const TCase& C : Cases) {
    delete Ctl;
    Ctl = new TReportListView(Form);
    Ctl->SetParent(Form);
    Ctl->SetBounds(0, 0, 400, 260);
    C.Setup();
    EXPECT_TRUE(MatchesGolden(D.Capture(*Ctl), std::string("testdata/view_") + C.Name + ".png"))
        << C.Name;
  }
}

}  // namespace
}  // namespace kvl
