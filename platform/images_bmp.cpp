// BMP reading (core, info, V4 and V5 headers; 1/4/8-bit palettes, RLE8, RLE4, 16/24/32-bit
// with or without bit fields) and 24-bit writing. Every read goes through bounds-checked
// accessors; sizes are computed in 64 bits and checked before anything is allocated.
#include <algorithm>
#include <array>
#include <cstring>

#include "kvl/platform/images.h"

namespace kvl {

namespace {

constexpr std::uint32_t BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitfields = 3, BiAlphaBitfields = 6;
constexpr std::size_t FileHeaderSize = 14;

[[noreturn]] void Fail(const std::string& What) { throw EInvalidGraphic(What); }

class TReader {
 public:
  TReader(const std::uint8_t* Data, std::size_t Size) : FData(Data), FSize(Size) {}

  bool Has(std::size_t Pos, std::size_t Count) const {
    return Pos <= FSize && Count <= FSize - Pos;
  }
  std::uint16_t U16(std::size_t Pos) const {
    Need(Pos, 2);
    return std::uint16_t(FData[Pos] | FData[Pos + 1] << 8);
  }
  std::uint32_t U32(std::size_t Pos) const {
    Need(Pos, 4);
    return std::uint32_t(FData[Pos]) | std::uint32_t(FData[Pos + 1]) << 8 |
           std::uint32_t(FData[Pos + 2]) << 16 | std::uint32_t(FData[Pos + 3]) << 24;
  }
  std::int32_t I32(std::size_t Pos) const { return std::int32_t(U32(Pos)); }
  const std::uint8_t* At(std::size_t Pos) const { return FData + Pos; }
  std::size_t Size() const { return FSize; }

 private:
  void Need(std::size_t Pos, std::size_t Count) const {
    if (!Has(Pos, Count)) Fail("truncated header");
  }
  const std::uint8_t* FData;
  std::size_t FSize;
};

// One channel of a bit-field pixel, scaled to 0..255.
struct TChannel {
  std::uint32_t Mask = 0;
  int Shift = 0;
  std::uint32_t Max = 0;

  explicit TChannel(std::uint32_t M) : Mask(M) {
    if (!M) return;
    while (!((M >> Shift) & 1)) ++Shift;
    Max = M >> Shift;
  }
  std::uint32_t Get(std::uint32_t Pixel) const {
    if (!Max) return 0;
    const std::uint64_t V = (Pixel & Mask) >> Shift;
    return std::uint32_t((V * 255 + Max / 2) / Max);
  }
};

struct THeader {
  std::int64_t Width = 0;
  std::int64_t Height = 0;  // positive; TopDown tells the row order
  bool TopDown = false;
  int BitCount = 0;
  std::uint32_t Compression = BiRgb;
  std::array<std::uint32_t, 3> Masks{};  // red, green, blue for 16 and 32 bits
  std::vector<std::uint32_t> Palette;    // 0x00RRGGBB
  std::size_t PixelOffset = 0;
};

THeader ReadHeader(const TReader& R) {
  if (!R.Has(0, 2) || R.At(0)[0] != 'B' || R.At(0)[1] != 'M') Fail("not a BMP file");
  THeader H;
  H.PixelOffset = R.U32(10);
  const std::uint32_t InfoSize = R.U32(FileHeaderSize);
  const std::size_t Info = FileHeaderSize;
  std::size_t PaletteEntrySize = 4;
  std::uint32_t ColorsUsed = 0;
  if (InfoSize == 12) {
    // The old core header: 16-bit sizes, no compression, three-byte palette entries.
    H.Width = R.U16(Info + 4);
    H.Height = R.U16(Info + 6);
    H.BitCount = R.U16(Info + 10);
    PaletteEntrySize = 3;
  } else if (InfoSize >= 40 && InfoSize <= 124) {
    H.Width = R.I32(Info + 4);
    const std::int64_t Height = R.I32(Info + 8);
    H.TopDown = Height < 0;
    H.Height = Height < 0 ? -Height : Height;
    H.BitCount = R.U16(Info + 14);
    H.Compression = R.U32(Info + 16);
    ColorsUsed = R.U32(Info + 32);
  } else {
    Fail("unsupported header size " + std::to_string(InfoSize));
  }
  CheckDecodedSize(H.Width, H.Height);

  std::size_t PalettePos = Info + InfoSize;
  switch (H.Compression) {
    case BiRgb:
      if (H.BitCount == 16) H.Masks = {0x7C00, 0x03E0, 0x001F};
      if (H.BitCount == 32) H.Masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
      if (H.BitCount != 1 && H.BitCount != 4 && H.BitCount != 8 && H.BitCount != 16 &&
          H.BitCount != 24 && H.BitCount != 32)
        Fail("unsupported bit depth " + std::to_string(H.BitCount));
      break;
    case BiRle8:
    case BiRle4:
      if (H.BitCount != (H.Compression == BiRle8 ? 8 : 4))
        Fail("run-length data does not match the bit depth");
      if (H.TopDown) Fail("top-down run-length data");
      break;
    case BiBitfields:
    case BiAlphaBitfields: {
      if (H.BitCount != 16 && H.BitCount != 32) Fail("bit fields need 16 or 32 bits per pixel");
      // The masks follow a plain info header, or sit inside the later ones.
      const std::size_t MaskPos = Info + 40;
      H.Masks = {R.U32(MaskPos), R.U32(MaskPos + 4), R.U32(MaskPos + 8)};
      if (InfoSize == 40) PalettePos += H.Compression == BiBitfields ? 12 : 16;
      break;
    }
    default:
      Fail("unsupported compression " + std::to_string(H.Compression));
  }

  if (H.BitCount <= 8) {
    const std::uint32_t Full = 1u << H.BitCount;
    std::uint32_t Count = ColorsUsed == 0 || ColorsUsed > Full ? Full : ColorsUsed;
    // Without a count (always so in the core header) some writers store a short palette:
    // the pixel data then starts where the palette ends.
    if (ColorsUsed == 0 && H.PixelOffset > PalettePos)
      Count = std::uint32_t(
          std::min<std::size_t>(Count, (H.PixelOffset - PalettePos) / PaletteEntrySize));
    if (!R.Has(PalettePos, std::size_t(Count) * PaletteEntrySize)) Fail("truncated palette");
    H.Palette.resize(Count);
    for (std::uint32_t I = 0; I < Count; ++I) {
      const std::uint8_t* E = R.At(PalettePos + I * PaletteEntrySize);
      H.Palette[I] = std::uint32_t(E[2]) << 16 | std::uint32_t(E[1]) << 8 | E[0];
    }
  }
  if (H.PixelOffset >= R.Size()) Fail("pixel data offset beyond the end of the file");
  return H;
}

std::uint32_t PaletteColor(const THeader& H, unsigned Index) {
  // An index past a short palette is black rather than an error, as other readers do.
  return Index < H.Palette.size() ? H.Palette[Index] : 0;
}

// Where a row of the file (in file order) lands in the picture.
int PictureRow(const THeader& H, std::int64_t FileRow) {
  return int(H.TopDown ? FileRow : H.Height - 1 - FileRow);
}

std::int64_t RowStride(const THeader& H) { return (H.Width * H.BitCount + 31) / 32 * 4; }

// Checked before the picture is allocated, so a short file with a large header costs nothing.
void CheckUncompressedSize(const TReader& R, const THeader& H) {
  const std::int64_t RowBytes = (H.Width * H.BitCount + 7) / 8;
  // The last row may lack its padding.
  const std::int64_t Needed = (H.Height - 1) * RowStride(H) + RowBytes;
  if (std::uint64_t(Needed) > R.Size() - H.PixelOffset) Fail("truncated pixel data");
}

void DecodeUncompressed(const TReader& R, const THeader& H, TDecodedImage& Img) {
  const std::int64_t Stride = RowStride(H);
  const TChannel Red(H.Masks[0]), Green(H.Masks[1]), Blue(H.Masks[2]);
  const int W = int(H.Width);
  for (std::int64_t FileRow = 0; FileRow < H.Height; ++FileRow) {
    const std::uint8_t* S = R.At(H.PixelOffset + std::size_t(FileRow * Stride));
    std::uint32_t* D = Img.Pixels.data() + std::size_t(PictureRow(H, FileRow)) * std::size_t(W);
    switch (H.BitCount) {
      case 1:
        for (int X = 0; X < W; ++X) D[X] = PaletteColor(H, (S[X >> 3] >> (7 - (X & 7))) & 1);
        break;
      case 4:
        for (int X = 0; X < W; ++X) D[X] = PaletteColor(H, (S[X >> 1] >> (X & 1 ? 0 : 4)) & 15);
        break;
      case 8:
        for (int X = 0; X < W; ++X) D[X] = PaletteColor(H, S[X]);
        break;
      case 24:
        for (int X = 0; X < W; ++X, S += 3)
          D[X] = std::uint32_t(S[2]) << 16 | std::uint32_t(S[1]) << 8 | S[0];
        break;
      case 16:
        for (int X = 0; X < W; ++X, S += 2) {
          const std::uint32_t P = std::uint32_t(S[0]) | std::uint32_t(S[1]) << 8;
          D[X] = Red.Get(P) << 16 | Green.Get(P) << 8 | Blue.Get(P);
        }
        break;
      case 32:
        for (int X = 0; X < W; ++X, S += 4) {
          const std::uint32_t P = std::uint32_t(S[0]) | std::uint32_t(S[1]) << 8 |
                                  std::uint32_t(S[2]) << 16 | std::uint32_t(S[3]) << 24;
          D[X] = Red.Get(P) << 16 | Green.Get(P) << 8 | Blue.Get(P);
        }
        break;
    }
  }
}

// RLE8 and RLE4: runs, absolute stretches, line ends and jumps. Img arrives filled with
// palette colour 0, which pixels the data never reaches keep.
void DecodeRunLength(const TReader& R, const THeader& H, TDecodedImage& Img) {
  const bool Four = H.Compression == BiRle4;
  const std::int64_t W = H.Width;
  std::size_t Pos = H.PixelOffset;
  const std::size_t End = R.Size();
  std::int64_t X = 0, Y = 0;  // Y counts file rows, bottom row first

  auto Put = [&](unsigned Index) {
    if (X < W && Y < H.Height)
      Img.Pixels[std::size_t(PictureRow(H, Y)) * std::size_t(W) + std::size_t(X)] =
          PaletteColor(H, Index);
    ++X;
  };
  auto Take = [&](std::size_t Count) {
    if (Count > End - Pos) Fail("truncated pixel data");
    const std::uint8_t* P = R.At(Pos);
    Pos += Count;
    return P;
  };

  while (Y < H.Height) {
    const std::uint8_t* Cmd = Take(2);
    if (Cmd[0] > 0) {
      for (unsigned I = 0; I < Cmd[0] && X < W; ++I)
        Put(Four ? (I & 1 ? Cmd[1] & 15 : Cmd[1] >> 4) : Cmd[1]);
      continue;
    }
    switch (Cmd[1]) {
      case 0:  // end of line
        X = 0;
        ++Y;
        break;
      case 1:  // end of picture
        return;
      case 2: {  // jump right and up
        const std::uint8_t* D = Take(2);
        X += D[0];
        Y += D[1];
        break;
      }
      default: {  // a stretch of literal pixels, padded to a 16-bit boundary
        const unsigned Count = Cmd[1];
        const std::size_t Bytes = Four ? (Count + 1) / 2 : Count;
        const std::uint8_t* Lit = Take((Bytes + 1) & ~std::size_t(1));
        for (unsigned I = 0; I < Count; ++I)
          Put(Four ? (I & 1 ? Lit[I / 2] & 15 : Lit[I / 2] >> 4) : Lit[I]);
        break;
      }
    }
  }
}

}  // namespace

TDecodedImage DecodeBmp(const std::uint8_t* Data, std::size_t Size) {
  const TReader R(Data, Size);
  const THeader H = ReadHeader(R);
  const bool RunLength = H.Compression == BiRle8 || H.Compression == BiRle4;
  if (!RunLength) CheckUncompressedSize(R, H);
  TDecodedImage Img;
  Img.Width = int(H.Width);
  Img.Height = int(H.Height);
  Img.Monochrome = H.BitCount == 1;
  Img.Pixels.assign(std::size_t(H.Width) * std::size_t(H.Height),
                    RunLength ? PaletteColor(H, 0) : 0);
  if (RunLength)
    DecodeRunLength(R, H, Img);
  else
    DecodeUncompressed(R, H, Img);
  return Img;
}

std::vector<std::uint8_t> EncodeBmp(const TBitmap& B) {
  if (B.Empty()) throw EInvalidGraphic("cannot save an empty bitmap");
  const std::size_t W = std::size_t(B.GetWidth()), H = std::size_t(B.GetHeight());
  const std::size_t Stride = (W * 3 + 3) / 4 * 4;
  const std::size_t PixelOffset = FileHeaderSize + 40;
  const std::size_t FileSize = PixelOffset + Stride * H;
  // The header's 32-bit size fields cannot describe more.
  if (FileSize > 0xFFFFFFFFu) throw EInvalidGraphic("bitmap too large for a BMP file");

  std::vector<std::uint8_t> Out(FileSize, 0);
  auto Put16 = [&](std::size_t Pos, std::uint32_t V) {
    Out[Pos] = std::uint8_t(V);
    Out[Pos + 1] = std::uint8_t(V >> 8);
  };
  auto Put32 = [&](std::size_t Pos, std::uint32_t V) {
    Put16(Pos, V & 0xFFFF);
    Put16(Pos + 2, V >> 16);
  };
  Out[0] = 'B';
  Out[1] = 'M';
  Put32(2, std::uint32_t(FileSize));
  Put32(10, std::uint32_t(PixelOffset));
  Put32(14, 40);
  Put32(18, std::uint32_t(W));
  Put32(22, std::uint32_t(H));  // positive: bottom row first
  Put16(26, 1);
  Put16(28, 24);
  Put32(30, BiRgb);
  Put32(34, std::uint32_t(Stride * H));
  Put32(38, 3780);  // 96 dots per inch, in dots per metre
  Put32(42, 3780);

  for (std::size_t Y = 0; Y < H; ++Y) {
    const std::uint32_t* S = B.ScanLine(int(H - 1 - Y));
    std::uint8_t* D = Out.data() + PixelOffset + Y * Stride;
    for (std::size_t X = 0; X < W; ++X, D += 3) {
      D[0] = std::uint8_t(S[X]);
      D[1] = std::uint8_t(S[X] >> 8);
      D[2] = std::uint8_t(S[X] >> 16);
    }
  }
  return Out;
}

}  // namespace kvl
