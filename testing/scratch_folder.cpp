#include "kvl/testing/scratch_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace kvl {

TScratchFolder::TScratchFolder(const std::string& Prefix, const std::string& Under) {
  const char* Tmp = std::getenv("TMPDIR");
  const std::string Base = !Under.empty() ? Under : Tmp && Tmp[0] == '/' ? Tmp : "/tmp";
  std::string Pattern = Base + "/" + Prefix + "-XXXXXX";
  if (!::mkdtemp(Pattern.data())) throw std::runtime_error("mkdtemp failed for " + Pattern);
  FPath = Pattern + "/";
}

TScratchFolder::~TScratchFolder() {
  const std::string Folder = FPath.substr(0, FPath.size() - 1);
  const std::size_t Slash = Folder.rfind('/');
  const int Parent = ::open(Folder.substr(0, Slash + 1).c_str(), O_RDONLY | O_DIRECTORY);
  if (Parent < 0) return;
  RemoveTreeAt(Parent, Folder.substr(Slash + 1));
  ::close(Parent);
}

std::string MemoryScratchBase() { return ::access("/dev/shm", W_OK | X_OK) == 0 ? "/dev/shm" : ""; }

bool RemoveTreeAt(int Dir, const std::string& Name) {
  struct stat St;
  if (::fstatat(Dir, Name.c_str(), &St, AT_SYMLINK_NOFOLLOW) != 0) return false;
  if (!S_ISDIR(St.st_mode)) return ::unlinkat(Dir, Name.c_str(), 0) == 0;
  // Read and enter rights first; the folder itself is no link, so this changes only it.
  ::fchmodat(Dir, Name.c_str(), 0700, 0);
  const int Fd = ::openat(Dir, Name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
  if (Fd >= 0) {
    if (DIR* D = ::fdopendir(Fd)) {
      std::vector<std::string> Names;
      while (const dirent* E = ::readdir(D)) {
        const std::string N = E->d_name;
        if (N != "." && N != "..") Names.push_back(N);
      }
      for (const std::string& N : Names) RemoveTreeAt(::dirfd(D), N);
      ::closedir(D);
    } else {
      ::close(Fd);
    }
  }
  return ::unlinkat(Dir, Name.c_str(), AT_REMOVEDIR) == 0;
}

}  // namespace kvl
