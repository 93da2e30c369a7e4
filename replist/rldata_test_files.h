// A fresh folder per test for the files the store reads and writes.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "kvl/testing/scratch_folder.h"

namespace kvl {

class TTempDirTest : public ::testing::Test {
protected:
  std::string Dir;
  void SetUp() override {
    FScratch = std::make_unique<TScratchFolder>("kvl-rldata");
    Dir = FScratch->Path().substr(0, FScratch->Path().size() - 1);
  }
  void TearDown() override { FScratch.reset(); }
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

private:
  std::unique_ptr<TScratchFolder> FScratch;
};

}  // namespace kvl
