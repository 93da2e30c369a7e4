// A tree view that creates children only when a node expands. Every folder gets a placeholder
// child so that it shows a button; expanding it replaces the placeholder with the real
// children (here: made up, five per level, three levels deep). With --png FILE it expands the
// first folder, paints once and writes the picture.
#include <cstdio>
#include <string>

#include "kvl/platform/application.h"
#include "kvl/platform/treeview.h"

int main(int argc, char** argv) {
  using namespace kvl;
  auto* Form = new TForm(Application);
  Form->SetCaption("Lazy tree");
  Form->SetBounds(100, 100, 320, 400);
  auto* Tree = new TTreeView(Form);
  Tree->SetParent(Form);
  Tree->SetAlign(alClient);
  constexpr const char* Placeholder = "...";
  const auto AddFolder = [Tree](TTreeNode* Parent, const std::string& Name) {
    TTreeNode* N = Tree->GetItems()->AddChild(Parent, Name);
    if (N->GetLevel() < 3) Tree->GetItems()->AddChild(N, Placeholder);
    return N;
  };
  Tree->OnExpanding = [&](TObject*, TTreeNode* Node, bool& AllowExpansion) {
    // Already loaded: the first child is a real one.
    if (Node->GetCount() != 1 || Node->GetFirstChild()->GetText() != Placeholder) return;
    Tree->GetItems()->BeginUpdate();
    Node->DeleteChildren();
    for (int I = 1; I <= 5; ++I) AddFolder(Node, Node->GetText() + "." + std::to_string(I));
    Tree->GetItems()->EndUpdate();
    AllowExpansion = true;
  };
  Tree->OnChange = [Form](TObject*, TTreeNode* Node) {
    Form->SetCaption(Node ? "Lazy tree - " + Node->GetText() : "Lazy tree");
  };
  for (int I = 1; I <= 3; ++I) AddFolder(nullptr, "Folder " + std::to_string(I));
  Form->Show();
  if (argc == 3 && std::string(argv[1]) == "--png") {
    Tree->GetItems()->GetFirstNode()->Expand(false);
    Application->ProcessMessages();
    Form->GetBackBuffer().SaveToPngFile(argv[2]);
    std::printf("wrote %s\n", argv[2]);
    return 0;
  }
  Application->SetMainForm(Form);
  Application->Run();
  return 0;
}
