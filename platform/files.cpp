#include "kvl/platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kvl {

namespace {

[[noreturn]] void RaiseIO(const std::string& What, const std::string& FName, int Err) {
  throw EInOutError(What + " \"" + FName + "\": " + std::strerror(Err));
}

const char* KindOf(mode_t Mode) {
  if (S_ISDIR(Mode)) return "a directory";
  if (S_ISFIFO(Mode)) return "a FIFO";
  if (S_ISCHR(Mode)) return "a character device";
  if (S_ISBLK(Mode)) return "a block device";
  if (S_ISSOCK(Mode)) return "a socket";
  return "of an unknown kind";
}

}  // namespace

EFileReadError::EFileReadError(const std::string& Path, TFault Fault, const std::string& Reason)
    : EInOutError("file \"" + Path + "\": " + Reason), FFault(Fault), FReason(Reason) {}

TGivenFile::TGivenFile(const std::string& Path) : FPath(Path) {
  // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
  do FFd = open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  while (FFd < 0 && errno == EINTR);
  if (FFd < 0)
    throw EFileReadError(Path, EFileReadError::frOpen,
                         std::string("cannot open: ") + std::strerror(errno));
  struct stat St {};
  if (fstat(FFd, &St) != 0) {
    const int Err = errno;
    close(FFd);
    throw EFileReadError(Path, EFileReadError::frOpen,
                         std::string("cannot open: ") + std::strerror(Err));
  }
  if (!S_ISREG(St.st_mode)) {
    close(FFd);
    throw EFileReadError(Path, EFileReadError::frNotRegular,
                         std::string("not a regular file (") + KindOf(St.st_mode) + ")");
  }
  FSize = std::uint64_t(St.st_size);
}

TGivenFile::~TGivenFile() { close(FFd); }

std::size_t TGivenFile::Read(void* Buf, std::size_t Size) {
  for (;;) {
    const ssize_t N = read(FFd, Buf, Size);
    if (N >= 0) return std::size_t(N);
    if (errno != EINTR)
      throw EFileReadError(FPath, EFileReadError::frRead,
                           std::string("cannot read: ") + std::strerror(errno));
  }
}

bool FileExists(const std::string& Name) {
  struct stat St {};
  return !Name.empty() && ::stat(Name.c_str(), &St) == 0 && S_ISREG(St.st_mode);
}

std::string ReadGivenFile(const std::string& Path, std::size_t MaxBytes) {
  TGivenFile F(Path);
  const auto TooLarge = [&] {
    return EFileReadError(Path, EFileReadError::frTooLarge,
                          "too large (more than " + std::to_string(MaxBytes) + " bytes)");
  };
  if (F.GetSize() > MaxBytes) throw TooLarge();
  std::string Bytes(std::size_t(F.GetSize()), '\0');
  std::size_t Have = 0;
  while (Have < Bytes.size()) {
    const std::size_t N = F.Read(Bytes.data() + Have, Bytes.size() - Have);
    if (N == 0) break;
    Have += N;
  }
  Bytes.resize(Have);
  // A file that grew since, or one whose size the file system does not know (/proc), goes on
  // in pieces up to the limit.
  char Piece[65536];
  while (const std::size_t N = F.Read(Piece, sizeof Piece)) {
    if (N > MaxBytes - Bytes.size()) throw TooLarge();
    Bytes.append(Piece, N);
  }
  return Bytes;
}

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
