// File-system routines: path arithmetic tables, the folder test, listing with every kind of
// entry, the sort order, a large folder, creating chains and removing empty folders, on real
// scratch folders.
#include "kvl/core/filesys.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "kvl/testing/scratch_folder.h"
#include "kvl/testing/without_root.h"

namespace kvl {
namespace {

void MakeDir(const std::string& P) { ASSERT_EQ(::mkdir(P.c_str(), 0777), 0) << P; }
void MakeFile(const std::string& P) { std::ofstream(P) << "x"; }
void Link(const std::string& Target, const std::string& P) {
  ASSERT_EQ(::symlink(Target.c_str(), P.c_str()), 0) << P;
}
bool Exists(const std::string& P) {
  struct stat St;
  return ::lstat(P.c_str(), &St) == 0;
}
ino_t Inode(const std::string& P) {
  struct stat St;
  return ::lstat(P.c_str(), &St) == 0 ? St.st_ino : 0;
}
dev_t Device(const std::string& P) {
  struct stat St;
  return ::lstat(P.c_str(), &St) == 0 ? St.st_dev : 0;
}

TEST(FileSys, PathArithmetic) {
  const std::pair<const char*, const char*> Parents[] = {
      {"/a/b/", "/a/"}, {"/a/b", "/a/"}, {"/a", "/"}, {"/", ""}, {"", ""}, {"//a//b//", "//a/"}};
  for (const auto& [In, Out] : Parents) EXPECT_EQ(ParentDir(In), Out) << In;
  // Climbing always ends.
  std::string P = "/x/y/z/";
  int Steps = 0;
  while (!P.empty() && Steps < 10) P = ParentDir(P), ++Steps;
  EXPECT_EQ(Steps, 4);

  const std::pair<const char*, const char*> Norm[] = {{"/r/a/../b", "/r/b/"},
                                                      {"//r///a/./", "/r/a/"},
                                                      {"/..", "/"},
                                                      {"rel/dir", "/base/rel/dir/"},
                                                      {"../x/.", "/x/"},
                                                      {"/", "/"},
                                                      {"", ""}};
  for (const auto& [In, Out] : Norm) EXPECT_EQ(NormalizePath(In, "/base/"), Out) << In;
  EXPECT_EQ(NormalizePath(std::string_view("/a\0b", 4)), "");

  struct {
    const char *Path, *Root;
    bool Within;
  } const Within[] = {{"/tmp/a/b", "/tmp/a", true}, {"/tmp/a/", "/tmp/a", true},
                      {"/tmp/ab", "/tmp/a", false}, {"/tmp/a/../b", "/tmp/a", false},
                      {"/anything", "/", true},     {"tmp/a", "/", false}};
  for (const auto& W : Within) EXPECT_EQ(IsPathWithin(W.Path, W.Root), W.Within) << W.Path;
}

TEST(FileSys, NewFolderNamesSplitSafelyOrNotAtAll) {
  struct {
    std::string Name;
    std::vector<std::string> Parts;  // empty: refused
  } const Cases[] = {{"a/b", {"a", "b"}},
                     {"a\\b", {"a", "b"}},
                     {"a//b/", {"a", "b"}},
                     {"\xC3\xA9", {"\xC3\xA9"}},
                     {std::string(255, 'n'), {std::string(255, 'n')}},
                     {"..", {}},
                     {"../x", {}},
                     {"a/../../x", {}},
                     {"./a", {}},
                     {".a", {}},
                     {"", {}},
                     {"/", {}},
                     {"///", {}},
                     {"a|b", {}},
                     {"a<b", {}},
                     {"a\"b", {}},
                     {std::string("a\0b", 3), {}},
                     {"a\nb", {}},
                     {std::string(256, 'n'), {}}};
  for (const auto& C : Cases) {
    std::vector<std::string> Parts = {"untouched"};
    const bool Ok = SplitNewFolderName("/base/", C.Name, Parts);
    EXPECT_EQ(Ok, !C.Parts.empty()) << C.Name;
    EXPECT_EQ(Parts, Ok ? C.Parts : std::vector<std::string>{"untouched"}) << C.Name;
  }
  std::vector<std::string> Parts;
  EXPECT_FALSE(SplitNewFolderName(std::string(PATH_MAX - 100, 'b'), std::string(120, 'c'), Parts));
}

TEST(FileSys, ListingShowsVisibleFoldersAndLinksToThemOnly) {
  TScratchFolder S("filesys");
  for (const char* D : {"Beta", "alpha", "Alpha", ".hidden", "empty", "deep", "deep/sub", "dotonly",
                        "dotonly/.x", "locked", "files"})
    MakeDir(S / D);
  MakeFile(S / "file");
  MakeFile(S / "files/f");
  ASSERT_EQ(::mkfifo((S / "fifo").c_str(), 0600), 0);
  Link(S / "deep", S / "tolink");
  Link(S / "missing", S / "dangling");
  Link(S / "loop1", S / "loop2");
  Link(S / "loop2", S / "loop1");
  Link("..", S / "deep/up");  // a link to its own ancestor
  ::chmod((S / "locked").c_str(), 0);

  TFileHandle Root = OpenFolder(S.Path());
  ASSERT_TRUE(Root.Valid());
  std::vector<TFolderEntry> L = ListSubfolders(Root.Get());
  SortFolderEntries(L);
  std::vector<std::string> Names;
  for (const auto& E : L) Names.push_back(E.Name);
  EXPECT_EQ(Names, (std::vector<std::string>{"Alpha", "alpha", "Beta", "deep", "dotonly", "empty",
                                             "files", "locked", "tolink"}));
  for (const auto& E : L) {
    EXPECT_EQ(E.IsLink, E.Name == "tolink") << E.Name;
    EXPECT_EQ(E.Ino, Inode(S / E.Name)) << E.Name;
  }
  EXPECT_TRUE(HasSubfolders(Root.Get(), "deep"));
  EXPECT_TRUE(HasSubfolders(Root.Get(), "tolink"));
  for (const char* D : {"empty", "dotonly", "files", "missing", "dangling"})
    EXPECT_FALSE(HasSubfolders(Root.Get(), D)) << D;
  // An unreadable folder, and one removed while open, list nothing and raise nothing.
  ::chmod(S.Path().c_str(), 0755);
  EXPECT_NE(RunWithoutRoot([&] {
              return !HasSubfolders(Root.Get(), "locked") &&
                     ListSubfolders(OpenFolder(S / "locked").Get()).empty();
            }),
            TWithoutRoot::Failed);
  TFileHandle Gone = OpenFolder(S / "empty");
  ASSERT_EQ(::rmdir((S / "empty").c_str()), 0);
  EXPECT_TRUE(ListSubfolders(Gone.Get()).empty());
  EXPECT_EQ(FolderPhysicalPath(Gone.Get()), "");
  char Real[PATH_MAX];
  ASSERT_NE(::realpath(S.Path().c_str(), Real), nullptr);
  EXPECT_EQ(FolderPhysicalPath(Root.Get()), std::string(Real) + "/");

  EXPECT_TRUE(DirExists(S / "deep"));
  EXPECT_TRUE(DirExists(S / "tolink"));
  for (const std::string& P : {S / "file", S / "fifo", S / "dangling", S / "loop1", std::string(),
                               std::string("/dev/null"), S.Path() + '\0'})
    EXPECT_FALSE(DirExists(P)) << P;
}

TEST(FileSys, LargeFolderIsListedInKeyOrder) {
  TScratchFolder S("filesys-large", MemoryScratchBase());
  TFileHandle Root = OpenFolder(S.Path());
  for (int I = 0; I < 100000; ++I) {
    const std::string Name = (I % 3 ? "f" : "F") + std::to_string(I * 7919 % 100000);
    if (I % 10 == 0)
      ASSERT_EQ(::mkdirat(Root.Get(), Name.c_str(), 0777), 0);
    else
      ::close(::openat(Root.Get(), Name.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600));
  }
  std::vector<TFolderEntry> L = ListSubfolders(Root.Get());
  SortFolderEntries(L);
  ASSERT_EQ(L.size(), 10000u);
  EXPECT_TRUE(std::is_sorted(L.begin(), L.end(), [](const auto& A, const auto& B) {
    return FolderNameLess(A.Name, B.Name);
  }));
}

TEST(FileSys, ChainsAreCreatedWholeOrNotAtAll) {
  TScratchFolder S("filesys-create");
  MakeDir(S / "base");
  MakeFile(S / "base/file");
  MakeDir(S / "outside");
  Link(S / "outside", S / "base/link");
  TFileHandle Base = OpenFolder(S / "base");
  EXPECT_TRUE(CreateFolderChain(Base.Get(), {"a", "b"}));
  EXPECT_TRUE(DirExists(S / "base/a/b"));
  EXPECT_TRUE(CreateFolderChain(Base.Get(), {"a", "b"}));  // existing folders are reused
  // The chain runs one below the other: a file or link in the base blocks its first step, a
  // bad later component undoes the new folders made before it.
  const std::vector<std::string> Bad[] = {
      {"file", "n2"}, {"link", "n2"}, {"n1", std::string(300, 'x')}, {"n1", "..", "n2"}, {}};
  for (const auto& Parts : Bad) {
    EXPECT_FALSE(CreateFolderChain(Base.Get(), Parts));
    EXPECT_FALSE(Exists(S / "base/n1"));
    EXPECT_FALSE(Exists(S / "outside/n2"));
    EXPECT_FALSE(Exists(S / "n2"));
  }
  ::chmod(S.Path().c_str(), 0755);
  ::chmod((S / "base").c_str(), 0755);
  ::chmod((S / "base/a").c_str(), 0555);
  EXPECT_NE(RunWithoutRoot([&] {
              return !CreateFolderChain(OpenFolder(S / "base/a").Get(), {"c"}) &&
                     !Exists(S / "base/a/c");
            }),
            TWithoutRoot::Failed);
}

TEST(FileSys, OnlyTheRecordedEmptyFolderIsRemoved) {
  TScratchFolder S("filesys-remove");
  for (const char* D : {"empty", "full", "nested", "nested/sub", "other", "target"}) MakeDir(S / D);
  MakeFile(S / "full/f");
  Link(S / "target", S / "link");
  TFileHandle Dir = OpenFolder(S.Path());
  const auto Remove = [&](const std::string& Name, const std::string& RecordedFrom) {
    return RemoveEmptyFolder(Dir.Get(), Name, Device(S / RecordedFrom), Inode(S / RecordedFrom));
  };
  EXPECT_FALSE(Remove("full", "full"));
  EXPECT_FALSE(Remove("nested", "nested"));
  EXPECT_FALSE(Remove("link", "link"));
  EXPECT_FALSE(Remove("link", "target"));
  EXPECT_FALSE(Remove("empty", "other"));  // replaced since it was listed
  EXPECT_FALSE(Remove("missing", "empty"));
  for (const char* D : {"full", "nested/sub", "link", "target", "empty"})
    EXPECT_TRUE(Exists(S / D)) << D;
  EXPECT_TRUE(Remove("empty", "empty"));
  EXPECT_FALSE(Exists(S / "empty"));
}

TEST(FileSys, HomeAndCurrentFolder) {
  TScratchFolder S("filesys-home");
  const char* Old = std::getenv("HOME");
  const std::string Kept = Old ? Old : "";
  ::setenv("HOME", S.Path().c_str(), 1);
  EXPECT_EQ(HomeDir(), NormalizePath(S.Path()));
  ::setenv("HOME", "relative/home", 1);
  const std::string Fallback = HomeDir();
  EXPECT_TRUE(Fallback.front() == '/' && DirExists(Fallback)) << Fallback;
  if (Old)
    ::setenv("HOME", Kept.c_str(), 1);
  else
    ::unsetenv("HOME");
  const std::string Cwd = CurrentDir();
  ASSERT_EQ(::chdir(S.Path().c_str()), 0);
  char Real[PATH_MAX];
  ASSERT_NE(::realpath(S.Path().c_str(), Real), nullptr);
  EXPECT_EQ(CurrentDir(), std::string(Real) + "/");
  EXPECT_EQ(NormalizePath("x/../y"), std::string(Real) + "/y/");
  ASSERT_EQ(::chdir(Cwd.c_str()), 0);
}

}  // namespace
}  // namespace kvl
