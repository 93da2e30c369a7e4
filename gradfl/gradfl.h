// TGradFill: a decorative background that fills its whole area with a stepped colour gradient
// in horizontal or vertical bands, once from the first colour to the last or out to the last
// colour in the middle and back, with an optional grid and frame. After each paint it fires
// OnPaint so that the host can draw on top.
#pragma once

#include <cstdint>

#include "kvl/core/kvlbase.h"
#include "kvl/platform/bitmap.h"
#include "kvl/platform/controls.h"

namespace kvl {

// Band orientation and course: gtHoriz bands are horizontal stripes with the colour running top
// to bottom, gtVert vertical stripes running left to right; the mid-band types reach the last
// colour in the middle band and fall back towards the first colour on both sides.
enum TGradType : std::uint8_t { gtHoriz, gtVert, gtMidBandHoriz, gtMidBandVert };

// Grid lines over the bands: horizontal ones, vertical ones, or both.
enum TGridMode : std::uint8_t { gmNone, gmHoriz, gmVert, gmBoth };

class TGradFill : public TGraphicControl {
public:
  explicit TGradFill(TComponent* AOwner);

  // Copies the fill's own settings from another TGradFill (not position, size or events).
  void Assign(const TPersistent* Source) override;

  TGradType GetFillType() const { return FFillType; }
  void SetFillType(TGradType V);
  // Number of bands, 1 .. 255.
  int GetNrColors() const { return FNrColors; }
  void SetNrColors(int V);
  // The colours in use: the first band's, and the last (or middle) band's. Reading gives what
  // is painted, which is the host's other colour while ColorFlipped is set.
  TColor GetColorFirst() const { return FColorFirst; }
  void SetColorFirst(TColor C);
  TColor GetColorLast() const { return FColorLast; }
  void SetColorLast(TColor C);
  // Exchanges the roles of the two colours; flipping twice restores them.
  bool GetColorFlipped() const { return FColorFlipped; }
  void SetColorFlipped(bool V);
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle V);
  TGridMode GetGridMode() const { return FGridMode; }
  void SetGridMode(TGridMode V);
  TColor GetGridColor() const { return FGridColor; }
  void SetGridColor(TColor C);

  // Fired after every paint, once the gradient is on screen; the host may draw over it on
  // GetCanvas().
  TNotifyEvent OnPaint;

protected:
  void AssignTo(TPersistent* Dest) const override;
  void Paint() override;

private:
  // A setting changed: the picture is drawn anew at the next paint.
  void Changed();
  // Draws bands, grid and frame into FOffscreen at the control's size.
  void Render();
  void RenderBands(TCanvas& C, int W, int H);
  void RenderGrid(TCanvas& C, int W, int H);

  TGradType FFillType = gtHoriz;
  int FNrColors = 16;
  // What the host set as first and last colour, and the two in use (exchanged while flipped).
  TColor FHostColorFirst = clMaroon, FHostColorLast = clYellow;
  TColor FColorFirst = clMaroon, FColorLast = clYellow;
  bool FColorFlipped = false;
  TFrameStyle FFrameStyle = fsNone;
  TGridMode FGridMode = gmNone;
  TColor FGridColor = clNavy;

  // The rendered picture; a partial repaint (a label over the fill) only copies from it.
  TBitmap FOffscreen;
  bool FStale = true;
};

}  // namespace kvl
