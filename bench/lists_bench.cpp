// A list box of 100 000 items beside one of 100 (repaint, Page Down, End, a jump to the
// middle), a combo box of 10 000 items beside one of 100 (opening its list up to the first
// paint, Page Down inside the open list), and string-list adds per item at 100 000 beside 1 000,
// unsorted and sorted inside one update block, with
// the heap kept warm and, for information, cold.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdint>
#include <string>
#include <vector>

#include "baseline_ratio.h"
#include "headless_form.h"
#include "kvl/platform/combobox.h"
#include "kvl/platform/listbox.h"

namespace {

using namespace kvl;

struct TListSetup {
  bench::THeadlessForm S{300, 300};
  TListBox* Box;
  explicit TListSetup(int Count) {
    Box = S.Add<TListBox>(0, 0, 200, 250);
    Box->GetItems()->BeginUpdate();
    // Texts of one length, so that both lists draw the same glyphs per row.
    for (int I = 0; I < Count; ++I) {
      std::string N = std::to_string(I);
      Box->GetItems()->Add("item " + std::string(6 - N.size(), '0') + N);
    }
    Box->GetItems()->EndUpdate();
    S.Form->Show();
    Box->SetFocus();
    Box->SetItemIndex(0);
    Application->ProcessMessages();
  }
};

void Repaint(benchmark::State& State, int Count) {
  TListSetup L(Count);
  for (auto _ : State) {
    L.Box->Invalidate();
    Application->ProcessMessages();
  }
}
// Page Down and back up, each with its repaint.
void PageDown(benchmark::State& State, int Count) {
  TListSetup L(Count);
  for (auto _ : State) {
    L.S.Press(vk::Next);
    L.S.Press(vk::Prior);
  }
}
// End and back Home, each with its repaint.
void End(benchmark::State& State, int Count) {
  TListSetup L(Count);
  for (auto _ : State) {
    L.S.Press(vk::End);
    L.S.Press(vk::Home);
  }
}
// The view jumps to the middle row and back, as a thumb drag does.
void Jump(benchmark::State& State, int Count) {
  TListSetup L(Count);
  for (auto _ : State) {
    L.Box->SetTopIndex(Count / 2);
    Application->ProcessMessages();
    L.Box->SetTopIndex(0);
    Application->ProcessMessages();
  }
}

#define LIST_BENCH(Name)                                                \
  void BM_List##Name##_100(benchmark::State& S) { Name(S, 100); }       \
  void BM_List##Name##_100000(benchmark::State& S) { Name(S, 100000); } \
  BENCHMARK(BM_List##Name##_100);                                       \
  BENCHMARK(BM_List##Name##_100000);
LIST_BENCH(Repaint)
LIST_BENCH(PageDown)
LIST_BENCH(End)
LIST_BENCH(Jump)

struct TComboSetup {
  bench::THeadlessForm S{300, 300};
  TComboBox* Box;
  explicit TComboSetup(int Count) {
    Box = S.Add<TComboBox>(10, 10, 200, 21);
    Box->SetStyle(csDropDownList);
    Box->GetItems()->BeginUpdate();
    for (int I = 0; I < Count; ++I) {
      std::string N = std::to_string(I);
      Box->GetItems()->Add("item " + std::string(6 - N.size(), '0') + N);
    }
    Box->GetItems()->EndUpdate();
    S.Form->Show();
    Box->SetFocus();
    Box->SetItemIndex(Count / 2);
    Application->ProcessMessages();
  }
};

// The list opens on the selected item and paints, then closes.
void ComboDrop(benchmark::State& State, int Count) {
  TComboSetup C(Count);
  for (auto _ : State) {
    C.Box->SetDroppedDown(true);
    Application->ProcessMessages();
    C.Box->SetDroppedDown(false);
    Application->ProcessMessages();
  }
}
// Page Down and back up inside the open list, each with its repaint.
void ComboPage(benchmark::State& State, int Count) {
  TComboSetup C(Count);
  C.Box->SetDroppedDown(true);
  Application->ProcessMessages();
  for (auto _ : State) {
    C.S.Press(vk::Next);
    C.S.Press(vk::Prior);
  }
}
void BM_ComboDrop_100(benchmark::State& S) { ComboDrop(S, 100); }
void BM_ComboDrop_10000(benchmark::State& S) { ComboDrop(S, 10000); }
void BM_ComboPage_100(benchmark::State& S) { ComboPage(S, 100); }
void BM_ComboPage_10000(benchmark::State& S) { ComboPage(S, 10000); }
BENCHMARK(BM_ComboDrop_100);
BENCHMARK(BM_ComboDrop_10000);
BENCHMARK(BM_ComboPage_100);
BENCHMARK(BM_ComboPage_10000);

// The same 100 000 adds, as one list of 100 000 or as 100 lists of 1 000.
std::vector<std::string> Words() {
  std::vector<std::string> W(100000);
  std::uint32_t X = 12345;
  for (auto& S : W) {
    for (int I = 0; I < 8; ++I) {
      X = X * 1664525u + 1013904223u;
      S += char('a' + (X >> 24) % 26);
    }
  }
  return W;
}

// Heap: Cold frees the list's memory back to the system after each round, as glibc does by
// default; Warm keeps it, as the heap of a long-running program does. On this kind of virtual
// machine a first touch of a page costs about 12 microseconds (fifty times bare metal), which
// alone makes the 4 MB of a 100 000-line list cost 12 ms; the warm figure is the list's own.
enum class THeap { Cold, Warm };

void Adds(benchmark::State& State, int PerList, bool Sorted, THeap Heap) {
  static const std::vector<std::string> W = Words();
  if (Heap == THeap::Warm) {
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
  }
  for (auto _ : State) {
    for (std::size_t Start = 0; Start < W.size(); Start += std::size_t(PerList)) {
      TStringList L;
      if (Sorted) {
        L.SetSorted(true);
        L.SetDuplicates(dupAccept);
      }
      L.BeginUpdate();
      for (std::size_t I = Start; I < Start + std::size_t(PerList); ++I) L.Add(W[I]);
      L.EndUpdate();
      benchmark::DoNotOptimize(L.GetCount());
    }
  }
  if (Heap == THeap::Warm) {
    mallopt(M_MMAP_THRESHOLD, 128 << 10);  // glibc's defaults
    mallopt(M_TRIM_THRESHOLD, 128 << 10);
    malloc_trim(0);
  }
}
void BM_StringListAdd_1000(benchmark::State& S) { Adds(S, 1000, false, THeap::Warm); }
void BM_StringListAdd_100000(benchmark::State& S) { Adds(S, 100000, false, THeap::Warm); }
void BM_StringListAdd_100000_ColdHeap(benchmark::State& S) {
  Adds(S, 100000, false, THeap::Cold);
}
void BM_StringListSortedAdd_1000(benchmark::State& S) { Adds(S, 1000, true, THeap::Warm); }
void BM_StringListSortedAdd_100000(benchmark::State& S) { Adds(S, 100000, true, THeap::Warm); }
void BM_StringListSortedAdd_100000_ColdHeap(benchmark::State& S) {
  Adds(S, 100000, true, THeap::Cold);
}
BENCHMARK(BM_StringListAdd_1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StringListAdd_100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StringListAdd_100000_ColdHeap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StringListSortedAdd_1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StringListSortedAdd_100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StringListSortedAdd_100000_ColdHeap)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  constexpr double View = 1 / 1.2;
  return kvl::bench::RunWithRatios(
      argc, argv,
      {{"BM_ListRepaint_100000", "BM_ListRepaint_100", View},
       {"BM_ListPageDown_100000", "BM_ListPageDown_100", View},
       {"BM_ListEnd_100000", "BM_ListEnd_100", View},
       {"BM_ListJump_100000", "BM_ListJump_100", View},
       {"BM_ComboDrop_10000", "BM_ComboDrop_100", View},
       {"BM_ComboPage_10000", "BM_ComboPage_100", View},
       {"BM_StringListAdd_100000", "BM_StringListAdd_1000", 1 / 1.5},
       {"BM_StringListSortedAdd_100000", "BM_StringListSortedAdd_1000", 1 / 2.0},
       {"BM_StringListAdd_100000_ColdHeap", "BM_StringListAdd_1000", 0},
       {"BM_StringListSortedAdd_100000_ColdHeap", "BM_StringListSortedAdd_1000", 0}});
}
