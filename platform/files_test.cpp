#include "kvl/platform/files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "kvl/platform/bitmap.h"
#include "kvl/testing/scratch_folder.h"

namespace kvl {
namespace {

namespace fs = std::filesystem;

class GivenFiles : public ::testing::Test {
protected:
  void SetUp() override {
    FScratch = std::make_unique<TScratchFolder>("kvl-files");
    Dir = FScratch->Path().substr(0, FScratch->Path().size() - 1);
  }
  void TearDown() override { FScratch.reset(); }
  std::string Path(const std::string& Name) const { return Dir + "/" + Name; }

  std::unique_ptr<TScratchFolder> FScratch;
  std::string Dir;
};

// Bytes this process has read through system calls so far.
std::uint64_t BytesReadSoFar() {
  std::ifstream Io("/proc/self/io");
  std::string Key;
  std::uint64_t Value = 0;
  while (Io >> Key >> Value)
    if (Key == "rchar:") return Value;
  return 0;
}

TEST_F(GivenFiles, AnythingButARegularFileIsRefusedWithoutBlocking) {
  // No writer ever opens the FIFO: a blocking open would hang the test here.
  const std::string Fifo = Path("fifo");
  ASSERT_EQ(mkfifo(Fifo.c_str(), 0600), 0);
  struct TCase {
    std::string Path;
    EFileReadError::TFault Fault;
    std::string Reason;
  };
  const TCase Cases[] = {
      {Fifo, EFileReadError::frNotRegular, "not a regular file (a FIFO)"},
      {"/dev/zero", EFileReadError::frNotRegular, "not a regular file (a character device)"},
      {Dir, EFileReadError::frNotRegular, "not a regular file (a directory)"},
      {Path("missing"), EFileReadError::frOpen, "cannot open: No such file or directory"},
  };
  for (const TCase& C : Cases) {
    try {
      (void)ReadGivenFile(C.Path, 1 << 20);
      ADD_FAILURE() << "read " << C.Path;
    } catch (const EFileReadError& E) {
      EXPECT_EQ(E.GetFault(), C.Fault) << C.Path;
      EXPECT_EQ(E.GetReason(), C.Reason);
      EXPECT_EQ(E.Message(), "file \"" + C.Path + "\": " + C.Reason);
    }
    // The picture loader names the file and the same reason in its own words.
    TBitmap B(1, 1);
    try {
      B.LoadFromFile(C.Path);
      ADD_FAILURE() << "loaded " << C.Path;
    } catch (const EInvalidGraphic& E) {
      EXPECT_EQ(E.Message(), "image file '" + C.Path + "': " + C.Reason);
    }
  }
}

TEST_F(GivenFiles, ASizeBeyondTheCapIsRefusedBeforeReading) {
  const std::string Sparse = Path("sparse");
  const int Fd = open(Sparse.c_str(), O_CREAT | O_WRONLY, 0600);
  ASSERT_GE(Fd, 0);
  ASSERT_EQ(ftruncate(Fd, off_t(1) << 32), 0);
  close(Fd);
  const std::uint64_t Before = BytesReadSoFar();
  try {
    (void)ReadGivenFile(Sparse, std::size_t(1) << 30);
    ADD_FAILURE() << "read a 4 GiB file under a 1 GiB cap";
  } catch (const EFileReadError& E) {
    EXPECT_EQ(E.GetFault(), EFileReadError::frTooLarge);
  }
  TBitmap B;
  EXPECT_THROW(B.LoadFromFile(Sparse), EInvalidGraphic);
  // Not a byte of the file was read (reading /proc/self/io itself counts a few hundred).
  EXPECT_LT(BytesReadSoFar() - Before, 4096u);
  // A cap equal to the size reads the file whole; a file that grows past the cap is stopped.
  std::ofstream(Path("ten"), std::ios::binary) << "0123456789";
  EXPECT_EQ(ReadGivenFile(Path("ten"), 10), "0123456789");
  EXPECT_THROW((void)ReadGivenFile(Path("ten"), 9), EFileReadError);
  // /proc files claim size 0 and are read to their end.
  EXPECT_NE(ReadGivenFile("/proc/self/status", 1 << 20).find("Name:"), std::string::npos);
}

TEST_F(GivenFiles, ALinkToAPictureLoads) {
  TBitmap Src(3, 2);
  Src.Pixels()[4] = 0x00123456;
  Src.SaveToPngFile(Path("real.png"));
  fs::create_directory_symlink(Dir, Path("folder-link"));
  fs::create_symlink(Path("real.png"), Path("link.png"));
  TBitmap B;
  B.LoadFromFile(Path("folder-link/link.png"));
  ASSERT_EQ(B.GetWidth(), 3);
  EXPECT_EQ(B.Pixels()[4], 0x00123456u);
  // A link to a FIFO is refused like the FIFO.
  ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
  fs::create_symlink(Path("fifo"), Path("fifo-link"));
  EXPECT_THROW(B.LoadFromFile(Path("fifo-link")), EInvalidGraphic);
}

}  // namespace
}  // namespace kvl
