#include "kvl/platform/images.h"

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kvl/platform/bitmap.h"
#include "kvl/platform/resources.h"
#include "kvl/testing/golden.h"
#include "kvl/testing/scratch_folder.h"

namespace kvl {
namespace {

namespace fs = std::filesystem;
using TBytes = std::vector<std::uint8_t>;

// --- building inputs ---------------------------------------------------------------------

void Put16(TBytes& B, std::size_t Pos, std::uint32_t V) {
  B[Pos] = std::uint8_t(V);
  B[Pos + 1] = std::uint8_t(V >> 8);
}
void Put32(TBytes& B, std::size_t Pos, std::uint32_t V) {
  Put16(B, Pos, V & 0xFFFF);
  Put16(B, Pos + 2, V >> 16);
}

// A BMP file from its parts. Rows are given exactly as stored (padding included), so the
// tests do not share the decoder's idea of the row layout.
struct TBmpLayout {
  int HeaderSize = 40;
  int Width = 0;
  int Height = 0;
  int Bits = 24;
  std::uint32_t Compression = 0;
  std::vector<std::uint32_t> Palette{};  // 0x00RRGGBB
  std::vector<std::uint32_t> Masks{};    // red, green, blue
  TBytes Pixels{};
};

TBytes BuildBmp(const TBmpLayout& S) {
  const bool Core = S.HeaderSize == 12;
  const std::size_t MaskBytes = S.HeaderSize == 40 ? S.Masks.size() * 4 : 0;
  const std::size_t EntrySize = Core ? 3 : 4;
  const std::size_t PixelOffset = 14 + S.HeaderSize + MaskBytes + S.Palette.size() * EntrySize;
  TBytes B(PixelOffset, 0);
  B[0] = 'B';
  B[1] = 'M';
  Put32(B, 2, std::uint32_t(PixelOffset + S.Pixels.size()));
  Put32(B, 10, std::uint32_t(PixelOffset));
  Put32(B, 14, std::uint32_t(S.HeaderSize));
  if (Core) {
    Put16(B, 18, std::uint32_t(S.Width));
    Put16(B, 20, std::uint32_t(S.Height));
    Put16(B, 22, 1);
    Put16(B, 24, std::uint32_t(S.Bits));
  } else {
    Put32(B, 18, std::uint32_t(S.Width));
    Put32(B, 22, std::uint32_t(S.Height));
    Put16(B, 26, 1);
    Put16(B, 28, std::uint32_t(S.Bits));
    Put32(B, 30, S.Compression);
    Put32(B, 46, std::uint32_t(S.Palette.size()));
    for (std::size_t I = 0; I < S.Masks.size(); ++I) Put32(B, 54 + 4 * I, S.Masks[I]);
  }
  std::size_t P = 14 + S.HeaderSize + MaskBytes;
  for (std::uint32_t C : S.Palette) {
    B[P] = std::uint8_t(C);
    B[P + 1] = std::uint8_t(C >> 8);
    B[P + 2] = std::uint8_t(C >> 16);
    P += EntrySize;
  }
  B.insert(B.end(), S.Pixels.begin(), S.Pixels.end());
  return B;
}

TBitmap Load(const TBytes& Bytes) {
  TBitmap B;
  B.LoadFromMemory(Bytes.data(), Bytes.size());
  return B;
}

std::vector<std::uint32_t> PixelsOf(const TBitmap& B) {
  return {B.Pixels(), B.Pixels() + std::size_t(B.GetWidth()) * std::size_t(B.GetHeight())};
}

// A bitmap whose every pixel differs from its neighbours in all three channels.
TBitmap Pattern(int W, int H) {
  TBitmap B(W, H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X)
      B.ScanLine(Y)[X] = std::uint32_t((X * 37 + Y * 11) & 0xFF) << 16 |
                         std::uint32_t((X * 5 + Y * 71) & 0xFF) << 8 |
                         std::uint32_t((X * 13 + Y * 3 + 7) & 0xFF);
  return B;
}

// A PNG through libpng's writer, for layouts our own writer does not produce.
TBytes WritePng(int W, int H, png_uint_32 Format, const void* Pixels) {
  png_image Img{};
  Img.version = PNG_IMAGE_VERSION;
  Img.width = png_uint_32(W);
  Img.height = png_uint_32(H);
  Img.format = Format;
  png_alloc_size_t Size = 0;
  const int Channels = int(PNG_IMAGE_SAMPLE_CHANNELS(Format));
  const int Stride = W * Channels;  // in components
  EXPECT_TRUE(png_image_write_to_memory(&Img, nullptr, &Size, 0, Pixels, Stride, nullptr));
  TBytes Out(Size);
  EXPECT_TRUE(png_image_write_to_memory(&Img, Out.data(), &Size, 0, Pixels, Stride, nullptr));
  Out.resize(Size);
  return Out;
}

// Chunk with its CRC, for hand-made PNG files.
void AppendChunk(TBytes& Out, const char* Type, const TBytes& Body) {
  const std::uint32_t Len = std::uint32_t(Body.size());
  for (int S = 24; S >= 0; S -= 8) Out.push_back(std::uint8_t(Len >> S));
  TBytes TypeAndBody(Type, Type + 4);
  TypeAndBody.insert(TypeAndBody.end(), Body.begin(), Body.end());
  Out.insert(Out.end(), TypeAndBody.begin(), TypeAndBody.end());
  const std::uint32_t Crc = std::uint32_t(crc32(0, TypeAndBody.data(), uInt(TypeAndBody.size())));
  for (int S = 24; S >= 0; S -= 8) Out.push_back(std::uint8_t(Crc >> S));
}

// A PNG with the given IHDR and rows (each row's filter byte included), compressed by zlib.
TBytes HandMadePng(std::uint32_t W, std::uint32_t H, int Depth, int ColorType, const TBytes& Raw) {
  TBytes Out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  TBytes Ihdr(13, 0);
  for (int I = 0; I < 4; ++I) {
    Ihdr[I] = std::uint8_t(W >> (24 - 8 * I));
    Ihdr[4 + I] = std::uint8_t(H >> (24 - 8 * I));
  }
  Ihdr[8] = std::uint8_t(Depth);
  Ihdr[9] = std::uint8_t(ColorType);
  AppendChunk(Out, "IHDR", Ihdr);
  uLongf ZSize = compressBound(uLong(Raw.size()));
  TBytes Z(ZSize);
  EXPECT_EQ(compress(Z.data(), &ZSize, Raw.data(), uLong(Raw.size())), Z_OK);
  Z.resize(ZSize);
  AppendChunk(Out, "IDAT", Z);
  AppendChunk(Out, "IEND", {});
  return Out;
}

struct TJpegLayout {
  int Width = 16;
  int Height = 16;
  bool Gray = false;
  bool Progressive = false;
  bool Cmyk = false;
};

// Compressed with libjpeg at high quality; the picture is four flat quadrants (blocks of 8,
// so edges between colours stay on block borders and colours come back close).
const std::uint8_t QuadrantRgb[4][3] = {
    {200, 30, 40}, {20, 180, 60}, {40, 50, 210}, {240, 240, 240}};

int Quadrant(int X, int Y, int W, int H) { return (Y >= H / 2) * 2 + (X >= W / 2); }

TBytes WriteJpeg(const TJpegLayout& S) {
  jpeg_compress_struct C;
  jpeg_error_mgr Err;
  C.err = jpeg_std_error(&Err);
  jpeg_create_compress(&C);
  unsigned char* Mem = nullptr;
  unsigned long MemSize = 0;
  jpeg_mem_dest(&C, &Mem, &MemSize);
  C.image_width = JDIMENSION(S.Width);
  C.image_height = JDIMENSION(S.Height);
  C.input_components = S.Gray ? 1 : S.Cmyk ? 4 : 3;
  C.in_color_space = S.Gray ? JCS_GRAYSCALE : S.Cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&C);
  jpeg_set_quality(&C, 95, TRUE);
  // Full-resolution chroma keeps colour edges on block borders sharp.
  for (int I = 0; I < C.num_components; ++I)
    C.comp_info[I].h_samp_factor = C.comp_info[I].v_samp_factor = 1;
  if (S.Progressive) jpeg_simple_progression(&C);
  jpeg_start_compress(&C, TRUE);
  std::vector<std::uint8_t> Row(std::size_t(S.Width) * std::size_t(C.input_components));
  while (C.next_scanline < C.image_height) {
    const int Y = int(C.next_scanline);
    for (int X = 0; X < S.Width; ++X) {
      const std::uint8_t* Q = QuadrantRgb[Quadrant(X, Y, S.Width, S.Height)];
      std::uint8_t* D = Row.data() + std::size_t(X) * std::size_t(C.input_components);
      if (S.Gray) {
        D[0] = Q[0];
      } else {
        for (int I = 0; I < C.input_components; ++I) D[I] = Q[I % 3];
      }
    }
    JSAMPROW R = Row.data();
    jpeg_write_scanlines(&C, &R, 1);
  }
  jpeg_finish_compress(&C);
  TBytes Out(Mem, Mem + MemSize);
  jpeg_destroy_compress(&C);
  std::free(Mem);
  return Out;
}

int MaxChannelDiff(std::uint32_t A, std::uint32_t B) {
  int M = 0;
  for (int S = 0; S <= 16; S += 8)
    M = std::max(M, std::abs(int((A >> S) & 0xFF) - int((B >> S) & 0xFF)));
  return M;
}

// Expects a load of Bytes to fail with a message containing Fragment, and the bitmap to
// keep its earlier picture.
void ExpectRejected(const TBytes& Bytes, const std::string& Fragment) {
  TBitmap B = Pattern(3, 2);
  const auto Before = PixelsOf(B);
  try {
    B.LoadFromMemory(Bytes.data(), Bytes.size());
    ADD_FAILURE() << "accepted; expected an error containing '" << Fragment << "'";
  } catch (const EInvalidGraphic& E) {
    EXPECT_NE(E.Message().find(Fragment), std::string::npos) << E.Message();
  }
  EXPECT_EQ(B.GetWidth(), 3);
  EXPECT_EQ(B.GetHeight(), 2);
  EXPECT_EQ(PixelsOf(B), Before);
}

// A scratch folder under the temp directory, removed afterwards, that also serves as the
// test output folder while the test runs.
class ScratchFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    FScratch = std::make_unique<kvl::TScratchFolder>("kvl-images");
    FDir = FScratch->Path();
    if (const char* Old = std::getenv("KVL_TEST_OUTPUT")) FOldOutput = Old;
    ::setenv("KVL_TEST_OUTPUT", FDir.c_str(), 1);
  }
  void TearDown() override {
    if (FOldOutput)
      ::setenv("KVL_TEST_OUTPUT", FOldOutput->c_str(), 1);
    else
      ::unsetenv("KVL_TEST_OUTPUT");
    ::unsetenv("KVL_UPDATE_GOLDEN");
    FScratch.reset();
  }
  std::string Path(const std::string& Name) const { return (FDir / Name).string(); }

  std::unique_ptr<kvl::TScratchFolder> FScratch;
  fs::path FDir;
  std::optional<std::string> FOldOutput;
};

using ImageFiles = ScratchFolder;
using GoldenCompare = ScratchFolder;

// --- BMP ---------------------------------------------------------------------------------

TEST(ImageBmp, RoundTripKeepsEveryPixelAtOddWidths) {
  for (int W : {1, 2, 3, 5, 7, 64}) {
    const TBitmap Src = Pattern(W, 3);
    const TBitmap Back = Load(EncodeBmp(Src));
    ASSERT_EQ(Back.GetWidth(), W);
    ASSERT_EQ(Back.GetHeight(), 3);
    EXPECT_EQ(PixelsOf(Back), PixelsOf(Src)) << "width " << W;
  }
}

TEST(ImageBmp, WriterStoresBottomUpRowsPaddedToFourBytes) {
  TBitmap Src(3, 2);
  Src.ScanLine(0)[0] = 0x00112233;
  Src.ScanLine(1)[2] = 0x00445566;
  const TBytes B = EncodeBmp(Src);
  ASSERT_EQ(B.size(), 54u + 2 * 12);  // 3 pixels * 3 bytes = 9, padded to 12
  EXPECT_EQ(B[28], 24);               // bits per pixel
  // The first stored row is the bottom one; its last pixel is 0x445566 as B, G, R.
  EXPECT_EQ(B[54 + 6], 0x66);
  EXPECT_EQ(B[54 + 8], 0x44);
  EXPECT_EQ(B[54 + 12], 0x33);
  EXPECT_EQ(B[54 + 14], 0x11);
}

TEST(ImageBmp, FileRoundTripThroughSaveToFile) {
  const std::string File = TestOutputPath("kvl-roundtrip.bmp");
  const TBitmap Src = Pattern(5, 4);
  Src.SaveToFile(File);
  TBitmap Back;
  Back.LoadFromFile(File);
  EXPECT_EQ(PixelsOf(Back), PixelsOf(Src));
  std::remove(File.c_str());
}

TEST(ImageBmp, PalettisedDepthsDecodeToKnownPixels) {
  // 1 bit: 10 pixels, two bytes, padded to four; bottom row first.
  TBmpLayout One{.Width = 10,
               .Height = 2,
               .Bits = 1,
               .Palette = {0x00102030, 0x00F0E0D0},
               .Pixels = {0xA0, 0x40, 0, 0, /* top */ 0x01, 0x80, 0, 0}};
  // One-bit files load as pf1bit, so the light entry shows white and the dark one black.
  TBitmap B = Load(BuildBmp(One));
  const std::uint32_t L = 0x00FFFFFF;
  EXPECT_EQ(PixelsOf(B), (std::vector<std::uint32_t>{0, 0, 0, 0, 0, 0, 0, L, L, 0,  //
                                                     L, 0, L, 0, 0, 0, 0, 0, 0, L}));

  // 4 bits: high nibble first; an index past the palette is black.
  TBmpLayout Four{.Width = 3,
                .Height = 1,
                .Bits = 4,
                .Palette = {0x000000FF, 0x0000FF00, 0x00FF0000},
                .Pixels = {0x21, 0x70, 0, 0}};
  B = Load(BuildBmp(Four));
  EXPECT_EQ(PixelsOf(B), (std::vector<std::uint32_t>{0x00FF0000, 0x0000FF00, 0}));

  TBmpLayout Eight{.Width = 2,
                 .Height = 2,
                 .Bits = 8,
                 .Palette = {0x00000000, 0x00ABCDEF, 0x00123456},
                 .Pixels = {1, 2, 0, 0, 2, 0, 0, 0}};
  B = Load(BuildBmp(Eight));
  EXPECT_EQ(PixelsOf(B), (std::vector<std::uint32_t>{0x00123456, 0, 0x00ABCDEF, 0x00123456}));
}

TEST(ImageBmp, MonochromeFileSetsOneBitFormatOthersDevice) {
  TBmpLayout One{.Width = 2,
               .Height = 1,
               .Bits = 1,
               .Palette = {0x00000000, 0x00FFFFFF},
               .Pixels = {0x40, 0, 0, 0}};
  TBitmap B;
  B.LoadFromMemory(BuildBmp(One).data(), BuildBmp(One).size());
  EXPECT_EQ(B.GetPixelFormat(), pf1bit);
  EXPECT_EQ(PixelsOf(B), (std::vector<std::uint32_t>{0, 0x00FFFFFF}));

  // A bitmap that is pf1bit keeps that format and thresholds a colour picture.
  TBmpLayout Colour{
      .Width = 2, .Height = 1, .Bits = 24, .Pixels = {0x10, 0x10, 0x10, 0xF0, 0xF0, 0xF0, 0, 0}};
  const TBytes C = BuildBmp(Colour);
  B.LoadFromMemory(C.data(), C.size());
  EXPECT_EQ(B.GetPixelFormat(), pf1bit);
  EXPECT_EQ(PixelsOf(B), (std::vector<std::uint32_t>{0, 0x00FFFFFF}));

  TBitmap D;
  D.SetPixelFormat(pf24bit);
  D.LoadFromMemory(C.data(), C.size());
  EXPECT_EQ(D.GetPixelFormat(), pfDevice);
  EXPECT_EQ(PixelsOf(D), (std::vector<std::uint32_t>{0x00101010, 0x00F0F0F0}));
}

TEST(ImageBmp, DirectColourDepthsDecodeToKnownPixels) {
  // 16 bits without masks is 5-5-5: full red, full green, a mid blue.
  TBmpLayout Rgb555{
      .Width = 3, .Height = 1, .Bits = 16, .Pixels = {0x00, 0x7C, 0xE0, 0x03, 0x10, 0x00, 0, 0}};
  EXPECT_EQ(PixelsOf(Load(BuildBmp(Rgb555))),
            (std::vector<std::uint32_t>{0x00FF0000, 0x0000FF00, 0x00000084}));

  TBmpLayout Rgb565{.Width = 2,
                  .Height = 1,
                  .Bits = 16,
                  .Compression = 3,
                  .Masks = {0xF800, 0x07E0, 0x001F},
                  .Pixels = {0xE0, 0x07, 0x1F, 0xF8}};
  EXPECT_EQ(PixelsOf(Load(BuildBmp(Rgb565))), (std::vector<std::uint32_t>{0x0000FF00, 0x00FF00FF}));

  TBmpLayout Rgb24{
      .Width = 1, .Height = 2, .Bits = 24, .Pixels = {0x01, 0x02, 0x03, 0, 0x04, 0x05, 0x06, 0}};
  EXPECT_EQ(PixelsOf(Load(BuildBmp(Rgb24))), (std::vector<std::uint32_t>{0x00060504, 0x00030201}));

  // 32 bits, plain: B, G, R, and a fourth byte that is ignored.
  TBmpLayout Rgb32{.Width = 2,
                 .Height = 1,
                 .Bits = 32,
                 .Pixels = {0x11, 0x22, 0x33, 0xFF, 0x44, 0x55, 0x66, 0x00}};
  EXPECT_EQ(PixelsOf(Load(BuildBmp(Rgb32))), (std::vector<std::uint32_t>{0x00332211, 0x00665544}));

  // 32 bits with masks in another order: red in the low byte.
  TBmpLayout Fields{.Width = 1,
                  .Height = 1,
                  .Bits = 32,
                  .Compression = 3,
                  .Masks = {0x000000FF, 0x0000FF00, 0x00FF0000},
                  .Pixels = {0x11, 0x22, 0x33, 0x00}};
  EXPECT_EQ(PixelsOf(Load(BuildBmp(Fields))), (std::vector<std::uint32_t>{0x00112233}));
}

TEST(ImageBmp, LaterAndOlderHeadersDecode) {
  // V4 (108) and V5 (124) carry the masks inside the header.
  for (int Size : {108, 124}) {
    TBmpLayout V{.HeaderSize = Size,
               .Width = 1,
               .Height = 1,
               .Bits = 32,
               .Compression = 3,
               .Masks = {0x0000FF00, 0x00FF0000, 0xFF000000},
               .Pixels = {0x00, 0x11, 0x22, 0x33}};
    EXPECT_EQ(PixelsOf(Load(BuildBmp(V))), (std::vector<std::uint32_t>{0x00112233})) << Size;
  }
  // The core header: 16-bit sizes and three-byte palette entries.
  TBmpLayout Core{.HeaderSize = 12,
                .Width = 2,
                .Height = 1,
                .Bits = 8,
                .Palette = {0x00AA0000, 0x0000BB00},
                .Pixels = {1, 0, 0, 0}};
  EXPECT_EQ(PixelsOf(Load(BuildBmp(Core))), (std::vector<std::uint32_t>{0x0000BB00, 0x00AA0000}));
}

TEST(ImageBmp, NegativeHeightMeansTopRowFirst) {
  TBmpLayout Down{
      .Width = 1, .Height = -2, .Bits = 24, .Pixels = {0x01, 0x02, 0x03, 0, 0x04, 0x05, 0x06, 0}};
  const TBitmap B = Load(BuildBmp(Down));
  EXPECT_EQ(B.GetHeight(), 2);
  EXPECT_EQ(PixelsOf(B), (std::vector<std::uint32_t>{0x00030201, 0x00060504}));
}

TEST(ImageBmp, RunLengthEightBitDecodes) {
  // 4 x 3, bottom row first: a run, a line end; a jump; literal pixels; picture end. Pixels
  // the data skips take palette colour 0.
  const std::uint32_t Bg = 0x00123456;
  TBmpLayout Rle{.Width = 4,
               .Height = 3,
               .Bits = 8,
               .Compression = 1,
               .Palette = {Bg, 0x00FF0000, 0x0000FF00, 0x000000FF},
               .Pixels = {3, 1, 0, 0,        // bottom row: 1 1 1 then end of line
                          0, 2, 1, 0,        // jump one right (stay on the middle row)
                          2, 2,              // two pixels of 2 at x = 1, 2
                          0, 0,              // end of line
                          0, 3, 3, 2, 1, 0,  // literal 3 2 1, padded to a 16-bit boundary
                          0, 1}};
  const TBitmap B = Load(BuildBmp(Rle));
  EXPECT_EQ(PixelsOf(B), (std::vector<std::uint32_t>{0x000000FF, 0x0000FF00, 0x00FF0000, Bg,  //
                                                     Bg, 0x0000FF00, 0x0000FF00, Bg,          //
                                                     0x00FF0000, 0x00FF0000, 0x00FF0000, Bg}));
}

TEST(ImageBmp, RunLengthFourBitDecodes) {
  TBmpLayout Rle{.Width = 5,
               .Height = 2,
               .Bits = 4,
               .Compression = 2,
               .Palette = {0x00000000, 0x00FF0000, 0x0000FF00},
               .Pixels = {5, 0x12, 0, 0,     // bottom: 1 2 1 2 1
                          0, 3, 0x21, 0x20,  // top: literal 2 1 2 (two bytes, even already)
                          0, 1}};
  const TBitmap B = Load(BuildBmp(Rle));
  EXPECT_EQ(PixelsOf(B), (std::vector<std::uint32_t>{0x0000FF00, 0x00FF0000, 0x0000FF00, 0, 0,  //
                                                     0x00FF0000, 0x0000FF00, 0x00FF0000, 0x0000FF00,
                                                     0x00FF0000}));
}

TEST(ImageBmp, DamagedFilesAreRejectedAndLeaveTheBitmapAlone) {
  const TBytes Good = EncodeBmp(Pattern(7, 5));
  ExpectRejected(TBytes(Good.begin(), Good.begin() + 20), "truncated header");
  ExpectRejected(TBytes(Good.begin(), Good.end() - 30), "truncated pixel data");

  TBmpLayout Pal{.Width = 2, .Height = 1, .Bits = 8, .Palette = {0, 0, 0, 0}, .Pixels = {0, 0, 0, 0}};
  TBytes Short = BuildBmp(Pal);
  Short.resize(14 + 40 + 6);
  ExpectRejected(Short, "truncated palette");

  TBmpLayout Rle{.Width = 4,
               .Height = 3,
               .Bits = 8,
               .Compression = 1,
               .Palette = {0, 0},
               .Pixels = {3, 1, 0, 0, 0, 5, 1, 1}};
  ExpectRejected(BuildBmp(Rle), "truncated pixel data");

  TBmpLayout Depth{.Width = 1, .Height = 1, .Bits = 2, .Pixels = {0, 0, 0, 0}};
  ExpectRejected(BuildBmp(Depth), "unsupported bit depth 2");
  TBmpLayout Jpeg{.Width = 1, .Height = 1, .Bits = 24, .Compression = 4, .Pixels = {0, 0, 0, 0}};
  ExpectRejected(BuildBmp(Jpeg), "unsupported compression 4");
  TBmpLayout Zero{.Width = 0, .Height = 1, .Bits = 24, .Pixels = {0, 0, 0, 0}};
  ExpectRejected(BuildBmp(Zero), "invalid picture size");
  TBmpLayout Upside{
      .Width = 1, .Height = -1, .Bits = 8, .Compression = 1, .Palette = {0}, .Pixels = {0, 1}};
  ExpectRejected(BuildBmp(Upside), "top-down run-length");
}

TEST(ImageBmp, HostileSizeFailsBeforeAllocating) {
  TBmpLayout Huge{.Width = 100000, .Height = 100000, .Bits = 24, .Pixels = {0, 0, 0, 0}};
  ExpectRejected(BuildBmp(Huge), "100000 x 100000 pixels is larger than the supported maximum");
  // Within the side limit but over the decoded pixel budget.
  TBmpLayout Wide{.Width = 32768, .Height = 32768, .Bits = 1, .Palette = {0, 0}, .Pixels = {0}};
  ExpectRejected(BuildBmp(Wide), "larger than the supported maximum");
  // Plausible size, no data: the size check against the file comes first.
  TBmpLayout Empty{.Width = 8000, .Height = 8000, .Bits = 32, .Pixels = {0, 0, 0, 0}};
  ExpectRejected(BuildBmp(Empty), "truncated pixel data");
}

// --- PNG ---------------------------------------------------------------------------------

TEST(ImagePng, RoundTripKeepsEveryPixel) {
  for (int W : {1, 3, 17}) {
    const TBitmap Src = Pattern(W, 4);
    const TBytes Png = Src.SaveToPngMemory();
    EXPECT_EQ(DetectImageFormat(Png.data(), Png.size()), TImageFormat::Png);
    const TBitmap Back = Load(Png);
    EXPECT_EQ(PixelsOf(Back), PixelsOf(Src)) << "width " << W;
    EXPECT_EQ(Back.GetPixelFormat(), pfDevice);
  }
}

TEST(ImagePng, WritesEightBitRgb) {
  const TBytes Png = Pattern(2, 2).SaveToPngMemory();
  ASSERT_GT(Png.size(), 26u);
  EXPECT_EQ(Png[24], 8);  // bit depth
  EXPECT_EQ(Png[25], 2);  // colour type RGB
}

TEST(ImagePng, AlphaIsCompositedOverWhite) {
  const std::uint8_t Rgba[] = {255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 0, 128};
  const TBitmap B = Load(WritePng(3, 1, PNG_FORMAT_RGBA, Rgba));
  EXPECT_EQ(B.ScanLine(0)[0], 0x00FF0000u);
  EXPECT_EQ(B.ScanLine(0)[1], 0x00FFFFFFu);
  // Half-covered black over white is a mid gray (blended in linear light, so lighter than 127).
  const std::uint32_t Mid = B.ScanLine(0)[2];
  EXPECT_EQ(Mid >> 16, Mid & 0xFF);
  EXPECT_GT(Mid & 0xFF, 0x80u);
  EXPECT_LT(Mid & 0xFF, 0xD0u);
}

TEST_F(ImageFiles, TransparentPixelsTakeTheKeyColourExactly) {
  // Alpha 255, 127, 128 and 0: the middle two sit on either side of the threshold.
  const std::uint8_t Rgba[] = {255, 0, 0, 255, 0, 255, 0, 127, 0, 0, 255, 128, 9, 9, 9, 0};
  const TBytes Png = WritePng(4, 1, PNG_FORMAT_RGBA, Rgba);
  const TColor Key = 0x00332211;  // pixel 0x112233
  const std::vector<std::uint32_t> Keyed = {0x00FF0000, 0x00112233, 0x000000FF, 0x00112233};
  TBitmap B;
  B.LoadFromMemory(Png.data(), Png.size(), Key);
  EXPECT_EQ(PixelsOf(B), Keyed);
  std::ofstream(Path("keyed.png"), std::ios::binary)
      .write(reinterpret_cast<const char*>(Png.data()), std::streamsize(Png.size()));
  B.LoadFromFile(Path("keyed.png"), Key);
  EXPECT_EQ(PixelsOf(B), Keyed);
  // Without a key the transparent pixel lands on white.
  B.LoadFromFile(Path("keyed.png"));
  EXPECT_EQ(B.Pixels()[3], 0x00FFFFFFu);
}

TEST(ImagePng, GrayPaletteAndSixteenBitFilesDecode) {
  const std::uint8_t Gray[] = {0, 100, 255};
  EXPECT_EQ(PixelsOf(Load(WritePng(3, 1, PNG_FORMAT_GRAY, Gray))),
            (std::vector<std::uint32_t>{0, 0x00646464, 0x00FFFFFF}));

  // Palette, colour type 3, two bits per pixel: indices 2, 0, 1 with a PLTE chunk.
  TBytes Pal = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  {
    TBytes Ihdr = {0, 0, 0, 3, 0, 0, 0, 1, 2, 3, 0, 0, 0};
    AppendChunk(Pal, "IHDR", Ihdr);
    AppendChunk(Pal, "PLTE", {10, 20, 30, 40, 50, 60, 70, 80, 90});
    const TBytes Raw = {0, 0b10000100};
    uLongf ZSize = 64;
    TBytes Z(ZSize);
    ASSERT_EQ(compress(Z.data(), &ZSize, Raw.data(), uLong(Raw.size())), Z_OK);
    Z.resize(ZSize);
    AppendChunk(Pal, "IDAT", Z);
    AppendChunk(Pal, "IEND", {});
  }
  EXPECT_EQ(PixelsOf(Load(Pal)), (std::vector<std::uint32_t>{0x0046505A, 0x000A141E, 0x0028323C}));

  // Sixteen-bit gray: each sample keeps its high byte.
  const TBytes Raw16 = {0, 0x00, 0x00, 0x80, 0x80, 0xFF, 0xFF};
  EXPECT_EQ(PixelsOf(Load(HandMadePng(3, 1, 16, 0, Raw16))),
            (std::vector<std::uint32_t>{0, 0x00808080, 0x00FFFFFF}));
}

TEST(ImagePng, OneBitGrayFileSetsOneBitFormat) {
  const TBytes Raw = {0, 0b01000000};
  TBitmap B = Load(HandMadePng(2, 1, 1, 0, Raw));
  EXPECT_EQ(B.GetPixelFormat(), pf1bit);
  EXPECT_EQ(PixelsOf(B), (std::vector<std::uint32_t>{0, 0x00FFFFFF}));
}

TEST(ImagePng, DamagedFilesAreRejectedAndLeaveTheBitmapAlone) {
  const TBytes Good = Pattern(20, 20).SaveToPngMemory();
  ExpectRejected(TBytes(Good.begin(), Good.begin() + 20), "bad PNG header");
  ExpectRejected(TBytes(Good.begin(), Good.begin() + long(Good.size() / 2)), "bad PNG data");
  TBytes BadCrc = Good;
  BadCrc[40] ^= 0x55;  // inside the first IDAT
  ExpectRejected(BadCrc, "PNG");
}

TEST(ImagePng, HostileSizeFailsBeforeAllocating) {
  ExpectRejected(HandMadePng(100000, 100000, 8, 2, {0}), "larger than the supported maximum");
  ExpectRejected(HandMadePng(9000, 9000, 8, 2, {0}), "larger than the supported maximum");
  // Within the limits, but the data could never inflate to that many pixels.
  ExpectRejected(HandMadePng(4000, 4000, 1, 0, {0}), "truncated pixel data");
}

// --- JPEG --------------------------------------------------------------------------------

void ExpectQuadrants(const TBitmap& B, bool Gray) {
  ASSERT_FALSE(B.Empty());
  int Worst = 0;
  for (int Y = 0; Y < B.GetHeight(); ++Y)
    for (int X = 0; X < B.GetWidth(); ++X) {
      const std::uint8_t* Q = QuadrantRgb[Quadrant(X, Y, B.GetWidth(), B.GetHeight())];
      const std::uint32_t Want = Gray ? std::uint32_t(Q[0]) * 0x010101u
                                      : std::uint32_t(Q[0]) << 16 | std::uint32_t(Q[1]) << 8 | Q[2];
      Worst = std::max(Worst, MaxChannelDiff(B.ScanLine(Y)[X], Want));
    }
  EXPECT_LE(Worst, 12);
}

TEST(ImageJpeg, ColourGrayAndProgressiveFilesDecode) {
  const TBytes Colour = WriteJpeg({.Width = 16, .Height = 16});
  EXPECT_EQ(DetectImageFormat(Colour.data(), Colour.size()), TImageFormat::Jpeg);
  TBitmap B = Load(Colour);
  EXPECT_EQ(B.GetWidth(), 16);
  EXPECT_EQ(B.GetPixelFormat(), pfDevice);
  ExpectQuadrants(B, false);
  ExpectQuadrants(Load(WriteJpeg({.Width = 24, .Height = 16, .Gray = true})), true);
  ExpectQuadrants(Load(WriteJpeg({.Width = 32, .Height = 16, .Progressive = true})), false);
}

TEST(ImageJpeg, DamagedAndUnsupportedFilesAreRejected) {
  const TBytes Good = WriteJpeg({.Width = 32, .Height = 32});
  ExpectRejected(TBytes(Good.begin(), Good.begin() + 40), "bad JPEG header");
  // Cut halfway through the compressed pixels, after the start-of-scan marker.
  std::size_t Scan = 0;
  while (Scan + 1 < Good.size() && !(Good[Scan] == 0xFF && Good[Scan + 1] == 0xDA)) ++Scan;
  ASSERT_LT(Scan + 40, Good.size());
  ExpectRejected(TBytes(Good.begin(), Good.begin() + long(Scan + (Good.size() - Scan) / 2)),
                 "bad JPEG data");
  // Cut inside the last scan of a progressive file: the earlier scans alone are not enough.
  const TBytes Prog = WriteJpeg({.Width = 32, .Height = 32, .Progressive = true});
  ExpectRejected(TBytes(Prog.begin(), Prog.end() - 20), "bad JPEG data");
  ExpectRejected(WriteJpeg({.Width = 8, .Height = 8, .Cmyk = true}), "unsupported CMYK JPEG");
}

TEST(ImageJpeg, HostileSizeFailsBeforeAllocating) {
  TBytes J = WriteJpeg({.Width = 8, .Height = 8});
  // Rewrite the frame header's height and width (after FF C0, length and precision).
  for (std::size_t I = 2; I + 9 < J.size(); ++I)
    if (J[I] == 0xFF && J[I + 1] == 0xC0) {
      J[I + 5] = J[I + 7] = 0xEA;  // 60000
      J[I + 6] = J[I + 8] = 0x60;
      break;
    }
  ExpectRejected(J, "60000 x 60000 pixels is larger than the supported maximum");
}

// --- files, formats and errors common to all -----------------------------------------------

TEST_F(ImageFiles, FilesAreRecognisedByContentNotName) {
  const std::string Misnamed = Path("really-a-png.bmp");
  Pattern(4, 3).SaveToPngFile(Misnamed);
  TBitmap B;
  B.LoadFromFile(Misnamed);
  EXPECT_EQ(PixelsOf(B), PixelsOf(Pattern(4, 3)));

  std::ofstream(Path("photo.jpg"), std::ios::binary) << "GIF89a and then some";
  try {
    B.LoadFromFile(Path("photo.jpg"));
    ADD_FAILURE() << "accepted a GIF";
  } catch (const EInvalidGraphic& E) {
    EXPECT_EQ(E.Message(), "image file '" + Path("photo.jpg") + "': unknown image format");
  }
  EXPECT_EQ(B.GetWidth(), 4);
}

TEST_F(ImageFiles, UnreadableFilesNameTheFileAndTheReason) {
  TBitmap B = Pattern(2, 2);
  const std::string Missing = Path("no-such.png");
  try {
    B.LoadFromFile(Missing);
    ADD_FAILURE() << "loaded a missing file";
  } catch (const EInvalidGraphic& E) {
    EXPECT_EQ(E.Message(), "image file '" + Missing + "': cannot open: No such file or directory");
  }
  try {
    B.LoadFromFile(FDir.string());
    ADD_FAILURE() << "loaded a directory";
  } catch (const EInvalidGraphic& E) {
    EXPECT_EQ(E.Message(), "image file '" + FDir.string() + "': not a regular file (a directory)");
  }
  std::ofstream(Path("empty.bmp"), std::ios::binary).flush();
  EXPECT_THROW(B.LoadFromFile(Path("empty.bmp")), EInvalidGraphic);
  EXPECT_EQ(PixelsOf(B), PixelsOf(Pattern(2, 2)));
}

TEST_F(ImageFiles, SavingFailuresAreReported) {
  const TBitmap Empty;
  for (auto Save : {+[](const TBitmap&B, const std::string&F) { B.SaveToFile(F); },
                    +[](const TBitmap&B, const std::string&F) { B.SaveToPngFile(F); },
                    +[](const TBitmap&B, const std::string&) { (void)B.SaveToPngMemory(); }}) {
    try {
      Save(Empty, Path("x"));
      ADD_FAILURE() << "saved an empty bitmap";
    } catch (const EInvalidGraphic& E) {
      EXPECT_EQ(E.Message(), "cannot save an empty bitmap");
    }
  }
  const std::string Unwritable = Path("no-folder/out.png");
  try {
    Pattern(2, 2).SaveToPngFile(Unwritable);
    ADD_FAILURE() << "wrote into a missing folder";
  } catch (const EInvalidGraphic& E) {
    EXPECT_EQ(E.Message(),
              "image file '" + Unwritable + "': cannot create: No such file or directory");
  }
}

TEST(ImageData, MemoryErrorsSayWhatWasWrong) {
  ExpectRejected({}, "image data: no data");
  ExpectRejected({'B'}, "image data: unknown image format");
  ExpectRejected({'G', 'I', 'F', '8', '9', 'a'}, "unknown image format");
}

// --- built-in pictures -------------------------------------------------------------------

TEST(Resources, RegisteredPicturesAreFoundByNameIgnoringCase) {
  RegisterResource("TESTGLYPH", Pattern(3, 2).SaveToPngMemory());
  TBitmap B;
  B.LoadFromResourceName("testglyph");
  EXPECT_EQ(PixelsOf(B), PixelsOf(Pattern(3, 2)));
  B.LoadFromResourceName("TestGlyph");
  EXPECT_EQ(B.GetWidth(), 3);

  // Registering again replaces the picture; earlier bytes stay valid.
  const auto Old = FindResource("testglyph");
  ASSERT_TRUE(Old.has_value());
  RegisterResource("TestGlyph", EncodeBmp(Pattern(5, 1)));
  B.LoadFromResourceName("TESTGLYPH");
  EXPECT_EQ(B.GetWidth(), 5);
  EXPECT_EQ(DetectImageFormat(Old->data(), Old->size()), TImageFormat::Png);

  int Seen = 0;
  for (const auto& N : ResourceNames()) Seen += N == "TESTGLYPH" || N == "TestGlyph";
  EXPECT_EQ(Seen, 1);
}

TEST(Resources, UnknownOrDamagedPicturesRaise) {
  TBitmap B = Pattern(2, 2);
  try {
    B.LoadFromResourceName("NOSUCHGLYPH");
    ADD_FAILURE() << "found a picture that does not exist";
  } catch (const EInvalidGraphic& E) {
    EXPECT_EQ(E.Message(), "no built-in picture named 'NOSUCHGLYPH'");
  }
  TBytes Broken = Pattern(4, 4).SaveToPngMemory();
  Broken.resize(Broken.size() / 2);
  RegisterResource("BROKENGLYPH", Broken);
  try {
    B.LoadFromResourceName("brokenglyph");
    ADD_FAILURE() << "decoded a damaged picture";
  } catch (const EInvalidGraphic& E) {
    EXPECT_EQ(E.Message().rfind("built-in picture 'brokenglyph': ", 0), 0u) << E.Message();
  }
  EXPECT_EQ(PixelsOf(B), PixelsOf(Pattern(2, 2)));
}

TEST(Resources, EveryEmbeddedPictureDecodes) {
  const auto Embedded = EmbeddedResources();
  if (Embedded.empty()) GTEST_SKIP() << "resources/ holds no PNG yet";
  for (const auto& E : Embedded) {
    TBitmap B;
    EXPECT_NO_THROW(B.LoadFromResourceName(E.Name)) << E.Name;
    EXPECT_FALSE(B.Empty()) << E.Name;
  }
}

// --- golden comparison -------------------------------------------------------------------

TEST_F(GoldenCompare, MatchPassesAndMismatchWritesActualAndDiff) {
  const std::string Golden = Path("sample.png");
  TBitmap Img = Pattern(6, 4);
  Img.SaveToPngFile(Golden);
  EXPECT_TRUE(MatchesGolden(Img, Golden));

  Img.ScanLine(2)[3] ^= 0x00000040;
  const auto Result = MatchesGolden(Img, Golden);
  ASSERT_FALSE(Result);
  const std::string Msg = Result.message();
  const std::string Actual = TestOutputPath("sample.actual.png");
  const std::string Diff = TestOutputPath("sample.diff.png");
  EXPECT_NE(Msg.find("1 of 24 pixels differ"), std::string::npos) << Msg;
  EXPECT_NE(Msg.find(Actual), std::string::npos) << Msg;
  EXPECT_NE(Msg.find(Diff), std::string::npos) << Msg;

  TBitmap Written, Marks;
  Written.LoadFromFile(Actual);
  EXPECT_EQ(PixelsOf(Written), PixelsOf(Img));
  Marks.LoadFromFile(Diff);
  EXPECT_EQ(Marks.ScanLine(2)[3], 0x00FF0000u);
  // Elsewhere a faded copy: lighter than the picture, never pure red.
  EXPECT_NE(Marks.ScanLine(0)[0], 0x00FF0000u);
  EXPECT_GE(Marks.ScanLine(0)[0] & 0xFF, Img.ScanLine(0)[0] & 0xFF);

  // Within tolerance it matches again.
  EXPECT_TRUE(MatchesGolden(Img, Golden, 0x40));
  EXPECT_FALSE(MatchesGolden(Img, Golden, 0x3F));
}

TEST_F(GoldenCompare, AnotherSizeFails) {
  const std::string Golden = Path("sized.png");
  Pattern(6, 4).SaveToPngFile(Golden);
  const auto Result = MatchesGolden(Pattern(6, 5), Golden, 255);
  ASSERT_FALSE(Result);
  EXPECT_NE(std::string(Result.message()).find("size 6 x 5 differs from the golden 6 x 4"),
            std::string::npos)
      << Result.message();
  EXPECT_TRUE(fs::exists(TestOutputPath("sized.diff.png")));
}

TEST_F(GoldenCompare, MissingGoldenWritesActualOrNewGoldenOnRequest) {
  const std::string Golden = Path("testdata/fresh.png");
  const TBitmap Img = Pattern(3, 3);
  const auto Result = MatchesGolden(Img, Golden);
  ASSERT_FALSE(Result);
  EXPECT_NE(std::string(Result.message()).find("review it by eye"), std::string::npos);
  EXPECT_TRUE(fs::exists(TestOutputPath("fresh.actual.png")));
  EXPECT_FALSE(fs::exists(Golden));

  ::setenv("KVL_UPDATE_GOLDEN", "1", 1);
  EXPECT_TRUE(MatchesGolden(Img, Golden));
  ::unsetenv("KVL_UPDATE_GOLDEN");
  ASSERT_TRUE(fs::exists(Golden));
  EXPECT_TRUE(MatchesGolden(Img, Golden));
}

TEST_F(GoldenCompare, OutputPathFallsBackToTheTempFolder) {
  EXPECT_EQ(TestOutputPath("a.png"), (FDir / "a.png").string());
  ::unsetenv("KVL_TEST_OUTPUT");
  EXPECT_EQ(TestOutputPath("a.png"), (fs::temp_directory_path() / "a.png").string());
}

}  // namespace
}  // namespace kvl
