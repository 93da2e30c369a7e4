// TFolderTree: creating and removing folders. Both work on opened folders whose physical place
// lies at or below the root's, so a link or a folder swapped behind the tree's back cannot
// send them elsewhere.
#include <limits.h>
#include <stdlib.h>

#include <memory>

#include "kvl/foldertree/foldertree.h"

namespace kvl {

std::string TFolderTree::PhysicalRoot() const {
  std::unique_ptr<char, decltype(&std::free)> Real(::realpath(FRootDir.c_str(), nullptr),
                                                   &std::free);
  return Real ? NormalizePath(Real.get()) : std::string();
}

bool TFolderTree::InsideRoot(int Dir) const {
  const std::string Place = FolderPhysicalPath(Dir), Root = PhysicalRoot();
  return !Place.empty() && !Root.empty() && IsPathWithin(Place, Root);
}

bool TFolderTree::MakeSubFolder(const std::string& FolderName) {
  const TTreeNode* Sel = GetSelected();
  if (!Sel) return false;
  const std::string Base = NodePath(Sel);
  std::vector<std::string> Parts;
  if (!SplitNewFolderName(Base, FolderName, Parts)) return false;
  const TFileHandle Dir = OpenFolder(Base);
  if (!Dir.Valid() || !InsideRoot(Dir.Get()) || !CreateFolderChain(Dir.Get(), Parts)) return false;
  std::string Made = Base;
  for (const std::string& P : Parts) Made += P + "/";
  return SelectPath(Made);
}

bool TFolderTree::RemoveSelectedFolder() {
  const TTreeNode* Sel = GetSelected();
  if (!Sel || !Sel->GetParent()) return false;
  const TFolderNode* I = Info(Sel);
  if (!I || I->IsLink) return false;
  const std::string ParentPath = NodePath(Sel->GetParent());
  const TFileHandle Parent = OpenFolder(ParentPath);
  if (!Parent.Valid() || !InsideRoot(Parent.Get()) ||
      !RemoveEmptyFolder(Parent.Get(), I->Name, I->Dev, I->Ino))
    return false;
  SelectPath(ParentPath);
  return true;
}

}  // namespace kvl
