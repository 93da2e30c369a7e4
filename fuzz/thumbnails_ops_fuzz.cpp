// A thumbnail grid driven by arbitrary bytes: property writes, sizes, scroll positions, mouse
// moves and clicks through the message loop, and selection calls; the bytes also choose what
// the host answers (a picture size, a way to show the card, a mark, no buffer, or a throw).
// Nothing may crash, be undefined or leak, and the selection never exceeds the range.
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "kvl/platform/application.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/host_headless.h"
#include "kvl/thumbnails/thumbnails.h"

namespace {

using namespace kvl;

void Check(bool Ok) {
  if (!Ok) std::abort();
}

class TReader {
public:
  TReader(const std::uint8_t* D, std::size_t N) : FData(D), FSize(N) {}
  bool More() const { return FPos < FSize; }
  std::uint8_t Byte() { return FPos < FSize ? FData[FPos++] : 0; }
  int Small() { return int(std::int8_t(Byte())) * 3; }
  // Mostly small numbers, now and then an extreme one.
  int Number() {
    static const int Extremes[] = {INT_MIN, -1, 0, 1, 2, 99, 100, 101, 10000, INT_MAX - 1, INT_MAX};
    const std::uint8_t B = Byte();
    if (B < 200) return int(B) * 7 - 300;
    return Extremes[B % (sizeof Extremes / sizeof *Extremes)];
  }

private:
  const std::uint8_t* FData;
  std::size_t FSize, FPos = 0;
};

struct TGridHost {
  THeadlessHost* Host;
  TForm* Form;
};

TGridHost& Setup() {
  static TGridHost S = [] {
    auto Host = std::make_unique<THeadlessHost>();
    THeadlessHost* H = Host.get();
    Application->SetHost(std::move(Host));
    Application->OnException = [](TObject*, const std::exception&) {};
    auto* Form = new TForm(Application);
    Form->SetBounds(0, 0, 820, 620);
    Form->Show();
    return TGridHost{H, Form};
  }();
  return S;
}

void Mouse(TGridHost& S, THostEventKind Kind, int X, int Y) {
  THostEvent E;
  E.Kind = Kind;
  E.Window = S.Form->GetWindow();
  E.X = X;
  E.Y = Y;
  E.Button = mbLeft;
  S.Host->Post(E);
  Application->ProcessMessages();
}

// What the host answers for the next slides.
struct TAnswer {
  int W = 40, H = 30;
  std::uint8_t How = irpShowSlide;
  int Mark = -1;
  bool Null = false, Throw = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TGridHost& S = Setup();
  TReader R(Data, Size);
  TAnswer A;
  auto Grid = std::make_unique<TThumbnails>(S.Form);
  TThumbnails& T = *Grid;
  T.OnImageRequest = [&A](TObject*, int, TImageRequestProcessing& How, int& Mark,
                          std::unique_ptr<TBitmap>& Buf) {
    if (A.Throw) {
      A.Throw = false;
      throw std::runtime_error("host");
    }
    How = static_cast<TImageRequestProcessing>(A.How);
    Mark = A.Mark;
    if (A.Null)
      Buf.reset();
    else
      Buf = std::make_unique<TBitmap>(A.W, A.H);
  };
  T.SetParent(S.Form);
  for (int Step = 0; R.More() && Step < 64; ++Step) {
    try {
      switch (R.Byte() % 16) {
        case 0:
          T.SetMin(R.Number());
          break;
        case 1: {
          const int Max = R.Number();
          // The full range takes 256 MiB of selection: allowed, but not in every input.
          if (Max < 2000000 || R.Byte() == 0) T.SetMax(Max);
          break;
        }
        case 2:
          T.SetSlideSize(R.Number());
          break;
        case 3:
          T.SetSlideDistance(R.Small());
          break;
        case 4:
          T.SetSlideMargin(R.Small());
          break;
        case 5:
          T.SetFocusLinewidth(R.Small());
          break;
        case 6:
          T.SetSlideSelectMode(static_cast<TSlideSelectMode>(R.Byte()));
          break;
        case 7:
          T.SetOuterFrameStyle(static_cast<TFrameStyle>(R.Byte()));
          T.SetInnerFrameStyle(static_cast<TFrameStyle>(R.Byte()));
          break;
        case 8:
          T.SetBounds(0, 0, R.Byte() * 3, R.Byte() * 2);
          break;
        case 9: {
          const std::uint8_t B = R.Byte();
          double X = R.Number() + B / 256.0;
          if (B == 255) X = std::nan("");
          if (B == 254) X = INFINITY;
          T.SetFirstThumbIx(X);
          break;
        }
        case 10:
          Mouse(S, THostEventKind::MouseMove, R.Byte() * 3, R.Byte() * 2);
          break;
        case 11: {
          const int X = R.Byte() * 3 - 1, Y = R.Byte() * 2 - 1;
          Mouse(S, THostEventKind::MouseDown, X, Y);
          Mouse(S, THostEventKind::MouseUp, R.Byte() == 0 ? -1 : X, R.Byte() == 0 ? -1 : Y);
          break;
        }
        case 12:
          T.SetSelectedSlide(R.Number(), R.Byte() & 1);
          break;
        case 13:
          T.SetSelectedRange(R.Number(), R.Number(), R.Byte() & 1);
          break;
        case 14:
          T.ResetAllSelections();
          break;
        default: {
          const std::uint8_t B = R.Byte();
          A.W = B == 1 ? 1 : B == 2 ? 10000 : R.Byte();
          A.H = B == 2 ? 1 : B == 1 ? 10000 : R.Byte();
          A.How = R.Byte();
          A.Mark = R.Number();
          A.Null = B == 3;
          A.Throw = B == 4;
          break;
        }
      }
    } catch (const std::exception&) {
      // A host handler's exception reaches the caller of a direct paint.
    }
    Check(T.GetMin() >= 1 && T.GetMin() <= T.GetMax());
    Check(std::int64_t(T.NumSlidesSelected()) <= std::int64_t(T.GetMax()) - T.GetMin() + 1);
    // Rows start at slide 1 whatever Min is, so the position may lie in Min's row below it.
    Check(T.GetFirstThumbIx() >= 1 && T.GetFirstThumbIx() <= T.GetMax());
    const int First = T.FirstSelectedSlide();
    Check(First == T.GetMin() - 1 || T.GetSelectedSlide(First));
  }
  Application->ProcessMessages();
  return 0;
}
