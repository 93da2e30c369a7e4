// Folder operations relative to opened folders: opening, listing, the subfolder probe, the
// sort order, creating a chain of folders and removing one empty folder.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "kvl/core/filesys.h"

namespace kvl {

namespace {

constexpr int DirFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

struct TDirCloser {
  void operator()(DIR* D) const noexcept { ::closedir(D); }
};
using TDirStream = std::unique_ptr<DIR, TDirCloser>;

// A stream over the opened folder on a descriptor of its own, so the caller's stays open.
TDirStream Stream(int Dir) {
  const int Fd = ::openat(Dir, ".", DirFlags);
  if (Fd < 0) return nullptr;
  DIR* D = ::fdopendir(Fd);
  if (!D) ::close(Fd);
  return TDirStream(D);
}

// Whether the entry leads to a folder, and whether it is a link, from the entry's type or,
// when the entry does not say, from the file system.
bool IsFolderEntry(int Dir, const dirent& E, bool& IsLink, struct stat& Own) {
  if (E.d_type != DT_UNKNOWN && E.d_type != DT_DIR && E.d_type != DT_LNK) return false;
  if (::fstatat(Dir, E.d_name, &Own, AT_SYMLINK_NOFOLLOW) != 0) return false;
  IsLink = S_ISLNK(Own.st_mode);
  if (!IsLink) return S_ISDIR(Own.st_mode);
  struct stat Target;
  // Dangling links and loops (ELOOP) fail here and are left out.
  return ::fstatat(Dir, E.d_name, &Target, 0) == 0 && S_ISDIR(Target.st_mode);
}

bool Hidden(const char* Name) { return Name[0] == '.'; }

unsigned char LowerAscii(char C) {
  const auto B = static_cast<unsigned char>(C);
  return B >= 'A' && B <= 'Z' ? static_cast<unsigned char>(B + 32) : B;
}

}  // namespace

TFileHandle::~TFileHandle() {
  if (FFd >= 0) ::close(FFd);
}

TFileHandle& TFileHandle::operator=(TFileHandle&& Other) noexcept {
  if (this != &Other) {
    if (FFd >= 0) ::close(FFd);
    FFd = Other.Release();
  }
  return *this;
}

TFileHandle OpenFolder(const std::string& Path) {
  if (Path.empty() || Path.find('\0') != std::string::npos) return TFileHandle();
  return TFileHandle(::open(Path.c_str(), DirFlags));
}

TFileHandle OpenFolderAt(int Dir, const std::string& Name) {
  if (Name.empty() || Name.find('\0') != std::string::npos) return TFileHandle();
  return TFileHandle(::openat(Dir, Name.c_str(), DirFlags | O_NOFOLLOW));
}

std::string FolderPhysicalPath(int Dir) {
  if (Dir < 0) return {};
  const std::string Link = "/proc/self/fd/" + std::to_string(Dir);
  std::string Buf(4096, '\0');
  for (;;) {
    const ssize_t N = ::readlink(Link.c_str(), Buf.data(), Buf.size());
    if (N < 0) return {};
    if (std::size_t(N) < Buf.size()) {
      Buf.resize(std::size_t(N));
      break;
    }
    if (Buf.size() > (1u << 20)) return {};
    Buf.resize(Buf.size() * 2);
  }
  // A removed folder reads as "/path (deleted)": it is no place to work in.
  if (Buf.empty() || Buf.front() != '/' || Buf.ends_with(" (deleted)")) return {};
  return NormalizePath(Buf);
}

std::vector<TFolderEntry> ListSubfolders(int Dir) {
  std::vector<TFolderEntry> Out;
  const TDirStream D = Stream(Dir);
  if (!D) return Out;
  const int Fd = ::dirfd(D.get());
  struct stat Self;
  if (::fstat(Fd, &Self) != 0) return Out;
  // A plain folder is known from its entry: its inode is the entry's, its device the
  // folder's (a mount point gets the inode beneath it, so it never matches later checks and is
  // never removed). The first folder entry is checked against the file system; where entries
  // and the file system disagree (some layered file systems), every entry is asked.
  enum { Unchecked, Trusted, Distrusted } Entries = Unchecked;
  while (const dirent* E = ::readdir(D.get())) {
    if (Hidden(E->d_name)) continue;
    if (E->d_type == DT_DIR && Entries == Unchecked) {
      struct stat Own;
      Entries = ::fstatat(Fd, E->d_name, &Own, AT_SYMLINK_NOFOLLOW) == 0 &&
                        Own.st_ino == E->d_ino && Own.st_dev == Self.st_dev
                    ? Trusted
                    : Distrusted;
    }
    if (E->d_type == DT_DIR && Entries == Trusted) {
      Out.push_back({E->d_name, false, Self.st_dev, E->d_ino});
      continue;
    }
    bool IsLink = false;
    struct stat Own;
    if (!IsFolderEntry(Fd, *E, IsLink, Own)) continue;
    Out.push_back({E->d_name, IsLink, Own.st_dev, Own.st_ino});
  }
  return Out;
}

bool HasSubfolders(int Dir, const std::string& Name) {
  if (Name.empty() || Name.find('\0') != std::string::npos) return false;
  const TFileHandle Sub(::openat(Dir, Name.c_str(), DirFlags));
  if (!Sub.Valid()) return false;
  const TDirStream D = Stream(Sub.Get());
  if (!D) return false;
  const int Fd = ::dirfd(D.get());
  while (const dirent* E = ::readdir(D.get())) {
    if (Hidden(E->d_name)) continue;
    bool IsLink = false;
    struct stat Own;
    if (IsFolderEntry(Fd, *E, IsLink, Own)) return true;
  }
  return false;
}

bool FolderNameLess(std::string_view A, std::string_view B) {
  const std::size_t N = std::min(A.size(), B.size());
  for (std::size_t I = 0; I < N; ++I) {
    const unsigned char Ka = LowerAscii(A[I]), Kb = LowerAscii(B[I]);
    if (Ka != Kb) return Ka < Kb;
  }
  if (A.size() != B.size()) return A.size() < B.size();
  // Equal keys: raw bytes, unsigned.
  for (std::size_t I = 0; I < N; ++I) {
    const auto Ra = static_cast<unsigned char>(A[I]), Rb = static_cast<unsigned char>(B[I]);
    if (Ra != Rb) return Ra < Rb;
  }
  return false;
}

void SortFolderEntries(std::vector<TFolderEntry>& Entries) {
  std::stable_sort(Entries.begin(), Entries.end(),
                   [](const auto& A, const auto& B) { return FolderNameLess(A.Name, B.Name); });
}

bool CreateFolderChain(int Dir, const std::vector<std::string>& Components) {
  if (Components.empty()) return false;
  // Created[i]: the folder Components[i] is new, made below Opened[i].
  std::vector<TFileHandle> Opened;
  std::vector<bool> Created;
  int At = Dir;
  bool Ok = true;
  for (const std::string& C : Components) {
    if (C.empty() || C == "." || C == ".." || C.find('\0') != std::string::npos ||
        C.find('/') != std::string::npos) {
      Ok = false;
      break;
    }
    const bool New = ::mkdirat(At, C.c_str(), 0777) == 0;
    if (!New && errno != EEXIST) {
      Ok = false;
      break;
    }
    Created.push_back(New);
    TFileHandle Next = OpenFolderAt(At, C);
    if (!Next.Valid()) {
      Ok = false;
      break;
    }
    Opened.push_back(std::move(Next));
    At = Opened.back().Get();
  }
  if (Ok) return true;
  // Undo in reverse: each new folder is removed from the folder it was made in.
  for (std::size_t I = Created.size(); I-- > 0;) {
    if (!Created[I]) continue;
    const int Parent = I == 0 ? Dir : Opened[I - 1].Get();
    ::unlinkat(Parent, Components[I].c_str(), AT_REMOVEDIR);
  }
  return false;
}

bool RemoveEmptyFolder(int Parent, const std::string& Name, dev_t Dev, ino_t Ino) {
  if (Name.empty() || Name == "." || Name == ".." || Name.find('/') != std::string::npos ||
      Name.find('\0') != std::string::npos)
    return false;
  struct stat St;
  if (::fstatat(Parent, Name.c_str(), &St, AT_SYMLINK_NOFOLLOW) != 0) return false;
  if (!S_ISDIR(St.st_mode) || St.st_dev != Dev || St.st_ino != Ino) return false;
  return ::unlinkat(Parent, Name.c_str(), AT_REMOVEDIR) == 0;
}

}  // namespace kvl
