// The speed button: a graphic push button with a caption and a glyph, flat or raised, that can
// latch down in a group of radio-like buttons.
#pragma once

#include <cstdint>
#include <vector>

#include "kvl/platform/bitmap.h"
#include "kvl/platform/controls.h"

namespace kvl {

// Where the glyph sits relative to the caption.
enum TButtonLayout : std::uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Sent to every child of a button's parent when a grouped button goes down or changes its
// group settings. Each kind of button reacts only to senders of its own kind.
struct TButtonPressedMessage : TControlMessage {
  int GroupIndex = 0;
  TControl* Button = nullptr;
};

// A button without a window of its own: it never takes the focus. A left press shows it
// pressed while the button is held over it; the release inside clicks. With a GroupIndex other
// than 0 a click latches it Down and releases the other buttons of the same parent and group.
//
// Glyph cells, side by side in one bitmap of NumGlyphs cells: up, disabled, pressed, latched
// down. Missing cells fall back to the up cell; a missing disabled cell becomes an embossed
// grey copy of it. The glyph's bottom-left pixel is its transparent colour.
class TSpeedButton : public TGraphicControl {
public:
  explicit TSpeedButton(TComponent* AOwner);

  const TBitmap& GetGlyph() const { return FGlyph; }
  // Copies the picture. A width that is 1 to 4 times the height sets NumGlyphs to that count.
  void SetGlyph(const TBitmap& Value);
  int GetNumGlyphs() const { return FNumGlyphs; }
  // 1 ... 4; other values are ignored.
  void SetNumGlyphs(int Value);

  bool GetFlat() const { return FFlat; }
  // A flat button shows its bevel only while the pointer is over it (or while it is down).
  void SetFlat(bool Value);

  bool GetDown() const { return FDown; }
  // Only a grouped button stays down. Going down releases the others of its group; the last
  // button down of a group without AllowAllUp refuses to come up.
  void SetDown(bool Value);
  int GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  bool GetAllowAllUp() const { return FAllowAllUp; }
  // Spreads to the other buttons of the group.
  void SetAllowAllUp(bool Value);

  TButtonLayout GetLayout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  // Pixels between glyph and caption; -1 shares the free space evenly around them.
  int GetSpacing() const { return FSpacing; }
  void SetSpacing(int Value);
  // Pixels from the edge on the glyph's side to the glyph; -1 centres glyph and caption.
  int GetMargin() const { return FMargin; }
  void SetMargin(int Value);

  // A click latches a grouped button when it comes from a press on it; a program's call only
  // fires OnClick. A disabled button does not click.
  void Click() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseCaptureLost() override;

protected:
  void Paint() override;
  void HandleMessage(TControlMessage& M) override;
  void EnabledChanged() override;

  // The left button went down on this button and has not been released yet.
  bool IsHeld() const { return FHeld; }
  // Drawn pressed: held with the pointer over the button.
  bool IsPressed() const { return FHeld && FPointerInside; }
  // The pointer is over the button (between MouseEnter and MouseLeave).
  bool IsMouseInControl() const { return FMouseInControl; }

private:
  enum TGlyphCell : std::uint8_t { gcUp, gcDisabled, gcPressed, gcLatched };
  void SetPointerInside(bool Value);
  void AnnounceToGroup();
  void RebuildCells();
  const TBitmap* CellFor(TGlyphCell Cell) const;
  void PaintFace(TCanvas& C, const TRect& R);
  void PaintContents(TCanvas& C, const TRect& R, int Shift);

  TBitmap FGlyph;
  std::vector<TBitmap> FCells;  // one per glyph cell, transparent
  TBitmap FGreyed;              // embossed copy of the up cell, for a missing disabled cell
  int FNumGlyphs = 1;
  bool FFlat = false;
  bool FDown = false;
  int FGroupIndex = 0;
  bool FAllowAllUp = false;
  TButtonLayout FLayout = blGlyphLeft;
  int FSpacing = 4;
  int FMargin = -1;
  bool FHeld = false;           // the left button went down on us and is not yet released
  bool FPointerInside = false;  // the pointer is inside while held
  bool FMouseInControl = false;
};

}  // namespace kvl
