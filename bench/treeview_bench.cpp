// A 300 x 400 tree view over 100 000 nodes in two shapes (one node with 100 000 children; a
// ten-way tree five levels deep, all expanded), each beside the same operation on a tree of
// about 100 nodes of the same shape: a full repaint, Down at the last visible row, Page Down,
// expanding and collapsing a 20-child node in the middle, End from the top (each with its
// repaint), and a jump to the middle row as a thumb drag does. Building: the per-node cost of
// 100 000 AddChild calls beside 100 times 1 000, with and without BeginUpdate. The bytes a node
// takes are printed.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "baseline_ratio.h"
#include "headless_form.h"
#include "kvl/platform/treeview.h"

namespace {

using namespace kvl;

enum TShape { Flat, TenWay };

// Ten children per node, five levels deep, in tree order until Left nodes are made; past
// that, the later siblings of the nodes made come as leaves. The small tree (100 nodes, and
// about 30 such siblings) so shows rows like the big one's: the same texts, indents and lines.
void AddTenWay(TTreeNodes& Items, TTreeNode* Parent, int Levels, int& Left) {
  for (int I = 0; I < 10; ++I) {
    TTreeNode* N =
        Items.AddChild(Parent, (Parent ? Parent->GetText() + "." : "Node ") + std::to_string(I));
    if (Left > 0 && --Left > 0 && Levels > 1) AddTenWay(Items, N, Levels - 1, Left);
  }
}

struct TTreeSetup {
  bench::THeadlessForm S{320, 420};
  TTreeView* Tree;
  TTreeNode* Middle;  // a node with 20 children, in the middle row, collapsed

  TTreeSetup(TShape Shape, bool Big) {
    Tree = S.Add<TTreeView>(0, 0, 300, 400);
    TTreeNodes& Items = *Tree->GetItems();
    Items.BeginUpdate();
    if (Shape == Flat) {
      TTreeNode* Root = Items.AddChild(nullptr, "Root");
      const int Count = Big ? 100000 : 100;
      // Texts of one length, so that both trees draw the same glyphs per row.
      for (int I = 0; I < Count; ++I) {
        const std::string N = std::to_string(I);
        Items.AddChild(Root, "Child " + std::string(6 - N.size(), '0') + N);
      }
    } else {
      int Left = Big ? 111110 : 100;
      AddTenWay(Items, nullptr, 5, Left);
    }
    Tree->FullExpand();
    Items.EndUpdate();
    Middle = nullptr;
    const int Mid = Tree->GetRowCount() / 2;
    Tree->SetTopRow(Mid);
    Middle = Tree->GetTopItem();
    Items.BeginUpdate();
    for (int I = 0; I < 20; ++I) Items.AddChild(Middle, "Sub " + std::to_string(I));
    Items.EndUpdate();
    S.Form->Show();
    Tree->SetFocus();
    Tree->SetTopRow(0);
    Tree->SetSelected(Items.GetFirstNode());
    Application->ProcessMessages();
  }
  int PageRows() const { return Tree->GetClientHeight() / Tree->RowHeight(); }
  // The selection on the last visible row of the top page.
  void ToLastVisible() {
    Tree->SetTopRow(0);
    Tree->SetSelected(Tree->GetNodeAt(5, (PageRows() - 1) * Tree->RowHeight() + 1));
    Application->ProcessMessages();
  }
};

void Repaint(benchmark::State& State, TShape Shape, bool Big) {
  TTreeSetup T(Shape, Big);
  for (auto _ : State) {
    T.Tree->Invalidate();
    Application->ProcessMessages();
  }
  State.counters["rows painted"] = T.Tree->GetPaintedRows();
}

// Each Down scrolls one row, leaving the selection on the last visible row again.
void Down(benchmark::State& State, TShape Shape, bool Big) {
  TTreeSetup T(Shape, Big);
  T.ToLastVisible();
  for (auto _ : State) {
    T.S.Press(vk::Down);
    if (T.Tree->GetTopRow() + T.PageRows() + 2 >= T.Tree->GetRowCount()) {
      State.PauseTiming();
      T.ToLastVisible();
      State.ResumeTiming();
    }
  }
}

// Page Down and back up, each with its repaint.
void PageDown(benchmark::State& State, TShape Shape, bool Big) {
  TTreeSetup T(Shape, Big);
  for (auto _ : State) {
    T.S.Press(vk::Next);
    T.S.Press(vk::Prior);
  }
}

void ExpandCollapse(benchmark::State& State, TShape Shape, bool Big) {
  TTreeSetup T(Shape, Big);
  T.Tree->SetTopItem(T.Middle);
  Application->ProcessMessages();
  for (auto _ : State) {
    T.Middle->Expand(false);
    Application->ProcessMessages();
    T.Middle->Collapse(false);
    Application->ProcessMessages();
  }
}

// End and back Home, each with its repaint.
void End(benchmark::State& State, TShape Shape, bool Big) {
  TTreeSetup T(Shape, Big);
  for (auto _ : State) {
    T.S.Press(vk::End);
    T.S.Press(vk::Home);
  }
}

void Jump(benchmark::State& State, TShape Shape, bool Big) {
  TTreeSetup T(Shape, Big);
  const int Mid = T.Tree->GetRowCount() / 2;
  for (auto _ : State) {
    T.Tree->SetTopRow(Mid);
    Application->ProcessMessages();
    T.Tree->SetTopRow(0);
    Application->ProcessMessages();
  }
}

#define TREE_BENCH(Name)                                                            \
  void BM_Tree##Name##_Flat100(benchmark::State& S) { Name(S, Flat, false); }       \
  void BM_Tree##Name##_Flat100000(benchmark::State& S) { Name(S, Flat, true); }     \
  void BM_Tree##Name##_TenWay100(benchmark::State& S) { Name(S, TenWay, false); }   \
  void BM_Tree##Name##_TenWay100000(benchmark::State& S) { Name(S, TenWay, true); } \
  BENCHMARK(BM_Tree##Name##_Flat100);                                               \
  BENCHMARK(BM_Tree##Name##_Flat100000);                                            \
  BENCHMARK(BM_Tree##Name##_TenWay100);                                             \
  BENCHMARK(BM_Tree##Name##_TenWay100000);
TREE_BENCH(Repaint)
TREE_BENCH(Down)
TREE_BENCH(PageDown)
TREE_BENCH(ExpandCollapse)
TREE_BENCH(End)
TREE_BENCH(Jump)

// The same 100 000 AddChild calls: into one tree, or 1 000 at a time into a tree cleared
// between rounds (the clearing is not timed).
void Build(benchmark::State& State, int PerTree, bool Update) {
  bench::THeadlessForm S(320, 420);
  auto* Tree = S.Add<TTreeView>(0, 0, 300, 400);
  S.Form->Show();
  TTreeNodes& Items = *Tree->GetItems();
  const std::string Text = "Node text";
  for (auto _ : State) {
    for (int Done = 0; Done < 100000; Done += PerTree) {
      if (Update) Items.BeginUpdate();
      TTreeNode* Root = Items.AddChild(nullptr, Text);
      for (int I = 1; I < PerTree; ++I) Items.AddChild(Root, Text);
      if (Update) Items.EndUpdate();
      State.PauseTiming();
      Items.Clear();
      State.ResumeTiming();
    }
  }
  State.SetItemsProcessed(State.iterations() * 100000);
}
void BM_TreeBuild_1000(benchmark::State& S) { Build(S, 1000, false); }
void BM_TreeBuild_100000(benchmark::State& S) { Build(S, 100000, false); }
void BM_TreeBuildUpdate_1000(benchmark::State& S) { Build(S, 1000, true); }
void BM_TreeBuildUpdate_100000(benchmark::State& S) { Build(S, 100000, true); }
BENCHMARK(BM_TreeBuild_1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeBuild_100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeBuildUpdate_1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeBuildUpdate_100000)->Unit(benchmark::kMillisecond);

// Heap bytes per node of a 100 000-node tree, texts of at most 15 bytes (kept inline).
void PrintBytesPerNode() {
  bench::THeadlessForm S(320, 420);
  auto* Tree = S.Add<TTreeView>(0, 0, 300, 400);
  const std::size_t Before = mallinfo2().uordblks;
  Tree->GetItems()->BeginUpdate();
  TTreeNode* Root = Tree->GetItems()->AddChild(nullptr, "Root");
  for (int I = 1; I < 100000; ++I) Tree->GetItems()->AddChild(Root, "Node text");
  Tree->GetItems()->EndUpdate();
  const std::size_t After = mallinfo2().uordblks;
  std::printf("tree view: %.1f heap bytes per node (100 000 nodes, texts kept inline)\n",
              double(After - Before) / 100000);
}

}  // namespace

int main(int argc, char** argv) {
  PrintBytesPerNode();
  constexpr double View = 1 / 1.2;
  std::vector<kvl::bench::TRatio> Ratios;
  for (const char* Op : {"Repaint", "Down", "PageDown", "ExpandCollapse", "End", "Jump"})
    for (const char* Shape : {"Flat", "TenWay"}) {
      const std::string Name = std::string("BM_Tree") + Op + "_" + Shape;
      Ratios.push_back({Name + "100000", Name + "100", std::string(Op) == "Jump" ? 1 / 2.0 : View});
    }
  Ratios.push_back({"BM_TreeBuild_100000", "BM_TreeBuild_1000", 1 / 1.5});
  Ratios.push_back({"BM_TreeBuildUpdate_100000", "BM_TreeBuildUpdate_1000", 1 / 1.5});
  return kvl::bench::RunWithRatios(argc, argv, Ratios);
}
