// Whole-image comparison against reviewed PNG files, for GoogleTest.
//
//   EXPECT_TRUE(kvl::MatchesGolden(Bmp, "testdata/sampler.png"));
//
// Golden paths are relative to the test's working directory (the unit's source folder under
// CTest). On a mismatch the actual picture and a diff picture (differing pixels red over a
// faded copy of the actual) go into the test output folder, and the message names both.
// A missing golden fails and writes the actual picture for review; with KVL_UPDATE_GOLDEN=1
// in the environment it is written as the golden file instead and the check passes.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "kvl/platform/bitmap.h"

namespace kvl {

// Each channel of each pixel may differ by up to Tolerance.
::testing::AssertionResult MatchesGolden(const TBitmap& Actual, const std::string& GoldenPng,
                                         int Tolerance = 0);

// Two pictures made in the same run (a capture against a fresh rendering) are equal pixel for
// pixel; a failure names how many pixels differ and the first of them.
::testing::AssertionResult SamePicture(const TBitmap& Actual, const TBitmap& Expected);

// FileName inside the test output folder: $KVL_TEST_OUTPUT (CTest sets it to
// <build>/test-output), else the system temp folder. The folder is created when missing.
std::string TestOutputPath(const std::string& FileName);

}  // namespace kvl
