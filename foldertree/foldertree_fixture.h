// A folder tree on a form, rooted at the folder "Samples" inside a fresh scratch folder, with
// small helpers to build and inspect real folders.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "kvl/foldertree/foldertree.h"
#include "kvl/testing/control_fixture.h"
#include "kvl/testing/scratch_folder.h"

namespace kvl {

inline void MakeDir(const std::string& P) { ASSERT_EQ(::mkdir(P.c_str(), 0777), 0) << P; }
inline void MakeFile(const std::string& P) { std::ofstream(P) << "x"; }
inline void MakeLink(const std::string& Target, const std::string& P) {
  ASSERT_EQ(::symlink(Target.c_str(), P.c_str()), 0) << P;
}
inline bool Exists(const std::string& P) {
  struct stat St;
  return ::lstat(P.c_str(), &St) == 0;
}
inline bool IsLinkAt(const std::string& P) {
  struct stat St;
  return ::lstat(P.c_str(), &St) == 0 && S_ISLNK(St.st_mode);
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
  // Roots the tree at Samples once its folders are made.
  void Start() {
    Ctl->SetRootDir(Root);
    ASSERT_EQ(Ctl->GetRootDir(), NormalizePath(Root));
  }
  void LogEvents() {
    Ctl->OnClick = [this](TObject*) { Log.push_back("click " + Ctl->GetDirectory()); };
    Ctl->OnChange = [this](TObject*, TTreeNode* N) {
      Log.push_back("change " + (N ? N->GetText() : std::string("-")) + " " + Ctl->GetDirectory());
    };
    Ctl->OnDirChanged = [this](TObject*) { Log.push_back("dir " + Ctl->GetDirectory()); };
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
    for (TTreeNode* C = N->GetFirstChild(); C; C = C->GetNextSibling())
      if (C->GetText() == Text) return C;
    return nullptr;
  }
};

}  // namespace kvl
