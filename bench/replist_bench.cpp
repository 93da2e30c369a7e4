// The report store with real amounts of data: sorts of a million rows, XML of a million cells
// and the memory a table of ten million cells takes, each beside a baseline of the same run.
#include <benchmark/benchmark.h>
#include <expat.h>
#include <sys/resource.h>

#include <algorithm>
#include <charconv>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "baseline_ratio.h"
#include "kvl/replist/replist.h"
#include "sort_inputs.h"

namespace {

using namespace kvl::bench;

constexpr int XmlRows = 100000, XmlCols = 10;

void StoreOf(kvl::TRLData& D, const std::vector<std::string>& Texts) {
  D.SetNrOfRows(int(Texts.size()));
  for (int R = 1; R <= D.GetNrOfRows(); ++R) D.SetElem(1, R, Texts[std::size_t(R - 1)]);
}

// Sorts the store's column 1 from the unsorted order each time.
void SortStore(benchmark::State& State, const std::vector<std::string>& Texts) {
  kvl::TRLData D(nullptr);
  StoreOf(D, Texts);
  for (auto _ : State) {
    State.PauseTiming();
    D.UnSort();
    State.ResumeTiming();
    D.Sort(1, -1, true);
    benchmark::DoNotOptimize(D.GetStrings().GetSortOrder(1));
  }
}

void BM_StoreSortTextColumn(benchmark::State& State) { SortStore(State, Words()); }
BENCHMARK(BM_StoreSortTextColumn)->Unit(benchmark::kMillisecond);

void BM_StoreSortNumberColumn(benchmark::State& State) { SortStore(State, NumberTexts()); }
BENCHMARK(BM_StoreSortNumberColumn)->Unit(benchmark::kMillisecond);

// 100 000 x 10 cells of 8-character texts.
kvl::TRLData& XmlStore() {
  static kvl::TRLData* D = [] {
    auto* S = new kvl::TRLData(nullptr);
    S->SetNrOfColumns(XmlCols);
    S->SetNrOfRows(XmlRows);
    const auto W = RandomWords(XmlRows * XmlCols, 3);
    for (int R = 1; R <= XmlRows; ++R)
      for (int C = 1; C <= XmlCols; ++C)
        S->SetElem(C, R, W[std::size_t((R - 1) * XmlCols + C - 1)]);
    return S;
  }();
  return *D;
}

const std::string& XmlText() {
  static const std::string X = [] {
    std::ostringstream Out;
    XmlStore().WriteToXMLStream(Out, true, "bench");
    return Out.str();
  }();
  return X;
}

void BM_XmlSave100kx10(benchmark::State& State) {
  for (auto _ : State) {
    std::ostringstream Out;
    XmlStore().WriteToXMLStream(Out, true, "bench");
    benchmark::DoNotOptimize(Out.tellp());
  }
}
BENCHMARK(BM_XmlSave100kx10)->Unit(benchmark::kMillisecond);

// What any expat reader pays: the parse with element and text handlers that do nothing.
void BM_ExpatBareParse(benchmark::State& State) {
  const std::string& X = XmlText();
  for (auto _ : State) {
    XML_Parser P = XML_ParserCreate("UTF-8");
    XML_SetElementHandler(
        P, [](void*, const XML_Char*, const XML_Char**) {}, [](void*, const XML_Char*) {});
    XML_SetCharacterDataHandler(P, [](void*, const XML_Char*, int) {});
    benchmark::DoNotOptimize(XML_Parse(P, X.data(), int(X.size()), 1));
    XML_ParserFree(P);
  }
}
BENCHMARK(BM_ExpatBareParse)->Unit(benchmark::kMillisecond);

void BM_XmlLoad100kx10(benchmark::State& State) {
  const std::string& X = XmlText();
  kvl::TRLData D(nullptr);
  for (auto _ : State) benchmark::DoNotOptimize(D.ReadFromXMLString(X, "bench"));
  if (D.GetNrOfRows() != XmlRows) State.SkipWithError("the file did not load");
}
BENCHMARK(BM_XmlLoad100kx10)->Unit(benchmark::kMillisecond);

// 1 000 000 x 10 cells of 8-character texts; column 0 is stored as well.
void BM_StoreMemory1Mx10(benchmark::State& State) {
  const auto& W = Words();
  const long RssBefore = PeakRssKiB();
  double PerCell = 0;
  for (auto _ : State) {
    kvl::TRLData D(nullptr);
    D.SetNrOfColumns(10);
    D.SetNrOfRows(SortRows);
    for (int R = 1; R <= SortRows; ++R)
      for (int C = 1; C <= 10; ++C) D.SetElem(C, R, W[std::size_t((R * 7 + C) % SortRows)]);
    PerCell = double(D.GetStrings().AllocatedBytes()) / (10.0 * SortRows);
    benchmark::DoNotOptimize(D.GetStrings().GetStringView(10, SortRows).data());
  }
  State.counters["bytes_per_cell"] = PerCell;
  State.counters["peak_rss_MiB"] = double(PeakRssKiB()) / 1024;
  State.counters["peak_rss_growth_MiB"] = double(PeakRssKiB() - RssBefore) / 1024;
  if (PerCell > 40) State.SkipWithError("more than 40 bytes per cell");
}
BENCHMARK(BM_StoreMemory1Mx10)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Targets: a text sort within 1.5 times, a number sort within 2 times and a load within
  // 3 times its baseline's time.
  return kvl::bench::RunWithRatios(
      argc, argv,
      {{"BM_StoreSortTextColumn", "BM_StableSortStrings", 1 / 1.5},
       {"BM_StoreSortNumberColumn", "BM_ParseAndStableSortDoubles", 0.5},
       {"BM_XmlLoad100kx10", "BM_ExpatBareParse", 1 / 3.0},
       {"BM_XmlSave100kx10", "BM_ExpatBareParse", 0}});
}
