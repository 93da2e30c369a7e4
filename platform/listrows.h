// Rows of one height listed from a top row down: the body of a list box and of a drop-down
// list. Geometry and painting live here once; each list keeps its own items and selection.
#pragma once

#include <cstdint>
#include <functional>

#include "kvl/platform/canvas.h"

namespace kvl {

class TWinControl;

// What a row's owner-drawn painting is told about it.
enum TOwnerDrawStateFlag : unsigned {
  odSelected = 1,
  odGrayed = 2,
  odDisabled = 4,
  odChecked = 8,
  odFocused = 16,
  odDefault = 32,
  odComboBoxEdit = 4096,  // the closed face of a combo box, not a row of its list
};
using TOwnerDrawState = unsigned;

using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, const TRect& Rect,
                                          TOwnerDrawState State)>;

// Which rows show where: row I's top is Client.Top + (I - TopIndex) * ItemHeight.
struct TListRowsView {
  TRect Client;
  int Count = 0;
  int TopIndex = 0;
  int ItemHeight = 1;

  // Rows that fit wholly (at least 1).
  int PageRows() const;
  // The last TopIndex that still fills the view.
  int MaxTopIndex() const;
  TRect RowRect(int Index) const;
  // The row at client Y (which may be Count or beyond, or negative); callers clamp.
  int RowAtY(int Y) const;
  // The rows any part of which shows: [First, Last), Last at most Count.
  int FirstShown() const { return TopIndex; }
  int LastShown() const;
};

// How rows look: the colours of unselected rows, whether selected rows show as selected, the
// row that holds the focus rectangle (-1 none).
struct TListRowsLook {
  const TFont* Font = nullptr;
  TColor Color = clWindow;
  TColor FontColor = clWindowText;
  bool Enabled = true;
  int FocusIndex = -1;
};

// Paints the shown rows: each is filled with clHighlight (selected) or Color, the brush set to
// that colour and the font to Font in clHighlightText or FontColor; then Draw paints the row
// (the pen as the previous row left it: black, 1 wide, solid at the start). The focus row
// gets a dotted rectangle afterwards. Below the last row the view is filled with Color.
// Answers the number of rows painted.
int PaintListRows(TCanvas& C, const TListRowsView& V, const TListRowsLook& Look,
                  const std::function<bool(int Index)>& Selected,
                  const std::function<void(int Index, const TRect& R, TOwnerDrawState State)>& Draw);

}  // namespace kvl
