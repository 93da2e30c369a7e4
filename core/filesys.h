// File-system routines of the core library: path arithmetic on byte strings, and the folder
// operations a folder browser needs, done relative to opened folders so that a folder renamed
// or replaced by a link behind the program's back cannot redirect them.
//
// Paths are bytes: names are never re-encoded, and '/' is the only separator. Folder paths
// returned here end in exactly one '/'. Everything runs on the caller's thread; a folder on a
// hanging network mount blocks the call.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

namespace kvl {

// Whether Path names an existing folder, links followed. False for files, FIFOs, devices,
// dangling links, "" and paths holding a NUL. Never throws.
bool DirExists(std::string_view Path) noexcept;

// The lexical parent, ending in '/': "/a/b/" and "/a/b" give "/a/"; "/" and "" give "" (so
// that a climb towards the root always ends).
std::string ParentDir(std::string_view Path);

// Path made absolute against Base (an absolute folder path; the current folder when empty),
// with ".", ".." and duplicate separators resolved lexically, ending in exactly one '/'. ".."
// at the root stays at the root. "" when Path is empty or holds a NUL, or when the current
// folder is needed and cannot be read.
std::string NormalizePath(std::string_view Path, std::string_view Base = {});

// Whether Path equals Root or lies below it, compared by whole components on the normalised
// forms ("/tmp/ab" is not under "/tmp/a"). Both must be absolute; false otherwise.
bool IsPathWithin(std::string_view Path, std::string_view Root);

// The process's current folder, ending in '/'; "" when it cannot be read.
std::string CurrentDir();

// $HOME when it is an absolute, existing folder; otherwise the user's entry in the password
// database; otherwise "/". Ends in '/'.
std::string HomeDir();

// The components of a new folder name, to be created one below the other. '/' and '\' both
// separate, and empty components are dropped. False (Components untouched) when nothing
// remains, when a component is "." or ".." or begins with '.', is longer than 255 bytes, holds
// a byte below 32 or one of '"', '<', '>', '|', or when Base + the joined name would reach
// PATH_MAX bytes.
bool SplitNewFolderName(std::string_view Base, std::string_view Name,
                        std::vector<std::string>& Components);

// An open file descriptor, closed when the object goes.
class TFileHandle {
public:
  TFileHandle() = default;
  explicit TFileHandle(int Fd) : FFd(Fd) {}
  ~TFileHandle();
  TFileHandle(TFileHandle&& Other) noexcept : FFd(Other.Release()) {}
  TFileHandle& operator=(TFileHandle&& Other) noexcept;
  int Get() const { return FFd; }
  bool Valid() const { return FFd >= 0; }
  int Release() {
    const int Fd = FFd;
    FFd = -1;
    return Fd;
  }

private:
  int FFd = -1;
};

// Opens a folder for the operations below: OpenFolder follows links; OpenFolderAt opens Name
// below the opened folder Dir without following a link in its place. Invalid on failure.
TFileHandle OpenFolder(const std::string& Path);
TFileHandle OpenFolderAt(int Dir, const std::string& Name);

// The physical path of an opened folder (from /proc/self/fd), ending in '/'; "" when it
// cannot be read.
std::string FolderPhysicalPath(int Dir);

// A subfolder seen in a listing: the raw name, whether the entry is a link (to a folder), and
// the device and inode of the entry itself (of the link, for a link).
struct TFolderEntry {
  std::string Name;
  bool IsLink = false;
  dev_t Dev = 0;
  ino_t Ino = 0;
};

// The subfolders of the opened folder Dir, and links that lead to folders, in the order the
// folder gives them. Names beginning with '.' are skipped; so are files, FIFOs, sockets,
// devices, dangling links and link loops. A folder that cannot be read lists nothing.
std::vector<TFolderEntry> ListSubfolders(int Dir);

// Whether the folder Name below Dir (a link followed) holds a subfolder, or a link to one,
// whose name does not begin with '.'. Stops at the first.
bool HasSubfolders(int Dir, const std::string& Name);

// Orders the names with ASCII letters lowered, as unsigned bytes; equal keys in raw byte
// order.
void SortFolderEntries(std::vector<TFolderEntry>& Entries);
bool FolderNameLess(std::string_view A, std::string_view B);

// Creates the chain of folders Components below the opened folder Dir (mode 0777, the umask
// applies), existing ones reused. Each one is then opened without following links, so an
// existing link or file among them fails. On failure the folders this call created are
// removed again, in reverse order. True when the last one exists afterwards.
bool CreateFolderChain(int Dir, const std::vector<std::string>& Components);

// Removes the empty folder Name below the opened folder Parent, when the entry is a folder
// (not a link) with the device and inode given. Never recursive; a mount point or a folder
// that holds anything stays. True when it was removed.
bool RemoveEmptyFolder(int Parent, const std::string& Name, dev_t Dev, ino_t Ino);

}  // namespace kvl
