// TTreeNode and TTreeNodes: the hierarchy, the per-node row counts and their running sums.
#include <algorithm>

#include "kvl/platform/treeview.h"

namespace kvl {

// --- Row sums -------------------------------------------------------------------------------

void TTreeNode::AddChildRows(int ChildIndex, int Delta) {
  FChildRows += Delta;
  if (FSumsStale) return;
  const int N = int(FChildren.size());
  for (int K = ChildIndex + 1; K <= N; K += K & -K) FSums[std::size_t(K - 1)] += Delta;
}

int TTreeNode::ChildRowsBefore(int ChildIndex) const {
  if (FSumsStale) {
    const int N = int(FChildren.size());
    FSums.assign(std::size_t(N), 0);
    for (int I = 0; I < N; ++I) {
      FSums[std::size_t(I)] += FChildren[std::size_t(I)]->Rows();
      const int J = I + ((I + 1) & -(I + 1));
      if (J < N) FSums[std::size_t(J)] += FSums[std::size_t(I)];
    }
    FSumsStale = false;
  }
  int S = 0;
  for (int K = ChildIndex; K > 0; K -= K & -K) S += FSums[std::size_t(K - 1)];
  return S;
}

int TTreeNode::FindChildByRow(int& Row) const {
  ChildRowsBefore(0);  // brings the sums up to date
  const int N = int(FChildren.size());
  int Pos = 0, Step = 1;
  while (Step * 2 <= N) Step *= 2;
  for (; Step > 0; Step /= 2) {
    if (Pos + Step <= N && FSums[std::size_t(Pos + Step - 1)] <= Row) {
      Pos += Step;
      Row -= FSums[std::size_t(Pos - 1)];
    }
  }
  return std::min(Pos, N - 1);
}

void TTreeNode::Reindex(int From) {
  for (int I = From; I < int(FChildren.size()); ++I) FChildren[std::size_t(I)]->FIndex = I;
}

// --- TTreeNode ------------------------------------------------------------------------------

TTreeNode* TTreeNode::GetParent() const {
  return FParent && FParent != FOwner->FRoot ? FParent : nullptr;
}

TCustomTreeView* TTreeNode::GetTreeView() const { return FOwner->FView; }

int TTreeNode::GetLevel() const {
  int L = 0;
  for (const TTreeNode* P = GetParent(); P; P = P->GetParent()) ++L;
  return L;
}

TTreeNode* TTreeNode::GetItem(int Index) const {
  return Index >= 0 && Index < GetCount() ? FChildren[std::size_t(Index)] : nullptr;
}

void TTreeNode::SetText(const std::string& Value) {
  FText = Value;
  FTextWidth = -1;
  FOwner->FView->Invalidate();
}

void TTreeNode::SetHasChildren(bool Value) {
  FHasChildren = Value;
  FOwner->FView->Invalidate();
}

void TTreeNode::SetExpanded(bool Value) {
  if (Value)
    Expand(false);
  else
    Collapse(false);
}

void TTreeNode::Expand(bool Recurse) { FOwner->FView->DoExpand(this, Recurse); }
void TTreeNode::Collapse(bool Recurse) { FOwner->FView->DoCollapse(this, Recurse); }

bool TTreeNode::GetSelected() const { return FOwner->FView->FSelected == this; }

void TTreeNode::SetSelected(bool Value) {
  TCustomTreeView* V = FOwner->FView;
  if (Value)
    V->Select(this);
  else if (V->FSelected == this)
    V->Select(nullptr);
}

bool TTreeNode::IsVisible() const {
  for (const TTreeNode* P = GetParent(); P; P = P->GetParent())
    if (!P->FExpanded) return false;
  return true;
}

TTreeNode* TTreeNode::GetNextSibling() const {
  return FIndex + 1 < int(FParent->FChildren.size()) ? FParent->FChildren[std::size_t(FIndex + 1)]
                                                     : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
  return FIndex > 0 ? FParent->FChildren[std::size_t(FIndex - 1)] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
  if (!FChildren.empty()) return FChildren.front();
  for (const TTreeNode* N = this; N && N != FOwner->FRoot; N = N->FParent)
    if (TTreeNode* S = N->GetNextSibling()) return S;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
  TTreeNode* N = GetPrevSibling();
  if (!N) return GetParent();
  while (!N->FChildren.empty()) N = N->FChildren.back();
  return N;
}

TTreeNode* TTreeNode::GetNextVisible() const {
  if (FExpanded && !FChildren.empty()) return FChildren.front();
  for (const TTreeNode* N = this; N && N != FOwner->FRoot; N = N->FParent)
    if (TTreeNode* S = N->GetNextSibling()) return S;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrevVisible() const {
  TTreeNode* N = GetPrevSibling();
  if (!N) return GetParent();
  while (N->FExpanded && !N->FChildren.empty()) N = N->FChildren.back();
  return N;
}

void TTreeNode::DeleteChildren() {
  TNodeWatch W(*FOwner, this);
  while (W.Get() && !FChildren.empty()) FOwner->Delete(FChildren.back());
}

void TTreeNode::Delete() { FOwner->Delete(this); }

void TTreeNode::MakeVisible() {
  TCustomTreeView* V = FOwner->FView;
  TNodeWatch W(*FOwner, this);
  std::vector<TTreeNode*> Chain;
  for (TTreeNode* P = GetParent(); P; P = P->GetParent()) Chain.push_back(P);
  for (auto It = Chain.rbegin(); It != Chain.rend() && W.Get(); ++It) {
    TNodeWatch A(*FOwner, *It);
    if (!(*It)->FExpanded) V->DoExpand(*It, false);
    if (!A.Get()) return;
  }
  if (W.Get()) V->ScrollIntoView(this);
}

TRect TTreeNode::DisplayRect(bool TextOnly) const {
  const TCustomTreeView* V = FOwner->FView;
  if (!IsVisible()) return {};
  const int H = V->RowHeight();
  const int Y = (V->RowOfNode(this) - V->GetTopRow()) * H;
  if (!TextOnly) return Rect(0, Y, V->GetClientWidth(), Y + H);
  const int L = V->NodeLeft(this);
  return Rect(L - 2, Y, L + V->TextWidthOf(const_cast<TTreeNode*>(this)) + 2, Y + H);
}

void TTreeNode::SortChildren(const TCompare& Compare, bool Recurse) {
  std::stable_sort(FChildren.begin(), FChildren.end(),
                   [&](TTreeNode* A, TTreeNode* B) { return Compare(A, B) < 0; });
  Reindex(0);
  FSumsStale = true;
  if (Recurse)
    for (TTreeNode* C : FChildren) C->SortChildren(Compare, true);
}

void TTreeNode::CustomSort(const TCompare& Compare, bool Recurse) {
  SortChildren(Compare, Recurse);
  FOwner->FView->StructureChanged();
}

void TTreeNode::AlphaSort(bool Recurse) {
  TCustomTreeView* V = FOwner->FView;
  CustomSort([V](TTreeNode* A, TTreeNode* B) { return V->CompareNodes(A, B); }, Recurse);
}

// --- TNodeWatch -----------------------------------------------------------------------------

TNodeWatch::TNodeWatch(TTreeNodes& Nodes, TTreeNode* Node) : FNodes(Nodes), FNode(Node) {
  FNodes.FWatches.push_back(&FNode);
}

TNodeWatch::~TNodeWatch() { std::erase(FNodes.FWatches, &FNode); }

// --- TTreeNodes -----------------------------------------------------------------------------

TTreeNodes::TTreeNodes(TCustomTreeView* Owner) : FView(Owner), FRoot(new TTreeNode(this)) {
  FRoot->FExpanded = true;
}

TTreeNodes::~TTreeNodes() {
  // The view is going: no events, just the memory.
  std::vector<TTreeNode*> Pending{FRoot};
  while (!Pending.empty()) {
    TTreeNode* N = Pending.back();
    Pending.pop_back();
    Pending.insert(Pending.end(), N->FChildren.begin(), N->FChildren.end());
    delete N;
  }
}

void TTreeNodes::RowsChanged(TTreeNode* Child, int Delta) {
  if (Delta == 0) return;
  int Index = Child->FIndex;
  for (TTreeNode* P = Child->FParent; P; P = P->FParent) {
    P->AddChildRows(Index, Delta);
    if (P != FRoot && !P->FExpanded) break;
    Index = P->FIndex;
  }
}

TTreeNode* TTreeNodes::InsertNode(TTreeNode* Parent, int Index, const std::string& S, void* Data) {
  if (FView->FInDeletion) return nullptr;
  auto* N = new TTreeNode(this);
  N->FText = S;
  N->FData = Data;
  N->FParent = Parent;
  auto& Kids = Parent->FChildren;
  if (FView->FSortType == stText) {
    // After the equal ones, so that adds keep their order among equals.
    Index = int(std::upper_bound(Kids.begin(), Kids.end(), N,
                                 [&](TTreeNode* A, TTreeNode* B) {
                                   return FView->CompareNodes(A, B) < 0;
                                 }) -
                Kids.begin());
  }
  Index = std::clamp(Index, 0, int(Kids.size()));
  if (Index == int(Kids.size()) && !Parent->FSumsStale) {
    // Appending keeps the running sums: the new entry covers a range ending at itself.
    const int K = Index + 1;
    const int Lo = K - (K & -K);
    const int Covered = Parent->ChildRowsBefore(Index) - Parent->ChildRowsBefore(Lo);
    Kids.push_back(N);
    Parent->FSums.push_back(Covered);
    N->FIndex = Index;
  } else {
    Kids.insert(Kids.begin() + Index, N);
    Parent->Reindex(Index);
    Parent->FSumsStale = true;
  }
  ++FCount;
  RowsChanged(N, 1);
  FView->Added(N);
  FView->StructureChanged();
  return N;
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const std::string& S, void* Data) {
  TTreeNode* P = Sibling ? Sibling->FParent : FRoot;
  return InsertNode(P, int(P->FChildren.size()), S, Data);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const std::string& S) {
  return InsertNode(Sibling ? Sibling->FParent : FRoot, 0, S, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const std::string& S, void* Data) {
  TTreeNode* P = Parent ? Parent : FRoot;
  return InsertNode(P, int(P->FChildren.size()), S, Data);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const std::string& S) {
  return InsertNode(Parent ? Parent : FRoot, 0, S, nullptr);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const std::string& S) {
  if (!Sibling) return Add(nullptr, S);
  return InsertNode(Sibling->FParent, Sibling->FIndex, S, nullptr);
}

void TTreeNodes::FreeSubtree(TTreeNode* Node) {
  std::vector<TTreeNode*> Pending{Node};
  while (!Pending.empty()) {
    TTreeNode* N = Pending.back();
    Pending.pop_back();
    Pending.insert(Pending.end(), N->FChildren.begin(), N->FChildren.end());
    for (TTreeNode** W : FWatches)
      if (*W == N) *W = nullptr;
    --FCount;
    delete N;
  }
}

void TTreeNodes::Delete(TTreeNode* Node) {
  if (!Node || Node == FRoot || FView->FInDeletion) return;
  FView->NodeDeleting(Node);
  TTreeNode* P = Node->FParent;
  const int Rows = Node->Rows(), Index = Node->FIndex;
  auto& Kids = P->FChildren;
  Kids.erase(Kids.begin() + Index);
  if (Index == int(Kids.size()) && !P->FSumsStale) {
    P->FSums.pop_back();
  } else {
    P->Reindex(Index);
    P->FSumsStale = true;
  }
  P->FChildRows -= Rows;
  if (P == FRoot || P->FExpanded) RowsChanged(P, -Rows);
  if (P != FRoot && Kids.empty()) P->FExpanded = false;
  FreeSubtree(Node);
  FView->StructureChanged();
}

void TTreeNodes::Clear() {
  BeginUpdate();
  while (!FRoot->FChildren.empty() && !FView->FInDeletion) Delete(FRoot->FChildren.back());
  EndUpdate();
}

void TTreeNodes::BeginUpdate() { ++FUpdateCount; }

void TTreeNodes::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) FView->StructureChanged();
}

}  // namespace kvl
