// Image file codecs behind TBitmap's load and save calls: BMP (read and write), PNG (read and
// write) and JPEG (read). Decoders take a byte buffer and raise EInvalidGraphic with the bare
// fault ("truncated pixel data"); the caller puts the file or resource name in front.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "kvl/platform/bitmap.h"

namespace kvl {

// Decoded files hold at most this many pixels, well under MaxBitmapPixels: a hostile header
// fails before anything large is allocated.
inline constexpr std::int64_t MaxDecodedPixels = std::int64_t(1) << 26;

// A decoded picture: 0x00RRGGBB pixels, top row first, no padding.
struct TDecodedImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;
  // The file stored one bit per pixel (black and white).
  bool Monochrome = false;
};

// Packs tightly stored R, G, B bytes into the picture's pixels (as many as it holds).
inline void PixelsFromRgb(const std::uint8_t* Rgb, TDecodedImage& Img) {
  for (auto& P : Img.Pixels) {
    P = std::uint32_t(Rgb[0]) << 16 | std::uint32_t(Rgb[1]) << 8 | Rgb[2];
    Rgb += 3;
  }
}

enum class TImageFormat { Unknown, Bmp, Png, Jpeg };

// Tells the format from the first bytes; Unknown when none matches.
TImageFormat DetectImageFormat(const std::uint8_t* Data, std::size_t Size);

// Raises EInvalidGraphic unless 0 < W, H <= MaxBitmapSide and W * H <= MaxDecodedPixels.
void CheckDecodedSize(std::int64_t Width, std::int64_t Height);

TDecodedImage DecodeBmp(const std::uint8_t* Data, std::size_t Size);
// With TransparentKey, pixels of alpha below 128 become that colour and the rest opaque.
TDecodedImage DecodePng(const std::uint8_t* Data, std::size_t Size,
                        std::optional<TColor> TransparentKey = std::nullopt);
TDecodedImage DecodeJpeg(const std::uint8_t* Data, std::size_t Size);
// Picks the decoder by content; TransparentKey matters only for PNG.
TDecodedImage DecodeImage(const std::uint8_t* Data, std::size_t Size,
                          std::optional<TColor> TransparentKey = std::nullopt);

// 24-bit bottom-up BMP, rows padded to four bytes. The bitmap must not be empty.
std::vector<std::uint8_t> EncodeBmp(const TBitmap& B);
// 8-bit RGB PNG. The bitmap must not be empty.
std::vector<std::uint8_t> EncodePng(const TBitmap& B);

}  // namespace kvl
