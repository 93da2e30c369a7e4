// TCustomTreeView: selection, expansion, scrolling, keys and mouse, painting.
#include "kvl/platform/treeview.h"

#include <algorithm>

#include "kvl/platform/application.h"
#include "kvl/platform/relief.h"
#include "kvl/platform/scoped_value.h"
#include "kvl/platform/text.h"

namespace kvl {

namespace {

constexpr int WheelRows = 3;
constexpr int MaxIndent = 1000;
constexpr TColor HotFill = 0x00FFF3E5;  // the modern look's row under the mouse
constexpr TColor LineColor = clGray;

bool IsInside(const TTreeNode* N, const TTreeNode* Ancestor) {
  for (; N; N = N->GetParent())
    if (N == Ancestor) return true;
  return false;
}

char FoldAscii(char C) { return C >= 'a' && C <= 'z' ? char(C - 32) : C; }

}  // namespace

TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TWinControl(AOwner),
      FItems(std::make_unique<TTreeNodes>(this)),
      FVBar(*this, sbVertical),
      FHBar(*this, sbHorizontal) {
  FVBar.OnScroll = [this](TScrollCode Code, std::int64_t Pos) { OnBar(FVBar, Code, Pos); };
  FHBar.OnScroll = [this](TScrollCode Code, std::int64_t Pos) { OnBar(FHBar, Code, Pos); };
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetDefaultColor(clWindow);
  SetBorderInset(2);
}

TCustomTreeView::~TCustomTreeView() {
  FSelected = FTopNode = FHot = nullptr;
  FInDeletion = true;  // the nodes go without events
  FItems.reset();
}

// --- Virtuals -------------------------------------------------------------------------------

bool TCustomTreeView::CanExpand(TTreeNode* Node) {
  bool Allow = true;
  if (OnExpanding) OnExpanding(this, Node, Allow);
  return Allow;
}
void TCustomTreeView::Expand(TTreeNode* Node) {
  if (OnExpanded) OnExpanded(this, Node);
}
bool TCustomTreeView::CanCollapse(TTreeNode* Node) {
  bool Allow = true;
  if (OnCollapsing) OnCollapsing(this, Node, Allow);
  return Allow;
}
void TCustomTreeView::Collapse(TTreeNode* Node) {
  if (OnCollapsed) OnCollapsed(this, Node);
}
bool TCustomTreeView::CanChange(TTreeNode* Node) {
  bool Allow = true;
  if (OnChanging) OnChanging(this, Node, Allow);
  return Allow;
}
void TCustomTreeView::Change(TTreeNode* Node) {
  if (OnChange) OnChange(this, Node);
}
void TCustomTreeView::Delete(TTreeNode* Node) {
  if (OnDeletion) OnDeletion(this, Node);
}
void TCustomTreeView::Added(TTreeNode* Node) {
  if (OnAddition) OnAddition(this, Node);
}

int TCustomTreeView::CompareNodes(TTreeNode* A, TTreeNode* B) {
  if (OnCompare) {
    int R = 0;
    OnCompare(this, A, B, 0, R);
    return R;
  }
  const std::string &X = A->GetText(), &Y = B->GetText();
  const std::size_t N = std::min(X.size(), Y.size());
  for (std::size_t I = 0; I < N; ++I)
    if (const int D = int(static_cast<unsigned char>(FoldAscii(X[I]))) -
                      int(static_cast<unsigned char>(FoldAscii(Y[I]))))
      return D;
  return X.size() < Y.size() ? -1 : X.size() > Y.size() ? 1 : 0;
}

// --- Properties -----------------------------------------------------------------------------

void TCustomTreeView::SetIndent(int Value) {
  Value = std::clamp(Value, 0, MaxIndent);
  if (Value == FIndent) return;
  FIndent = Value;
  FWidest = 0;
  StructureChanged();
}

void TCustomTreeView::SetSortType(TSortType Value) {
  if (Value == FSortType) return;
  FSortType = Value;
  if (Value == stText) FItems->FRoot->AlphaSort(true);
}

void TCustomTreeView::SetBorderStyle(TBorderStyle Value) {
  if (Value != bsNone) Value = bsSingle;
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  SetBorderInset(Value == bsSingle ? 2 : 0);
  StructureChanged();
}

void TCustomTreeView::FontChanged() {
  TWinControl::FontChanged();
  ++FFontGeneration;
  FWidest = 0;
  StructureChanged();
}

void TCustomTreeView::SizeChanged(int OldWidth, int OldHeight) {
  TWinControl::SizeChanged(OldWidth, OldHeight);
  StructureChanged();
}

// --- Rows -----------------------------------------------------------------------------------

int TCustomTreeView::RowHeight() const { return std::max(GetFontMetrics(GetFont()).Height + 3, 1); }

int TCustomTreeView::PageRows() const { return std::max(GetClientHeight() / RowHeight(), 1); }

TTreeNode* TCustomTreeView::NodeAtRow(int Row) const {
  const TTreeNode* N = FItems->FRoot;
  if (Row < 0 || Row >= N->FChildRows) return nullptr;
  while (true) {
    TTreeNode* C = N->FChildren[std::size_t(N->FindChildByRow(Row))];
    if (Row == 0) return C;
    --Row;
    N = C;
  }
}

int TCustomTreeView::RowOfNode(const TTreeNode* Node) const {
  int R = 0;
  for (const TTreeNode* N = Node; N->FParent; N = N->FParent) {
    R += N->FParent->ChildRowsBefore(N->FIndex);
    if (N->FParent != FItems->FRoot) ++R;
  }
  return R;
}

TTreeNode* TCustomTreeView::GetTopItem() const { return FTopNode; }

void TCustomTreeView::SetTopItem(TTreeNode* Node) {
  if (Node && Node->GetTreeView() == this && Node->IsVisible()) SetTopRow(RowOfNode(Node));
}

int TCustomTreeView::GetTopRow() const { return FTopNode ? RowOfNode(FTopNode) : 0; }

void TCustomTreeView::SetTopRow(int Row) {
  Row = std::clamp(Row, 0, std::max(GetRowCount() - PageRows(), 0));
  TTreeNode* N = NodeAtRow(Row);
  FVBar.SetPosition(Row);
  if (N == FTopNode) return;
  FTopNode = N;
  Invalidate();
}

void TCustomTreeView::ScrollIntoView(TTreeNode* Node) {
  if (!Node || !Node->IsVisible()) return;
  const int R = RowOfNode(Node), Top = GetTopRow(), Page = PageRows();
  if (R < Top)
    SetTopRow(R);
  else if (R >= Top + Page)
    SetTopRow(R - Page + 1);
}

void TCustomTreeView::StructureChanged() {
  if (!FItems || FItems->IsUpdating()) return;
  // The top row stays where it is, or moves up when the rows below no longer fill the view.
  if (FTopNode && !FTopNode->IsVisible()) FTopNode = nullptr;
  SetTopRow(FTopNode ? RowOfNode(FTopNode) : FTopRowHint);
  FTopRowHint = 0;
  if (!FTopNode) FTopNode = NodeAtRow(0);
  UpdateScrollBars();
  Invalidate();
}

void TCustomTreeView::UpdateScrollBars() {
  const int B = GetBorderInset(), T = TScrollBarPart::Thickness;
  const int W = std::max(GetWidth() - 2 * B, 0), H = std::max(GetHeight() - 2 * B, 0);
  const int RowH = RowHeight();
  bool ShowH = false, ShowV = false;
  for (int Pass = 0; Pass < 2; ++Pass) {
    ShowV = GetRowCount() * std::int64_t(RowH) > H - (ShowH ? T : 0);
    ShowH = FWidest > W - (ShowV ? T : 0);
  }
  SetScrollBarInsets(ShowV ? T : 0, ShowH ? T : 0);
  FVBar.SetBounds(ShowV ? Rect(GetWidth() - B - T, B, GetWidth() - B, GetHeight() - B - (ShowH ? T : 0))
                        : TRect{});
  FHBar.SetBounds(ShowH ? Rect(B, GetHeight() - B - T, GetWidth() - B - (ShowV ? T : 0), GetHeight() - B)
                        : TRect{});
  const int Page = PageRows();
  FVBar.SetParams(0, std::max(GetRowCount() - Page, 0), Page);
  FVBar.SetPosition(GetTopRow());
  const int Room = std::max(GetClientWidth(), 1);
  FHBar.SetParams(0, std::max(FWidest - Room, 0), Room);
  FScrollX = std::clamp(FScrollX, 0, std::max(FWidest - Room, 0));
  FHBar.SetPosition(FScrollX);
}

void TCustomTreeView::OnBar(TScrollBarPart& Bar, TScrollCode Code, std::int64_t Pos) {
  const bool Vert = &Bar == &FVBar;
  const int Now = Vert ? GetTopRow() : FScrollX;
  const int Line = Vert ? 1 : 8;
  const int Page = Vert ? PageRows() : std::max(GetClientWidth(), 1);
  const std::optional<int> To = ScrollTarget(Code, Pos, Now, Line, Page, Bar.GetMax());
  if (!To) return;
  if (Vert) {
    SetTopRow(*To);
  } else {
    FScrollX = std::clamp(*To, 0, int(FHBar.GetMax()));
    FHBar.SetPosition(FScrollX);
    Invalidate();
  }
}

// --- Selection and expansion ----------------------------------------------------------------

void TCustomTreeView::SetSelected(TTreeNode* Node) {
  if (Node && Node->GetTreeView() != this) return;
  Select(Node);
}

void TCustomTreeView::Select(TTreeNode* Node) {
  if (Node == FSelected) return;
  TNodeWatch W(*FItems, Node);
  if (!CanChange(Node)) return;
  if (Node && !W.Get()) return;
  if (Node) {
    Node->MakeVisible();
    if (!W.Get()) return;
  }
  FSelected = Node;
  Invalidate();
  Change(Node);
  if (Node && W.Get()) ScrollIntoView(Node);
}

void TCustomTreeView::DoExpand(TTreeNode* Node, bool Recurse) {
  TNodeWatch W(*FItems, Node);
  if (!Node->FExpanded) {
    if (!CanExpand(Node) || !W.Get()) return;
    if (Node->FChildren.empty()) return;
    Node->FExpanded = true;
    FItems->RowsChanged(Node, Node->FChildRows);
    StructureChanged();
    Expand(Node);
    if (!W.Get()) return;
  }
  if (!Recurse) return;
  for (int I = 0; W.Get() && I < Node->GetCount(); ++I) DoExpand(Node->FChildren[std::size_t(I)], true);
}

void TCustomTreeView::DoCollapse(TTreeNode* Node, bool Recurse) {
  TNodeWatch W(*FItems, Node);
  if (Node->FExpanded) {
    if (!CanCollapse(Node) || !W.Get()) return;
    Node->FExpanded = false;
    FItems->RowsChanged(Node, -Node->FChildRows);
    if (FTopNode && FTopNode != Node && IsInside(FTopNode, Node)) FTopNode = Node;
    if (FHot && FHot != Node && IsInside(FHot, Node)) FHot = nullptr;
    StructureChanged();
    // The selection may not hide: it moves to the collapsed node, without asking.
    if (FSelected && FSelected != Node && IsInside(FSelected, Node)) {
      FSelected = Node;
      Change(Node);
      if (!W.Get()) return;
    }
    Collapse(Node);
    if (!W.Get()) return;
  }
  if (!Recurse) return;
  for (int I = 0; W.Get() && I < Node->GetCount(); ++I) DoCollapse(Node->FChildren[std::size_t(I)], true);
}

void TCustomTreeView::FullExpand() {
  TTreeNodes& N = *FItems;
  for (int I = 0; I < int(N.FRoot->FChildren.size()); ++I) DoExpand(N.FRoot->FChildren[std::size_t(I)], true);
}

void TCustomTreeView::FullCollapse() {
  TTreeNodes& N = *FItems;
  for (int I = 0; I < int(N.FRoot->FChildren.size()); ++I) DoCollapse(N.FRoot->FChildren[std::size_t(I)], true);
}

void TCustomTreeView::ToggleNode(TTreeNode* Node) {
  if (Node->FExpanded)
    DoCollapse(Node, false);
  else
    DoExpand(Node, false);
}

void TCustomTreeView::NodeDeleting(TTreeNode* Node) {
  // Pointers into the subtree go first; the view forgets them without events.
  int TopRow = -1;
  if (FTopNode && IsInside(FTopNode, Node)) TopRow = RowOfNode(Node);
  if (FSelected && IsInside(FSelected, Node)) FSelected = nullptr;
  if (FHot && IsInside(FHot, Node)) FHot = nullptr;
  if (TopRow >= 0) {
    FTopNode = nullptr;
    FTopRowHint = TopRow;
  }
  FTypeAhead.Reset();
  // Every node of the subtree, also without a handler: a derived view's Delete hears of them.
  const TScopedValue<bool> Deleting(FInDeletion, true);
  for (TTreeNode* N = Node; N && IsInside(N, Node); N = N->GetNext()) Delete(N);
}

// --- Geometry and hit tests -----------------------------------------------------------------

int TCustomTreeView::NodeLeft(const TTreeNode* Node) const {
  const int Cols = Node->GetLevel() + (FShowRoot ? 1 : 0);
  return Cols * FIndent + 3 - FScrollX;
}

int TCustomTreeView::TextWidthOf(TTreeNode* Node) const {
  if (Node->FTextWidth < 0 || Node->FWidthFont != FFontGeneration) {
    Node->FTextWidth = TextAdvance(GetFont(), Node->FText);
    Node->FWidthFont = FFontGeneration;
  }
  return Node->FTextWidth;
}

TTreeNode* TCustomTreeView::GetNodeAt(int X, int Y) const {
  if (Y < 0 || X < 0 || X >= GetClientWidth() || Y >= GetClientHeight()) return nullptr;
  return NodeAtRow(GetTopRow() + Y / RowHeight());
}

THitTests TCustomTreeView::GetHitTestInfoAt(int X, int Y) const {
  THitTests R = 0;
  if (Y < 0) R |= htAbove;
  if (Y >= GetClientHeight()) R |= htBelow;
  if (X < 0) R |= htToLeft;
  if (X >= GetClientWidth()) R |= htToRight;
  if (R) return R;
  TTreeNode* N = GetNodeAt(X, Y);
  if (!N) return htNowhere;
  const int Left = NodeLeft(N);
  if (X >= Left - 2 && X < Left + TextWidthOf(N) + 2) return htOnLabel;
  if (X >= Left + TextWidthOf(N) + 2) return htOnRight;
  const int Cols = N->GetLevel() + (FShowRoot ? 1 : 0);
  if (FShowButtons && Cols > 0 && N->GetHasChildren()) {
    const int Cx = (Cols - 1) * FIndent + FIndent / 2 - FScrollX;
    if (X >= Cx - 5 && X <= Cx + 5) return htOnButton;
  }
  return htOnIndent;
}

// --- Keyboard and mouse ---------------------------------------------------------------------

bool TCustomTreeView::WantsKey(std::uint16_t Key, TShiftState) const {
  return Key >= vk::Prior && Key <= vk::Down;
}

void TCustomTreeView::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TWinControl::KeyDown(Key, Shift);
  if (Key == 0 || GetRowCount() == 0) return;
  TTreeNode* S = FSelected && FSelected->IsVisible() ? FSelected : nullptr;
  const int Row = S ? RowOfNode(S) : -1, Last = GetRowCount() - 1, Page = PageRows();
  const bool Ctrl = (Shift & ssCtrl) != 0;
  TTreeNode* To = nullptr;
  switch (Key) {
    case vk::Up:
      if (Ctrl) return SetTopRow(GetTopRow() - 1);
      To = NodeAtRow(std::max(Row - 1, 0));
      break;
    case vk::Down:
      if (Ctrl) return SetTopRow(GetTopRow() + 1);
      To = NodeAtRow(std::min(Row + 1, Last));
      break;
    case vk::Home: To = NodeAtRow(0); break;
    case vk::End: To = NodeAtRow(Last); break;
    case vk::Prior: To = NodeAtRow(std::max(Row - (Page - 1), 0)); break;
    case vk::Next: To = NodeAtRow(std::clamp(Row + Page - 1, 0, Last)); break;
    case vk::Left:
      if (S && S->FExpanded)
        DoCollapse(S, false);
      else if (S && S->GetParent())
        To = S->GetParent();
      break;
    case vk::Right:
      if (S && !S->FExpanded && S->GetHasChildren())
        DoExpand(S, false);
      else if (S && S->FExpanded)
        To = S->GetFirstChild();
      break;
    case vk::Add:
      if (S) DoExpand(S, false);
      break;
    case vk::Subtract:
      if (S) DoCollapse(S, false);
      break;
    case vk::Multiply:
      if (S) DoExpand(S, true);
      break;
    default:
      return;
  }
  FTypeAhead.Reset();
  if (To) {
    Select(To);
    ScrollIntoView(FSelected);
  }
}

void TCustomTreeView::KeyPress(char32_t& Key) {
  TWinControl::KeyPress(Key);
  if (Key < 32 || Key == 127) return;
  // Keys of the numeric pad's signs act in KeyDown and type nothing here.
  if ((Key == '+' || Key == '-' || Key == '*') && FTypeAhead.GetPrefix().empty()) return;
  const int Cur = FSelected && FSelected->IsVisible() ? RowOfNode(FSelected) : -1;
  const int R = FTypeAhead.KeyTyped(Key, Application->GetHost().Now(), Cur, GetRowCount(),
                                    [this](int I) { return NodeAtRow(I)->GetText(); });
  if (R >= 0) Select(NodeAtRow(R));
}

void TCustomTreeView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    SetFocus();
    FTypeAhead.Reset();
    const THitTests Hit = GetHitTestInfoAt(X, Y);
    TNodeWatch N(*FItems, GetNodeAt(X, Y));
    if (N.Get()) {
      if (Hit & htOnButton) {
        ToggleNode(N.Get());
      } else {
        Select(N.Get());
        if ((Shift & ssDouble) && N.Get()) ToggleNode(N.Get());
      }
    }
  }
  TWinControl::MouseDown(Button, Shift, X, Y);
}

void TCustomTreeView::MouseMove(TShiftState Shift, int X, int Y) {
  if (FHotTrack || FLook == tvlModern) {
    TTreeNode* N = GetNodeAt(X, Y);
    if (N != FHot) {
      FHot = N;
      Invalidate();
    }
  }
  TWinControl::MouseMove(Shift, X, Y);
}

void TCustomTreeView::MouseLeave() {
  if (FHot) {
    FHot = nullptr;
    Invalidate();
  }
  TWinControl::MouseLeave();
}

bool TCustomTreeView::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (!TWinControl::DoMouseWheelDown(Shift, MousePos)) SetTopRow(GetTopRow() + WheelRows);
  return true;
}

bool TCustomTreeView::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (!TWinControl::DoMouseWheelUp(Shift, MousePos)) SetTopRow(GetTopRow() - WheelRows);
  return true;
}

void TCustomTreeView::NonClientMouseDown(TMouseButton Button, TShiftState, int X, int Y) {
  BarsMouseDown(FVBar, FHBar, Button, X, Y);
}
void TCustomTreeView::NonClientMouseMove(TShiftState, int X, int Y) { BarsMouseMove(FVBar, FHBar, X, Y); }
void TCustomTreeView::NonClientMouseUp(TMouseButton Button, TShiftState, int X, int Y) {
  BarsMouseUp(FVBar, FHBar, Button, X, Y);
}

// --- Painting -------------------------------------------------------------------------------

void TCustomTreeView::PaintBorder(TCanvas& C) {
  if (FBorderStyle == bsSingle) DrawSunkenFrame(C, Rect(0, 0, GetWidth(), GetHeight()));
  if (!FVBar.GetBounds().IsEmpty()) FVBar.Paint(C);
  if (!FHBar.GetBounds().IsEmpty()) FHBar.Paint(C);
  if (!FVBar.GetBounds().IsEmpty() && !FHBar.GetBounds().IsEmpty()) {
    C.GetBrush().SetColor(clBtnFace);
    C.FillRect(Rect(FVBar.GetBounds().Left, FHBar.GetBounds().Top, FVBar.GetBounds().Right,
                    FHBar.GetBounds().Bottom));
  }
}

void TCustomTreeView::Paint() {
  TCanvas& C = *GetCanvas();
  C.GetBrush().SetColor(GetShownColor());
  C.FillRect(GetClientRect());
  C.SetFont(GetFont());
  const int H = RowHeight(), Bottom = GetClientHeight();
  const int WidestBefore = FWidest;
  int Painted = 0;
  for (TTreeNode* N = FTopNode; N && Painted * H < Bottom; N = N->GetNextVisible()) {
    PaintRow(C, N, Painted * H);
    ++Painted;
  }
  FPaintedRows = Painted;
  // Rows measured for the first time may widen the horizontal range.
  if (FWidest != WidestBefore) UpdateScrollBars();
}

namespace {

void DottedVLine(TCanvas& C, int X, int Y1, int Y2) {
  for (int Y = Y1 + (Y1 & 1); Y < Y2; Y += 2) C.SetPixel(X, Y, LineColor);
}
void DottedHLine(TCanvas& C, int X1, int X2, int Y) {
  for (int X = X1 + ((X1 + Y) & 1); X < X2; X += 2) C.SetPixel(X, Y, LineColor);
}

}  // namespace

void TCustomTreeView::PaintRow(TCanvas& C, TTreeNode* N, int Y) {
  const int H = RowHeight(), Mid = Y + H / 2;
  const int Left = NodeLeft(N);
  const int TW = TextWidthOf(N);
  FWidest = std::max(FWidest, Left + FScrollX + TW + 4);
  const int Level = N->GetLevel();
  const int Cols = Level + (FShowRoot ? 1 : 0);
  const auto ColX = [&](int Col) { return Col * FIndent + FIndent / 2 - FScrollX; };
  const bool Hot = N == FHot && (FHotTrack || FLook == tvlModern);
  const bool Sel = N == FSelected && (Focused() || !FHideSelection);
  if (Hot && FLook == tvlModern) {
    C.GetBrush().SetColor(HotFill);
    C.FillRect(Rect(0, Y, GetClientWidth(), Y + H));
  }
  if (FShowLines && FLook == tvlClassic && Cols > 0) {
    // Ancestors with siblings below carry their line through this row.
    int Col = Cols - 2;
    for (const TTreeNode* A = N->GetParent(); A && Col >= 0; A = A->GetParent(), --Col)
      if (A->GetNextSibling()) DottedVLine(C, ColX(Col), Y, Y + H);
    const int X = ColX(Cols - 1);
    const bool First = !N->GetParent() && N->GetIndex() == 0;
    DottedVLine(C, X, First ? Mid : Y, N->GetNextSibling() ? Y + H : Mid + 1);
    DottedHLine(C, X, Left - 2, Mid);
  }
  if (FShowButtons && Cols > 0 && N->GetHasChildren()) {
    const int X = ColX(Cols - 1);
    if (FLook == tvlClassic) {
      const TRect Box = Rect(X - 4, Mid - 4, X + 5, Mid + 5);
      C.GetBrush().SetColor(clWindow);
      C.FillRect(Box);
      C.GetBrush().SetColor(clGray);
      C.FrameRect(Box);
      C.GetPen().SetColor(clBlack);
      C.GetPen().SetWidth(1);
      C.MoveTo(X - 2, Mid);
      C.LineTo(X + 3, Mid);
      if (!N->FExpanded) {
        C.MoveTo(X, Mid - 2);
        C.LineTo(X, Mid + 3);
      }
    } else {
      const TColor Col = N == FHot ? TColor(0x00E0A040) : TColor(0x00808080);
      C.GetPen().SetColor(Col);
      C.GetBrush().SetColor(Col);
      if (N->FExpanded) {
        const TPoint P[] = {{X + 3, Mid - 3}, {X + 3, Mid + 3}, {X - 3, Mid + 3}};
        C.Polygon(P);
      } else {
        const TPoint P[] = {{X - 2, Mid - 4}, {X + 2, Mid}, {X - 2, Mid + 4}};
        C.Polygon(P);
      }
    }
  }
  TRect Label = Rect(Left - 2, Y, Left + TW + 2, Y + H);
  if (FRowSelect) Label = Rect(0, Y, GetClientWidth(), Y + H);
  TColor TextColor = IsEnabledInTree() ? GetShownFontColor() : clGrayText;
  if (Sel) {
    C.GetBrush().SetColor(Focused() ? clHighlight : clBtnFace);
    C.FillRect(Label);
    if (Focused()) TextColor = clHighlightText;
  } else if (Hot && FLook == tvlClassic) {
    TextColor = clHighlight;
  }
  C.GetBrush().SetStyle(bsClear);
  C.GetFont().SetColor(TextColor);
  C.TextOut(Left, Y + 1, N->GetText());
  if (Sel && Focused()) C.DrawFocusRect(Label);
}

}  // namespace kvl
