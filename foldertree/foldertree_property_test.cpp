// Folder tree under random operations on a real scratch tree, with a sentinel tree beside the
// root and a link into it: whatever the names and the changes behind the tree's back, nothing
// outside the root changes, no folder that held anything goes, and Directory names the
// selected node inside the root.
#include <dirent.h>

#include <map>
#include <random>

#include "foldertree_fixture.h"

namespace kvl {
namespace {

// Path -> inode of everything below Dir, links not followed.
void Snapshot(const std::string& Dir, std::map<std::string, ino_t>& Out) {
  DIR* D = ::opendir(Dir.c_str());
  if (!D) return;
  while (const dirent* E = ::readdir(D)) {
    const std::string N = E->d_name;
    if (N == "." || N == "..") continue;
    struct stat St;
    if (::lstat((Dir + N).c_str(), &St) != 0) continue;
    Out[Dir + N] = St.st_ino;
    if (S_ISDIR(St.st_mode)) Snapshot(Dir + N + "/", Out);
  }
  ::closedir(D);
}

std::map<std::string, ino_t> Snapshot(const std::string& Dir) {
  std::map<std::string, ino_t> Out;
  Snapshot(Dir, Out);
  return Out;
}

bool HoldsAnything(const std::string& Dir) {
  DIR* D = ::opendir(Dir.c_str());
  if (!D) return false;
  bool Any = false;
  while (const dirent* E = ::readdir(D)) {
    const std::string_view N = E->d_name;
    if ((Any = N != "." && N != "..")) break;
  }
  ::closedir(D);
  return Any;
}

bool IsDir(const std::string& P) {
  struct stat St;
  return ::lstat(P.c_str(), &St) == 0 && S_ISDIR(St.st_mode);
}

class FolderTreeProperty : public FolderTreeTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(FolderTreeProperty, NothingOutsideTheRootChanges) {
  const std::string Sentinel = S / "sentinel/";
  for (const std::string& D : {Sentinel, Sentinel + "keep", Sentinel + "keep/empty", Sentinel + "b",
                               Root + "a", Root + "a/x", Root + "B", Root + "b"})
    MakeDir(D);
  MakeFile(Sentinel + "b/file");
  MakeLink(Sentinel, Root + "toSentinel");
  MakeLink(Root + "a", Root + "toA");
  Start();
  const std::map<std::string, ino_t> SentinelBefore = Snapshot(Sentinel);

  std::mt19937 Rng(GetParam());
  const auto Pick = [&](const auto& V) { return V[std::uniform_int_distribution<std::size_t>(0, V.size() - 1)(Rng)]; };
  const std::vector<std::string> Words = {"",   ".",  "..",  "/",          "\\",   std::string(1, '\0'),
                                          "\x01", "|", "é",  "a",          "A",    "b",
                                          "B",  "x",  "new", "toSentinel", "toA",  "keep",
                                          ".h", std::string(256, 'L'), std::string(120, 'm')};
  const auto RandomName = [&] {
    std::string N;
    for (int K = std::uniform_int_distribution<int>(1, 3)(Rng); K > 0; --K)
      N += Pick(Words) + (Rng() % 2 ? "/" : "\\");
    if (Rng() % 2) N.pop_back();
    return N;
  };
  const auto Folders = [&] {
    std::vector<std::string> Out{Root};
    for (const auto& [P, Ino] : Snapshot(Root))
      if (IsDir(P)) Out.push_back(P + "/");
    return Out;
  };

  for (int Step = 0; Step < 1000; ++Step) {
    const std::vector<std::string> Dirs = Folders();
    std::vector<std::string> Full;  // folders inside the root that hold something
    for (const std::string& F : Dirs)
      if (HoldsAnything(F)) Full.push_back(F);
    const unsigned Op = Rng() % 10;
    std::string What;
    switch (Op) {
      case 0:
      case 1: {
        std::string P = Rng() % 3 ? Pick(Dirs) : Pick(std::vector<std::string>{Sentinel, S.Path(), "/", Root + "toSentinel/keep"});
        if (Rng() % 3 == 0) P += RandomName();
        What = "select " + P;
        Ctl->SelectPath(P);
        break;
      }
      case 2:
      case 3:
        if (Dirs.size() > 150) break;
        What = "make " + RandomName();
        Ctl->MakeSubFolder(What.substr(5));
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
        // Behind the tree's back, inside the root.
        const std::string F = Pick(Dirs);
        if (F == Root) break;
        const unsigned How = Rng() % 3;
        What = "behind " + std::to_string(How) + " " + F;
        if (How == 0) {
          MakeFile(F + "f" + std::to_string(Step));
        } else if (::rmdir(F.c_str()) == 0 && How == 2) {
          const std::string Target = Rng() % 2 ? Sentinel : Pick(Dirs);
          ::symlink(Target.c_str(), F.substr(0, F.size() - 1).c_str());
        }
        Full.clear();  // removal behind the back is not the tree's
      }
    }
    ASSERT_EQ(Snapshot(Sentinel), SentinelBefore) << "step " << Step << ": " << What;
    for (const std::string& F : Full) ASSERT_TRUE(Exists(F)) << "step " << Step << ": " << What << " removed " << F;
    if (const TTreeNode* Sel = Ctl->GetSelected()) {
      ASSERT_EQ(Ctl->NodePath(Sel), Ctl->GetDirectory()) << "step " << Step << ": " << What;
      ASSERT_TRUE(IsPathWithin(Ctl->GetDirectory(), Root)) << "step " << Step << ": " << What;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, FolderTreeProperty, ::testing::Values(1u, 2u, 3u));

}  // namespace
}  // namespace kvl
