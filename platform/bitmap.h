// Off-screen 32-bit images: the surface every component paints into.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kvl/core/kvlbase.h"
#include "kvl/platform/errors.h"
#include "kvl/platform/graphics.h"

namespace kvl {

class TCanvas;
struct TDecodedImage;

// An image file or resource that cannot be read.
class EInvalidGraphic : public Exception {
public:
  using Exception::Exception;
};

// The pixel depth a bitmap claims. Storage is always 32 bits per pixel; pf1bit keeps every
// pixel black or white.
enum TPixelFormat : std::uint8_t { pfDevice, pf1bit, pf4bit, pf8bit, pf24bit, pf32bit };

// Largest side and largest pixel count any bitmap may have (a hostile image header or a
// runaway size computation fails instead of taking all memory).
inline constexpr int MaxBitmapSide = 32768;
inline constexpr std::int64_t MaxBitmapPixels = std::int64_t(1) << 28;

// Pixels are 0x00RRGGBB, rows top to bottom, no padding. Sizes at or below zero make an empty
// bitmap. Copies are deep; each copy has its own canvas.
class TBitmap {
public:
  TBitmap();
  TBitmap(int Width, int Height);
  TBitmap(const TBitmap& B);
  TBitmap& operator=(const TBitmap& B);
  ~TBitmap();

  void Assign(const TBitmap& B) { *this = B; }

  int GetWidth() const { return FWidth; }
  int GetHeight() const { return FHeight; }
  void SetWidth(int W) { SetSize(W, FHeight); }
  void SetHeight(int H) { SetSize(FWidth, H); }
  // Keeps the pixels that stay inside; new pixels are white. Throws EOutOfResources beyond
  // the size limits and leaves the bitmap as it was.
  void SetSize(int W, int H);
  bool Empty() const { return FWidth == 0 || FHeight == 0; }

  std::uint32_t* ScanLine(int Y) { return FPixels.data() + std::size_t(Y) * std::size_t(FWidth); }
  const std::uint32_t* ScanLine(int Y) const {
    return FPixels.data() + std::size_t(Y) * std::size_t(FWidth);
  }
  std::uint32_t* Pixels() { return FPixels.data(); }
  const std::uint32_t* Pixels() const { return FPixels.data(); }

  TCanvas* GetCanvas();

  TPixelFormat GetPixelFormat() const { return FPixelFormat; }
  // pf1bit turns every pixel black or white (by luminance) and keeps them so on later loads.
  void SetPixelFormat(TPixelFormat F);
  bool GetMonochrome() const { return FPixelFormat == pf1bit; }

  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool T) { FTransparent = T; }
  // The key colour Draw leaves out: the bottom-left pixel unless a colour was set.
  TColor GetTransparentColor() const;
  void SetTransparentColor(TColor C);

  // Image files: BMP (1, 4, 8, 16, 24, 32 bits, palettised, bottom-up and top-down), PNG
  // and JPEG, told apart by their content. A file that cannot be read (also one that is no
  // regular file, or larger than 1 GiB) raises EInvalidGraphic naming the file and the fault,
  // and leaves the bitmap as it was. Without TransparentKey a PNG's transparent parts land on
  // white; with it, pixels of alpha below 128 become the key colour exactly and the others
  // keep their colour fully opaque, so that drawing with that key leaves no tinted fringes.
  void LoadFromFile(const std::string& FileName,
                    std::optional<TColor> TransparentKey = std::nullopt);
  void LoadFromMemory(const void* Data, std::size_t Size,
                      std::optional<TColor> TransparentKey = std::nullopt);
  // Writes a 24-bit BMP.
  void SaveToFile(const std::string& FileName) const;
  void SaveToPngFile(const std::string& FileName) const;
  std::vector<std::uint8_t> SaveToPngMemory() const;
  // A picture built into the library (resources/); an unknown name raises EInvalidGraphic.
  void LoadFromResourceName(std::string_view Name);

private:
  void ApplyPixelFormat();
  void TakeDecoded(TDecodedImage& Img);

  int FWidth = 0;
  int FHeight = 0;
  std::vector<std::uint32_t> FPixels;
  std::unique_ptr<TCanvas> FCanvas;
  TPixelFormat FPixelFormat = pfDevice;
  bool FTransparent = false;
  bool FTransparentColorSet = false;
  TColor FTransparentColor = clWhite;
};

}  // namespace kvl
