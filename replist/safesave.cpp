#include "kvl/replist/safesave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "kvl/platform/errors.h"

namespace kvl {

namespace {

[[noreturn]] void RaiseIO(const std::string& What, const std::string& FName, int Err) {
  throw EInOutError(What + " \"" + FName + "\": " + std::strerror(Err));
}

}  // namespace

void SaveFileReplacing(const std::string& FName, const std::function<void(std::FILE*)>& Write) {
  std::string Temp = FName + ".XXXXXX";
  const int Fd = mkstemp(Temp.data());
  if (Fd < 0) RaiseIO("Cannot create a file next to", FName, errno);
  std::FILE* F = fdopen(Fd, "wb");
  if (!F) {
    const int Err = errno;
    close(Fd);
    unlink(Temp.c_str());
    RaiseIO("Cannot write", Temp, Err);
  }
  try {
    struct stat Old {};
    mode_t Mode;
    if (stat(FName.c_str(), &Old) == 0) {
      Mode = Old.st_mode & 07777;
    } else {
      const mode_t Mask = umask(0);
      umask(Mask);
      Mode = 0666 & ~Mask;
    }
    fchmod(Fd, Mode);
    Write(F);
    if (std::fflush(F) != 0 || std::ferror(F) || fsync(Fd) != 0)
      RaiseIO("Cannot write", FName, errno);
  } catch (...) {
    std::fclose(F);
    unlink(Temp.c_str());
    throw;
  }
  if (std::fclose(F) != 0) {
    const int Err = errno;
    unlink(Temp.c_str());
    RaiseIO("Cannot write", FName, Err);
  }
  if (std::rename(Temp.c_str(), FName.c_str()) != 0) {
    const int Err = errno;
    unlink(Temp.c_str());
    RaiseIO("Cannot replace", FName, Err);
  }
}

}  // namespace kvl
