// A fresh folder per test for the files the store reads and writes.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace kvl {

class TTempDirTest : public ::testing::Test {
protected:
  std::string Dir;
  void SetUp() override {
    std::string Pattern = (std::filesystem::temp_directory_path() / "kvl-rldata-XXXXXX").string();
    ASSERT_NE(mkdtemp(Pattern.data()), nullptr);
    Dir = Pattern;
  }
  void TearDown() override {
    std::error_code Ec;
    std::filesystem::permissions(Dir, std::filesystem::perms::owner_all, Ec);
    std::filesystem::remove_all(Dir, Ec);
  }
  std::string Write(const std::string& Name, const std::string& Content) {
    const std::string Path = Dir + "/" + Name;
    std::ofstream(Path, std::ios::binary) << Content;
    return Path;
  }
  // A FIFO that no one writes to: opening it for reading the usual way never returns.
  std::string Fifo(const std::string& Name) {
    const std::string Path = Dir + "/" + Name;
    EXPECT_EQ(mkfifo(Path.c_str(), 0600), 0);
    return Path;
  }
  static std::string Read(const std::string& Path) {
    std::ifstream In(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), {});
  }
};

}  // namespace kvl
