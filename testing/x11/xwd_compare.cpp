// Compares a window dump (xwd, 24/32-bit TrueColor ZPixmap), or a rendered PNG, with a PNG
// pixel by pixel.
//
//   xwd_compare WINDOW.xwd|ACTUAL.png EXPECTED.png DIFF.png [X,Y]
//
// With X,Y the dump is of a larger area (the whole screen, where windows above the one tested
// show): the part of it at X,Y the size of EXPECTED.png is compared.
//
// Exit 0 when every pixel is equal, 1 when some differ (DIFF.png then shows them in red),
// 2 when a file cannot be read.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "kvl/platform/bitmap.h"

namespace {

using kvl::TBitmap;

std::uint32_t Big32(const std::vector<std::uint8_t>& D, std::size_t At) {
  if (At + 4 > D.size()) throw std::runtime_error("truncated header");
  return std::uint32_t(D[At]) << 24 | std::uint32_t(D[At + 1]) << 16 |
         std::uint32_t(D[At + 2]) << 8 | D[At + 3];
}

int MaskShift(std::uint32_t Mask) {
  int S = 0;
  while (Mask && !(Mask & 1)) {
    Mask >>= 1;
    ++S;
  }
  return S;
}

TBitmap ReadXwd(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary);
  if (!In) throw std::runtime_error("cannot open " + Path);
  const std::vector<std::uint8_t> D{std::istreambuf_iterator<char>(In), {}};
  // The header is 25 big-endian 32-bit fields.
  const std::uint32_t HeaderSize = Big32(D, 0), Format = Big32(D, 8), Width = Big32(D, 16),
                      Height = Big32(D, 20), ByteOrder = Big32(D, 28), BitsPerPixel = Big32(D, 44),
                      BytesPerLine = Big32(D, 48), RedMask = Big32(D, 56), GreenMask = Big32(D, 60),
                      BlueMask = Big32(D, 64), Colors = Big32(D, 76);
  if (Format != 2 || BitsPerPixel != 32) throw std::runtime_error("not a 32-bit ZPixmap dump");
  if (Width == 0 || Height == 0 || Width > 16384 || Height > 16384 || BytesPerLine < Width * 4)
    throw std::runtime_error("implausible size");
  const std::size_t Data = std::size_t(HeaderSize) + std::size_t(Colors) * 12;
  if (Data + std::size_t(BytesPerLine) * Height > D.size())
    throw std::runtime_error("truncated pixels");
  TBitmap B(static_cast<int>(Width), static_cast<int>(Height));
  for (std::uint32_t Y = 0; Y < Height; ++Y) {
    const std::uint8_t* Row = D.data() + Data + std::size_t(Y) * BytesPerLine;
    std::uint32_t* Out = B.ScanLine(int(Y));
    for (std::uint32_t X = 0; X < Width; ++X) {
      const std::uint8_t* P = Row + X * 4;
      const std::uint32_t V =
          ByteOrder == 0 ? std::uint32_t(P[0]) | P[1] << 8 | P[2] << 16 | std::uint32_t(P[3]) << 24
                         : std::uint32_t(P[3]) | P[2] << 8 | P[1] << 16 | std::uint32_t(P[0]) << 24;
      const std::uint32_t R = (V & RedMask) >> MaskShift(RedMask),
                          G = (V & GreenMask) >> MaskShift(GreenMask),
                          Bl = (V & BlueMask) >> MaskShift(BlueMask);
      Out[X] = (R & 0xFF) << 16 | (G & 0xFF) << 8 | (Bl & 0xFF);
    }
  }
  return B;
}

}  // namespace

int main(int Argc, char** Argv) {
  int CropX = -1, CropY = -1;
  if ((Argc != 4 && Argc != 5) ||
      (Argc == 5 && (std::sscanf(Argv[4], "%d,%d", &CropX, &CropY) != 2 || CropX < 0 || CropY < 0))) {
    std::fprintf(stderr,
                 "usage: xwd_compare WINDOW.xwd|ACTUAL.png EXPECTED.png DIFF.png [X,Y]\n");
    return 2;
  }
  try {
    const std::string First = Argv[1];
    TBitmap Window;
    if (First.size() > 4 && First.compare(First.size() - 4, 4, ".png") == 0)
      Window.LoadFromFile(First);
    else
      Window = ReadXwd(First);
    TBitmap Expected;
    Expected.LoadFromFile(Argv[2]);
    if (CropX >= 0) {
      const int W = Expected.GetWidth(), H = Expected.GetHeight();
      if (CropX + W > Window.GetWidth() || CropY + H > Window.GetHeight()) {
        std::printf("the area at %d,%d lies outside the dump\n", CropX, CropY);
        return 1;
      }
      TBitmap Part(W, H);
      for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) Part.ScanLine(Y)[X] = Window.ScanLine(CropY + Y)[CropX + X];
      Window = Part;
    }
    if (Window.GetWidth() != Expected.GetWidth() || Window.GetHeight() != Expected.GetHeight()) {
      std::printf("sizes differ: window %dx%d, expected %dx%d\n", Window.GetWidth(),
                  Window.GetHeight(), Expected.GetWidth(), Expected.GetHeight());
      return 1;
    }
    TBitmap Diff(Window.GetWidth(), Window.GetHeight());
    long Differ = 0;
    for (int Y = 0; Y < Window.GetHeight(); ++Y)
      for (int X = 0; X < Window.GetWidth(); ++X) {
        const std::uint32_t A = Window.ScanLine(Y)[X] & 0xFFFFFF;
        const std::uint32_t B = Expected.ScanLine(Y)[X] & 0xFFFFFF;
        Differ += A != B;
        Diff.ScanLine(Y)[X] = A != B ? 0xFF0000 : (A >> 2 & 0x3F3F3F) + 0xA0A0A0;
      }
    std::printf("%ld of %d pixels differ\n", Differ, Window.GetWidth() * Window.GetHeight());
    if (Differ == 0) return 0;
    Diff.SaveToPngFile(Argv[3]);
    return 1;
  } catch (const std::exception& E) {
    std::fprintf(stderr, "xwd_compare: %s\n", E.what());
    return 2;
  }
}
