// The row editor: one labelled field per data column on a dialog of its own or on a host's
// form; OK writes back what the user changed and the defaults shown for empty cells.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "kvl/numio/numedit.h"
#include "kvl/platform/buttons.h"
#include "kvl/platform/combobox.h"
#include "kvl/platform/dtpicker.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/scoped_value.h"
#include "kvl/platform/scrollbox.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/replist/datereader.h"
#include "kvl/replist/editformat.h"
#include "kvl/replist/replist.h"

namespace kvl {

namespace {

// Every component whose name holds the prefix belongs to the editor and goes with it.
constexpr std::string_view EditorPrefix = "runtime_rlre_";
constexpr int RowPitch = 25;
constexpr int OwnFieldsTop = 45;
constexpr int BottomMargin = 38;
constexpr int ButtonWidth = 81, ButtonHeight = 29;
constexpr TColor ReadOnlyColor = 0x00E0E0E0, ReadOnlyTextColor = 0x00808080;
constexpr int EditorDateLanguage = 1;
constexpr double NumberLimit = 1.7e308;

bool HasName(const TComponent& C, std::string_view Part) {
  return C.GetName().find(Part) != std::string::npos;
}

// What a field showed when the dialog opened: OK writes a field only when it differs from
// this, or when it shows a default from the format for an empty cell.
struct TOpened {
  bool Known = false;
  std::string Text;
  TDateTime Value = 0;
  bool Default = false;
};

// A new component of the form, named at once so that clean-up finds it whatever follows.
template <class T>
T* NewNamed(TForm& Form, std::string_view Name) {
  const std::string Full = std::string(EditorPrefix) + std::string(Name);
  auto* C = new T(&Form);
  try {
    C->SetName(Full);
  } catch (...) {
    delete C;
    throw;
  }
  return C;
}

template <class T>
T* NewPart(TForm& Form, TWinControl& Parent, const std::string& Name, int Col) {
  auto* C = NewNamed<T>(Form, Name + std::to_string(Col));
  C->SetParent(&Parent);
  return C;
}

TComboBox* NewChoice(TForm& Form, TWinControl& Parent, int Col, const TEditFormat& F,
                     const std::string& Cell, TOpened& O) {
  auto* B = NewPart<TComboBox>(Form, Parent, "CBox", Col);
  const bool ListOnly = F.Column.Letter() == 'l';
  B->SetStyle(ListOnly ? csDropDownList : csDropDown);
  for (const std::string& Item : F.Items) B->GetItems()->Add(Item);
  if (F.DropDownCount > 0) B->SetDropDownCount(F.DropDownCount);
  if (ListOnly)
    B->SetItemIndex(B->GetItems()->IndexOf(Cell));
  else
    B->SetText(Cell);
  O.Text = B->GetText();
  return B;
}

TDateTimePicker* NewPicker(TForm& Form, TWinControl& Parent, int Col, const TEditFormat& F,
                           const std::string& Cell, TOpened& O) {
  auto* P = NewPart<TDateTimePicker>(Form, Parent, "DtPick", Col);
  P->SetFormat(F.DateFormat);
  // An unreadable text shows as the value 0; the picker's own "now" is no default.
  if (!Cell.empty()) {
    P->SetDateTime(ReadDateText(Cell, F.DateFormat, EditorDateLanguage).Value);
  } else if (!F.Column.Body.empty()) {
    const TDateTextReading R = ReadDateText(F.Column.Body, F.DateFormat, EditorDateLanguage);
    P->SetDateTime(R.Value);
    O.Default = R.Error == drOk;
  }
  O.Value = P->GetDateTime();
  return P;
}

TNumIO* NewNumber(TForm& Form, TWinControl& Parent, int Col, const TEditFormat& F,
                  const std::string& Shown, TOpened& O) {
  auto* N = NewPart<TNumIO>(Form, Parent, "NumIO", Col);
  const char L = F.Column.Letter();
  N->SetInputFormat(L == 'e' ? itDynamic : L == 'f' ? itFloat : L == 'h' ? itHex : itInt);
  // Both bounds move away from the new box's 0 .. 0, so neither swaps with the other.
  N->SetRangeLow(-NumberLimit);
  N->SetRangeHigh(NumberLimit);
  // Decimal cells hold either separator whatever the locale.
  N->SetDecPlaceSep(dpsBoth);
  N->SetText(Shown);
  O.Text = N->GetText();
  return N;
}

TEdit* NewText(TForm& Form, TWinControl& Parent, int Col, const std::string& Shown, TOpened& O) {
  auto* E = NewPart<TEdit>(Form, Parent, "Edit", Col);
  E->SetText(Shown);
  O.Text = E->GetText();
  return E;
}

}  // namespace

int TReportListView::EditRowEntries(int Row, int PosLeft, int PosTop) {
  return RunRowEditor(Row, nullptr, PosLeft, PosTop, "Editing Row " + std::to_string(Row), "OK",
                      "Cancel");
}

int TReportListView::EditRowEntries(int Row, int PosLeft, int PosTop,
                                    const std::string& FormCaption, const std::string& ButOKCaption,
                                    const std::string& ButCancelCaption) {
  return RunRowEditor(Row, nullptr, PosLeft, PosTop, FormCaption, ButOKCaption, ButCancelCaption);
}

int TReportListView::EditRowEntries(int Row, TForm* ContainerForm, int PosLeft, int PosTop) {
  if (!ContainerForm) return EditRowEntries(Row, PosLeft, PosTop);
  return RunRowEditor(Row, ContainerForm, PosLeft, PosTop, "", "", "");
}

int TReportListView::RunRowEditor(int Row, TForm* Container, int PosLeft, int PosTop,
                                  const std::string& FormCaption, const std::string& ButOKCaption,
                                  const std::string& ButCancelCaption) {
  // One editor at a time; a row outside the table would report OK with nothing written.
  if (FContainerForm || Row < 1 || Row > GetNrOfRows()) return mrCancel;
  // Running a showing form modally would hide it at the end, a main form's window with it.
  if (Container && Container->GetVisible())
    RaiseComponentError<EKVLRepListError>(GetName(), "container form is already visible");
  // The dialog shows the cells as they are, and no later commit overwrites its write-back.
  EndEditing();

  const bool Own = Container == nullptr;
  // Copied before anything changes, so that the clean-up below cannot fail.
  TNotifyEvent HostOnShow = Own ? TNotifyEvent() : Container->OnShow;
  TForm* Form = Container;
  const TScopeExit CleanUp([this, &Form, Own, &HostOnShow] {
    if (Form) {
      Form->OnShow.swap(HostOnShow);  // swapping cannot fail
      for (int I = Form->GetComponentCount() - 1; I >= 0; --I) {
        I = std::min(I, Form->GetComponentCount() - 1);
        if (I < 0) break;
        TComponent* C = Form->GetComponents(I);
        if (HasName(*C, EditorPrefix)) delete C;
      }
      if (Own) delete Form;
    }
    FContainerForm = nullptr;
    FSBERCancel = nullptr;
  });
  if (Own) Form = new TForm(this);
  FContainerForm = Form;

  const int N = GetNrOfColumns();
  std::vector<TEditFormat> Formats;
  Formats.reserve(std::size_t(N));
  int Wl = 0, MaxW = 0;
  for (int C = 1; C <= N; ++C) {
    std::string Format = GetColumnFormat(C);
    if (OnRequestEditFormat) OnRequestEditFormat(this, C, Row, Format);
    Formats.push_back(ReadEditFormat(Format));
    MaxW = std::max(MaxW, Formats.back().Column.Width);
    Wl = std::max(Wl, Form->GetCanvas()->TextWidth(GetHeader(C)));
  }
  Wl += 8;

  // Sizes: the fields sit in a scrolling area when they would pass the screen's height.
  const int ScreenH = Screen->GetHeight();
  int OriginX = Own ? 0 : PosLeft, OriginY = Own ? OwnFieldsTop : PosTop;
  const int NeedH = N * RowPitch + BottomMargin + (Own ? OwnFieldsTop : 0);
  int FormW = Wl + MaxW + 28;
  const bool Scrolls =
      OriginY + N * RowPitch + BottomMargin > ScreenH && ScreenH > OriginY + RowPitch;
  if (Scrolls) FormW += TScrollBarPart::Thickness;
  int FormH = Scrolls ? std::min(NeedH, ScreenH) : NeedH;
  if (!Own) {
    // A container grows but never shrinks.
    FormW = std::max(FormW, Form->GetWidth());
    FormH = std::max(FormH, Form->GetHeight());
  }
  TWinControl* Parent = Form;
  if (Scrolls) {
    auto* Box = NewNamed<TScrollBox>(*Form, "ScrollBox");
    Box->SetParent(Form);
    Box->SetBorderStyle(bsNone);
    Box->SetBounds(OriginX, OriginY, FormW - OriginX, std::max(FormH - OriginY, RowPitch));
    Parent = Box;
    OriginX = OriginY = 0;
  }
  if (Own) {
    Form->SetBorderStyle(bsDialog);
    Form->SetBounds(PosLeft, PosTop, FormW, FormH);
    auto* Ok = NewNamed<TSpeedButton>(*Form, "ButOK");
    Ok->SetParent(Form);
    Ok->SetBounds(Wl + MaxW - 154, 4, ButtonWidth, ButtonHeight);
    Ok->SetCaption(ButOKCaption);
    Ok->OnClick = [Form](TObject*) { Form->SetModalResult(mrOk); };
    FSBERCancel = NewNamed<TSpeedButton>(*Form, "ButCancel");
    FSBERCancel->SetParent(Form);
    FSBERCancel->SetBounds(Wl + MaxW - 69, 4, ButtonWidth, ButtonHeight);
    FSBERCancel->SetCaption(ButCancelCaption);
    FSBERCancel->OnClick = [Form](TObject*) { Form->SetModalResult(mrCancel); };
    // Escape while no field has the focus.
    Form->OnKeyDown = [Form](TObject*, std::uint16_t& Key, TShiftState) {
      if (Key == vk::Escape) Form->SetModalResult(mrCancel);
    };
  } else {
    Form->SetBounds(Form->GetLeft(), Form->GetTop(), FormW, FormH);
  }
  Form->SetCaption(FormCaption);

  const auto EnterKey = [Form](TObject*, char32_t& Key) {
    if (Key != U'\r') return;
    Form->SetModalResult(mrOk);
    Key = 0;
  };
  const auto EscapeKey = [Form](TObject*, std::uint16_t& Key, TShiftState) {
    if (Key != vk::Escape) return;
    Form->SetModalResult(mrCancel);
    Key = 0;
  };
  std::vector<TOpened> Opened(std::size_t(N) + 1);
  TWinControl* First = nullptr;
  for (int C = 1; C <= N; ++C) {
    const TEditFormat& F = Formats[std::size_t(C - 1)];
    const int Y = OriginY + (C - 1) * RowPitch;
    auto* L = NewPart<TLabel>(*Form, *Parent, "Label", C);
    L->SetAutoSize(false);
    L->SetAlignment(taRightJustify);
    L->SetBounds(OriginX + 8, Y + 3, Wl, L->GetHeight());
    L->SetCaption(GetHeader(C) + ":");

    const std::string Cell = GetElem(C, Row);
    // The defaults read as the store's do, but read-only columns show theirs too.
    const std::string Shown = Cell.empty() ? ColumnDefaultText(F.Column, Row) : Cell;
    TOpened& O = Opened[std::size_t(C)];
    TWinControl* W = nullptr;
    switch (F.Column.Letter()) {
      case 'c':
      case 'l':
        W = NewChoice(*Form, *Parent, C, F, Cell, O);
        break;
      case 'd':
        W = NewPicker(*Form, *Parent, C, F, Cell, O);
        break;
      case 'e':
      case 'f':
      case 'h':
      case 'i':
        W = NewNumber(*Form, *Parent, C, F, Shown, O);
        O.Default = Cell.empty() && !O.Text.empty();
        break;
      case 's':
        W = NewText(*Form, *Parent, C, Shown, O);
        O.Default = Cell.empty() && !O.Text.empty();
        break;
      default:
        continue;
    }
    O.Known = true;
    W->SetTag(C);
    W->SetBounds(OriginX + Wl + 12, Y, F.Column.Width, W->GetHeight());
    if (F.Column.ReadOnly) {
      W->SetEnabled(false);
      W->SetColor(ReadOnlyColor);
      W->GetFont().SetColor(ReadOnlyTextColor);
    } else {
      W->OnKeyPress = EnterKey;
      W->OnKeyDown = EscapeKey;
      if (!First) First = W;
    }
  }
  // The first editable field takes the focus once the form shows.
  Form->OnShow = [Form, HostOnShow, First](TObject* Sender) {
    if (HostOnShow) HostOnShow(Sender);
    if (First) Form->SetActiveControl(First);
  };

  const int Result = Form->ShowModal();
  if (Result != mrOk) return Result;

  bool Wrote = false;
  {
    const TPaintPause Pause(*this);
    const TQuietChanges Quiet(FQuietChanges);
    for (int I = 0; I < Form->GetComponentCount(); ++I) {
      TComponent* Part = Form->GetComponents(I);
      const std::intptr_t Col = Part->GetTag();
      if (!HasName(*Part, EditorPrefix) || Col < 1 || Col > N) continue;
      const TOpened& O = Opened[std::size_t(Col)];
      if (!O.Known) continue;
      std::string Now;
      bool Edited = false;
      if (HasName(*Part, "runtime_rlre_DtPick")) {
        const auto* P = dynamic_cast<const TDateTimePicker*>(Part);
        if (!P) continue;
        Now = P->GetText();
        Edited = P->GetDateTime() != O.Value;
      } else if (HasName(*Part, "runtime_rlre_Edit") || HasName(*Part, "runtime_rlre_NumIO") ||
                 HasName(*Part, "runtime_rlre_CBox")) {
        const auto* W = dynamic_cast<const TControl*>(Part);
        if (!W) continue;
        Now = W->GetText();
        Edited = Now != O.Text;
      } else {
        continue;
      }
      if (!Edited && !O.Default) continue;
      SetElem(int(Col), Row, Now);
      Wrote = true;
    }
  }
  if (Wrote) Changed();
  return Result;
}

}  // namespace kvl
