// A host's dot font and text on a raster label: the input becomes a CharMatrix (raw sizes,
// column bytes and rows), a UTF-8 text (invalid sequences included), dot size and spacing,
// block and scroll modes, the text's position and the scroll step. The label paints and
// scrolls; the matrix must read back within its clamps, the pixels inside the frame must be
// the label's own colours, and the painted length must be the measured one plus one.
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz_input.h"
#include "kvl/platform/application.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/host_headless.h"
#include "kvl/rasterlab/rasterlab.h"

namespace {

using namespace kvl;
using namespace kvl::fuzzing;

struct TSetup {
  THeadlessHost* Host;
  TRasterLab* Lab;
};

TSetup& Setup() {
  static TSetup S = [] {
    auto [H, Form] = fuzzing::MakeFuzzForm(200, 80);
    auto* Lab = new TRasterLab(Form);
    Lab->SetParent(Form);
    Lab->SetBounds(0, 0, 160, 50);
    Lab->SetScrollInterval(10);
    Form->Show();
    return TSetup{H, Lab};
  }();
  return S;
}

void CheckPicture(TRasterLab& Lab) {
  const TBitmap& B = Lab.GetParentForm()->GetBackBuffer();
  const std::uint32_t Own[] = {ColorToPixel(Lab.GetColorDotOn()), ColorToPixel(Lab.GetColorDotOff()),
                               ColorToPixel(Lab.GetColorLabBakG())};
  for (int Y = 2; Y < Lab.GetHeight() - 2; ++Y)
    for (int X = 2; X < Lab.GetWidth() - 2; ++X) {
      const std::uint32_t Px = B.ScanLine(Y)[X] & 0xFFFFFF;
      Check(Px == Own[0] || Px == Own[1] || Px == Own[2]);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TSetup& S = Setup();
  TRasterLab& Lab = *S.Lab;
  TFuzzBytes R{Data, Size};
  Lab.SetScrollMode(rdsmOff);
  TRDCharMatrix M = TRasterLab::CreateBitFont(nullptr);
  M.FontWidth = R.Take<std::int32_t>();
  M.FontHeight = R.Take<std::int32_t>();
  Lab.SetDotSize(R.Take<std::int8_t>());
  Lab.SetDotSpacing(R.Take<std::int8_t>());
  const std::uint8_t Flags = R.Take<std::uint8_t>();
  Lab.SetProportional(Flags & 1);
  Lab.SetScrollLoop(Flags & 2);
  Lab.SetCharBlockMode(static_cast<TRDBlockMode>(R.Take<std::uint8_t>() % 4));
  Lab.SetPosX(R.Take<std::int16_t>());
  Lab.SetPosY(R.Take<std::int16_t>());
  const auto Mode = static_cast<TRDScrollMode>(R.Take<std::uint8_t>() % 6);
  const std::int32_t Inc = R.Take<std::int32_t>();
  const std::size_t TextLen = std::min<std::size_t>(R.Take<std::uint8_t>(), R.N);
  const std::string Text(reinterpret_cast<const char*>(R.P), TextLen);
  R.P += TextLen;
  R.N -= TextLen;
  // The rest: records of (code, first column, last column, four rows).
  while (R.N > 0) {
    const std::uint8_t Code = R.Take<std::uint8_t>();
    M.LeftMostBit[Code] = R.Take<std::uint8_t>();
    M.RightMostBit[Code] = R.Take<std::uint8_t>();
    for (int Row = 0; Row < 4; ++Row) M.BitData[Code][std::size_t(R.Take<std::uint8_t>() % 32)] = R.Take<std::uint32_t>();
  }
  Lab.SetCharMatrix(M);
  const TRDCharMatrix& Got = Lab.GetCharMatrix();
  Check(Got.FontWidth >= 0 && Got.FontWidth <= 32 && Got.FontHeight >= 0 && Got.FontHeight <= 32);
  for (int C = 0; C < 256; ++C) Check(Got.LeftMostBit[C] <= 31 && Got.RightMostBit[C] <= 31);
  Lab.SetText(Text);
  const int Len = Lab.CalcTextBitLength(Text);
  Check(Len == INT_MAX || Lab.GetTextBitLength() == Len + 1);
  CheckPicture(Lab);
  Lab.SetScrollIncrement(Inc);
  Lab.SetScrollMode(Mode);
  for (int I = 0; I < 8; ++I) {
    AdvanceHeadlessTime(*S.Host, 10);
    CheckPicture(Lab);
  }
  return 0;
}
