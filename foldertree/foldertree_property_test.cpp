// Folder tree under random operations on a real scratch tree, with a sentinel tree beside the
// root and a link into it: whatever the names and the changes behind the tree's back, nothing
// outside the root changes, no folder that held anything goes, and Directory names the
// selected node inside the root.
#include <random>

#include "foldertree_fixture.h"

namespace kvl {
namespace {

class FolderTreeProperty : public FolderTreeTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(FolderTreeProperty, NothingOutsideTheRootChanges) {
  const std::string Sentinel = S / "sentinel/";
  for (const std::string D : {"", "keep", "keep/empty", "b"}) MakeDir(Sentinel + D);
  MakeFile(Sentinel + "b/file");
  Start({"a", "a/x", "B", "b"});
  MakeLink(Sentinel, Root + "toSentinel");
  MakeLink(Root + "a", Root + "toA");
  const std::map<std::string, ino_t> SentinelBefore = Snapshot(Sentinel);

  std::mt19937 Rng(GetParam());
  const auto Pick = [&](const auto& V) { return V[Rng() % V.size()]; };
  const std::vector<std::string> Words = {"",
                                          ".",
                                          "..",
                                          "/",
                                          "\\",
                                          std::string(1, '\0'),
                                          "\x01",
                                          "|",
                                          "\xC3\xA9",
                                          "a",
                                          "A",
                                          "b",
                                          "B",
                                          "x",
                                          "toSentinel",
                                          "toA",
                                          "keep",
                                          ".h",
                                          std::string(256, 'L'),
                                          std::string(120, 'm')};
  for (int Step = 0; Step < 1000; ++Step) {
    const std::map<std::string, ino_t> Inside = Snapshot(Root);
    std::vector<std::string> Dirs{Root}, Full;  // Full: folders that hold something
    for (const auto& [P, Ino] : Inside) {
      if (P.back() == '/') Dirs.push_back(P);
      // What a folder holds sorts right after it.
      if (const auto It = Inside.upper_bound(P); It != Inside.end() && It->first.starts_with(P))
        Full.push_back(P);
    }
    std::string What = Pick(Words);
    for (int K = int(Rng() % 3); K > 0; --K) What += (Rng() % 2 ? "/" : "\\") + Pick(Words);
    switch (Rng() % 9) {
      case 0:
      case 1:
        What = (Rng() % 4 ? Pick(Dirs) : Pick(std::vector<std::string>{Sentinel, S.Path(), "/"})) +
               (Rng() % 3 ? "" : What);
        Ctl->SelectPath(What);
        break;
      case 2:
      case 3:
        if (Dirs.size() < 150) Ctl->MakeSubFolder(What);
        break;
      case 4:
      case 5:
        What = "remove " + Ctl->GetDirectory();
        Ctl->RemoveSelectedFolder();
        break;
      case 6:
        What = "refresh";
        Ctl->RefreshTree();
        break;
      default: {
        // Behind the tree's back: a file added, a folder removed or replaced by a link.
        const std::string F = Pick(Dirs);
        What = "behind " + F;
        Full.clear();
        if (Rng() % 3 == 0)
          MakeFile(F + "f" + std::to_string(Step));
        else if (F != Root && ::rmdir(F.c_str()) == 0 && Rng() % 2)
          ::symlink((Rng() % 2 ? Sentinel : Pick(Dirs)).c_str(), F.substr(0, F.size() - 1).c_str());
      }
    }
    const std::string At = "step " + std::to_string(Step) + ": " + What;
    ASSERT_EQ(Snapshot(Sentinel), SentinelBefore) << At;
    for (const std::string& F : Full) ASSERT_TRUE(Exists(F)) << At << " removed " << F;
    if (const TTreeNode* Sel = Ctl->GetSelected()) {
      ASSERT_EQ(Ctl->NodePath(Sel), Ctl->GetDirectory()) << At;
      ASSERT_TRUE(IsPathWithin(Ctl->GetDirectory(), Root)) << At;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, FolderTreeProperty, ::testing::Values(1u, 2u, 3u));

}  // namespace
}  // namespace kvl
