#include "pages.h"

namespace kvl::gallery {

const std::vector<TGalleryPage>& GalleryPages() {
  static const std::vector<TGalleryPage> Pages = {
      {"Canvas", BuildSamplerPage},
      {"Numeric entry", BuildNumioPage},
  };
  return Pages;
}

}  // namespace kvl::gallery
