// TReportListView: construction, rows, columns and the notifications a host sees.
#include <climits>

#include "kvl/replist/reportview_test_fixture.h"

namespace kvl {
namespace {

using Strings = std::vector<std::string>;

TEST_F(ReportViewTest, Look) {
  FillColumn(1, {"alpha", "beta", "Hello wonderful world", "delta"});
  Ctl->SetColumnCheckMode(2, cmBox);
  Ctl->SetElemChecked(2, 1, true);
  Ctl->SetElem(2, 2, "box");
  Ctl->SetColumnCheckMode(3, cmRadio);
  Ctl->SetElemChecked(3, 2, true);
  Ctl->SetCommonHeaderVisible(true);
  Ctl->SetHeader(4, "Two\nlines");
  Ctl->SetColumnHeadersHeight(34);
  Ctl->Sort(1, -1, false);
  Ctl->SetRowSelected(2, true);
  D.SavePng(*Ctl, "/tmp/h15_look.png");
}

}  // namespace
}  // namespace kvl
