// Folder tree: what a listing shows, lazy loading, selecting paths, the selection events,
// refreshing, the looks and states, and the pictures, on real scratch folders.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <algorithm>
#include <climits>
#include <stdexcept>

#include "foldertree_fixture.h"
#include "kvl/platform/input.h"
#include "kvl/testing/without_root.h"

namespace kvl {
namespace {

const std::string Shown = "\xEF\xBF\xBD";  // U+FFFD

TEST_F(FolderTreeTest, ListingShowsVisibleFoldersInOrder) {
  for (const char* D : {"Beta", "alpha", "Alpha", ".hidden", ".hidden/sub", "deep", "deep/sub",
                        "empty", "dotonly", "dotonly/.x", "target"})
    MakeDir(Root + D);
  MakeFile(Root + "file");
  ASSERT_EQ(::mkfifo((Root + "fifo").c_str(), 0600), 0);
  const int Sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un Addr{};
  Addr.sun_family = AF_UNIX;
  const std::string SockPath = Root + "sock";
  ASSERT_LT(SockPath.size(), sizeof(Addr.sun_path));
  std::copy(SockPath.begin(), SockPath.end(), Addr.sun_path);
  ASSERT_EQ(::bind(Sock, reinterpret_cast<sockaddr*>(&Addr), sizeof(Addr)), 0);
  MakeLink(Root + "deep", Root + "tolink");
  MakeLink(Root + "missing", Root + "dangling");
  MakeLink(Root + "loop2", Root + "loop1");
  MakeLink(Root + "loop1", Root + "loop2");
  Start();
  EXPECT_EQ(RootNode()->GetText(), "Samples");
  EXPECT_EQ(Children(RootNode()), (std::vector<std::string>{"Alpha", "alpha", "Beta", "deep",
                                                            "dotonly", "empty", "target", "tolink"}));
  ::close(Sock);
  // The placeholder only under folders with visible subfolders, the link's included.
  for (TTreeNode* C = RootNode()->GetFirstChild(); C; C = C->GetNextSibling()) {
    const bool Subs = C->GetText() == "deep" || C->GetText() == "tolink";
    EXPECT_EQ(C->GetCount(), Subs ? 1 : 0) << C->GetText();
    if (Subs) {
      EXPECT_EQ(C->GetFirstChild()->GetText(), "Child");
    }
  }
  // DirNames holds the last listing, marked where a folder has subfolders.
  const TStringList& Names = Ctl->GetDirNames();
  ASSERT_EQ(Names.GetCount(), 8);
  EXPECT_EQ(Names[3], "deep");
  EXPECT_EQ(Names.GetObjects(3), TFolderTree::HasSubfoldersMark());
  EXPECT_EQ(Names.GetObjects(2), nullptr);

  // GetSubDirs appends without touching the tree; false leaves the list alone.
  TStringList List;
  List.Add("kept");
  EXPECT_FALSE(Ctl->GetSubDirs(Root + "nothing", List));
  EXPECT_FALSE(Ctl->GetSubDirs(Root + "file", List));
  EXPECT_EQ(List.GetCount(), 1);
  EXPECT_TRUE(Ctl->GetSubDirs(Root + "empty", List));  // true: the list held an entry
  EXPECT_TRUE(Ctl->GetSubDirs(Child(RootNode(), "tolink"), List));
  ASSERT_EQ(List.GetCount(), 2);
  EXPECT_EQ(List[1], "sub");
  EXPECT_EQ(List.GetObjects(1), nullptr);
  TStringList Empty;
  EXPECT_FALSE(Ctl->GetSubDirs(Root + "empty", Empty));
  EXPECT_TRUE(Ctl->GetSubDirs("/", Empty));  // a query may look outside the root
}

TEST_F(FolderTreeTest, OddNamesShowSanitisedAndAreAddressedExactly) {
  const std::string Long(255, 'L');
  for (const std::string& D : {std::string("x\xFE"), std::string("x\xFF"), std::string("a\nb"), Long})
    MakeDir(Root + D);
  Start();
  const auto Kids = Children(RootNode());
  EXPECT_EQ(Kids, (std::vector<std::string>{"a" + Shown + "b", Long, "x" + Shown, "x" + Shown}));
  // Two folders that show alike: the one selected by its raw name is the one removed.
  ASSERT_TRUE(Ctl->SelectPath(Root + "x\xFF"));
  EXPECT_EQ(Ctl->GetDirectory(), Root + "x\xFF/");
  EXPECT_TRUE(Ctl->RemoveSelectedFolder());
  EXPECT_FALSE(Exists(Root + "x\xFF"));
  EXPECT_TRUE(Exists(Root + "x\xFE"));
  for (const std::string& D : {std::string("a\nb"), Long}) {
    ASSERT_TRUE(Ctl->SelectPath(Root + D)) << D;
    EXPECT_TRUE(Ctl->RemoveSelectedFolder()) << D;
    EXPECT_FALSE(Exists(Root + D));
  }
}

TEST_F(FolderTreeTest, UnreadableVanishedAndLoopingFoldersExpandToNothing) {
  for (const char* D : {"locked", "gone", "gone/sub", "loop"}) MakeDir(Root + D);
  MakeLink("..", Root + "loop/up");
  ::chmod(S.Path().c_str(), 0755);
  ::chmod((Root + "locked").c_str(), 0);
  Start();
  EXPECT_EQ(Children(RootNode()), (std::vector<std::string>{"gone", "locked", "loop"}));
  TTreeNode* Gone = Child(RootNode(), "gone");
  ASSERT_EQ(::rmdir((Root + "gone/sub").c_str()), 0);
  ASSERT_EQ(::rmdir((Root + "gone").c_str()), 0);
  EXPECT_TRUE(Children(Gone).empty());
  EXPECT_FALSE(Gone->GetExpanded());
  EXPECT_NE(RunWithoutRoot([&] {
              Ctl->SetRootDir(Root);
              TTreeNode* Locked = Child(RootNode(), "locked");
              return Locked && Locked->GetCount() == 0 && Children(Locked).empty();
            }),
            TWithoutRoot::Failed);
  // The link to its own parent shows, without children, and a full expansion ends.
  TTreeNode* Up = Child(Child(RootNode(), "loop"), "up");
  ASSERT_NE(Up, nullptr);
  EXPECT_EQ(Up->GetCount(), 0);
  EXPECT_TRUE(Children(Up).empty());
  Ctl->FullExpand();
  EXPECT_LT(Ctl->GetItems()->GetCount(), 10);
}

TEST_F(FolderTreeTest, LoadedFoldersStayWhileEmptyOnesAreRescanned) {
  for (const char* D : {"deep", "deep/one", "empty"}) MakeDir(Root + D);
  Start();
  TTreeNode* Deep = Child(RootNode(), "deep");
  EXPECT_EQ(Children(Deep), std::vector<std::string>{"one"});
  MakeDir(Root + "deep/two");
  Deep->Collapse(false);
  EXPECT_EQ(Children(Deep), std::vector<std::string>{"one"});
  TTreeNode* Empty = Child(RootNode(), "empty");
  EXPECT_TRUE(Children(Empty).empty());
  MakeDir(Root + "empty/new");
  EXPECT_EQ(Children(Empty), std::vector<std::string>{"new"});
}

TEST_F(FolderTreeTest, LargeFolderIsListedInKeyOrder) {
  TScratchFolder Big("foldertree-large", MemoryScratchBase());
  MakeDir(Big / "Samples");
  const TFileHandle Dir = OpenFolder(Big / "Samples");
  for (int I = 0; I < 100000; ++I) {
    const std::string Name = (I % 3 ? "f" : "F") + std::to_string(I * 7919 % 100000);
    if (I % 10 == 0)
      ASSERT_EQ(::mkdirat(Dir.Get(), Name.c_str(), 0777), 0);
    else
      ::close(::openat(Dir.Get(), Name.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600));
  }
  Ctl->SetRootDir(Big / "Samples");
  const auto Kids = Children(RootNode());
  ASSERT_EQ(Kids.size(), 10000u);
  EXPECT_TRUE(std::is_sorted(Kids.begin(), Kids.end(), FolderNameLess));
  D.Settle();
  EXPECT_LE(Ctl->GetPaintedRows(), Ctl->GetClientHeight() / Ctl->RowHeight() + 1);
}

TEST_F(FolderTreeTest, SelectPathSelectsWholePathsOnly) {
  for (const char* D : {"Data", "data", "a", "a/b", "a/.dot", "target", "target/in"}) MakeDir(Root + D);
  MakeLink(Root + "target", Root + "link");
  Start();
  LogEvents();
  ASSERT_TRUE(Ctl->SelectPath(Root + "Data"));
  EXPECT_EQ(Ctl->GetDirectory(), Root + "Data/");
  ASSERT_TRUE(Ctl->SelectPath(Root + "data"));
  EXPECT_EQ(Ctl->GetDirectory(), Root + "data/");
  const int Nodes = Ctl->GetItems()->GetCount();
  TTreeNode* Sel = Ctl->GetSelected();
  Log.clear();
  const std::string Refused[] = {Root + "missing",  Root + "DATA",      Root + "a/.dot",
                                 Root + "a/./.dot", S.Path(),           "/",
                                 "",                Root + "x/../missing",
                                 Root + std::string(PATH_MAX, 'p')};
  for (const std::string& P : Refused) {
    EXPECT_FALSE(Ctl->SelectPath(P)) << P;
    EXPECT_EQ(Ctl->GetSelected(), Sel) << P;
    EXPECT_EQ(Ctl->GetItems()->GetCount(), Nodes) << P;
  }
  EXPECT_TRUE(Log.empty());
  struct {
    std::string Path, Directory;
  } const Accepted[] = {{Root + "a/b/..", Root + "a/"},      {Root + "a//b", Root + "a/b/"},
                        {Root + "a/b/.", Root + "a/b/"},     {Root + "x/../a/./b", Root + "a/b/"},
                        {Root + "link/in", Root + "link/in/"}, {Root, Root}};
  for (const auto& A : Accepted) {
    EXPECT_TRUE(Ctl->SelectPath(A.Path)) << A.Path;
    EXPECT_EQ(Ctl->GetDirectory(), A.Directory) << A.Path;
    EXPECT_EQ(Ctl->NodePath(Ctl->GetSelected()), A.Directory) << A.Path;
  }
  const std::string Cwd = CurrentDir();
  ASSERT_EQ(::chdir(Root.c_str()), 0);
  EXPECT_TRUE(Ctl->SelectPath("a/b"));
  EXPECT_EQ(Ctl->GetDirectory(), NormalizePath(Root + "a/b"));
  ASSERT_EQ(::chdir(Cwd.c_str()), 0);
}

// Removes a folder after the check, just before its parent is listed.
class TVanishingTree : public TFolderTree {
public:
  using TFolderTree::TFolderTree;
  std::string Doomed;  // removed when its parent is listed

protected:
  std::vector<TFolderEntry> ListFolder(const std::string& Path, int Dir) override {
    if (!Doomed.empty() && ParentDir(Doomed) == Path) {
      ::rmdir(Doomed.c_str());
      Doomed.clear();
    }
    return TFolderTree::ListFolder(Path, Dir);
  }
};

TEST_F(FolderTreeTest, FolderVanishingDuringSelectPathGivesFalse) {
  MakeDir(Root + "a");
  MakeDir(Root + "a/b");
  auto* T = new TVanishingTree(Form);
  T->SetParent(Form);
  T->SetRootDir(Root);
  int Changes = 0;
  T->OnDirChanged = [&](TObject*) { ++Changes; };
  T->Doomed = Root + "a/b/";
  EXPECT_FALSE(T->SelectPath(Root + "a/b"));
  EXPECT_EQ(T->GetDirectory(), Root + "a/");
  EXPECT_EQ(T->NodePath(T->GetSelected()), Root + "a/");
  EXPECT_EQ(Changes, 1);
}

TEST_F(FolderTreeTest, SelectionEventsComeInOrderOncePerChange) {
  MakeDir(Root + "a");
  MakeDir(Root + "b");
  Start();
  ASSERT_TRUE(Ctl->SelectPath(Root + "a"));
  LogEvents();
  D.Settle();
  TTreeNode* B = Child(RootNode(), "b");
  const TRect R = B->DisplayRect(true);
  D.Click(*Ctl, R.Left + 4, R.Top + 3);
  const std::string Bd = Root + "b/";
  const std::string Ad = Root + "a/";
  // OnClick still sees the old Directory.
  EXPECT_EQ(Log, (std::vector<std::string>{"click " + Ad, "change b " + Bd, "dir " + Bd}));
  // A click that changes nothing clicks once, on release.
  Log.clear();
  D.AdvanceTime(2000);
  D.Click(*Ctl, R.Left + 4, R.Top + 3);
  EXPECT_EQ(Log, std::vector<std::string>{"click " + Bd});
  Log.clear();
  D.Press(*Form, vk::Up);
  EXPECT_EQ(Log, (std::vector<std::string>{"click " + Bd, "change a " + Ad, "dir " + Ad}));
}

TEST_F(FolderTreeTest, RefreshClimbsToTheNearestExistingFolder) {
  for (const char* D : {"a", "a/b", "a/b/c"}) MakeDir(Root + D);
  Start();
  ASSERT_TRUE(Ctl->SelectPath(Root + "a/b/c"));
  LogEvents();
  EXPECT_TRUE(Ctl->RefreshTree());
  EXPECT_TRUE(Log.empty() || Log.back().rfind("dir", 0) != 0);
  ::rmdir((Root + "a/b/c").c_str());
  ::rmdir((Root + "a/b").c_str());
  Log.clear();
  EXPECT_TRUE(Ctl->RefreshTree());
  EXPECT_EQ(Ctl->GetDirectory(), Root + "a/");
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "dir " + Root + "a/"), 1);
  // With the root itself gone the climb ends with nothing.
  ASSERT_TRUE(RemoveTreeAt(OpenFolder(S.Path()).Get(), "Samples"));
  Log.clear();
  EXPECT_FALSE(Ctl->RefreshTree());
  EXPECT_EQ(Ctl->GetDirectory(), "");
  EXPECT_EQ(std::count_if(Log.begin(), Log.end(), [](const std::string& L) { return L.rfind("dir", 0) == 0; }), 1);
}

TEST_F(FolderTreeTest, LookColourAndLifecycle) {
  MakeDir(Root + "a");
  Start();
  EXPECT_TRUE(Ctl->GetOldTreeStyle());
  EXPECT_EQ(Ctl->GetLook(), tvlClassic);
  Ctl->SetOldTreeStyle(false);
  EXPECT_EQ(Ctl->GetLook(), tvlModern);
  EXPECT_TRUE(Ctl->GetReadOnly());

  Ctl->SetEnabled(false);
  EXPECT_EQ(PixelAt(150, 200), ColorToRGB(clBtnFace));
  Ctl->SetColor(clYellow);  // shows at once, also while disabled
  EXPECT_EQ(PixelAt(150, 200), clYellow);
  Ctl->SetEnabled(true);
  EXPECT_EQ(PixelAt(150, 200), clYellow);

  // Loading: black becomes white, and the tree collapses.
  ASSERT_TRUE(Ctl->SelectPath(Root + "a"));
  ASSERT_TRUE(RootNode()->GetExpanded());
  Ctl->BeginLoading();
  Ctl->SetColor(clBlack);
  Ctl->EndLoading();
  EXPECT_EQ(Ctl->GetColor(), clWhite);
  EXPECT_FALSE(RootNode()->GetExpanded());
  Ctl->SetEnabled(false);
  Ctl->SetEnabled(true);
  EXPECT_EQ(Ctl->GetColor(), clWhite);

  // A new window resets: the root, collapsed, nothing selected.
  ASSERT_TRUE(Ctl->SelectPath(Root + "a"));
  int Changes = 0;
  Ctl->OnDirChanged = [&](TObject*) { ++Changes; };
  auto* Other = new TForm(nullptr);
  Ctl->SetParent(Other);
  EXPECT_EQ(Ctl->GetDirectory(), NormalizePath(Root));
  EXPECT_EQ(Ctl->GetSelected(), nullptr);
  EXPECT_EQ(Changes, 1);
  delete Other;
}

TEST_F(FolderTreeTest, ExpansionShowsTheHourglassAndNothingWhileDesigning) {
  MakeDir(Root + "a");
  struct TThrowingTree : TFolderTree {
    using TFolderTree::TFolderTree;
    TCursor Seen = crDefault;
    std::vector<TFolderEntry> ListFolder(const std::string& P, int Dir) override {
      Seen = Screen->GetCursor();
      if (P.ends_with("/a/")) throw std::runtime_error("listing");
      return TFolderTree::ListFolder(P, Dir);
    }
  };
  auto* T = new TThrowingTree(Form);
  T->SetRootDir(Root);
  T->GetItems()->GetFirstNode()->Expand(false);
  EXPECT_EQ(T->Seen, crHourGlass);
  EXPECT_EQ(Screen->GetCursor(), crDefault);
  EXPECT_THROW(T->GetItems()->GetFirstNode()->GetFirstChild()->Expand(false), std::runtime_error);
  EXPECT_EQ(Screen->GetCursor(), crDefault);

  Ctl->SetRootDir(Root);
  Ctl->SetDesigning(true);
  RootNode()->Expand(false);
  ASSERT_EQ(RootNode()->GetCount(), 1);
  EXPECT_EQ(RootNode()->GetFirstChild()->GetText(), "Child");
  EXPECT_EQ(Ctl->GetDirNames().GetCount(), 0);
}

TEST_F(FolderTreeTest, PicturesInBothLooksAndDisabled) {
  for (const char* D : {"Documents", "Documents/Letters", "Documents/Reports", "Documents/Reports/2024",
                        "music", "Music Library", "Pictures", "Pictures/Holidays", "Pictures/Scans",
                        ".cache", "Videos"})
    MakeDir(Root + D);
  MakeFile(Root + "notes.txt");
  Start();
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
