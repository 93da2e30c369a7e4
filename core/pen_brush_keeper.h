// Saves a canvas's pen and brush and puts them back, so drawing helpers leave the caller's
// canvas as they found it.
#pragma once

#include "kvl/platform/canvas.h"

namespace kvl {

class TPenBrushKeeper {
public:
  explicit TPenBrushKeeper(TCanvas& C) : FCanvas(C), FPen(C.GetPen()), FBrush(C.GetBrush()) {}
  ~TPenBrushKeeper() {
    FCanvas.SetPen(FPen);
    FCanvas.SetBrush(FBrush);
  }
  TPenBrushKeeper(const TPenBrushKeeper&) = delete;
  TPenBrushKeeper& operator=(const TPenBrushKeeper&) = delete;

private:
  TCanvas& FCanvas;
  TPen FPen;
  TBrush FBrush;
};

}  // namespace kvl
