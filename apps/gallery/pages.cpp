#include "pages.h"

namespace kvl::gallery {

const std::vector<TGalleryPage>& GalleryPages() {
  static const std::vector<TGalleryPage> Pages = {
      {"Canvas", BuildSamplerPage},
      {"Standard controls", BuildControlsPage},
      {"Numeric entry", BuildNumioPage},
      {"Displays", BuildDisplaysPage},
      {"Buttons and selectors", BuildButtonsPage},
  };
  return Pages;
}

}  // namespace kvl::gallery
