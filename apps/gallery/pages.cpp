#include "pages.h"

namespace kvl::gallery {

const std::vector<TGalleryPage>& GalleryPages() {
  static const std::vector<TGalleryPage> Pages = {
      {"Canvas", BuildSamplerPage},
      {"Numeric entry", BuildNumioPage},
      {"Displays", BuildDisplaysPage},
  };
  return Pages;
}

}  // namespace kvl::gallery
