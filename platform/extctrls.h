// Containers and bevels: the group box, the panel and the bevel. The frames of the group box
// and the panel lie inside their bounds and outside their client area: child coordinates count
// from the control's top-left corner, aligned children fill what the frame leaves, and every
// child is clipped to it.
#pragma once

#include <cstdint>

#include "kvl/platform/controls.h"
#include "kvl/platform/forms.h"

namespace kvl {

// A box with an etched frame and its caption set into the top line.
class TCustomGroupBox : public TCustomControl {
public:
  explicit TCustomGroupBox(TComponent* AOwner);

  // Inside the frame, below the caption.
  TRect GetClientRect() const override;

protected:
  void PaintBorder(TCanvas& C) override;
  // The caption's height moves the client area.
  void FontChanged() override;
};

class TGroupBox : public TCustomGroupBox {
public:
  using TCustomGroupBox::TCustomGroupBox;
};

enum TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };

// A container framed from the outside in by BorderStyle (bsSingle: a sunken 2-pixel frame),
// the outer bevel, BorderWidth pixels of Color and the inner bevel; each bevel other than
// bvNone is BevelWidth wide. The caption is drawn in the middle of what remains.
class TCustomPanel : public TCustomControl {
public:
  explicit TCustomPanel(TComponent* AOwner);

  TRect GetClientRect() const override;

  TBevelCut GetBevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value) { Change(FBevelOuter, Value); }
  TBevelCut GetBevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value) { Change(FBevelInner, Value); }
  // At least 1.
  int GetBevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int Value);
  // At least 0.
  int GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value) { Change(FBorderStyle, Value); }
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

protected:
  void Paint() override;
  void PaintBorder(TCanvas& C) override;

private:
  template <class T>
  void Change(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    FrameChanged();
  }
  void FrameChanged();
  int FrameWidth() const;

  TBevelCut FBevelOuter = bvRaised;
  TBevelCut FBevelInner = bvNone;
  int FBevelWidth = 1;
  int FBorderWidth = 0;
  TBorderStyle FBorderStyle = bsNone;
  TAlignment FAlignment = taCenter;
};

class TPanel : public TCustomPanel {
public:
  using TCustomPanel::TCustomPanel;
};

enum TBevelShape : std::uint8_t {
  bsBox,
  bsFrame,
  bsTopLine,
  bsBottomLine,
  bsLeftLine,
  bsRightLine,
  bsSpacer
};
enum TBevelStyle : std::uint8_t { bsLowered, bsRaised };

// A 3-D box, frame or line drawn on the parent; bsSpacer draws nothing.
class TBevel : public TGraphicControl {
public:
  explicit TBevel(TComponent* AOwner);

  TBevelShape GetShape() const { return FShape; }
  void SetShape(TBevelShape Value);
  TBevelStyle GetStyle() const { return FStyle; }
  void SetStyle(TBevelStyle Value);

protected:
  void Paint() override;

private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

}  // namespace kvl
