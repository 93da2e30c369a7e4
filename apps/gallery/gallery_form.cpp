#include "gallery_form.h"

#include <algorithm>
#include <cctype>

#include "pages.h"

namespace kvl::gallery {

TGalleryForm::TGalleryForm(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("kvl gallery");
  SetBounds(40, 40, 900, 600);
  FList = new TListBox(this);
  FList->SetParent(this);
  FList->SetWidth(150);
  FList->SetAlign(alLeft);
  FList->SetStyle(lbOwnerDrawFixed);
  FList->SetItemHeight(22);
  for (const TGalleryPage& P : GalleryPages()) FList->GetItems()->Add(P.Name);
  FList->OnDrawItem = [this](TWinControl*, int I, const TRect& R, TOwnerDrawState) {
    FList->GetCanvas()->TextRect(R, R.Left + 6, R.Top + 4, (*FList->GetItems())[I]);
  };
  FList->OnClick = [this](TObject*) { BuildPage(FList->GetItemIndex()); };
  FPageHost = new TScrollBox(this);
  FPageHost->SetParent(this);
  FPageHost->SetBorderStyle(bsNone);
  FPageHost->SetAlign(alClient);
  FList->SetItemIndex(0);
  BuildPage(0);
  SetActiveControl(FList);
}

void TGalleryForm::BuildPage(int Index) {
  while (FPageHost->GetControlCount() > 0)
    delete FPageHost->GetControls(FPageHost->GetControlCount() - 1);
  while (FPageHost->GetComponentCount() > 0)
    delete FPageHost->GetComponents(FPageHost->GetComponentCount() - 1);
  // A new page starts at its top-left corner.
  FPageHost->GetHorzScrollBar()->SetPosition(0);
  FPageHost->GetVertScrollBar()->SetPosition(0);
  const auto& Pages = GalleryPages();
  if (Index >= 0 && Index < int(Pages.size())) Pages[std::size_t(Index)].Build(*FPageHost);
}

bool TGalleryForm::ShowPage(const std::string& Name) {
  const auto Same = [](const std::string& A, const std::string& B) {
    return std::equal(A.begin(), A.end(), B.begin(), B.end(), [](char X, char Y) {
      return std::tolower(static_cast<unsigned char>(X)) ==
             std::tolower(static_cast<unsigned char>(Y));
    });
  };
  const auto& Pages = GalleryPages();
  for (int I = 0; I < int(Pages.size()); ++I)
    if (Same(Pages[std::size_t(I)].Name, Name)) {
      if (I != FList->GetItemIndex()) {
        FList->SetItemIndex(I);
        BuildPage(I);
      }
      return true;
    }
  return false;
}

}  // namespace kvl::gallery
