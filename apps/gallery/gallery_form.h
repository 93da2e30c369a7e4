// The gallery window: the page list on the left, the chosen page's live components on the
// right, scrolled when the window is smaller than the page.
#pragma once

#include <string>

#include "kvl/platform/forms.h"
#include "kvl/platform/listbox.h"
#include "kvl/platform/scrollbox.h"

namespace kvl::gallery {

class TGalleryForm : public TForm {
public:
  explicit TGalleryForm(TComponent* AOwner);
  // Shows the page with this name (ASCII case ignored); false when there is none.
  bool ShowPage(const std::string& Name);
  TWinControl& GetPageHost() { return *FPageHost; }

private:
  void BuildPage(int Index);

  TListBox* FList;
  TScrollBox* FPageHost;
};

}  // namespace kvl::gallery
