// A folder tree on a form, rooted at "Samples" inside a fresh scratch folder.
#pragma once

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "kvl/foldertree/foldertree.h"
#include "kvl/testing/control_fixture.h"
#include "kvl/testing/scratch_folder.h"

namespace kvl {

inline void MakeDir(const std::string& P) { ASSERT_EQ(::mkdir(P.c_str(), 0777), 0) << P; }
inline void MakeFile(const std::string& P) { std::ofstream(P) << "x"; }
inline void MakeLink(const std::string& To, const std::string& P) {
  ASSERT_EQ(::symlink(To.c_str(), P.c_str()), 0) << P;
}
inline bool Exists(const std::string& P) {
  struct stat St;
  return ::lstat(P.c_str(), &St) == 0;
}

// Path (folders with a trailing '/') -> inode of everything below Dir, links not followed.
inline void Snapshot(const std::string& Dir, std::map<std::string, ino_t>& Out) {
  DIR* D = ::opendir(Dir.c_str());
  for (const dirent* E; D && (E = ::readdir(D));) {
    std::string P = Dir + E->d_name;
    struct stat St;
    if (E->d_name[0] == '.' && (!E->d_name[1] || E->d_name[1] == '.')) continue;
    if (::lstat(P.c_str(), &St) != 0) continue;
    if (S_ISDIR(St.st_mode)) Snapshot(P += '/', Out);
    Out[P] = St.st_ino;
  }
  if (D) ::closedir(D);
}
inline std::map<std::string, ino_t> Snapshot(const std::string& Dir) {
  std::map<std::string, ino_t> Out;
  Snapshot(Dir, Out);
  return Out;
}

class FolderTreeTest : public TControlTest<TFolderTree> {
protected:
  TScratchFolder S{"foldertree", MemoryScratchBase()};
  std::string Root;  // ends in '/'
  std::vector<std::string> Log;

  void SetUp() override {
    TControlTest::SetUp();
    Root = S / "Samples/";
    MakeDir(Root);
    Ctl->SetBounds(10, 10, 220, 260);
    Ctl->SetHideSelection(false);
    Form->Show();
  }
  // Roots the tree at Samples, once the test has made its folders, each one given.
  void Start(const std::vector<std::string>& Folders = {}) {
    for (const std::string& F : Folders) MakeDir(Root + F);
    Ctl->SetRootDir(Root);
  }
  TTreeNode* RootNode() { return Ctl->GetItems()->GetFirstNode(); }
  // The texts of a node's children after it expanded.
  static std::vector<std::string> Children(TTreeNode* N) {
    N->Expand(false);
    std::vector<std::string> Out;
    for (TTreeNode* C = N->GetFirstChild(); C; C = C->GetNextSibling()) Out.push_back(C->GetText());
    return Out;
  }
  static TTreeNode* Child(TTreeNode* N, const std::string& Text) {
    N->Expand(false);
    TTreeNode* C = N->GetFirstChild();
    while (C && C->GetText() != Text) C = C->GetNextSibling();
    return C;
  }
};

}  // namespace kvl
