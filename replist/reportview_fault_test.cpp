// TReportListView under failing allocations: a column count change and an Assign that fail at
// any allocation leave the view as it was. This program replaces the global operator new, so
// it stays apart from the other tests.
#include <gtest/gtest.h>

#include <new>

#include "kvl/platform/forms.h"
#include "kvl/replist/reportview_test_fixture.h"
#include "kvl/testing/failing_new.h"

using kvl::testing::FailCountdown;

namespace kvl {
namespace {

class ReportFaultTest : public ReportViewTest {
protected:
  void Prepare(TReportListView& V, int Cols, const std::string& Tag) {
    V.SetNrOfColumns(Cols);
    V.SetNrOfRows(6);
    for (int C = 1; C <= Cols; ++C) {
      V.SetColumnAlignment(C, taCenter);
      for (int R = 1; R <= 6; ++R) V.SetElem(C, R, Tag + std::to_string(C * 10 + R));
    }
    V.SetRowSelectMode(2);
  }
  void ExpectAsPrepared(TReportListView& V, int Cols, const std::string& Tag) {
    ASSERT_EQ(V.GetNrOfColumns(), Cols);
    EXPECT_EQ(V.GetColCount(), Cols);
    EXPECT_EQ(V.GetRowCount(), 7);
    for (int C = 1; C <= Cols; ++C) {
      EXPECT_EQ(V.GetColumnAlignment(C), taCenter);
      EXPECT_EQ(V.GetColumnOrder(C), C);
      EXPECT_EQ(V.GetElem(C, 6), Tag + std::to_string(C * 10 + 6));
    }
  }
  // Runs Op with the k-th allocation failing for k = 0, 1, ... until it succeeds; every failed
  // run must raise and leave the view as Check finds it.
  bool HeapFull = false;  // a failure named the reason of an array that cannot grow
  template <class TOp, class TCheck>
  int FailEach(TOp Op, TCheck Check) {
    for (int K = 0; K < 10000; ++K) {
      bool Failed = false;
      FailCountdown = K;
      try {
        Op();
      } catch (const std::bad_alloc&) {
        Failed = true;
      } catch (const EKVLError& E) {
        Failed = true;
        HeapFull |= dynamic_cast<const EKVLRepListError*>(&E) &&
                    std::string(E.what()).find("not enough memory on heap") != std::string::npos;
      }
      FailCountdown = -1;
      if (!Failed) return K;
      SCOPED_TRACE("allocation " + std::to_string(K) + " failed");
      Check();
    }
    return -1;
  }
};

TEST_F(ReportFaultTest, ColumnCountChangeThatFailsKeepsTheView) {
  Prepare(*Ctl, 4, "a");
  const TGridRect Sel = Ctl->GetSelection();
  const int Tries = FailEach([&] { Ctl->SetNrOfColumns(9); },
                             [&] {
                               ExpectAsPrepared(*Ctl, 4, "a");
                               EXPECT_EQ(Ctl->GetSelection(), Sel);
                             });
  EXPECT_GT(Tries, 0);
  EXPECT_TRUE(HeapFull);
  EXPECT_EQ(Ctl->GetNrOfColumns(), 9);
}

TEST_F(ReportFaultTest, AssignThatFailsKeepsTheTarget) {
  Prepare(*Ctl, 3, "old");
  auto* Source = new TReportListView(Form);
  Prepare(*Source, 5, "new");
  const int Tries = FailEach([&] { Ctl->Assign(Source); },
                             [&] { ExpectAsPrepared(*Ctl, 3, "old"); });
  EXPECT_GT(Tries, 0);
  ExpectAsPrepared(*Ctl, 5, "new");
}

TEST_F(ReportFaultTest, RowEditorThatFailsWhileBuildingLeavesNothingBehind) {
  Prepare(*Ctl, 2, "a");
  Ctl->SetColumnFormat(1, "[l:4][80]a|b|c");
  TForm Host(nullptr);
  // No script answers the dialogs: each ends as cancelled once the loop idles.
  EXPECT_GT(FailEach([&] { Ctl->EditRowEntries(6, &Host, 4, 4), Ctl->EditRowEntries(6, 0, 0); },
                     [&] {
                       EXPECT_TRUE(Host.GetComponentCount() == 0 && !Ctl->GetContainerForm());
                       ExpectAsPrepared(*Ctl, 2, "a");
                     }),
            0);
}

}  // namespace
}  // namespace kvl
