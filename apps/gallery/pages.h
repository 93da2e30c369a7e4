// The gallery's pages: one per component family, each building its live controls on a host
// panel.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "kvl/platform/controls.h"

namespace kvl::gallery {

// A new control of type T owned and shown by Host at (X, Y) with the size W x H.
template <class T>
T* Place(TWinControl& Host, int X, int Y, int W, int H) {
  auto* C = new T(&Host);
  C->SetParent(&Host);
  C->SetBounds(X, Y, W, H);
  return C;
}

struct TGalleryPage {
  std::string Name;
  // Creates the page's controls with Host as owner and parent.
  std::function<void(TWinControl& Host)> Build;
};

const std::vector<TGalleryPage>& GalleryPages();

// The pages themselves, one file each.
void BuildSamplerPage(TWinControl& Host);
void BuildControlsPage(TWinControl& Host);
void BuildNumioPage(TWinControl& Host);
void BuildDisplaysPage(TWinControl& Host);
void BuildGridsPage(TWinControl& Host);
void BuildStdControls2Page(TWinControl& Host);
void BuildTreeViewPage(TWinControl& Host);
void BuildDialogsPage(TWinControl& Host);
void BuildMeterPage(TWinControl& Host);
void BuildLabelsPage(TWinControl& Host);
void BuildThumbnailsPage(TWinControl& Host);
// The folder tree and its buttons, beside the thumbnails.
void BuildFolderPane(TWinControl& Host, int Left, int Top);
void BuildButtonsPage(TWinControl& Host);
void BuildListsPage(TWinControl& Host);
void BuildMiniCalPage(TWinControl& Host);
void BuildNTabEdPage(TWinControl& Host);
void BuildReplistPage(TWinControl& Host);

}  // namespace kvl::gallery
