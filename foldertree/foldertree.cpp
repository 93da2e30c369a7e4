// TFolderTree: properties, building the tree, lazy loading of subfolders, selection and the
// selection-change events.
#include "kvl/foldertree/foldertree.h"

#include <sys/stat.h>

#include "kvl/core/stringl.h"
#include "kvl/platform/forms.h"

namespace kvl {

namespace {

constexpr const char* Placeholder = "Child";

// Names show with invalid UTF-8 and control characters replaced by U+FFFD.
std::string ShownName(std::string_view Raw) {
  bool Plain = true;
  for (const char C : Raw) Plain = Plain && C >= 32 && C < 127;
  if (Plain) return std::string(Raw);
  std::string Out;
  for (std::size_t I = 0; I < Raw.size();) {
    int Len = 0;
    const char32_t C = Utf8Decode(Raw, I, &Len);
    if (Len <= 0) Len = 1;
    if (C < 32 || (C >= 127 && C < 0xA0) || C == 0xFFFD)
      Out += "\xEF\xBF\xBD";
    else
      Out.append(Raw.substr(I, std::size_t(Len)));
    I += std::size_t(Len);
  }
  return Out;
}

// The components of an absolute, normalised folder path.
std::vector<std::string> Split(std::string_view Path) {
  std::vector<std::string> Out;
  std::size_t I = 0;
  while (I < Path.size()) {
    const std::size_t J = std::min(Path.find('/', I), Path.size());
    if (J > I) Out.emplace_back(Path.substr(I, J - I));
    I = J + 1;
  }
  return Out;
}

class TUpdateScope {
public:
  explicit TUpdateScope(TTreeNodes& N) : FNodes(N) { FNodes.BeginUpdate(); }
  ~TUpdateScope() { FNodes.EndUpdate(); }
  TUpdateScope(const TUpdateScope&) = delete;
  TUpdateScope& operator=(const TUpdateScope&) = delete;

private:
  TTreeNodes& FNodes;
};

}  // namespace

TFolderTree::TFolderTree(TComponent* AOwner) : TCustomTreeView(AOwner) {
  SetReadOnly(true);
  SetLook(tvlClassic);
}

TFolderTree::~TFolderTree() = default;

TObject* TFolderTree::HasSubfoldersMark() {
  static TObject Mark;
  return &Mark;
}

// --- Properties -----------------------------------------------------------------------------

void TFolderTree::SetRootDir(const std::string& Value) {
  const std::string Root = NormalizePath(Value);
  if (Root.empty() || !DirExists(Root)) return;
  FRootDir = Root;
  Reset();
}

void TFolderTree::SetOldTreeStyle(bool Value) {
  if (Value == FUseOldStyle) return;
  FUseOldStyle = Value;
  SetLook(Value ? tvlClassic : tvlModern);
}

void TFolderTree::SetColor(TColor Value) {
  FColorBak = Value;
  TControl::SetColor(Value);
}

void TFolderTree::SetEnabled(bool Value) {
  TControl::SetColor(Value ? FColorBak : clBtnFace);
  TCustomTreeView::SetEnabled(Value);
}

void TFolderTree::Loaded() {
  TCustomTreeView::Loaded();
  if (GetColor() == clBlack) TControl::SetColor(clWhite);
  FColorBak = GetColor();
  FullCollapse();
}

void TFolderTree::CreateWnd() {
  TCustomTreeView::CreateWnd();
  SetLook(FUseOldStyle ? tvlClassic : tvlModern);
  Reset();
}

// --- Nodes and paths ------------------------------------------------------------------------

TFolderTree::TFolderNode* TFolderTree::Info(const TTreeNode* Node) const {
  auto* I = Node ? static_cast<TFolderNode*>(Node->GetData()) : nullptr;
  return I && I->Tree == this ? I : nullptr;
}

std::string TFolderTree::NodePath(const TTreeNode* Node) const {
  if (!Node) return {};
  std::vector<const TTreeNode*> Chain;
  for (const TTreeNode* N = Node; N->GetParent(); N = N->GetParent()) Chain.push_back(N);
  std::string Path = FRootDir;
  for (auto It = Chain.rbegin(); It != Chain.rend(); ++It) {
    const TFolderNode* I = Info(*It);
    Path += I ? I->Name : (*It)->GetText();
    Path += '/';
  }
  return Path;
}

void TFolderTree::BuildTree() {
  TTreeNodes& Items = *GetItems();
  TUpdateScope Update(Items);
  Items.Clear();
  FNodes.clear();
  TFolderNode& Root = FNodes.emplace_back();
  Root.Tree = this;
  struct stat St;
  if (::stat(FRootDir.c_str(), &St) == 0) {
    Root.Dev = Root.FolderDev = St.st_dev;
    Root.Ino = Root.FolderIno = St.st_ino;
  }
  const std::vector<std::string> Parts = Split(FRootDir);
  TTreeNode* R =
      Items.AddChildObject(nullptr, Parts.empty() ? "/" : ShownName(Parts.back()), &Root);
  Items.AddChild(R, Placeholder);
}

// --- Listing --------------------------------------------------------------------------------

std::vector<TFolderEntry> TFolderTree::ListFolder(const std::string&, int Dir) {
  return ListSubfolders(Dir);
}

void TFolderTree::ListSorted(const std::string& Path, std::vector<TListed>& Listed) {
  Listed.clear();
  const TFileHandle Dir = OpenFolder(Path);
  if (!Dir.Valid()) return;
  std::vector<TFolderEntry> Entries = ListFolder(Path, Dir.Get());
  SortFolderEntries(Entries);
  Listed.reserve(Entries.size());
  for (TFolderEntry& E : Entries) {
    TListed& L = Listed.emplace_back();
    L.HasSubfolders = HasSubfolders(Dir.Get(), E.Name);
    L.FolderDev = E.Dev;
    L.FolderIno = E.Ino;
    struct stat Target;
    if (E.IsLink && ::fstatat(Dir.Get(), E.Name.c_str(), &Target, 0) == 0) {
      L.FolderDev = Target.st_dev;
      L.FolderIno = Target.st_ino;
    }
    L.Entry = std::move(E);
  }
}

void TFolderTree::LoadDirNamesAndSort(const std::string& Path, std::vector<TListed>& Listed) {
  ListSorted(Path, Listed);
  FDirNames.BeginUpdate();
  FDirNames.Clear();
  for (const TListed& L : Listed)
    FDirNames.AddObject(L.Entry.Name, L.HasSubfolders ? HasSubfoldersMark() : nullptr);
  FDirNames.EndUpdate();
}

void TFolderTree::ProcessExpanding(TTreeNode* Node) {
  if (IsDesigning() || !Node) return;
  TFolderNode* Parent = Info(Node);
  if (Parent && Parent->Loaded) return;
  const TCursorScope Busy(crHourGlass);
  std::vector<TListed> Listed;
  if (Parent && Parent->LeadsToAncestor)
    FDirNames.Clear();
  else
    LoadDirNamesAndSort(NodePath(Node), Listed);
  TTreeNodes& Items = *GetItems();
  const TUpdateScope Update(Items);
  TNodeWatch Watch(Items, Node);
  Node->DeleteChildren();
  if (!Watch.Get() || Listed.empty()) return;
  if (Parent) Parent->Loaded = true;
  for (TListed& L : Listed) {
    TFolderNode& I = FNodes.emplace_back();
    I.Tree = this;
    I.Dev = L.Entry.Dev;
    I.Ino = L.Entry.Ino;
    I.FolderDev = L.FolderDev;
    I.FolderIno = L.FolderIno;
    I.IsLink = L.Entry.IsLink;
    if (I.IsLink) {
      // A link back to a folder above it would make the tree endless.
      for (const TTreeNode* A = Node; A && !I.LeadsToAncestor; A = A->GetParent()) {
        const TFolderNode* AI = Info(A);
        I.LeadsToAncestor = AI && AI->FolderDev == I.FolderDev && AI->FolderIno == I.FolderIno;
      }
    }
    const std::string Text = ShownName(L.Entry.Name);
    I.Name = std::move(L.Entry.Name);
    TTreeNode* Child = Items.AddChildObject(Node, Text, &I);
    if (L.HasSubfolders && !I.LeadsToAncestor) Items.AddChild(Child, Placeholder);
  }
}

bool TFolderTree::CanExpand(TTreeNode* Node) {
  ProcessExpanding(Node);
  return TCustomTreeView::CanExpand(Node);
}

bool TFolderTree::GetSubDirs(const std::string& Path, TStringList& DirList) {
  const std::string P = NormalizePath(Path);
  if (P.empty() || !DirExists(P)) return false;
  std::vector<TListed> Listed;
  ListSorted(P, Listed);
  DirList.BeginUpdate();
  for (const TListed& L : Listed)
    DirList.AddObject(L.Entry.Name, L.HasSubfolders ? HasSubfoldersMark() : nullptr);
  DirList.EndUpdate();
  return DirList.GetCount() > 0;
}

bool TFolderTree::GetSubDirs(TTreeNode* Node, TStringList& DirList) {
  return Node && GetSubDirs(NodePath(Node), DirList);
}

// --- Selection ------------------------------------------------------------------------------

void TFolderTree::DirChanged(const std::string& Old) {
  if (!FQuietDirChange && FDirectory != Old && OnDirChanged) OnDirChanged(this);
}

void TFolderTree::Change(TTreeNode* Node) {
  ++FChanges;
  const std::string Old = FDirectory;
  TCustomTreeView::Click();
  if (Node) FDirectory = NodePath(Node);
  TCustomTreeView::Change(Node);
  DirChanged(Old);
}

void TFolderTree::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  // A press that changes the selection has clicked already; its release clicks no more.
  const unsigned Before = FChanges;
  FSkipReleaseClick = false;
  TCustomTreeView::MouseDown(Button, Shift, X, Y);
  FSkipReleaseClick = Button == mbLeft && FChanges != Before;
}

void TFolderTree::Click() {
  if (FSkipReleaseClick) {
    FSkipReleaseClick = false;
    return;
  }
  TCustomTreeView::Click();
}

void TFolderTree::Reset() {
  const std::string Old = FDirectory;
  FDirectory = FRootDir;
  BuildTree();
  FullCollapse();
  DirChanged(Old);
}

bool TFolderTree::SelectPath(const std::string& Path) {
  const std::string Target = NormalizePath(Path);
  if (Target.empty() || !DirExists(Target) || !IsPathWithin(Target, FRootDir)) return false;
  const std::vector<std::string> Parts = Split(std::string_view(Target).substr(FRootDir.size()));
  for (const std::string& P : Parts)
    if (P.front() == '.') return false;  // hidden folders have no node
  BuildTree();
  TTreeNode* N = GetItems()->GetFirstNode();
  bool All = N != nullptr;
  for (std::size_t K = 0; N && K <= Parts.size(); ++K) {
    TNodeWatch W(*GetItems(), N);
    N->Expand(false);
    if (!W.Get()) {
      N = nullptr;
      break;
    }
    if (K == Parts.size()) break;
    TTreeNode* Found = nullptr;
    for (TTreeNode* C = N->GetFirstChild(); C && !Found; C = C->GetNextSibling()) {
      const TFolderNode* I = Info(C);
      if (I && I->Name == Parts[K]) Found = C;
    }
    if (!Found) {
      All = false;  // it vanished after the check
      break;
    }
    N = Found;
  }
  if (!N) return false;
  SetSelected(N);
  if (GetSelected() != N) return false;
  SetFocus();
  return All;
}

bool TFolderTree::RefreshTree() {
  const std::string Start = FDirectory;
  bool Result = false;
  {
    FQuietDirChange = true;
    struct TLoud {
      bool& Quiet;
      ~TLoud() { Quiet = false; }
    } Loud{FQuietDirChange};
    // ParentDir shortens its argument, so the climb ends; the count guards it anyway.
    std::size_t Passes = Split(FDirectory).size() + 2;
    while (!FDirectory.empty() && Passes-- > 0) {
      Result = SelectPath(FDirectory);
      if (Result) break;
      const std::string Up = ParentDir(FDirectory);
      FDirectory = Up == FDirectory ? std::string() : Up;
    }
  }
  DirChanged(Start);
  return Result;
}

}  // namespace kvl
