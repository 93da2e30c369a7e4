#include "kvl/core/datatable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "kvl/core/stringl.h"

namespace kvl {
namespace {

// Every cell's value and state, and every heading, for whole-table comparisons.
struct TSnapshot {
  std::vector<double> Values;
  std::vector<int> States;
  std::vector<std::string> Heads;
  bool operator==(const TSnapshot&) const = default;
};

TSnapshot Snap(const TDataTable& T) {
  TSnapshot S;
  for (int R = 1; R <= T.GetNrOfRows(); ++R)
    for (int C = 1; C <= T.GetNrOfColumns(); ++C) {
      S.Values.push_back(T.GetElem(C, R));
      S.States.push_back(T.GetCellState(C, R));
    }
  for (int C = 1; C <= T.GetNrOfColumns(); ++C)
    S.Heads.push_back(T.GetColName(C) + "/" + std::to_string(T.GetColAttrib(C)) + "/" +
                      std::to_string(T.GetMScaleType(C)) + "/" + T.GetNominalID(C, 1));
  for (int R = 1; R <= T.GetNrOfRows(); ++R)
    S.Heads.push_back(T.GetRowName(R) + "/" + std::to_string(T.GetRowAttrib(R)));
  return S;
}

void FillDistinct(TDataTable& T) {
  for (int C = 1; C <= T.GetNrOfColumns(); ++C) {
    T.SetColAttrib(C, std::uint8_t(C));
    T.SetMScaleType(C, std::uint8_t(C % 6));
    T.SetNominalID(C, 1, "id" + std::to_string(C));
    for (int R = 1; R <= T.GetNrOfRows(); ++R) {
      T.SetElem(C, R, C * 100 + R);
      T.SetCellState(C, R, std::uint8_t((C + R) % 2 ? csMarkA : 0));
    }
  }
  for (int R = 1; R <= T.GetNrOfRows(); ++R) T.SetRowAttrib(R, std::uint8_t(R + 50));
}

TEST(DataTable, ResizeKeepsWhatStaysAndNewCellsAreZero) {
  TDataTable T(nullptr, 3, 4);
  FillDistinct(T);
  T.SetColName(2, "two");
  T.Resize(2, 6);
  EXPECT_EQ(T.GetElem(2, 4), 204);
  EXPECT_EQ(T.GetCellState(1, 2), csMarkA);
  EXPECT_EQ(T.GetColName(2), "two");
  EXPECT_EQ(T.GetRowAttrib(4), 54);
  EXPECT_EQ(T.GetElem(1, 5), 0);
  EXPECT_EQ(T.GetCellState(2, 6), 0);
  EXPECT_EQ(T.GetRowName(6), "R-6");
  T.Resize(4, 2);
  EXPECT_EQ(T.GetElem(2, 2), 202);
  EXPECT_EQ(T.GetElem(4, 1), 0);
  EXPECT_EQ(T.GetColName(4), "C-4");
  EXPECT_EQ(T.GetColAttrib(4), 0);
  EXPECT_EQ(T.GetNominalID(4, 1), "");
}

TEST(DataTable, OutsideTheTableReadsZeroAndIgnoresWrites) {
  TDataTable T(nullptr, 2, 2);
  int Changes = 0;
  T.ContentsChanged.Attach([&](TObject*) { ++Changes; });
  T.SetupChanged.Attach([&](TObject*) { ++Changes; });
  for (auto [C, R] : {std::pair{0, 1}, {3, 1}, {1, 0}, {1, 3}, {-1, -1}}) {
    T.SetElem(C, R, 5);
    T.SetCellState(C, R, 0xFF);
    EXPECT_EQ(T.GetElem(C, R), 0);
    EXPECT_EQ(T.GetCellState(C, R), 0);
    EXPECT_FALSE(T.GetIsNumber(C, R));
  }
  for (int I : {0, 3, -1}) {
    T.SetColName(I, "x");
    T.SetRowName(I, "x");
    T.SetColAttrib(I, 1);
    T.SetMScaleType(I, 1);
    EXPECT_EQ(T.GetColName(I), "");
    EXPECT_EQ(T.GetRowAttrib(I), 0);
  }
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(T.GetNominalID(1, 0), "");
  T.SetNominalID(1, 151, "x");
  EXPECT_FALSE(T.HasNominalIDs(1));
}

TEST(DataTable, CutsNamesAndIDsOnCharacterBoundaries) {
  TDataTable T(nullptr, 1, 1);
  std::string E60, Euro15;
  for (int I = 0; I < 60; ++I) E60 += "\xC3\xA9";
  for (int I = 0; I < 15; ++I) Euro15 += "\xE2\x82\xAC";
  T.SetColName(1, E60);
  T.SetRowName(1, E60);
  T.SetNominalID(1, 3, Euro15);
  EXPECT_EQ(Utf8Length(T.GetColName(1)), 50);
  EXPECT_EQ(T.GetColName(1).size(), 100u);
  EXPECT_EQ(T.GetRowName(1), T.GetColName(1));
  EXPECT_EQ(T.GetNominalID(1, 3).size(), 30u);
}

TEST(DataTable, OrdinalOfNominalIDWithAndWithoutCase) {
  TDataTable T(nullptr, 2, 1);
  T.SetNominalID(1, 4, "High");
  T.SetNominalID(1, 9, "Ärger");
  struct TCase {
    const char* Text;
    bool IgnoreCase;
    int Code;
  } Cases[] = {{"High", false, 4}, {"HIGH", false, 0}, {"HIGH", true, 4}, {"high", true, 4},
               {"ärger", true, 0},  {"Ärger", false, 9}, {"", true, 0},    {"Hig", true, 0}};
  for (const TCase& C : Cases)
    EXPECT_EQ(T.OrdinalOfNominalID(1, C.Text, C.IgnoreCase), C.Code) << C.Text;
  EXPECT_EQ(T.OrdinalOfNominalID(2, "High", true), 0);
  EXPECT_FALSE(T.HasNominalIDs(2));
}

TEST(DataTable, ScaleTypeNamesAreSafeForAnyByte) {
  EXPECT_EQ(MScaleTypeName(1), "nominal");
  EXPECT_EQ(MScaleTypeName(5), "ratio");
  EXPECT_EQ(MScaleTypeName(6), "undefined");
  EXPECT_EQ(MScaleTypeName(255), "undefined");
  EXPECT_TRUE(IsNominalScale(2));
  EXPECT_FALSE(IsNominalScale(3));
}

TEST(DataTable, InsertRemoveAndMirrorMoveEverythingOfARowOrColumn) {
  TDataTable T(nullptr, 3, 3);
  FillDistinct(T);
  const TSnapshot Before = Snap(T);
  T.InsertRow(2);
  EXPECT_EQ(T.GetRowName(2), "R-2");
  EXPECT_EQ(T.GetElem(2, 3), 202);
  EXPECT_EQ(T.GetRowAttrib(3), 52);
  EXPECT_EQ(T.GetCellState(1, 3), csMarkA);
  T.RemoveRow(2);
  EXPECT_EQ(Snap(T), Before);
  T.InsertColumn(1);
  EXPECT_EQ(T.GetColName(1), "C-1");
  EXPECT_EQ(T.GetMScaleType(2), 1);
  EXPECT_EQ(T.GetNominalID(2, 1), "id1");
  EXPECT_EQ(T.GetElem(4, 3), 303);
  T.RemoveColumn(1);
  EXPECT_EQ(Snap(T), Before);
  T.InsertColumn(4);  // append
  EXPECT_EQ(T.GetNrOfColumns(), 4);
  T.RemoveColumn(4);
  T.InsertRow(0);
  T.InsertRow(5);
  T.RemoveRow(4);
  EXPECT_EQ(Snap(T), Before);

  T.MirrorRows();
  EXPECT_EQ(T.GetElem(1, 1), 103);
  EXPECT_EQ(T.GetRowAttrib(1), 53);
  T.MirrorColumns();
  EXPECT_EQ(T.GetElem(1, 1), 303);
  EXPECT_EQ(T.GetNominalID(1, 1), "id3");
  T.MirrorColumns();
  T.MirrorRows();
  EXPECT_EQ(Snap(T), Before);
}

TEST(DataTable, ClearKeepsCountsCommentScalesAndIDs) {
  TDataTable T(nullptr, 2, 2);
  FillDistinct(T);
  T.SetFComment("kept");
  T.Clear();
  EXPECT_EQ(T.GetNrOfColumns(), 2);
  EXPECT_EQ(T.GetElem(2, 2), 0);
  EXPECT_EQ(T.GetCellState(1, 2), 0);
  EXPECT_EQ(T.GetColName(1), "");
  EXPECT_EQ(T.GetRowAttrib(1), 0);
  EXPECT_EQ(T.GetColAttrib(2), 0);
  EXPECT_EQ(T.GetFComment(), "kept");
  EXPECT_EQ(T.GetMScaleType(1), 1);
  EXPECT_EQ(T.GetNominalID(2, 1), "id2");
}

TEST(DataTable, StateOperations) {
  TDataTable T(nullptr, 2, 2);
  T.SetElem(1, 1, 7);
  T.SetCellState(1, 1, csMarkA | csNoNumber);
  T.SetCellState(2, 1, csMarkB | csEmpty);
  T.SetCellState(1, 2, csMarkA | csMarkB);
  EXPECT_EQ(T.FillMarkedCells(9, 0), 0);
  EXPECT_EQ(T.FillMarkedCells(9, csMarkA), 2);
  EXPECT_EQ(T.GetElem(1, 1), 9);
  EXPECT_EQ(T.GetCellState(1, 1), csMarkA);
  EXPECT_EQ(T.GetElem(2, 1), 0);
  EXPECT_EQ(T.GetCellState(2, 1), csMarkB | csEmpty);
  T.ExchangeMarkings();
  EXPECT_EQ(T.GetCellState(1, 1), csMarkB);
  EXPECT_EQ(T.GetCellState(2, 1), csMarkA | csEmpty);
  EXPECT_EQ(T.GetCellState(1, 2), csMarkA | csMarkB);
  T.InvertCellStates(csEmpty);
  EXPECT_EQ(T.GetCellState(2, 1), csMarkA);
  EXPECT_EQ(T.GetCellState(2, 2), csEmpty);
  EXPECT_FALSE(T.GetIsNumber(2, 2));
  T.UnmarkAllCells();
  EXPECT_EQ(T.CountStates(csMarkA | csMarkB), 0);
  EXPECT_EQ(T.GetCellState(1, 1), csEmpty);
  EXPECT_EQ(T.GetCellState(2, 1), 0);
}

TEST(DataTable, NotificationsFireOncePerCallInOrder) {
  TDataTable T(nullptr, 2, 2);
  std::vector<std::string> Log;
  T.ContentsChanged.Attach([&](TObject*) { Log.push_back("contents"); });
  T.SetupChanged.Attach([&](TObject*) { Log.push_back("setup"); });
  T.Resized.Attach([&](TObject*, int OC, int OR, int NC, int NR) {
    Log.push_back("resized " + std::to_string(OC) + std::to_string(OR) + std::to_string(NC) +
                  std::to_string(NR));
  });
  T.SetElem(1, 1, 1);
  T.SetColName(1, "a");
  T.Resize(3, 2);
  T.Resize(3, 2);
  T.InsertRow(1);
  T.FillMarkedCells(1, csMarkA);
  T.GetMatrix().Fill(3);
  EXPECT_EQ(Log, (std::vector<std::string>{"contents", "setup", "resized 2232", "contents",
                                           "resized 3233", "contents", "contents"}));
}

TEST(DataTable, TwoListenersDetachOnlyTheirOwn) {
  TDataTable T(nullptr, 1, 1);
  int A = 0, B = 0;
  const int IdA = T.ContentsChanged.Attach([&](TObject*) { ++A; });
  int IdB = 0;
  IdB = T.ContentsChanged.Attach([&](TObject*) {
    ++B;
    T.ContentsChanged.Detach(IdB);  // detaching itself while called
  });
  T.SetElem(1, 1, 1);
  T.SetElem(1, 1, 2);
  EXPECT_EQ(A, 2);
  EXPECT_EQ(B, 1);
  T.ContentsChanged.Detach(IdA);
  T.SetElem(1, 1, 3);
  EXPECT_EQ(A, 2);
  EXPECT_EQ(T.ContentsChanged.Count(), 0);
}

// Applies reported exchanges to a copy: it must end up as the sorted table.
struct TReplay {
  TDataTable Copy{nullptr};
  int Swaps = 0;
  std::vector<int> Percents;
  void Follow(TDataTable& T, bool Headers) {
    Copy.CopyFrom(T);
    T.SortExchange.Attach([this, Headers](TObject*, bool Cols, int I, int J) {
      ++Swaps;
      if (Cols) {
        for (int R = 1; R <= Copy.GetNrOfRows(); ++R) SwapCell(I, R, J, R);
        if (Headers) {
          const std::string N = Copy.GetColName(I);
          Copy.SetColName(I, Copy.GetColName(J));
          Copy.SetColName(J, N);
        }
      } else {
        for (int C = 1; C <= Copy.GetNrOfColumns(); ++C) SwapCell(C, I, C, J);
        if (Headers) {
          const std::string N = Copy.GetRowName(I);
          Copy.SetRowName(I, Copy.GetRowName(J));
          Copy.SetRowName(J, N);
        }
      }
    });
    T.PercentDone.Attach([this](TObject*, int P) { Percents.push_back(P); });
  }
  void SwapCell(int C1, int R1, int C2, int R2) {
    const double V = Copy.GetElem(C1, R1);
    const std::uint8_t S = Copy.GetCellState(C1, R1);
    Copy.SetElem(C1, R1, Copy.GetElem(C2, R2));
    Copy.SetCellState(C1, R1, Copy.GetCellState(C2, R2));
    Copy.SetElem(C2, R2, V);
    Copy.SetCellState(C2, R2, S);
  }
};

TEST(DataTable, SortRowsIsStableWithNonNumbersLastAndReplayable) {
  TDataTable T(nullptr, 2, 300);
  for (int R = 1; R <= 300; ++R) {
    T.SetElem(1, R, (R * 7919) % 13);  // many ties
    T.SetElem(2, R, R);                // the original order
    T.SetRowName(R, "r" + std::to_string(R));
  }
  T.SetElem(1, 5, NAN);
  T.SetCellState(1, 6, csEmpty);
  T.SetElem(1, 6, -100);
  for (bool Asc : {true, false}) {
    TReplay Replay;
    Replay.Follow(T, true);
    T.SortRows(1, Asc, 1, 1, 2, 300, true);
    for (int R = 1; R < 298; ++R) {
      const double A = T.GetElem(1, R), B = T.GetElem(1, R + 1);
      ASSERT_TRUE(Asc ? A <= B : A >= B) << R;
      if (A == B) {
        EXPECT_LT(T.GetElem(2, R), T.GetElem(2, R + 1)) << "stable at " << R;
      }
    }
    // NaN and the empty cell last, in their former order.
    EXPECT_TRUE(std::isnan(T.GetElem(1, 299)) || T.GetCellState(1, 299) == csEmpty);
    EXPECT_TRUE(std::isnan(T.GetElem(1, 300)) || T.GetCellState(1, 300) == csEmpty);
    EXPECT_EQ(T.GetRowName(1), "r" + std::to_string(int(T.GetElem(2, 1))));
    EXPECT_LT(Replay.Swaps, 300);
    for (int R = 1; R <= 300; ++R) {
      ASSERT_EQ(std::isnan(Replay.Copy.GetElem(1, R)), std::isnan(T.GetElem(1, R)));
      if (!std::isnan(T.GetElem(1, R))) {
        ASSERT_EQ(Replay.Copy.GetElem(1, R), T.GetElem(1, R));
      }
      ASSERT_EQ(Replay.Copy.GetRowName(R), T.GetRowName(R));
    }
    ASSERT_GE(Replay.Percents.size(), 2u);
    EXPECT_LE(Replay.Percents.size(), 22u);
    EXPECT_EQ(Replay.Percents.front(), 0);
    EXPECT_EQ(Replay.Percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(Replay.Percents.begin(), Replay.Percents.end()));
    T.SortExchange = {};
    T.PercentDone = {};
  }
}

TEST(DataTable, SortColsWithinABlockAndByNamesAndAttributes) {
  TDataTable T(nullptr, 4, 2);
  const double Row1[] = {3, 1, 2, 0};
  for (int C = 1; C <= 4; ++C) {
    T.SetElem(C, 1, Row1[C - 1]);
    T.SetElem(C, 2, C);
    T.SetMScaleType(C, std::uint8_t(C));
  }
  // Columns 1..3 only, row 1 only, without headers: row 2 and the scale types stay.
  T.SortCols(1, true, 1, 1, 3, 1, false);
  EXPECT_EQ((std::vector<double>{T.GetElem(1, 1), T.GetElem(2, 1), T.GetElem(3, 1), T.GetElem(4, 1)}),
            (std::vector<double>{1, 2, 3, 0}));
  EXPECT_EQ(T.GetElem(1, 2), 1);
  EXPECT_EQ(T.GetMScaleType(1), 1);
  // With headers the scale types travel.
  T.SortCols(2, false, 1, 1, 4, 2, true);
  EXPECT_EQ(T.GetElem(1, 2), 4);
  EXPECT_EQ(T.GetMScaleType(1), 4);

  TDataTable N(nullptr, 1, 4);
  const char* Names[] = {"b", "B", "a", "C"};
  for (int R = 1; R <= 4; ++R) {
    N.SetRowName(R, Names[R - 1]);
    N.SetRowAttrib(R, std::uint8_t(10 - R));
    N.SetElem(1, R, R);
  }
  N.SortRowNames(true, false, 1, 1, 1, 4);
  EXPECT_EQ(N.GetRowName(1) + N.GetRowName(2) + N.GetRowName(3) + N.GetRowName(4), "BCab");
  EXPECT_EQ(N.GetElem(1, 1), 2);
  N.SortRowNames(true, true, 1, 1, 1, 4);
  EXPECT_EQ(N.GetRowName(1) + N.GetRowName(2) + N.GetRowName(3) + N.GetRowName(4), "aBbC");
  N.SortRowAttributes(true, 1, 1, 1, 4);
  EXPECT_EQ(N.GetRowAttrib(1), 6);
  EXPECT_EQ(N.GetRowName(1), "C");
  // Ranges are clamped; an empty range does nothing.
  const TSnapshot Before = Snap(N);
  N.SortRowNames(false, false, 1, 3, 1, 3);
  N.SortRows(9, true, 1, 1, 1, 4, true);
  EXPECT_EQ(Snap(N), Before);
  N.SortRowAttributes(false, -5, -5, 99, 99);
  EXPECT_EQ(N.GetRowAttrib(1), 9);
}

TEST(DataTable, CopyFromIsDeep) {
  TDataTable A(nullptr, 3, 2), B(nullptr, 1, 1);
  FillDistinct(A);
  A.SetFComment("c");
  B.CopyFrom(A);
  EXPECT_EQ(Snap(B), Snap(A));
  EXPECT_EQ(B.GetFComment(), "c");
  A.SetNominalID(1, 1, "changed");
  EXPECT_EQ(B.GetNominalID(1, 1), "id1");
  B.Assign(&B);
  EXPECT_EQ(B.GetNrOfColumns(), 3);
}

TEST(DataTable, SizeOverTheCapLeavesTheTableAsItWas) {
  TDataTable T(nullptr, 2, 2);
  FillDistinct(T);
  const TSnapshot Before = Snap(T);
  for (auto [C, R] : {std::pair{1'000'001, 1}, {1, 1'000'001}, {20'000, 20'000}, {-1, 2}})
    EXPECT_THROW(T.Resize(C, R), std::bad_alloc);
  EXPECT_EQ(Snap(T), Before);
  T.Resize(0, 0);
  EXPECT_EQ(T.GetNrOfRows(), 0);
  T.Resize(2, 2);
  EXPECT_EQ(T.GetElem(1, 1), 0);
  EXPECT_EQ(T.GetColName(2), "C-2");
}

TEST(DataTable, MemoryStaysNearTheCells) {
  TDataTable T(nullptr, 1000, 1000);
  EXPECT_LE(T.AllocatedBytes(), 1000u * 1000u * 10u);
}

}  // namespace
}  // namespace kvl
