// Files the program is given by name (by a user or a property): read without ever blocking on
// a pipe or a device and without reading more than the caller can take, and saved so that a
// failure never costs the old file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "kvl/platform/errors.h"

namespace kvl {

// A given file that cannot be read. The message names the file ("file \"a.png\": not a
// regular file (a FIFO)"); GetReason() is the bare fault ("not a regular file (a FIFO)",
// "cannot open: No such file or directory") for callers that name the file in their own words.
class EFileReadError : public EInOutError {
public:
  enum TFault : std::uint8_t { frOpen, frNotRegular, frTooLarge, frRead };
  EFileReadError(const std::string& Path, TFault Fault, const std::string& Reason);
  TFault GetFault() const { return FFault; }
  const std::string& GetReason() const { return FReason; }

private:
  TFault FFault;
  std::string FReason;
};

// True only for a regular file (a symbolic link is followed to one). A FIFO, a device, a
// directory, a dangling link or a link loop counts as missing.
bool FileExists(const std::string& Name);

// A given file open for reading. Opening never blocks (a FIFO without a writer, a device) and
// the descriptor is closed on exec; anything but a regular file (a FIFO, a device, a
// directory, a socket) is refused. A symbolic link to a regular file is followed.
class TGivenFile {
public:
  // Raises EFileReadError (frOpen or frNotRegular).
  explicit TGivenFile(const std::string& Path);
  ~TGivenFile();
  TGivenFile(const TGivenFile&) = delete;
  TGivenFile& operator=(const TGivenFile&) = delete;

  // The size the file system gave when it was opened.
  std::uint64_t GetSize() const { return FSize; }
  // Up to Size bytes into Buf; 0 at the end. Raises EFileReadError (frRead).
  std::size_t Read(void* Buf, std::size_t Size);

private:
  std::string FPath;
  int FFd = -1;
  std::uint64_t FSize = 0;
};

// The whole contents of the given file. A file larger than MaxBytes is refused (frTooLarge)
// before a byte is read, and so is one that grows beyond it while being read.
std::string ReadGivenFile(const std::string& Path, std::size_t MaxBytes);

// Calls Write with an open temporary file next to FName, then flushes, syncs and renames it
// over FName. Any failure (including an exception from Write) removes the temporary file and
// raises EInOutError, or lets Write's exception through. The file keeps the old file's
// permissions, or gets the usual ones for a new file.
void SaveFileReplacing(const std::string& FName, const std::function<void(std::FILE*)>& Write);

}  // namespace kvl
