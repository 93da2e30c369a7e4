// Folder tree: creating and removing folders, refused wherever a name, a link or a change
// behind the tree's back would let it act outside the selected place.
#include "foldertree_fixture.h"
#include "kvl/testing/without_root.h"

namespace kvl {
namespace {

TEST_F(FolderTreeTest, NewFolderNamesCreateBelowTheSelectionOrNothing) {
  Start({"sel", "in"});
  MakeFile(Root + "sel/file");
  MakeDir(S / "outside");
  MakeLink(Root + "in", Root + "sel/link");
  MakeLink(S / "outside", Root + "out");
  const auto Before = Snapshot(S.Path());
  // clang-format off
  const std::string Refused[] = {"..", "../x", "a/../../x", "./a", ".a", "", "/", "///", "a|b",
      std::string("a\0b", 3), "a\nb", "a\"b", "a<b", "a>b", std::string(256, 'c'), "file",
      "file/x", "link/x", "n/" + std::string(300, 'x')};
  // clang-format on
  for (const std::string& Name : Refused) {
    ASSERT_TRUE(Ctl->SelectPath(Root + "sel"));
    EXPECT_FALSE(Ctl->MakeSubFolder(Name)) << Name;
    EXPECT_EQ(Snapshot(S.Path()), Before) << Name;
  }
  // Below a link leading out of the root: browsed, but nothing is made there.
  ASSERT_TRUE(Ctl->SelectPath(Root + "out"));
  EXPECT_FALSE(Ctl->MakeSubFolder("x"));
  Ctl->SetSelected(nullptr);
  EXPECT_FALSE(Ctl->MakeSubFolder("x"));
  EXPECT_EQ(Snapshot(S.Path()), Before);

  const std::pair<std::string, std::string> Made[] = {
      {"New", "sel/New/"},  {"a//b", "sel/a/b/"},
      {"e\\f", "sel/e/f/"}, {"\xC3\xA9", "sel/\xC3\xA9/"},
      {"a", "sel/a/"},  // an existing folder succeeds and is selected
      {"/g/", "sel/g/"},    {"v", "sel/link/v/"}};
  for (const auto& [Name, Path] : Made) {
    ASSERT_TRUE(Ctl->SelectPath(Root + (Name == "v" ? "sel/link" : "sel")));
    EXPECT_TRUE(Ctl->MakeSubFolder(Name)) << Name;
    EXPECT_EQ(Ctl->GetDirectory(), Root + Path) << Name;
    EXPECT_TRUE(DirExists(Root + Path)) << Name;
  }
  EXPECT_TRUE(DirExists(Root + "in/v"));  // a link to a folder inside the root may take folders

  // The selected folder went behind the tree's back; a read-only folder takes nothing.
  ASSERT_TRUE(Ctl->SelectPath(Root + "in"));
  ASSERT_TRUE(RemoveTreeAt(OpenFolder(Root).Get(), "in"));
  const auto Now = Snapshot(S.Path());
  EXPECT_FALSE(Ctl->MakeSubFolder("x"));
  EXPECT_EQ(Snapshot(S.Path()), Now);
  ::chmod(S.Path().c_str(), 0755);
  ::chmod((Root + "sel").c_str(), 0555);
  EXPECT_NE(RunWithoutRoot([&] {
              return Ctl->SelectPath(Root + "sel") && !Ctl->MakeSubFolder("r/s") &&
                     Snapshot(S.Path()) == Now;
            }),
            TWithoutRoot::Failed);
}

TEST_F(FolderTreeTest, RemovalTakesOnlyTheSelectedEmptyFolder) {
  Start({"full", "nested", "nested/sub", "Data", "data", "target"});
  MakeFile(Root + "full/f");
  MakeDir(S / "outside");
  MakeDir(S / "outside/empty");
  MakeLink(Root + "target", Root + "link");
  MakeLink(S / "outside", Root + "out");
  const auto Before = Snapshot(S.Path());
  for (const std::string D : {"", "full/", "nested/", "link/", "out/empty/"}) {
    ASSERT_TRUE(Ctl->SelectPath(Root + D)) << D;
    const int Nodes = Ctl->GetItems()->GetCount();
    EXPECT_FALSE(Ctl->RemoveSelectedFolder()) << D;
    EXPECT_EQ(Ctl->GetItems()->GetCount(), Nodes) << D;
    EXPECT_EQ(Ctl->GetDirectory(), Root + D) << D;
  }
  EXPECT_EQ(Snapshot(S.Path()), Before);
  ASSERT_TRUE(Ctl->SelectPath(Root + "Data"));
  EXPECT_TRUE(Ctl->RemoveSelectedFolder());
  EXPECT_FALSE(Exists(Root + "Data"));
  EXPECT_TRUE(Exists(Root + "data"));
  EXPECT_EQ(Ctl->GetSelected(), RootNode());
  EXPECT_EQ(Ctl->GetDirectory(), Root);

  // Replaced or gone since it was listed: nothing is removed. A new folder is made before the
  // old one goes, so it cannot take over its inode.
  for (const std::string How : {"link", "file", "folder", "gone"}) {
    const std::string P = Root + "swap";
    MakeDir(P);
    MakeDir(Root + "fresh");
    ASSERT_TRUE(Ctl->SelectPath(P)) << How;
    ::rmdir(P.c_str());
    if (How == "link") MakeLink(Root + "data", P);
    if (How == "file") MakeFile(P);
    if (How == "folder") ::rename((Root + "fresh").c_str(), P.c_str());
    const auto Now = Snapshot(S.Path());
    EXPECT_FALSE(Ctl->RemoveSelectedFolder()) << How;
    EXPECT_EQ(Snapshot(S.Path()), Now) << How;
    ::unlink(P.c_str());
    ::rmdir(P.c_str());
    ::rmdir((Root + "fresh").c_str());
  }
}

TEST_F(FolderTreeTest, OperationsWorkOnHiddenTreesAndTreesOffForms) {
  Start({"a"});
  TFolderTree Loose(nullptr);
  Loose.SetRootDir(Root);
  Ctl->Hide();
  for (TFolderTree* T : {Ctl, &Loose}) {
    ASSERT_TRUE(T->SelectPath(Root + "a"));
    EXPECT_TRUE(T->MakeSubFolder("b"));
    EXPECT_TRUE(DirExists(Root + "a/b"));
    EXPECT_TRUE(T->RemoveSelectedFolder());
    EXPECT_FALSE(Exists(Root + "a/b"));
    EXPECT_EQ(T->GetDirectory(), Root + "a/");
  }
}

}  // namespace
}  // namespace kvl
