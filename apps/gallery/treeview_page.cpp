// The tree view page: two trees side by side, classic and modern, over a generated hierarchy
// of 100 000 nodes that are made only when their parent expands, as a folder tree loads.
#include <string>

#include "kvl/platform/stdctrls.h"
#include "kvl/platform/treeview.h"
#include "pages.h"

namespace kvl::gallery {

namespace {

constexpr const char* Placeholder = "...";

// Ten children per node, five levels: 10 + 100 + ... + 100 000 nodes in all.
void Fill(TTreeView& T, TTreeNode* Parent) {
  const int Level = Parent ? Parent->GetLevel() + 1 : 0;
  for (int I = 0; I < 10; ++I) {
    const std::string Name = (Parent ? Parent->GetText() + "." : std::string("Node ")) + std::to_string(I);
    TTreeNode* N = T.GetItems()->AddChild(Parent, Name);
    if (Level < 4) T.GetItems()->AddChild(N, Placeholder);
  }
}

std::string PathOf(TTreeNode* N) {
  std::string P;
  for (; N; N = N->GetParent()) P = "/" + N->GetText() + P;
  return P;
}

}  // namespace

void BuildTreeViewPage(TWinControl& Host) {
  auto* Path = new TLabel(&Host);
  Path->SetParent(&Host);
  Path->SetBounds(12, 330, 600, 20);
  Path->SetCaption("Select a node.");
  for (int K = 0; K < 2; ++K) {
    auto* T = new TTreeView(&Host);
    T->SetParent(&Host);
    T->SetBounds(12 + K * 310, 12, 300, 310);
    T->SetLook(K == 0 ? tvlClassic : tvlModern);
    T->SetHideSelection(false);
    T->OnExpanding = [T](TObject*, TTreeNode* N, bool&) {
      if (N->GetCount() != 1 || N->GetFirstChild()->GetText() != Placeholder) return;
      T->GetItems()->BeginUpdate();
      N->DeleteChildren();
      Fill(*T, N);
      T->GetItems()->EndUpdate();
    };
    T->OnChange = [Path](TObject*, TTreeNode* N) { Path->SetCaption(N ? PathOf(N) : ""); };
    Fill(*T, nullptr);
    T->GetItems()->GetFirstNode()->Expand(false);
  }
}

}  // namespace kvl::gallery
