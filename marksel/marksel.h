// TMarkSel: a grid of the 52 marker symbols from which the user picks one. The symbol under the
// pointer is highlighted; a click selects the nearest symbol that is shown in the grid.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "kvl/core/drawing.h"
#include "kvl/core/kvlbase.h"
#include "kvl/platform/bitmap.h"
#include "kvl/platform/controls.h"

namespace kvl {

using TMarkClickEvent = std::function<void(TObject* Sender, int X, int Y, int Mark)>;

class TMarkSel : public TGraphicControl {
public:
  explicit TMarkSel(TComponent* AOwner);
  ~TMarkSel() override;

  void Assign(const TPersistent* Source) override;

  int GetNrOfColumns() const { return FNrCols; }
  // 1 ... 51; other values are ignored.
  void SetNrOfColumns(int Value);
  int GetNrOfRows() const { return FNrRows; }
  void SetNrOfRows(int Value);
  int GetSelected() const { return FSelected; }
  // -1 (none) ... 51; other values are ignored.
  void SetSelected(int Value);
  TColor GetColorBackGnd() const { return FColorBG; }
  void SetColorBackGnd(TColor Value);
  TColor GetColorMarks() const { return FColorFG; }
  void SetColorMarks(TColor Value);
  TColor GetColorSelBG() const { return FColorSelBG; }
  void SetColorSelBG(TColor Value);
  TColor GetColorSelFG() const { return FColorSelFG; }
  void SetColorSelFG(TColor Value);
  TColor GetColorHiLiteBG() const { return FColorHiLite; }
  void SetColorHiLiteBG(TColor Value);
  TColor GetColorHiLiteSymbol() const { return FColorHiSymb; }
  void SetColorHiLiteSymbol(TColor Value);
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  void SetEnabled(bool Value) override;
  bool GetShowZeroAsCross() const { return FZeroAsCross; }
  void SetShowZeroAsCross(bool Value);

  // Shape 0 is always shown; an index outside 0 ... 51 reads shape 0, and only 1 ... 51 can
  // be written.
  bool GetMarkVisible(int Index) const;
  void SetMarkVisible(int Index, bool Value);
  void ShowAllMarks();
  void HideAllMarks();

  // The centre of a shown shape's cell (shapes beyond the grid lie below it), and the shape
  // highlighted under the pointer.
  TPoint GetMarkCentre(int Mark) const;
  int GetHighlighted() const { return FLastHiLite; }
  // The shown shape in the grid nearest to (X, Y); 0 when no other is nearer.
  int NearestMark(int X, int Y) const;

  TMarkClickEvent OnMarkClick;
  TMarkClickEvent OnMarkDblClick;
  TNotifyEvent OnPaint;

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseCaptureLost() override;

protected:
  void AssignTo(TPersistent* Dest) const override;
  void Paint() override;
  void Resize() override;

private:
  struct TPalette {
    TColor FG, BG, SelFG, SelBG;
  };
  TPalette Palette() const;
  void Layout();
  void Changed();
  // The symbol of a shape with the canvas's current pen and brush.
  void DrawSymbol(TCanvas& C, int Mark) const;
  void DrawCell(TCanvas& C, int Mark, const TPalette& P) const;
  void RemoveHighlight(int Mark);
  void DrawHighlight(int Mark);
  // Selects the shape nearest to (X, Y), tells Event, repaints and highlights it.
  void Pick(int X, int Y, const TMarkClickEvent& Event);

  std::array<bool, NumMarkers> FMarkVis;
  std::array<TPoint, NumMarkers> FMarkCoords{};
  std::array<int, NumMarkers> FMarkPlace{};  // place in the grid of a shown shape, else -1
  int FNrCols = 8, FNrRows = 6;
  int FSelected = -1;
  int FLastHiLite = 0;
  int FMarkDistHorz = 0, FMarkDistVert = 0;
  int FMarkMarginHorz = 0, FMarkMarginVert = 0;
  TColor FColorBG = clBtnFace;
  TColor FColorFG = 0x000000;
  TColor FColorSelBG = 0xFFFFFF;
  TColor FColorSelFG = 0x800000;
  TColor FColorHiLite = 0x0000FF;
  TColor FColorHiSymb = 0xFFFFFF;
  TFrameStyle FFrameStyle = fsEngraved;
  bool FEnabled = true;
  bool FZeroAsCross = true;
  bool FPressed = false;  // a left press on the control waits for its release
  TBitmap FOffscreen;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

}  // namespace kvl
