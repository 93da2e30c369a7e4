#include "pages.h"

namespace kvl::gallery {

const std::vector<TGalleryPage>& GalleryPages() {
  static const std::vector<TGalleryPage> Pages = {
      {"Canvas", BuildSamplerPage},
      {"Standard controls", BuildControlsPage},
      {"Numeric entry", BuildNumioPage},
      {"Displays", BuildDisplaysPage},
      {"Grids", BuildGridsPage},
      {"Standard controls II", BuildStdControls2Page},
      {"Tree view", BuildTreeViewPage},
      {"Dialogs", BuildDialogsPage},
      {"Meter", BuildMeterPage},
      {"Labels and bars", BuildLabelsPage},
      {"Thumbnails and folders", BuildThumbnailsPage},
      {"Buttons and selectors", BuildButtonsPage},
      {"Lists and pickers", BuildListsPage},
      {"Calendar", BuildMiniCalPage},
      {"Table editor", BuildNTabEdPage},
      {"Report list", BuildReplistPage},
  };
  return Pages;
}

}  // namespace kvl::gallery
