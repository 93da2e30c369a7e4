// Folder tree: creating and removing folders, refused wherever a name, a link or a change
// behind the tree's back would let it act outside the selected place.
#include <dirent.h>

#include <set>

#include "foldertree_fixture.h"
#include "kvl/testing/without_root.h"

namespace kvl {
namespace {

// Every path below Dir, links not followed.
std::set<std::string> Listing(const std::string& Dir) {
  std::set<std::string> Out;
  if (DIR* D = ::opendir(Dir.c_str())) {
    while (const dirent* E = ::readdir(D)) {
      const std::string N = E->d_name;
      if (N == "." || N == "..") continue;
      Out.insert(Dir + N);
      if (E->d_type == DT_DIR)
        for (const std::string& Sub : Listing(Dir + N + "/")) Out.insert(Sub);
    }
    ::closedir(D);
  }
  return Out;
}

TEST_F(FolderTreeTest, NewFolderNamesCreateBelowTheSelectionOrNothing) {
  MakeDir(Root + "sel");
  Start();
  ASSERT_TRUE(Ctl->SelectPath(Root + "sel"));
  EXPECT_TRUE(Ctl->MakeSubFolder("New"));
  EXPECT_EQ(Ctl->GetDirectory(), Root + "sel/New/");
  const std::string Refused[] = {"..", "../x", "a/../../x", "./a", ".a", "", "/", "///", "a|b",
                                 std::string("a\0b", 3), "a\nb", "a\"b", "a<b", "a>b",
                                 std::string(256, 'c')};
  const std::set<std::string> Before = Listing(S.Path());
  for (const std::string& Name : Refused) {
    ASSERT_TRUE(Ctl->SelectPath(Root + "sel"));
    EXPECT_FALSE(Ctl->MakeSubFolder(Name)) << Name;
    EXPECT_EQ(Listing(S.Path()), Before) << Name;
  }
  const struct {
    std::string Name, Made;
  } Made[] = {{"a//b", "a/b/"}, {"c/d", "c/d/"}, {"e\\f", "e/f/"}, {"\xC3\xA9", "\xC3\xA9/"},
              {"c", "c/"},  // an existing folder succeeds and is selected
              {"/g/", "g/"}};
  for (const auto& M : Made) {
    ASSERT_TRUE(Ctl->SelectPath(Root + "sel"));
    EXPECT_TRUE(Ctl->MakeSubFolder(M.Name)) << M.Name;
    EXPECT_EQ(Ctl->GetDirectory(), Root + "sel/" + M.Made) << M.Name;
    EXPECT_TRUE(DirExists(Root + "sel/" + M.Made)) << M.Name;
  }
  Ctl->SetSelected(nullptr);
  EXPECT_FALSE(Ctl->MakeSubFolder("x"));
}

TEST_F(FolderTreeTest, CreationLeavesNothingHalfMade) {
  MakeDir(Root + "sel");
  MakeFile(Root + "sel/file");
  MakeDir(Root + "inside");
  MakeDir(S / "outside");
  MakeLink(Root + "inside", Root + "sel/link");
  MakeLink(S / "outside", Root + "out");
  Start();
  const std::set<std::string> Before = Listing(S.Path());
  for (const std::string& Name : {std::string("file"), std::string("file/x"), std::string("link/x"),
                                  "n/" + std::string(300, 'x')}) {
    ASSERT_TRUE(Ctl->SelectPath(Root + "sel"));
    EXPECT_FALSE(Ctl->MakeSubFolder(Name)) << Name;
    EXPECT_EQ(Listing(S.Path()), Before) << Name;
  }
  // Below a link leading out of the root: browsed, but nothing is made there.
  ASSERT_TRUE(Ctl->SelectPath(Root + "out"));
  EXPECT_FALSE(Ctl->MakeSubFolder("x"));
  EXPECT_EQ(Listing(S.Path()), Before);
  // A link that leads to a folder inside the root may receive folders.
  ASSERT_TRUE(Ctl->SelectPath(Root + "sel/link"));
  EXPECT_TRUE(Ctl->MakeSubFolder("viaLink"));
  EXPECT_TRUE(DirExists(Root + "inside/viaLink"));
  // The selected folder went behind the tree's back.
  ASSERT_TRUE(Ctl->SelectPath(Root + "inside"));
  ASSERT_TRUE(RemoveTreeAt(OpenFolder(Root).Get(), "inside"));
  const std::set<std::string> Now = Listing(S.Path());
  EXPECT_FALSE(Ctl->MakeSubFolder("x"));
  EXPECT_EQ(Listing(S.Path()), Now);
  // A read-only folder takes nothing.
  ::chmod(S.Path().c_str(), 0755);
  ::chmod(Root.c_str(), 0755);
  ::chmod((Root + "sel").c_str(), 0555);
  EXPECT_NE(RunWithoutRoot([&] {
              return Ctl->SelectPath(Root + "sel") && !Ctl->MakeSubFolder("a/b") &&
                     !Exists(Root + "sel/a");
            }),
            TWithoutRoot::Failed);
}

TEST_F(FolderTreeTest, RemovalTakesOnlyTheSelectedEmptyFolder) {
  for (const char* D : {"full", "nested", "nested/sub", "empty", "Data", "data", "target", "swap"})
    MakeDir(Root + D);
  MakeFile(Root + "full/f");
  MakeDir(S / "outside");
  MakeDir(S / "outside/empty");
  MakeLink(Root + "target", Root + "link");
  MakeLink(S / "outside", Root + "out");
  Start();
  EXPECT_TRUE(Ctl->SelectPath(Root));
  EXPECT_FALSE(Ctl->RemoveSelectedFolder());
  for (const char* D : {"full", "nested", "link", "out/empty"}) {
    ASSERT_TRUE(Ctl->SelectPath(Root + D)) << D;
    const int Nodes = Ctl->GetItems()->GetCount();
    EXPECT_FALSE(Ctl->RemoveSelectedFolder()) << D;
    EXPECT_EQ(Ctl->GetItems()->GetCount(), Nodes) << D;
    EXPECT_EQ(Ctl->GetDirectory(), Root + D + "/") << D;
  }
  for (const std::string& P : {Root + "full/f", Root + "nested/sub", Root + "link", Root + "target",
                               S / "outside/empty"})
    EXPECT_TRUE(Exists(P)) << P;
  EXPECT_TRUE(IsLinkAt(Root + "link"));

  ASSERT_TRUE(Ctl->SelectPath(Root + "Data"));
  EXPECT_TRUE(Ctl->RemoveSelectedFolder());
  EXPECT_FALSE(Exists(Root + "Data"));
  EXPECT_TRUE(Exists(Root + "data"));
  EXPECT_EQ(Ctl->GetDirectory(), Root);
  EXPECT_EQ(Ctl->GetSelected(), RootNode());

  // Replaced or gone since it was listed: nothing is removed.
  const auto Replace = [&](const char* How) {
    const std::string P = Root + "swap";
    if (std::string(How) != "gone") ::rmdir(P.c_str());
    if (std::string(How) == "link") MakeLink(Root + "empty", P);
    if (std::string(How) == "file") MakeFile(P);
    // A new folder made before the old one goes cannot reuse its inode.
    if (std::string(How) == "folder") ::rename((Root + "fresh").c_str(), P.c_str());
  };
  for (const char* How : {"link", "file", "folder", "gone"}) {
    ::unlink((Root + "swap").c_str());
    ::rmdir((Root + "swap").c_str());
    MakeDir(Root + "swap");
    if (std::string(How) == "folder") MakeDir(Root + "fresh");
    ASSERT_TRUE(Ctl->SelectPath(Root + "swap")) << How;
    Replace(How);
    if (std::string(How) == "gone") ::rmdir((Root + "swap").c_str());
    const std::set<std::string> Before = Listing(S.Path());
    EXPECT_FALSE(Ctl->RemoveSelectedFolder()) << How;
    EXPECT_EQ(Listing(S.Path()), Before) << How;
  }
}

TEST_F(FolderTreeTest, OperationsWorkOnHiddenTreesAndTreesOffForms) {
  MakeDir(Root + "a");
  Ctl->SetRootDir(Root);
  Ctl->Hide();
  ASSERT_TRUE(Ctl->SelectPath(Root + "a"));
  EXPECT_TRUE(Ctl->MakeSubFolder("b"));
  EXPECT_TRUE(DirExists(Root + "a/b"));
  EXPECT_TRUE(Ctl->RemoveSelectedFolder());
  EXPECT_FALSE(Exists(Root + "a/b"));

  TFolderTree Loose(nullptr);
  Loose.SetRootDir(Root);
  ASSERT_TRUE(Loose.SelectPath(Root + "a"));
  EXPECT_TRUE(Loose.MakeSubFolder("c"));
  EXPECT_TRUE(DirExists(Root + "a/c"));
  EXPECT_TRUE(Loose.RemoveSelectedFolder());
  EXPECT_FALSE(Exists(Root + "a/c"));
  EXPECT_EQ(Loose.GetDirectory(), Root + "a/");
}

}  // namespace
}  // namespace kvl
