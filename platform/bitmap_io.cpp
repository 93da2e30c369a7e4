// TBitmap's file, memory and resource loading and its saving. Decoding always goes into a
// temporary; only a complete picture replaces the bitmap's pixels.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>

#include "kvl/platform/bitmap.h"
#include "kvl/platform/files.h"
#include "kvl/platform/images.h"
#include "kvl/platform/resources.h"

namespace kvl {

namespace {

// Larger files are refused before they are read: no accepted picture needs more.
constexpr std::size_t MaxFileSize = std::size_t(1) << 30;

struct TFileCloser {
  void operator()(std::FILE* F) const { std::fclose(F); }
};
using TFile = std::unique_ptr<std::FILE, TFileCloser>;

std::string FileContext(const std::string& FileName) { return "image file '" + FileName + "'"; }

[[noreturn]] void FailFile(const std::string& FileName, const std::string& What, int Error) {
  throw EInvalidGraphic(FileContext(FileName) + ": " + What + ": " + std::strerror(Error));
}

std::string ReadImageFile(const std::string& FileName) {
  try {
    return ReadGivenFile(FileName, MaxFileSize);
  } catch (const EFileReadError& E) {
    throw EInvalidGraphic(FileContext(FileName) + ": " + E.GetReason());
  }
}

void WriteWholeFile(const std::string& FileName, const std::vector<std::uint8_t>& Bytes) {
  errno = 0;
  TFile F(std::fopen(FileName.c_str(), "wb"));
  if (!F) FailFile(FileName, "cannot create", errno);
  if (std::fwrite(Bytes.data(), 1, Bytes.size(), F.get()) != Bytes.size())
    FailFile(FileName, "cannot write", errno);
  // Buffered data may only fail to reach the disk at close.
  if (std::fclose(F.release()) != 0) FailFile(FileName, "cannot write", errno);
}

// Decodes and puts Context ("image file 'x.bmp'") in front of any failure.
TDecodedImage DecodeIn(const std::string& Context, const std::uint8_t* Data, std::size_t Size,
                       std::optional<TColor> TransparentKey = std::nullopt) {
  try {
    return DecodeImage(Data, Size, TransparentKey);
  } catch (const EInvalidGraphic& E) {
    throw EInvalidGraphic(Context + ": " + E.Message());
  } catch (const std::bad_alloc&) {
    throw EInvalidGraphic(Context + ": not enough memory to decode");
  }
}

// A monochrome file makes the bitmap pf1bit; a bitmap already pf1bit stays so (its pixels
// are thresholded); anything else becomes pfDevice, since every pixel is kept in full.
TPixelFormat LoadedFormat(TPixelFormat Current, const TDecodedImage& Img) {
  return Img.Monochrome || Current == pf1bit ? pf1bit : pfDevice;
}

}  // namespace

TImageFormat DetectImageFormat(const std::uint8_t* Data, std::size_t Size) {
  if (Size >= 8 && std::memcmp(Data, "\x89PNG\r\n\x1A\n", 8) == 0) return TImageFormat::Png;
  if (Size >= 3 && Data[0] == 0xFF && Data[1] == 0xD8 && Data[2] == 0xFF) return TImageFormat::Jpeg;
  if (Size >= 2 && Data[0] == 'B' && Data[1] == 'M') return TImageFormat::Bmp;
  return TImageFormat::Unknown;
}

void CheckDecodedSize(std::int64_t Width, std::int64_t Height) {
  if (Width <= 0 || Height <= 0)
    throw EInvalidGraphic("invalid picture size " + std::to_string(Width) + " x " +
                          std::to_string(Height));
  if (Width > MaxBitmapSide || Height > MaxBitmapSide || Width * Height > MaxDecodedPixels)
    throw EInvalidGraphic("picture of " + std::to_string(Width) + " x " + std::to_string(Height) +
                          " pixels is larger than the supported maximum");
}

TDecodedImage DecodeImage(const std::uint8_t* Data, std::size_t Size,
                          std::optional<TColor> TransparentKey) {
  if (Size == 0) throw EInvalidGraphic("no data");
  switch (DetectImageFormat(Data, Size)) {
    case TImageFormat::Bmp:
      return DecodeBmp(Data, Size);
    case TImageFormat::Png:
      return DecodePng(Data, Size, TransparentKey);
    case TImageFormat::Jpeg:
      return DecodeJpeg(Data, Size);
    case TImageFormat::Unknown:
      break;
  }
  throw EInvalidGraphic("unknown image format");
}

void TBitmap::TakeDecoded(TDecodedImage& Img) {
  FPixelFormat = LoadedFormat(FPixelFormat, Img);
  FPixels.swap(Img.Pixels);
  FWidth = Img.Width;
  FHeight = Img.Height;
  ApplyPixelFormat();
}

void TBitmap::LoadFromFile(const std::string& FileName, std::optional<TColor> TransparentKey) {
  const std::string Bytes = ReadImageFile(FileName);
  TDecodedImage Img =
      DecodeIn(FileContext(FileName), reinterpret_cast<const std::uint8_t*>(Bytes.data()),
               Bytes.size(), TransparentKey);
  TakeDecoded(Img);
}

void TBitmap::LoadFromMemory(const void* Data, std::size_t Size,
                             std::optional<TColor> TransparentKey) {
  TDecodedImage Img =
      DecodeIn("image data", static_cast<const std::uint8_t*>(Data), Size, TransparentKey);
  TakeDecoded(Img);
}

void TBitmap::LoadFromResourceName(std::string_view Name) {
  std::string Quoted(1, '\'');
  Quoted.append(Name).push_back('\'');
  const auto Bytes = FindResource(Name);
  if (!Bytes) throw EInvalidGraphic("no built-in picture named " + Quoted);
  TDecodedImage Img = DecodeIn("built-in picture " + Quoted, Bytes->data(), Bytes->size());
  TakeDecoded(Img);
}

void TBitmap::SaveToFile(const std::string& FileName) const {
  WriteWholeFile(FileName, EncodeBmp(*this));
}

void TBitmap::SaveToPngFile(const std::string& FileName) const {
  WriteWholeFile(FileName, EncodePng(*this));
}

std::vector<std::uint8_t> TBitmap::SaveToPngMemory() const { return EncodePng(*this); }

}  // namespace kvl
