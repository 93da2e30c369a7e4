#include "kvl/testing/golden.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kvl {

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t DiffRed = 0x00FF0000;

bool UpdateRequested() {
  const char* V = std::getenv("KVL_UPDATE_GOLDEN");
  return V && std::string(V) == "1";
}

// "testdata/sampler.png" -> "sampler"; the output files are named after it.
std::string Stem(const std::string& GoldenPng) { return fs::path(GoldenPng).stem().string(); }

int ChannelDiff(std::uint32_t A, std::uint32_t B, int Shift) {
  return std::abs(int((A >> Shift) & 0xFF) - int((B >> Shift) & 0xFF));
}

bool Near(std::uint32_t A, std::uint32_t B, int Tolerance) {
  return ChannelDiff(A, B, 16) <= Tolerance && ChannelDiff(A, B, 8) <= Tolerance &&
         ChannelDiff(A, B, 0) <= Tolerance;
}

// A pixel three quarters of the way to white, so the red marks stand out.
std::uint32_t Faded(std::uint32_t P) {
  std::uint32_t Out = 0;
  for (int Shift = 0; Shift <= 16; Shift += 8) {
    const std::uint32_t C = (P >> Shift) & 0xFF;
    Out |= ((C + 3 * 255) / 4) << Shift;
  }
  return Out;
}

// Saves B as <stem><Suffix> in the output folder; returns the path, or why it failed.
std::string SaveOutput(const TBitmap& B, const std::string& Stem, const char* Suffix) {
  const std::string Path = TestOutputPath(Stem + Suffix);
  try {
    B.SaveToPngFile(Path);
  } catch (const Exception& E) {
    return "(not written: " + E.Message() + ")";
  }
  return Path;
}

// Differing pixels red over a faded actual; where the golden has no pixel, all differ.
TBitmap DiffImage(const TBitmap& Actual, const TBitmap& Golden, int Tolerance,
                  std::int64_t& Differing) {
  TBitmap Diff(Actual.GetWidth(), Actual.GetHeight());
  Differing = 0;
  for (int Y = 0; Y < Actual.GetHeight(); ++Y) {
    const std::uint32_t* A = Actual.ScanLine(Y);
    std::uint32_t* D = Diff.ScanLine(Y);
    const bool GoldenRow = Y < Golden.GetHeight();
    for (int X = 0; X < Actual.GetWidth(); ++X) {
      const bool Same =
          GoldenRow && X < Golden.GetWidth() && Near(A[X], Golden.ScanLine(Y)[X], Tolerance);
      D[X] = Same ? Faded(A[X]) : DiffRed;
      Differing += !Same;
    }
  }
  return Diff;
}

std::string SizeText(const TBitmap& B) {
  return std::to_string(B.GetWidth()) + " x " + std::to_string(B.GetHeight());
}

}  // namespace

std::string TestOutputPath(const std::string& FileName) {
  fs::path Folder;
  if (const char* Env = std::getenv("KVL_TEST_OUTPUT"); Env && *Env)
    Folder = Env;
  else
    Folder = fs::temp_directory_path();
  std::error_code Ignored;
  fs::create_directories(Folder, Ignored);
  return (Folder / FileName).string();
}

::testing::AssertionResult SamePicture(const TBitmap& Actual, const TBitmap& Expected) {
  if (Actual.GetWidth() != Expected.GetWidth() || Actual.GetHeight() != Expected.GetHeight())
    return ::testing::AssertionFailure()
           << "size " << SizeText(Actual) << " differs from " << SizeText(Expected);
  std::int64_t Differing = 0;
  DiffImage(Actual, Expected, 0, Differing);
  if (Differing == 0) return ::testing::AssertionSuccess();
  for (int Y = 0; Y < Actual.GetHeight(); ++Y)
    for (int X = 0; X < Actual.GetWidth(); ++X)
      if ((Actual.ScanLine(Y)[X] ^ Expected.ScanLine(Y)[X]) & 0xFFFFFF)
        return ::testing::AssertionFailure()
               << Differing << " pixels differ, the first at (" << X << ", " << Y << ")";
  return ::testing::AssertionFailure();
}

::testing::AssertionResult MatchesGolden(const TBitmap& Actual, const std::string& GoldenPng,
                                         int Tolerance) {
  if (Actual.Empty()) return ::testing::AssertionFailure() << "the image to compare is empty";
  const std::string Name = Stem(GoldenPng);

  std::error_code Error;
  if (!fs::exists(GoldenPng, Error)) {
    if (UpdateRequested()) {
      const fs::path Parent = fs::path(GoldenPng).parent_path();
      if (!Parent.empty()) fs::create_directories(Parent, Error);
      try {
        Actual.SaveToPngFile(GoldenPng);
      } catch (const Exception& E) {
        return ::testing::AssertionFailure() << "cannot write golden image: " << E.Message();
      }
      return ::testing::AssertionSuccess() << "wrote new golden image " << GoldenPng;
    }
    return ::testing::AssertionFailure()
           << "golden image " << GoldenPng << " is missing; the actual image is in "
           << SaveOutput(Actual, Name, ".actual.png")
           << ": review it by eye and copy it into place (or run with KVL_UPDATE_GOLDEN=1)";
  }

  TBitmap Golden;
  try {
    Golden.LoadFromFile(GoldenPng);
  } catch (const Exception& E) {
    return ::testing::AssertionFailure() << "cannot read golden image: " << E.Message();
  }

  std::int64_t Differing = 0;
  const TBitmap Diff = DiffImage(Actual, Golden, Tolerance, Differing);
  const bool SameSize =
      Actual.GetWidth() == Golden.GetWidth() && Actual.GetHeight() == Golden.GetHeight();
  if (SameSize && Differing == 0) return ::testing::AssertionSuccess();

  auto Failure = ::testing::AssertionFailure();
  if (!SameSize)
    Failure << "size " << SizeText(Actual) << " differs from the golden " << SizeText(Golden)
            << "; ";
  Failure << Differing << " of " << std::int64_t(Actual.GetWidth()) * Actual.GetHeight()
          << " pixels differ from " << GoldenPng << " by more than " << Tolerance
          << "; actual: " << SaveOutput(Actual, Name, ".actual.png")
          << ", diff: " << SaveOutput(Diff, Name, ".diff.png");
  return Failure;
}

}  // namespace kvl
