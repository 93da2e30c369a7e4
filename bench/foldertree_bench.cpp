// Listing a folder of 100 000 subfolders with mixed-case names: the folder routines' listing
// and sort (without the has-subfolders probes) beside std::filesystem::directory_iterator plus
// std::sort of the same names; and expanding that folder in a 300 x 400 folder tree (listing,
// probes, sort, 100 000 child nodes, first paint) beside the same listing and probes done with
// std::filesystem plus std::sort. The folder is made once per run under $TMPDIR (or /tmp) and
// removed at the end: about 400 MB on ext4, almost nothing on tmpfs
// (TMPDIR=/dev/shm runs it in memory).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "baseline_ratio.h"
#include "headless_form.h"
#include "kvl/core/filesys.h"
#include "kvl/foldertree/foldertree.h"

namespace {

using namespace kvl;

constexpr int Folders = 100000;

struct TBigFolder {
  std::string Path;
  TBigFolder() {
    const char* Tmp = std::getenv("TMPDIR");
    Path = std::string(Tmp && Tmp[0] == '/' ? Tmp : "/tmp") + "/kvl-foldertree-bench-XXXXXX";
    if (!::mkdtemp(Path.data())) std::perror("mkdtemp"), std::exit(1);
    const TFileHandle Dir = OpenFolder(Path);
    for (int I = 0; I < Folders; ++I) {
      std::string Name = "Sample " + std::to_string(I * 7919 % Folders);
      if (I % 2) std::transform(Name.begin(), Name.end(), Name.begin(), ::tolower);
      ::mkdirat(Dir.Get(), Name.c_str(), 0777);
    }
  }
  ~TBigFolder() { std::filesystem::remove_all(Path); }
};

TBigFolder& Big() {
  static TBigFolder B;
  return B;
}

void BM_FolderTree_ListAndSort(benchmark::State& State) {
  const TFileHandle Dir = OpenFolder(Big().Path);
  std::size_t N = 0;
  for (auto _ : State) {
    std::vector<TFolderEntry> L = ListSubfolders(Dir.Get());
    SortFolderEntries(L);
    N = L.size();
    benchmark::DoNotOptimize(L.data());
  }
  State.counters["entries"] = double(N);
}
BENCHMARK(BM_FolderTree_ListAndSort)->Unit(benchmark::kMillisecond);

void BM_StdFilesystem_ListAndSort(benchmark::State& State) {
  std::size_t N = 0;
  for (auto _ : State) {
    std::vector<std::string> Names;
    for (const auto& E : std::filesystem::directory_iterator(Big().Path))
      if (E.is_directory()) Names.push_back(E.path().filename().string());
    std::sort(Names.begin(), Names.end());
    N = Names.size();
    benchmark::DoNotOptimize(Names.data());
  }
  State.counters["entries"] = double(N);
}
BENCHMARK(BM_StdFilesystem_ListAndSort)->Unit(benchmark::kMillisecond);

void BM_FolderTree_Expand(benchmark::State& State) {
  bench::THeadlessForm F(320, 420);
  auto* Tree = F.Add<TFolderTree>(0, 0, 300, 400);
  F.Form->Show();
  Tree->SetRootDir(Big().Path);
  std::size_t N = 0;
  for (auto _ : State) {
    State.PauseTiming();
    Tree->Reset();  // drops the last run's 100 000 nodes
    State.ResumeTiming();
    Tree->GetItems()->GetFirstNode()->Expand(false);
    Tree->Repaint();
    N = std::size_t(Tree->GetItems()->GetCount());
  }
  State.counters["nodes"] = double(N);
}
BENCHMARK(BM_FolderTree_Expand)->Unit(benchmark::kMillisecond);

// Whether a folder holds a folder whose name does not begin with '.'.
bool StdHasSubfolders(const std::filesystem::path& P) {
  std::error_code Ec;
  for (const auto& E : std::filesystem::directory_iterator(P, Ec))
    if (E.path().filename().string()[0] != '.' && E.is_directory(Ec)) return true;
  return false;
}

void BM_StdFilesystem_ListProbeAndSort(benchmark::State& State) {
  std::size_t N = 0;
  for (auto _ : State) {
    std::vector<std::pair<std::string, bool>> Names;
    for (const auto& E : std::filesystem::directory_iterator(Big().Path))
      if (E.is_directory())
        Names.emplace_back(E.path().filename().string(), StdHasSubfolders(E.path()));
    std::sort(Names.begin(), Names.end());
    N = Names.size();
    benchmark::DoNotOptimize(Names.data());
  }
  State.counters["entries"] = double(N);
}
BENCHMARK(BM_StdFilesystem_ListProbeAndSort)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  Big();
  // At most twice the time of the plain listing and sort.
  return kvl::bench::RunWithRatios(
      argc, argv,
      {{"BM_FolderTree_ListAndSort", "BM_StdFilesystem_ListAndSort", 0.5},
       {"BM_FolderTree_Expand", "BM_StdFilesystem_ListProbeAndSort", 0.5}});
}
