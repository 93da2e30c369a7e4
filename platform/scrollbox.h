// TScrollBox: a container whose children may reach beyond its client area; scroll bars move
// them into view.
#pragma once

#include <cstdint>

#include "kvl/platform/forms.h"
#include "kvl/platform/scrollbars.h"

namespace kvl {

class TScrollBox;

// One scroll bar of a scroll box. Range is the content's extent in pixels along the bar;
// Position the pixels scrolled out at the left or top.
class TControlScrollBar {
public:
  TControlScrollBar(TScrollBox& Box, TScrollBarKind Kind);

  TScrollBarKind GetKind() const { return FKind; }
  // With AutoScroll the range follows the children (reading it brings it up to date).
  int GetRange() const;
  void SetRange(int Value);
  int GetPosition() const { return FPosition; }
  void SetPosition(int Value);
  // Pixels per arrow click (at least 1); a wheel notch scrolls three of them.
  int GetIncrement() const { return FIncrement; }
  void SetIncrement(int Value);
  // Whether the bar may show (it shows only when the range exceeds the client area).
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  // Dragging the thumb scrolls as it moves (on), or at its release (off).
  bool GetTracking() const { return FTracking; }
  void SetTracking(bool Value) { FTracking = Value; }
  // Whether the bar shows now.
  bool IsScrollBarVisible() const { return FShown; }

private:
  friend class TScrollBox;
  void OnScroll(TScrollCode Code, std::int64_t Pos);

  TScrollBox& FBox;
  TScrollBarKind FKind;
  int FRange = 0;
  int FPosition = 0;
  int FIncrement = 8;
  bool FVisible = true;
  bool FTracking = false;
  bool FShown = false;
  TScrollBarPart FPart;
};

class TScrollBox : public TWinControl {
public:
  explicit TScrollBox(TComponent* AOwner);

  TControlScrollBar* GetHorzScrollBar() { return &FHorz; }
  TControlScrollBar* GetVertScrollBar() { return &FVert; }
  bool GetAutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool Value);
  // Scrolls so that the control (a child or any control inside one) lies in the client area,
  // its top-left first when it is larger.
  void ScrollInView(TControl* AControl);
  // bsSingle (the default): a sunken 2-pixel frame; bsNone: none.
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);

  // Recomputes the ranges (AutoScroll) and which bars show; the box does so before painting.
  void UpdateScrollBars();

  void NonClientMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void NonClientMouseMove(TShiftState Shift, int X, int Y) override;
  void NonClientMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

protected:
  void Paint() override;
  void PaintBorder(TCanvas& C) override;
  void SizeChanged(int OldWidth, int OldHeight) override;
  void HandleMessage(TControlMessage& M) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

private:
  friend class TControlScrollBar;
  // Moves the children by the change of position and repaints.
  void ScrollTo(TControlScrollBar& Bar, int Value);
  void Wheel(TShiftState Shift, int Notches);

  TControlScrollBar FHorz, FVert;
  bool FAutoScroll = true;
  TBorderStyle FBorderStyle = bsSingle;
  bool FUpdating = false;
};

}  // namespace kvl
