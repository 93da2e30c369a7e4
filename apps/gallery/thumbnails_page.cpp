// The thumbnails page: a grid of 10 000 slides whose pictures the page draws from each slide's
// number when they come into view, with placeholders, frame-only and empty cards, marks and
// captions; multiple selection with Shift and Ctrl; an up-down and the wheel scroll it. The
// folder tree stands beside it.
#include <algorithm>
#include <map>
#include <memory>
#include <string>

#include "kvl/platform/comctrls.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/thumbnails/thumbnails.h"
#include "pages.h"

namespace kvl::gallery {

namespace {

constexpr int Slides = 10000;

// A landscape, a portrait, a square or a 3:1 panorama, now and then a one-pixel sliver: sky
// and meadow tinted by the number, a sun that wanders with it.
TBitmap SlidePicture(int Id) {
  static const std::pair<int, int> Sizes[] = {{160, 120}, {90, 150}, {120, 120}, {240, 80}};
  auto [W, H] = Sizes[Id % 4];
  if (Id % 37 == 0) H = 1;
  TBitmap B(W, H);
  TCanvas& C = *B.GetCanvas();
  C.GetBrush().SetColor(
      RGBColor(std::uint8_t(90 + Id * 7 % 80), std::uint8_t(150 + Id * 3 % 60), 230));
  C.FillRect(Rect(0, 0, W, H));
  C.GetBrush().SetColor(RGBColor(40, std::uint8_t(110 + Id * 11 % 90), 50));
  C.FillRect(Rect(0, H * 2 / 3, W, H));
  const int R = std::max(std::min(W, H) / 6, 2);
  const int X = R + (Id * 13) % std::max(W - 2 * R, 1);
  C.GetPen().SetColor(clOlive);
  C.GetBrush().SetColor(clYellow);
  C.Ellipse(X - R, H / 4 - R, X + R, H / 4 + R);
  return B;
}

// The pictures in view, drawn once: a paint asks only for the visible slides.
class TPictureCache {
public:
  const TBitmap& Get(int Id) {
    auto It = FPictures.find(Id);
    if (It != FPictures.end()) return It->second;
    if (FPictures.size() >= 64) FPictures.clear();
    return FPictures.emplace(Id, SlidePicture(Id)).first->second;
  }

private:
  std::map<int, TBitmap> FPictures;
};

}  // namespace

void BuildThumbnailsPage(TWinControl& Host) {
  auto* Grid = new TThumbnails(&Host);
  Grid->SetParent(&Host);
  Grid->SetBounds(12, 12, 430, 440);
  Grid->SetMax(Slides);
  Grid->SetSlideSelectMode(ssmMultiple);
  Grid->SetFocusLinewidth(2);
  Grid->SetColorMark(clRed);
  Grid->SetSelectedRange(6, 9, true);
  Grid->SetSelectedSlide(14, true);

  auto Cache = std::make_shared<TPictureCache>();
  Grid->OnImageRequest = [Cache](TObject*, int Id, TImageRequestProcessing& How, int& Mark,
                                 std::unique_ptr<TBitmap>& Buf) {
    if (Id % 7 == 0) Mark = 8 + Id % 44;
    if (Id % 11 == 0) return;  // the placeholder
    How = Id % 13 == 0 ? irpShowFrameOnly : Id % 17 == 0 ? irpShowNothing : irpShowSlide;
    if (How == irpShowSlide) *Buf = Cache->Get(Id);
  };
  Grid->OnSlideRendered = [](TObject*, TCanvas& C, int X, int Y, int Id) {
    C.GetBrush().SetStyle(bsClear);
    C.GetFont().SetColor(clWhite);
    const std::string Text = "#" + std::to_string(Id);
    C.TextOut(X + 127 - C.TextWidth(Text), Y + 2, Text);
  };

  auto* Status = new TLabel(&Host);
  Status->SetParent(&Host);
  Status->SetBounds(12, 460, 454, 20);
  const auto ShowStatus = [Grid, Status](TObject*) {
    const int First = Grid->FirstSelectedSlide();
    Status->SetCaption("Focused slide: " + std::to_string(Grid->GetFocusedSlide()) +
                       "    Selected: " + std::to_string(Grid->NumSlidesSelected()) +
                       "    First selected: " + (First > 0 ? std::to_string(First) : "none"));
  };
  ShowStatus(nullptr);
  Grid->OnFocusChange = ShowStatus;

  // Click selects one slide, Shift+click the range from the previous click, Ctrl+click
  // toggles. The previous click and the keys are read on the release, before the grid moves
  // its last clicked slide on.
  struct TClick {
    TShiftState Shift = 0;
    int Anchor = 0;
  };
  auto Click = std::make_shared<TClick>();
  Grid->OnMouseUp = [Grid, Click](TObject*, TMouseButton, TShiftState Shift, int, int) {
    Click->Shift = Shift;
    Click->Anchor = Grid->GetLastClickedSlide();
  };
  Grid->OnImageClick = [Grid, Click, ShowStatus](TObject*, int, int, int Id) {
    if (Id == 0) return;
    if (Click->Shift & ssCtrl) {
      Grid->SetSelectedSlide(Id, !Grid->GetSelectedSlide(Id));
    } else {
      Grid->ResetAllSelections();
      const bool Range = (Click->Shift & ssShift) && Click->Anchor != 0;
      Grid->SetSelectedRange(Range ? Click->Anchor : Id, Id, true);
    }
    ShowStatus(Grid);
  };

  // One step of the up-down or one wheel notch is one row; the top of the up-down is the top
  // of the grid. The grid shows 3 cards per row.
  constexpr int PerRow = 3, Rows = (Slides + PerRow - 1) / PerRow;
  auto* Scroll = new TUpDown(&Host);
  Scroll->SetParent(&Host);
  Scroll->SetBounds(446, 12, 20, 440);
  Scroll->SetOrientation(udVertical);
  Scroll->SetMin(0);
  Scroll->SetMax(Rows - 1);
  Scroll->SetPosition(Rows - 1);
  const auto ToRow = [Grid, Scroll](int Row) {
    Row = std::clamp(Row, 0, Rows - 1);
    Scroll->SetPosition(Rows - 1 - Row);
    Grid->SetFirstThumbIx(1.0 + double(Row) * Grid->GetNumSldX());
  };
  Scroll->OnClick = [Scroll, ToRow](TObject*, TUDBtnType) {
    ToRow(Rows - 1 - Scroll->GetPosition());
  };
  Grid->OnMouseWheel = [Scroll, ToRow](TObject*, TShiftState, int Delta, TPoint, bool& Handled) {
    ToRow(Rows - 1 - Scroll->GetPosition() - Delta / 120);
    Handled = true;
  };

  BuildFolderPane(Host, 478, 12);
}

}  // namespace kvl::gallery
