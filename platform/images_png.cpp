// PNG through libpng's simplified API, which reports errors through png_image::message
// instead of longjmp, so no C++ frame is ever skipped.
#include <png.h>

#include <cstring>
#include <memory>

#include "kvl/platform/images.h"

namespace kvl {

namespace {

constexpr std::uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// Frees libpng's state on every path out of a read or write.
class TPngImage {
 public:
  TPngImage() {
    std::memset(&FImage, 0, sizeof FImage);
    FImage.version = PNG_IMAGE_VERSION;
  }
  TPngImage(const TPngImage&) = delete;
  TPngImage& operator=(const TPngImage&) = delete;
  ~TPngImage() { png_image_free(&FImage); }

  png_image* operator->() { return &FImage; }
  png_image* Get() { return &FImage; }

  [[noreturn]] void Fail(const char* What) {
    std::string Msg = std::string(What) + ": " + FImage.message;
    throw EInvalidGraphic(Msg);
  }

 private:
  png_image FImage;
};

// The smallest the image data of a W x H picture can inflate to: one filter byte and the
// packed samples per row.
std::uint64_t MinRawSize(const std::uint8_t* Data, std::uint64_t W, std::uint64_t H) {
  static constexpr int Channels[7] = {1, 0, 3, 1, 2, 0, 4};
  const int Type = Data[25];
  const std::uint64_t Bits = std::uint64_t(Data[24]) * std::uint64_t(Type < 7 ? Channels[Type] : 1);
  return H * (1 + (W * Bits + 7) / 8);
}

// Deflate expands at most about 1032 to 1; data that short of the picture is cut off, and we
// say so before allocating for it.
constexpr std::uint64_t MaxInflateRatio = 1100;

// One bit of gray per pixel: the picture is black and white.
bool IsOneBitGray(const std::uint8_t* Data, std::size_t Size) {
  // IHDR always comes first: its bit depth sits at byte 24, the colour type at byte 25.
  return Size > 25 && std::memcmp(Data + 12, "IHDR", 4) == 0 && Data[24] == 1 && Data[25] == 0;
}

}  // namespace

TDecodedImage DecodePng(const std::uint8_t* Data, std::size_t Size,
                        std::optional<TColor> TransparentKey) {
  if (Size < sizeof PngSignature || std::memcmp(Data, PngSignature, sizeof PngSignature) != 0)
    throw EInvalidGraphic("not a PNG file");
  TPngImage Png;
  if (!png_image_begin_read_from_memory(Png.Get(), Data, Size)) Png.Fail("bad PNG header");
  CheckDecodedSize(Png->width, Png->height);
  if (std::uint64_t(Size) * MaxInflateRatio < MinRawSize(Data, Png->width, Png->height))
    throw EInvalidGraphic("truncated pixel data");
  // Sixteen-bit samples without gamma information are encoded like eight-bit ones, as
  // every common writer means them; libpng would otherwise take them as linear.
  Png->flags |= PNG_IMAGE_FLAG_16BIT_sRGB;

  // With a key the alpha is read too (eight-bit output keeps the colours unpremultiplied).
  const int Channels = TransparentKey ? 4 : 3;
  Png->format = TransparentKey ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  const int W = int(Png->width), H = int(Png->height);
  // Left uninitialised: libpng writes every byte, and a damaged file fails without the cost
  // of clearing a buffer it never fills.
  const std::unique_ptr<std::uint8_t[]> Samples(
      new std::uint8_t[std::size_t(W) * std::size_t(H) * std::size_t(Channels)]);
  // Transparent parts land on white, as on a form's default background.
  const png_color White = {255, 255, 255};
  if (!png_image_finish_read(Png.Get(), TransparentKey ? nullptr : &White, Samples.get(),
                             W * Channels, nullptr))
    Png.Fail("bad PNG data");

  TDecodedImage Img;
  Img.Width = W;
  Img.Height = H;
  // A key colour makes a third colour of a black-and-white picture.
  Img.Monochrome = !TransparentKey && IsOneBitGray(Data, Size);
  Img.Pixels.resize(std::size_t(W) * std::size_t(H));
  if (!TransparentKey) {
    PixelsFromRgb(Samples.get(), Img);
    return Img;
  }
  const std::uint32_t Key = ColorToPixel(ColorToRGB(*TransparentKey));
  const std::uint8_t* S = Samples.get();
  for (auto& P : Img.Pixels) {
    P = S[3] < 128 ? Key : std::uint32_t(S[0]) << 16 | std::uint32_t(S[1]) << 8 | S[2];
    S += 4;
  }
  return Img;
}

std::vector<std::uint8_t> EncodePng(const TBitmap& B) {
  if (B.Empty()) throw EInvalidGraphic("cannot save an empty bitmap");
  const int W = B.GetWidth(), H = B.GetHeight();
  std::vector<std::uint8_t> Rgb(std::size_t(W) * std::size_t(H) * 3);
  std::uint8_t* D = Rgb.data();
  const std::uint32_t* S = B.Pixels();
  for (std::size_t I = 0, N = std::size_t(W) * std::size_t(H); I < N; ++I, D += 3) {
    D[0] = std::uint8_t(S[I] >> 16);
    D[1] = std::uint8_t(S[I] >> 8);
    D[2] = std::uint8_t(S[I]);
  }

  TPngImage Png;
  Png->width = png_uint_32(W);
  Png->height = png_uint_32(H);
  Png->format = PNG_FORMAT_RGB;
  png_alloc_size_t Size = 0;
  // First pass measures, second pass writes.
  if (!png_image_write_to_memory(Png.Get(), nullptr, &Size, 0, Rgb.data(), W * 3, nullptr))
    Png.Fail("PNG encoder");
  std::vector<std::uint8_t> Out(Size);
  if (!png_image_write_to_memory(Png.Get(), Out.data(), &Size, 0, Rgb.data(), W * 3, nullptr))
    Png.Fail("PNG encoder");
  Out.resize(Size);
  return Out;
}

}  // namespace kvl
