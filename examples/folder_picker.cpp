// A folder picker: a folder tree that starts at the user's home, with "New folder", "Remove"
// and OK. OK prints the chosen folder; closing the window prints nothing.
//
//   folder_picker [--png FILE]     with --png: paints once, writes the picture, prints the folder
#include <cstdio>
#include <string>

#include "kvl/foldertree/foldertree.h"
#include "kvl/platform/application.h"
#include "kvl/platform/stdctrls.h"

using namespace kvl;

int main(int argc, char** argv) {
  const bool Png = argc == 3 && std::string(argv[1]) == "--png";
  if (argc != 1 && !Png) {
    std::fprintf(stderr, "usage: folder_picker [--png FILE]\n");
    return 2;
  }
  auto* Form = new TForm(Application);
  Form->SetCaption("Choose a folder");
  Form->SetBounds(100, 100, 340, 440);
  // The tree resets when it gets onto a form: put it there before selecting.
  auto* Tree = new TFolderTree(Form);
  Tree->SetParent(Form);
  Tree->SetBounds(8, 8, 316, 330);
  Tree->SetHideSelection(false);
  Tree->SelectPath(HomeDir());

  auto* Name = new TEdit(Form);
  Name->SetParent(Form);
  Name->SetBounds(8, 346, 200, 21);
  Name->SetText("New Folder");
  const auto Button = [Form](const char* Caption, int X, int Y) {
    auto* B = new TButton(Form);
    B->SetParent(Form);
    B->SetBounds(X, Y, 108, 23);
    B->SetCaption(Caption);
    return B;
  };
  Button("New folder", 216, 345)->OnClick = [Tree, Name](TObject*) {
    if (!Tree->MakeSubFolder(Name->GetText())) Application->GetHost().Beep();
  };
  Button("Remove", 8, 376)->OnClick = [Tree](TObject*) {
    if (!Tree->RemoveSelectedFolder()) Application->GetHost().Beep();
  };
  TButton* Ok = Button("OK", 216, 376);
  Ok->SetModalResult(mrOk);
  Ok->SetDefault(true);

  if (Png) {
    Form->Show();
    Application->ProcessMessages();
    Form->GetBackBuffer().SaveToPngFile(argv[2]);
    std::printf("%s\n", Tree->GetDirectory().c_str());
    return 0;
  }
  if (Form->ShowModal() == mrOk) std::printf("%s\n", Tree->GetDirectory().c_str());
  return 0;
}
