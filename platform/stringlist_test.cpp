#include "kvl/platform/stringlist.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kvl {
namespace {

using TLines = std::vector<std::string>;

TLines LinesOf(const TStrings& L) {
  TLines R;
  for (int I = 0; I < L.GetCount(); ++I) R.push_back(L[I]);
  return R;
}

TEST(StringList, SortedAddsFollowDuplicatesAndCase) {
  struct TCase {
    TDuplicates Dup;
    bool CaseSensitive;
    TLines Expected;
    std::vector<int> Indexes;  // what each Add returned
  };
  const TCase Cases[] = {
      {dupIgnore, false, {"A", "b", "c"}, {0, 0, 0, 2, 1}},
      {dupAccept, false, {"A", "a", "b", "B", "c"}, {0, 0, 1, 3, 3}},
      {dupIgnore, true, {"A", "B", "a", "b", "c"}, {0, 0, 1, 3, 1}},
  };
  for (const TCase& C : Cases) {
    TStringList L;
    L.SetSorted(true);
    L.SetDuplicates(C.Dup);
    L.SetCaseSensitive(C.CaseSensitive);
    std::vector<int> Got;
    for (const char* S : {"b", "A", "a", "c", "B"}) Got.push_back(L.Add(S));
    EXPECT_EQ(LinesOf(L), C.Expected) << int(C.Dup) << C.CaseSensitive;
    EXPECT_EQ(Got, C.Indexes) << int(C.Dup) << C.CaseSensitive;
    int At = -1;
    EXPECT_EQ(L.Find("C", At), !C.CaseSensitive);
    EXPECT_EQ(At, C.CaseSensitive ? 2 : int(C.Expected.size()) - 1);
    EXPECT_EQ(L.IndexOf("a"), C.CaseSensitive ? 2 : 0);
  }
  TStringList L;
  L.SetSorted(true);
  L.SetDuplicates(dupError);
  L.Add("x");
  EXPECT_THROW(L.Add("X"), EStringListError);
  EXPECT_THROW(L.Insert(0, "a"), EStringListError);
  int At = -1;
  EXPECT_FALSE(L.Find("y", At));
  EXPECT_EQ(At, 1);
  // Changing a line of a sorted list moves it to its place.
  L.Add("m");
  L.SetStrings(0, "a");
  EXPECT_EQ(LinesOf(L), (TLines{"a", "x"}));
}

TEST(StringList, BadIndexesNameTheIndex) {
  TStringList L;
  L.SetText("a\nb\n");
  const auto Message = [](auto Call) {
    try {
      Call();
    } catch (const EStringListError& E) {
      return E.Message();
    }
    return std::string("no error");
  };
  EXPECT_EQ(Message([&] { (void)L[2]; }), "List index out of bounds (2)");
  EXPECT_EQ(Message([&] { L.Delete(-1); }), "List index out of bounds (-1)");
  EXPECT_EQ(Message([&] { L.SetObjects(5, nullptr); }), "List index out of bounds (5)");
  EXPECT_EQ(Message([&] { L.Insert(3, "c"); }), "List index out of bounds (3)");
  L.Insert(2, "c");
  EXPECT_EQ(LinesOf(L), (TLines{"a", "b", "c"}));
}

TEST(StringList, TextSplitsAtEveryLineBreakAndRoundTrips) {
  const std::pair<std::string, TLines> Cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\rc\nd\n", {"a", "b", "c", "d"}},
      {"a\n\nb", {"a", "", "b"}},
      {"\n\r", {"", ""}},
      {"a\r\r\nb\r\n\r\n", {"a", "", "b", ""}},
  };
  for (const auto& [Text, Lines] : Cases) {
    TStringList L;
    L.SetText(Text);
    EXPECT_EQ(LinesOf(L), Lines) << Text;
    TStringList Again;
    Again.SetText(L.GetText());
    EXPECT_EQ(LinesOf(Again), Lines) << Text;
  }
  TStringList L;
  L.SetText("x\r\ny");
  EXPECT_EQ(L.GetText(), "x\ny\n");
}

TEST(StringList, CommaTextQuotesWhatItMustAndReadsItBack) {
  TStringList L;
  L.SetText("a\nb c\n\nd,e\nq\"r\n");
  EXPECT_EQ(L.GetCommaText(), "a,\"b c\",,\"d,e\",\"q\"\"r\"");
  TStringList Back;
  Back.SetCommaText(L.GetCommaText());
  EXPECT_EQ(LinesOf(Back), LinesOf(L));
  Back.SetCommaText("  a , \"b c\" ,x y,");
  EXPECT_EQ(LinesOf(Back), (TLines{"a", "b c", "x", "y", ""}));
  Back.SetCommaText("\"unclosed \"\" quote");
  EXPECT_EQ(LinesOf(Back), (TLines{"unclosed \" quote"}));
  Back.SetText("\n");
  EXPECT_EQ(Back.GetCommaText(), "\"\"");
}

TEST(StringList, ValuesByNameIgnoringCase) {
  for (bool Sorted : {false, true}) {
    TStringList L;
    L.SetText("a=1\nB=2=3\nplain\n");
    L.SetSorted(Sorted);
    EXPECT_EQ(L.GetValues("b"), "2=3");
    EXPECT_EQ(L.GetValues("plain"), "");
    L.SetValues("A", "9");
    L.SetValues("c", "4");
    L.SetValues("b", "");
    EXPECT_EQ(L.GetValues("a"), "9");
    EXPECT_EQ(L.IndexOfName("B"), -1);
    EXPECT_EQ(L.GetNames(L.IndexOfName("c")), "c");
    EXPECT_EQ(L.GetCount(), 3) << Sorted;
  }
}

TEST(StringList, BatchesTellOnceAndOnlyOfChanges) {
  TStringList L;
  int Changing = 0, Changed = 0;
  L.OnChanging = [&](TObject*) { ++Changing; };
  L.OnChange = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &L);
    ++Changed;
  };
  L.Add("a");
  EXPECT_EQ(Changed, 1);
  L.BeginUpdate();
  L.BeginUpdate();
  L.Add("b");
  L.Delete(0);
  L.EndUpdate();
  EXPECT_EQ(Changed, 1);
  L.EndUpdate();
  EXPECT_EQ(Changing, 2);
  EXPECT_EQ(Changed, 2);
  L.BeginUpdate();
  L.Clear();  // not empty yet: a change
  L.Clear();
  L.EndUpdate();
  L.BeginUpdate();
  L.Sort();  // one line: nothing moves
  L.EndUpdate();
  EXPECT_EQ(Changed, 3);
}

TEST(StringList, SortsAreStableAndCarryTheObjects) {
  TStringList L;
  TObject One, Two;
  L.SetText("ccc\nb\nbb\na\n");
  L.SetObjects(1, &One);
  L.SetObjects(3, &Two);
  L.CustomSort(
      [](TStringList* S, int A, int B) { return int((*S)[A].size()) - int((*S)[B].size()); });
  EXPECT_EQ(LinesOf(L), (TLines{"b", "a", "bb", "ccc"}));
  EXPECT_EQ(L.GetObjects(0), &One);
  EXPECT_EQ(L.IndexOfObject(&Two), 1);
  TStringList Copy;
  L.SetSorted(true);
  Copy.Assign(&L);
  EXPECT_TRUE(Copy.GetSorted());
  EXPECT_EQ(LinesOf(Copy), (TLines{"a", "b", "bb", "ccc"}));
  Copy.AddStrings(Copy);
  EXPECT_EQ(Copy.GetCount(), 4);  // sorted, duplicates ignored
}

TEST(StringList, FilesAreUtf8TextAndOnlyRegularFilesAreRead) {
  std::string Dir = (std::filesystem::temp_directory_path() / "kvl-strings-XXXXXX").string();
  ASSERT_NE(mkdtemp(Dir.data()), nullptr);
  TStringList L;
  std::ofstream(Dir + "/in.txt", std::ios::binary) << "\xEF\xBB\xBF\xC3\xA4\r\nb";
  L.LoadFromFile(Dir + "/in.txt");
  EXPECT_EQ(LinesOf(L), (TLines{"\xC3\xA4", "b"}));
  L.SaveToFile(Dir + "/in.txt");
  TStringList Back;
  Back.LoadFromFile(Dir + "/in.txt");
  EXPECT_EQ(LinesOf(Back), LinesOf(L));
  ASSERT_EQ(mkfifo((Dir + "/fifo").c_str(), 0600), 0);
  EXPECT_THROW(Back.LoadFromFile(Dir + "/fifo"), EInOutError);
  EXPECT_THROW(L.SaveToFile(Dir + "/no/folder.txt"), EInOutError);
  EXPECT_EQ(LinesOf(Back), LinesOf(L));
  std::filesystem::remove_all(Dir);
}

}  // namespace
}  // namespace kvl

namespace kvl {
namespace {

TEST(StringList, ExchangeMoveAndInsertKeepObjects) {
  TObject A, B, C, D;
  TStringList L;
  L.AddObject("a", &A);
  L.AddObject("b", &B);
  L.AddObject("c", &C);
  L.InsertObject(1, "d", &D);  // a d b c
  L.Exchange(0, 3);            // c d b a
  L.Move(0, 2);                // d b c a
  L.Move(3, 0);                // a d b c
  L.Exchange(1, 2);            // a b d c
  const TLines Want = {"a", "b", "d", "c"};
  EXPECT_EQ(LinesOf(L), Want);
  TObject* const Objects[] = {&A, &B, &D, &C};
  for (int I = 0; I < 4; ++I) EXPECT_EQ(L.GetObjects(I), Objects[I]) << I;
  EXPECT_EQ(L.IndexOfObject(&D), 2);
  EXPECT_THROW(L.Move(0, 4), EStringListError);
  EXPECT_THROW(L.Exchange(-1, 0), EStringListError);
  L.SetSorted(true);
  EXPECT_THROW(L.Exchange(0, 1), EStringListError);
  EXPECT_THROW(L.Move(0, 1), EStringListError);
}

TEST(StringList, SortedAddsInABatchGiveTheOrderOfSingleAdds) {
  const std::vector<std::string> Input = {"pear", "Apple", "fig", "apple", "PEAR", "kiwi",
                                          "Fig",  "",      "apple", "b", "KIWI"};
  TStringList One;
  One.SetSorted(true);
  One.SetDuplicates(dupAccept);
  for (const auto& S : Input) One.Add(S);
  for (const int ReadAfter : {-1, 3, 7}) {
    TStringList Batch;
    Batch.SetSorted(true);
    Batch.SetDuplicates(dupAccept);
    int Changes = 0;
    Batch.OnChange = [&](TObject*) { ++Changes; };
    TLines Seen;
    Batch.BeginUpdate();
    for (int I = 0; I < int(Input.size()); ++I) {
      Batch.Add(Input[std::size_t(I)]);
      // A read inside the batch sees the lines in order.
      if (I == ReadAfter) Seen = LinesOf(Batch);
    }
    Batch.EndUpdate();
    EXPECT_EQ(LinesOf(Batch), LinesOf(One)) << ReadAfter;
    EXPECT_EQ(Changes, 1);
    if (ReadAfter >= 0) {
      TStringList Part;
      Part.SetSorted(true);
      Part.SetDuplicates(dupAccept);
      for (int I = 0; I <= ReadAfter; ++I) Part.Add(Input[std::size_t(I)]);
      EXPECT_EQ(Seen, LinesOf(Part)) << ReadAfter;
    }
  }
}

}  // namespace
}  // namespace kvl
