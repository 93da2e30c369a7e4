// The folder half of the thumbnails page: a folder tree rooted at a scratch folder the
// gallery makes (mixed-case names, case-only siblings, a hidden folder, a link, an unreadable
// folder and a folder of 300 subfolders), with buttons that create and remove folders in it.
// "Home" shows the whole file system at the user's home; there the two buttons that change
// folders are disabled, because a showcase must not change a user's folders.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "kvl/foldertree/foldertree.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/testing/scratch_folder.h"
#include "pages.h"

namespace kvl::gallery {

namespace {

// Made once per run and removed when the gallery exits (permissions first, links removed,
// never followed). The tree's root is "Samples" inside it, so no random name shows.
const std::string& SamplesFolder() {
  static const std::unique_ptr<TScratchFolder> Scratch = [] {
    auto S = std::make_unique<TScratchFolder>("kvl-gallery");
    const std::string R = *S / "Samples/";
    for (const char* D : {"", "Documents", "Documents/Letters", "Documents/Reports", "Music",
                          "Music/Albums", "photos", "Photos", "Photos/2023", "Photos/2024",
                          ".config", ".config/app", "Projects", "Projects/kvl", "Locked", "Many"})
      ::mkdir((R + D).c_str(), 0755);
    for (int I = 1; I <= 300; ++I) {
      char Name[32];
      std::snprintf(Name, sizeof Name, "Many/Item %03d", I);
      ::mkdir((R + Name).c_str(), 0755);
    }
    [[maybe_unused]] const int Linked =
        ::symlink((R + "Music").c_str(), (R + "Shortcut to Music").c_str());
    ::chmod((R + "Locked").c_str(), 0);
    return S;
  }();
  static const std::string Samples = *Scratch / "Samples/";
  return Samples;
}

template <class T>
T* Put(TWinControl& Host, int X, int Y, int W, int H) {
  auto* C = new T(&Host);
  C->SetParent(&Host);
  C->SetBounds(X, Y, W, H);
  return C;
}

}  // namespace

void BuildFolderPane(TWinControl& Host, int Left, int Top) {
  auto* Tree = Put<TFolderTree>(Host, Left, Top, 262, 300);
  Tree->SetHideSelection(false);
  auto* Name = Put<TEdit>(Host, Left, Top + 308, 160, 21);
  Name->SetText("New Folder");
  auto* Make = Put<TButton>(Host, Left + 166, Top + 307, 96, 23);
  Make->SetCaption("New folder");
  auto* Remove = Put<TButton>(Host, Left, Top + 336, 110, 23);
  Remove->SetCaption("Remove folder");
  auto* Home = Put<TButton>(Host, Left + 116, Top + 336, 70, 23);
  Home->SetCaption("Home");
  auto* Old = Put<TCheckBox>(Host, Left, Top + 366, 150, 17);
  Old->SetCaption("Old tree style");
  Old->SetChecked(true);
  auto* Dir = Put<TLabel>(Host, Left, Top + 390, 262, 17);
  auto* Result = Put<TLabel>(Host, Left, Top + 410, 262, 17);

  // The scratch folder's random name stays out of the picture.
  const auto ShowDir = [Tree, Dir](TObject*) {
    const std::string& D = Tree->GetDirectory();
    const std::string Scratch = ParentDir(SamplesFolder());
    Dir->SetCaption(D.starts_with(Scratch) ? "\u2026/" + D.substr(Scratch.size()) : D);
  };
  Tree->OnDirChanged = ShowDir;
  const auto Report = [Result, ShowDir](const char* What, bool Ok) {
    Result->SetCaption(std::string(What) + (Ok ? ": done" : ": refused"));
    ShowDir(nullptr);
  };
  Make->OnClick = [Tree, Name, Report](TObject*) {
    Report("New folder", Tree->MakeSubFolder(Name->GetText()));
  };
  Remove->OnClick = [Tree, Report](TObject*) {
    Report("Remove folder", Tree->RemoveSelectedFolder());
  };
  Old->OnClick = [Tree, Old](TObject*) { Tree->SetOldTreeStyle(Old->GetChecked()); };
  const auto ShowSamples = [Tree, Make, Remove, Home] {
    Tree->SetRootDir(SamplesFolder());
    Tree->SelectPath(SamplesFolder() + "Photos");
    Make->SetEnabled(true);
    Remove->SetEnabled(true);
    Home->SetCaption("Home");
  };
  Home->OnClick = [Tree, Make, Remove, Home, ShowSamples](TObject*) {
    if (Home->GetCaption() == "Samples") return ShowSamples();
    Tree->SetRootDir("/");
    Tree->SelectPath(HomeDir());
    Make->SetEnabled(false);
    Remove->SetEnabled(false);
    Home->SetCaption("Samples");
  };
  ShowSamples();
  ShowDir(nullptr);
}

}  // namespace kvl::gallery
