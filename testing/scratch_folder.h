// A scratch folder for tests that touch the file system: made fresh with mkdtemp under
// $TMPDIR (or /tmp), removed with everything in it when the object goes. The removal never
// follows a link (a link is removed, its target stays) and gives folders their permissions
// back first, so unreadable or read-only folders a test made go too.
#pragma once

#include <string>

namespace kvl {

class TScratchFolder {
public:
  // Prefix names the test in the folder's name; Under, when given, is the folder to make it
  // in (a memory file system for tests of many entries). Raises std::runtime_error when mkdtemp
  // fails.
  explicit TScratchFolder(const std::string& Prefix = "kvl", const std::string& Under = {});
  ~TScratchFolder();
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;

  // The folder's path, ending in '/'.
  const std::string& Path() const { return FPath; }
  // Path() + Name.
  std::string operator/(const std::string& Name) const { return FPath + Name; }

private:
  std::string FPath;
};

// A memory file system for scratch folders of many entries ("/dev/shm" where it can be
// written), else "" (the usual temporary folder).
std::string MemoryScratchBase();

// Removes the folder Name below the opened folder Dir with everything in it, without
// following links and restoring permissions on the way. True when it is gone.
bool RemoveTreeAt(int Dir, const std::string& Name);

}  // namespace kvl
