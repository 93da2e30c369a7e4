// Shows the pictures (PNG, BMP, JPEG) of a folder as thumbnails. Each picture is read when it
// first comes into view and kept as a small copy. Click selects, Shift+click selects a range,
// Ctrl+click toggles; the up-down and the wheel scroll. On exit the selected file names are
// printed, one a line.
//
//   thumbnail_viewer FOLDER [--png FILE]
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "kvl/platform/application.h"
#include "kvl/platform/comctrls.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/thumbnails/thumbnails.h"

namespace fs = std::filesystem;
using namespace kvl;

namespace {

std::vector<std::string> PictureFiles(const std::string& Folder) {
  std::vector<std::string> Files;
  std::error_code Ec;
  for (const auto& E : fs::directory_iterator(Folder, Ec)) {
    std::string Ext = E.path().extension().string();
    std::transform(Ext.begin(), Ext.end(), Ext.begin(),
                   [](unsigned char C) { return char(std::tolower(C)); });
    if ((Ext == ".png" || Ext == ".bmp" || Ext == ".jpg" || Ext == ".jpeg") &&
        E.is_regular_file(Ec))
      Files.push_back(E.path().string());
  }
  std::sort(Files.begin(), Files.end());
  return Files;
}

// A copy whose longer side is at most Side pixels, scaled by area averaging.
TBitmap SmallCopy(const TBitmap& B, int Side) {
  const int W = B.GetWidth(), H = B.GetHeight();
  if (std::max(W, H) <= Side) return B;
  const int Sw = std::max(W >= H ? Side : W * Side / H, 1);
  const int Sh = std::max(H >= W ? Side : H * Side / W, 1);
  TBitmap Small(Sw, Sh);
  TCanvas& C = *Small.GetCanvas();
  C.SetStretchMode(smHalftone);
  C.StretchDraw(Rect(0, 0, Sw, Sh), B);
  return Small;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--png")) {
    std::fprintf(stderr, "usage: thumbnail_viewer FOLDER [--png FILE]\n");
    return 2;
  }
  const std::vector<std::string> Files = PictureFiles(argv[1]);
  if (Files.empty()) {
    std::fprintf(stderr, "no pictures in %s\n", argv[1]);
    return 1;
  }

  auto* Form = new TForm(Application);
  Form->SetCaption("Thumbnails of " + std::string(argv[1]));
  Form->SetBounds(100, 100, 620, 480);
  auto* Grid = new TThumbnails(Form);
  Grid->SetParent(Form);
  Grid->SetBounds(8, 8, 566, 440);
  Grid->SetMax(int(Files.size()));
  Grid->SetSlideSelectMode(ssmMultiple);

  // Pictures that fail to read show the placeholder.
  std::map<int, std::unique_ptr<TBitmap>> Small;
  Grid->OnImageRequest = [&](TObject*, int Id, TImageRequestProcessing& How, int&,
                             std::unique_ptr<TBitmap>& Buf) {
    auto It = Small.find(Id);
    if (It == Small.end()) {
      std::unique_ptr<TBitmap> Copy;
      try {
        TBitmap Full;
        Full.LoadFromFile(Files[std::size_t(Id - 1)]);
        Copy = std::make_unique<TBitmap>(SmallCopy(Full, 160));
      } catch (const Exception& E) {
        std::fprintf(stderr, "%s\n", E.what());
      }
      It = Small.emplace(Id, std::move(Copy)).first;
    }
    if (!It->second) return;
    How = irpShowSlide;
    *Buf = *It->second;
  };

  // The previous click and the keys are read on the release, before the grid moves its last
  // clicked slide on.
  TShiftState Shift = 0;
  int Anchor = 0;
  Grid->OnMouseUp = [&](TObject*, TMouseButton, TShiftState S, int, int) {
    Shift = S;
    Anchor = Grid->GetLastClickedSlide();
  };
  Grid->OnImageClick = [&](TObject*, int, int, int Id) {
    if (Id == 0) return;
    if (Shift & ssCtrl) {
      Grid->SetSelectedSlide(Id, !Grid->GetSelectedSlide(Id));
      return;
    }
    Grid->ResetAllSelections();
    Grid->SetSelectedRange((Shift & ssShift) && Anchor ? Anchor : Id, Id, true);
  };

  // One up-down step or wheel notch scrolls one row; the up-down's top is the grid's top.
  const int PerRow = 4, Rows = (int(Files.size()) + PerRow - 1) / PerRow;
  auto* Scroll = new TUpDown(Form);
  Scroll->SetParent(Form);
  Scroll->SetBounds(578, 8, 20, 440);
  Scroll->SetOrientation(udVertical);
  Scroll->SetMax(Rows - 1);
  Scroll->SetPosition(Rows - 1);
  const auto ToRow = [&](int Row) {
    Row = std::clamp(Row, 0, Rows - 1);
    Scroll->SetPosition(Rows - 1 - Row);
    Grid->SetFirstThumbIx(1.0 + double(Row) * Grid->GetNumSldX());
  };
  Scroll->OnClick = [&](TObject*, TUDBtnType) { ToRow(Rows - 1 - Scroll->GetPosition()); };
  Grid->OnMouseWheel = [&](TObject*, TShiftState, int Delta, TPoint, bool& Handled) {
    ToRow(Rows - 1 - Scroll->GetPosition() - Delta / 120);
    Handled = true;
  };

  if (argc == 4) {
    Form->Show();
    Application->ProcessMessages();
    Form->GetBackBuffer().SaveToPngFile(argv[3]);
  } else {
    Application->SetMainForm(Form);
    Application->Run();
  }
  for (int S = Grid->FirstSelectedSlide(); S >= Grid->GetMin(); S = Grid->NextSelectedSlide(S))
    std::printf("%s\n", Files[std::size_t(S - 1)].c_str());
  return 0;
}
