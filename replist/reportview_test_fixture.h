// A report list view on a form of the headless host, with helpers for its client pixels.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kvl/replist/replist.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {

class ReportViewTest : public TControlTest<TReportListView> {
protected:
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->SetBounds(0, 0, 400, 300);
  }
  // The client area starts inside the 2-pixel border.
  static constexpr int Border = 2;
  TColor ClientPixel(const TBitmap& Shot, int X, int Y) {
    return PixelOf(Shot, X + Border, Y + Border);
  }
  // Client coordinates of the middle of a grid cell.
  TPoint Middle(int ACol, int ARow) const {
    const TRect R = Ctl->CellRect(ACol, ARow);
    return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
  }
  // A click at client coordinates with modifiers held, far enough from the next one in time
  // not to make a double click.
  void ClickAt(int X, int Y, TShiftState Shift = 0) {
    if (Shift & ssShift) D.KeyDown(*Form, vk::Shift);
    if (Shift & ssCtrl) D.KeyDown(*Form, vk::Control);
    D.Click(*Ctl, X, Y);
    if (Shift & ssShift) D.KeyUp(*Form, vk::Shift);
    if (Shift & ssCtrl) D.KeyUp(*Form, vk::Control);
    D.AdvanceTime(1000);  // no double click with the next one
  }
  void ClickCell(int ACol, int ARow, TShiftState Shift = 0) {
    const TPoint P = Middle(ACol, ARow);
    ClickAt(P.X, P.Y, Shift);
  }
  void FillColumn(int Col, const std::vector<std::string>& Texts) {
    if (Ctl->GetNrOfRows() < int(Texts.size())) Ctl->SetNrOfRows(int(Texts.size()));
    for (int R = 1; R <= int(Texts.size()); ++R) Ctl->SetElem(Col, R, Texts[std::size_t(R - 1)]);
  }
  std::vector<std::string> Column(int Col) const {
    std::vector<std::string> R;
    for (int Row = 1; Row <= Ctl->GetNrOfRows(); ++Row) R.push_back(Ctl->GetElem(Col, Row));
    return R;
  }
  std::vector<int> SelectedRows() const {
    std::vector<int> R;
    for (int Row = 1; Row <= Ctl->GetNrOfRows(); ++Row)
      if (Ctl->GetRowSelected(Row)) R.push_back(Row);
    return R;
  }
};

}  // namespace kvl
