// JPEG reading through libjpeg. libjpeg reports errors by calling error_exit, which must not
// return; ours longjmps back to the setjmp in RunJpegHeader or RunJpegScanlines. Those two
// functions hold only trivially destructible locals and throw nothing, so the jump skips no
// destructor and no C++ exception ever crosses a libjpeg frame. Everything with a destructor
// lives in DecodeJpeg, which calls them and throws once they have returned.
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include "kvl/platform/images.h"

namespace kvl {

namespace {

// A progressive file can hold thousands of tiny scans that each cost a full pass; real
// encoders write about a dozen.
constexpr int MaxProgressiveScans = 200;
// Enough for the largest picture we accept; more means a hostile file.
constexpr long MaxDecoderMemory = 1L << 29;

struct TJpegJob {
  jpeg_decompress_struct Info;
  jpeg_error_mgr Errors;
  jpeg_progress_mgr Progress;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

TJpegJob* JobOf(j_common_ptr Info) {
  // The error manager is a member of the job; client_data points back at the job.
  return static_cast<TJpegJob*>(Info->client_data);
}

[[noreturn]] void JpegErrorExit(j_common_ptr Info) {
  TJpegJob* Job = JobOf(Info);
  (*Info->err->format_message)(Info, Job->Message);
  std::longjmp(Job->Jump, 1);
}

// Corrupt-data warnings (a truncated file among them: libjpeg pads it with gray and goes on)
// fail the read instead of yielding a damaged picture.
void JpegEmitMessage(j_common_ptr Info, int Level) {
  if (Level < 0) JpegErrorExit(Info);
}

void JpegProgress(j_common_ptr Info) {
  auto* D = reinterpret_cast<j_decompress_ptr>(Info);
  if (D->input_scan_number > MaxProgressiveScans) {
    TJpegJob* Job = JobOf(Info);
    std::snprintf(Job->Message, sizeof Job->Message, "more than %d scans", MaxProgressiveScans);
    std::longjmp(Job->Jump, 1);
  }
}

// Reads the header. False with Job->Message set on failure.
bool RunJpegHeader(TJpegJob* Job, const std::uint8_t* Data, std::size_t Size) {
  if (setjmp(Job->Jump)) return false;
  jpeg_mem_src(&Job->Info, Data, static_cast<unsigned long>(Size));
  jpeg_read_header(&Job->Info, TRUE);
  return true;
}

// Decodes into Rgb (three bytes a pixel, the header's width times height of them). False
// with Job->Message set on failure.
bool RunJpegScanlines(TJpegJob* Job, std::uint8_t* Rgb) {
  if (setjmp(Job->Jump)) return false;
  Job->Info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&Job->Info);
  if (Job->Info.output_width != Job->Info.image_width ||
      Job->Info.output_height != Job->Info.image_height || Job->Info.output_components != 3) {
    std::snprintf(Job->Message, sizeof Job->Message, "unexpected output layout");
    return false;
  }
  const std::size_t Stride = std::size_t(Job->Info.output_width) * 3;
  while (Job->Info.output_scanline < Job->Info.output_height) {
    JSAMPROW Row = Rgb + std::size_t(Job->Info.output_scanline) * Stride;
    jpeg_read_scanlines(&Job->Info, &Row, 1);
  }
  jpeg_finish_decompress(&Job->Info);
  return true;
}

class TJpegReader {
 public:
  TJpegReader() {
    std::memset(&FJob, 0, sizeof FJob);
    FJob.Info.err = jpeg_std_error(&FJob.Errors);
    FJob.Errors.error_exit = JpegErrorExit;
    FJob.Errors.emit_message = JpegEmitMessage;
    FJob.Progress.progress_monitor = JpegProgress;
    // jpeg_create_decompress reports failure through error_exit too.
    // jpeg_create_decompress keeps client_data, which the error handler needs.
    FJob.Info.client_data = &FJob;
    if (setjmp(FJob.Jump)) Fail("JPEG decoder");
    jpeg_create_decompress(&FJob.Info);
    // Past this, libjpeg fails cleanly instead of taking more.
    FJob.Info.mem->max_memory_to_use = MaxDecoderMemory;
    FJob.Info.progress = &FJob.Progress;
    FCreated = true;
  }
  TJpegReader(const TJpegReader&) = delete;
  TJpegReader& operator=(const TJpegReader&) = delete;
  ~TJpegReader() {
    if (FCreated) jpeg_destroy_decompress(&FJob.Info);
  }

  TJpegJob* Job() { return &FJob; }
  [[noreturn]] void Fail(const char* What) {
    throw EInvalidGraphic(std::string(What) + ": " + FJob.Message);
  }

 private:
  TJpegJob FJob;
  bool FCreated = false;
};

}  // namespace

TDecodedImage DecodeJpeg(const std::uint8_t* Data, std::size_t Size) {
  if (Size < 3 || Data[0] != 0xFF || Data[1] != 0xD8 || Data[2] != 0xFF)
    throw EInvalidGraphic("not a JPEG file");
  TJpegReader Reader;
  TJpegJob* Job = Reader.Job();
  if (!RunJpegHeader(Job, Data, Size)) Reader.Fail("bad JPEG header");
  const J_COLOR_SPACE Space = Job->Info.jpeg_color_space;
  if (Space == JCS_CMYK || Space == JCS_YCCK) throw EInvalidGraphic("unsupported CMYK JPEG");
  if (Job->Info.num_components != 1 && Job->Info.num_components != 3)
    throw EInvalidGraphic("unsupported JPEG colour layout");
  // Before jpeg_start_decompress, which sizes its buffers (for progressive files, the whole
  // picture's coefficients) from the header.
  CheckDecodedSize(Job->Info.image_width, Job->Info.image_height);

  const int W = int(Job->Info.image_width), H = int(Job->Info.image_height);
  // Left uninitialised: every row is written before use, and a damaged file fails without
  // the cost of clearing a buffer it never fills.
  const std::unique_ptr<std::uint8_t[]> Rgb(new std::uint8_t[std::size_t(W) * std::size_t(H) * 3]);
  if (!RunJpegScanlines(Job, Rgb.get())) Reader.Fail("bad JPEG data");

  TDecodedImage Img;
  Img.Width = W;
  Img.Height = H;
  Img.Pixels.resize(std::size_t(W) * std::size_t(H));
  PixelsFromRgb(Rgb.get(), Img);
  return Img;
}

}  // namespace kvl
