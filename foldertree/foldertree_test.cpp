// Folder tree: what a listing shows, lazy loading, selecting paths, the selection events,
// refreshing, looks and states, and the pictures, on real scratch folders.
#include <fcntl.h>

#include <algorithm>
#include <climits>
#include <stdexcept>

#include "foldertree_fixture.h"
#include "kvl/platform/input.h"
#include "kvl/testing/without_root.h"

namespace kvl {
namespace {

using TNames = std::vector<std::string>;
const std::string Bad = "\xEF\xBF\xBD";  // U+FFFD

TEST_F(FolderTreeTest, ListingShowsVisibleFoldersInOrder) {
  MakeFile(Root + "file");
  ASSERT_EQ(::mkfifo((Root + "fifo").c_str(), 0600), 0);
  MakeLink(Root + "deep", Root + "tolink");
  MakeLink(Root + "missing", Root + "dangling");
  MakeLink(Root + "loop", Root + "loop");
  Start(
      {"Beta", "alpha", "Alpha", ".hidden", ".hidden/sub", "deep", "deep/sub", "dots", "dots/.x"});
  EXPECT_EQ(Children(RootNode()), (TNames{"Alpha", "alpha", "Beta", "deep", "dots", "tolink"}));
  // The placeholder only under folders with visible subfolders; DirNames marks them.
  for (TTreeNode* C = RootNode()->GetFirstChild(); C; C = C->GetNextSibling()) {
    const bool Subs = C->GetText() == "deep" || C->GetText() == "tolink";
    EXPECT_EQ(C->GetCount() ? C->GetFirstChild()->GetText() : "-", Subs ? "Child" : "-");
    EXPECT_EQ(Ctl->GetDirNames().GetObjects(C->GetIndex()),
              Subs ? TFolderTree::HasSubfoldersMark() : nullptr);
  }
  // GetSubDirs appends; a missing folder leaves the list alone; it may look outside the root.
  TStringList List, Empty;
  EXPECT_FALSE(Ctl->GetSubDirs(Root + "dots", Empty) || Ctl->GetSubDirs(Root + "file", List));
  EXPECT_TRUE(Ctl->GetSubDirs(Child(RootNode(), "tolink"), List) && Ctl->GetSubDirs("/", Empty));
  EXPECT_TRUE(Ctl->GetSubDirs(Root + "dots", List));  // empty, but the list held an entry
  EXPECT_EQ(List.GetCount() == 1 ? List[0] : "", "sub");
}

TEST_F(FolderTreeTest, OddNamesShowSanitisedAndAreAddressedExactly) {
  const std::string Long(255, 'L');
  Start({"x\xFE", "x\xFF", "a\nb", Long});
  EXPECT_EQ(Children(RootNode()), (TNames{"a" + Bad + "b", Long, "x" + Bad, "x" + Bad}));
  // Of two folders that show alike, the one selected by its raw name goes.
  for (const std::string& D : {std::string("x\xFF"), std::string("a\nb"), Long}) {
    ASSERT_TRUE(Ctl->SelectPath(Root + D)) << D;
    EXPECT_EQ(Ctl->GetDirectory(), Root + D + "/");
    EXPECT_TRUE(Ctl->RemoveSelectedFolder()) << D;
    EXPECT_FALSE(Exists(Root + D));
  }
  EXPECT_TRUE(Exists(Root + "x\xFE"));
}

TEST_F(FolderTreeTest, UnreadableVanishedAndLoopingFoldersExpandToNothing) {
  MakeDir(Root + "loop");
  MakeLink("..", Root + "loop/up");
  Start({"locked", "gone", "gone/sub"});
  ::chmod(S.Path().c_str(), 0755);
  ::chmod((Root + "locked").c_str(), 0);
  TTreeNode* Gone = Child(RootNode(), "gone");
  ::rmdir((Root + "gone/sub").c_str());
  ::rmdir((Root + "gone").c_str());
  EXPECT_TRUE(Children(Gone).empty());
  EXPECT_FALSE(Gone->GetExpanded());
  EXPECT_NE(RunWithoutRoot([&] {
              Ctl->SetRootDir(Root);
              TTreeNode* Locked = Child(RootNode(), "locked");
              return Locked && Locked->GetCount() == 0 && Children(Locked).empty();
            }),
            TWithoutRoot::Failed);
  // A link to its own parent shows, without children, and a full expansion ends.
  TTreeNode* Up = Child(Child(RootNode(), "loop"), "up");
  EXPECT_TRUE(Up && Up->GetCount() == 0 && Children(Up).empty());
  Ctl->FullExpand();
  EXPECT_EQ(Ctl->GetItems()->GetCount(), 5);
}

TEST_F(FolderTreeTest, LoadedFoldersStayWhileEmptyOnesAreRescanned) {
  Start({"deep", "deep/one", "empty"});
  TTreeNode *Deep = Child(RootNode(), "deep"), *Empty = Child(RootNode(), "empty");
  EXPECT_TRUE(Children(Deep) == TNames{"one"} && Children(Empty).empty());
  MakeDir(Root + "deep/two");
  MakeDir(Root + "empty/new");
  Deep->Collapse(false);
  EXPECT_EQ(Children(Deep), TNames{"one"});
  EXPECT_EQ(Children(Empty), TNames{"new"});
}

TEST_F(FolderTreeTest, LargeFolderIsListedInKeyOrder) {
  const TFileHandle Dir = OpenFolder(Root);
  for (int I = 0; I < 100000; ++I) {
    const std::string Name = (I % 3 ? "f" : "F") + std::to_string(I * 7919 % 100000);
    if (I % 10 == 0)
      ASSERT_EQ(::mkdirat(Dir.Get(), Name.c_str(), 0777), 0);
    else
      ::close(::openat(Dir.Get(), Name.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600));
  }
  Start();
  const TNames Kids = Children(RootNode());
  ASSERT_EQ(Kids.size(), 10000u);
  EXPECT_TRUE(std::is_sorted(Kids.begin(), Kids.end(), FolderNameLess));
}

TEST_F(FolderTreeTest, SelectPathSelectsWholePathsOnly) {
  MakeDir(S / "outside");
  MakeLink(Root + "target", Root + "link");
  Start({"Data", "data", "a", "a/b", "a/.dot", "target", "target/in"});
  ASSERT_TRUE(Ctl->SelectPath(Root + "data"));
  const int Nodes = Ctl->GetItems()->GetCount();
  int Changes = 0;
  Ctl->OnDirChanged = [&](TObject*) { ++Changes; };
  for (const std::string& P :
       {Root + "missing", Root + "DATA", Root + "a/./.dot", S / "outside", std::string("/"),
        std::string(), Root + std::string(PATH_MAX, 'p')}) {
    EXPECT_FALSE(Ctl->SelectPath(P)) << P;
    EXPECT_EQ(Ctl->GetDirectory(), Root + "data/");
    EXPECT_EQ(Ctl->GetItems()->GetCount(), Nodes) << P;
  }
  EXPECT_EQ(Changes, 0);
  ASSERT_EQ(::chdir(Root.c_str()), 0);
  const std::pair<std::string, std::string> Accepted[] = {
      {Root + "a/b/..", "a/"}, {Root + "a//b", "a/b/"},        {Root + "a/b/.", "a/b/"},
      {"a/b", "a/b/"},         {Root + "link/in", "link/in/"}, {Root + "Data", "Data/"}};
  for (const auto& [Path, Dir] : Accepted) {
    EXPECT_TRUE(Ctl->SelectPath(Path)) << Path;
    EXPECT_EQ(Ctl->GetDirectory(), NormalizePath(Root) + Dir) << Path;
    EXPECT_EQ(Ctl->NodePath(Ctl->GetSelected()), Ctl->GetDirectory());
  }
  EXPECT_EQ(Changes, 4);  // a, a/b, link/in, Data
  ASSERT_EQ(::chdir("/"), 0);
}

TEST_F(FolderTreeTest, FolderVanishingDuringSelectPathGivesFalse) {
  // Removes a/b just before its parent is listed, after SelectPath checked it.
  struct TVanishingTree : TFolderTree {
    using TFolderTree::TFolderTree;
    std::vector<TFolderEntry> ListFolder(const std::string& Path, int Dir) override {
      if (Path.ends_with("/a/")) ::rmdir((Path + "b").c_str());
      return TFolderTree::ListFolder(Path, Dir);
    }
  } T(nullptr);
  Start({"a", "a/b"});
  T.SetRootDir(Root);
  int Changes = 0;
  T.OnDirChanged = [&](TObject*) { ++Changes; };
  EXPECT_FALSE(T.SelectPath(Root + "a/b"));
  EXPECT_EQ(T.GetDirectory(), Root + "a/");
  EXPECT_EQ(T.NodePath(T.GetSelected()), Root + "a/");
  EXPECT_EQ(Changes, 1);
}

TEST_F(FolderTreeTest, SelectionEventsComeInOrderOncePerChange) {
  Start({"a", "b"});
  ASSERT_TRUE(Ctl->SelectPath(Root + "a"));
  Ctl->OnClick = [this](TObject*) { Log.push_back("click " + Ctl->GetDirectory()); };
  Ctl->OnChange = [this](TObject*, TTreeNode* N) { Log.push_back("change " + N->GetText()); };
  Ctl->OnDirChanged = [this](TObject*) { Log.push_back("dir " + Ctl->GetDirectory()); };
  D.Settle();
  const TRect R = Child(RootNode(), "b")->DisplayRect(true);
  D.Click(*Ctl, R.Left + 4, R.Top + 3);
  // OnClick still sees the old Directory.
  EXPECT_EQ(Log, (TNames{"click " + Root + "a/", "change b", "dir " + Root + "b/"}));
  D.AdvanceTime(2000);
  D.Click(*Ctl, R.Left + 4, R.Top + 3);  // changes nothing: one click, on release
  D.Press(*Form, vk::Up);
  EXPECT_EQ(
      Log, (TNames{"click " + Root + "a/", "change b", "dir " + Root + "b/", "click " + Root + "b/",
                   "click " + Root + "b/", "change a", "dir " + Root + "a/"}));
}

TEST_F(FolderTreeTest, RefreshClimbsToTheNearestExistingFolder) {
  Start({"a", "a/b", "a/b/c"});
  ASSERT_TRUE(Ctl->SelectPath(Root + "a/b/c"));
  Ctl->OnDirChanged = [this](TObject*) { Log.push_back(Ctl->GetDirectory()); };
  EXPECT_TRUE(Ctl->RefreshTree());
  ::rmdir((Root + "a/b/c").c_str());
  ::rmdir((Root + "a/b").c_str());
  EXPECT_TRUE(Ctl->RefreshTree());
  ASSERT_TRUE(RemoveTreeAt(OpenFolder(S.Path()).Get(), "Samples"));
  EXPECT_FALSE(Ctl->RefreshTree());  // the root itself went: the climb ends with nothing
  EXPECT_EQ(Log, (TNames{Root + "a/", ""}));
}

TEST_F(FolderTreeTest, LookColourAndLifecycle) {
  Start({"a"});
  EXPECT_TRUE(Ctl->GetOldTreeStyle() && Ctl->GetLook() == tvlClassic && Ctl->GetReadOnly());
  Ctl->SetOldTreeStyle(false);
  EXPECT_EQ(Ctl->GetLook(), tvlModern);
  Ctl->SetEnabled(false);
  EXPECT_EQ(PixelAt(150, 200), ColorToRGB(clBtnFace));
  Ctl->SetColor(clYellow);  // shows at once, also while disabled
  EXPECT_EQ(PixelAt(150, 200), clYellow);
  Ctl->SetEnabled(true);
  EXPECT_EQ(PixelAt(150, 200), clYellow);
  // Loading: black becomes the enabled colour white, and the tree collapses.
  ASSERT_TRUE(Ctl->SelectPath(Root + "a"));
  Ctl->BeginLoading();
  Ctl->SetColor(clBlack);
  Ctl->EndLoading();
  Ctl->SetEnabled(false);
  Ctl->SetEnabled(true);
  EXPECT_EQ(Ctl->GetColor(), clWhite);
  EXPECT_FALSE(RootNode()->GetExpanded());
  // A new window resets to the root, collapsed, with nothing selected.
  ASSERT_TRUE(Ctl->SelectPath(Root + "a"));
  TForm Other(nullptr);
  Ctl->SetParent(&Other);
  EXPECT_EQ(Ctl->GetDirectory(), Root);
  EXPECT_EQ(Ctl->GetSelected(), nullptr);
  Ctl->SetParent(Form);
}

TEST_F(FolderTreeTest, ExpansionShowsTheHourglassAndNothingWhileDesigning) {
  struct TThrowingTree : TFolderTree {
    using TFolderTree::TFolderTree;
    TCursor Seen = crDefault;
    std::vector<TFolderEntry> ListFolder(const std::string& P, int Dir) override {
      Seen = Screen->GetCursor();
      if (P.ends_with("/a/")) throw std::runtime_error("listing");
      return TFolderTree::ListFolder(P, Dir);
    }
  };
  Start({"a"});
  TThrowingTree T(nullptr);
  T.SetRootDir(Root);
  T.GetItems()->GetFirstNode()->Expand(false);
  EXPECT_EQ(T.Seen, crHourGlass);
  EXPECT_THROW(T.GetItems()->GetFirstNode()->GetFirstChild()->Expand(false), std::runtime_error);
  EXPECT_EQ(Screen->GetCursor(), crDefault);
  Ctl->SetDesigning(true);
  EXPECT_EQ(Children(RootNode()), TNames{"Child"});
}

TEST_F(FolderTreeTest, PicturesInBothLooksAndDisabled) {
  MakeFile(Root + "notes.txt");
  Start({"Documents", "Documents/Letters", "Documents/Reports", "Documents/Reports/2024", "music",
         "Music Library", "Pictures", "Pictures/Holidays", "Pictures/Scans", ".cache", "Videos"});
  ASSERT_TRUE(Ctl->SelectPath(Root + "Pictures/Holidays"));
  Child(RootNode(), "Documents")->Expand(false);
  Ctl->SetFocus();
  EXPECT_TRUE(MatchesGolden(D.Capture(*Ctl), "testdata/classic.png"));
  Ctl->SetOldTreeStyle(false);
  EXPECT_TRUE(MatchesGolden(D.Capture(*Ctl), "testdata/modern.png"));
  Ctl->SetOldTreeStyle(true);
  Ctl->SetEnabled(false);
  EXPECT_TRUE(MatchesGolden(D.Capture(*Ctl), "testdata/disabled.png"));
}

}  // namespace
}  // namespace kvl
