// Unit rotlab: TRotLab, a label whose caption is drawn at any angle around an anchor point,
// antialiased or not, inside a frame.
#pragma once

#include <string>

#include "kvl/core/kvlbase.h"
#include "kvl/platform/stdctrls.h"

namespace kvl {

class TRotLab : public TCustomLabel {
public:
  explicit TRotLab(TComponent* AOwner);

  // Copies AutoCenter, FrameStyle, TextAngle, PosX, PosY and AntiAlias, then invalidates; the
  // anchor re-centres when AutoCenter is on (the copied one belongs to the source's size).
  void Assign(const TPersistent* Source) override;

  // Every setter ignores an equal value; after a change a transparent label is invalidated
  // and an opaque one painted at once.
  //
  // Degrees counter-clockwise; any value, read back as written, drawn modulo 360.
  int GetTextAngle() const { return FTextAngle; }
  void SetTextAngle(int V);
  // The anchor; written while AutoCenter is on, it re-centres instead.
  int GetPosX() const { return FPosX; }
  void SetPosX(int V);
  int GetPosY() const { return FPosY; }
  void SetPosY(int V);
  // The anchor at (Width div 2, Height div 2), following every resize while on a parent.
  bool GetAutoCenter() const { return FAutoCenter; }
  void SetAutoCenter(bool V);
  // Which point of the text sits on the anchor: its left end, right end or centre.
  TAlignment GetAlignment() const { return FRotAlignment; }
  void SetAlignment(TAlignment V);
  bool GetAntiAlias() const { return FAntiAlias; }
  void SetAntiAlias(bool V);
  bool GetTransparent() const { return TCustomLabel::GetTransparent(); }
  void SetTransparent(bool V);
  // The background; also the control's colour (which ends ParentColor).
  TColor GetColor() const { return FColor; }
  void SetColor(TColor V);
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle V);

  void SetParent(TWinControl* AParent) override;

  // Stored for designers; the framework does not apply them (nor the inherited drag settings).
  const TSizeConstraints& GetConstraints() const { return FConstraints; }
  void SetConstraints(const TSizeConstraints& V) { FConstraints = V; }

  // The caption as one line: CR, LF and CR LF become one blank, other control characters go.
  static std::string OneLine(const std::string& Caption);

protected:
  void AssignTo(TPersistent* Dest) const override;
  void Paint() override;
  void DoDrawText(TRect& R, unsigned Flags) override;
  void SizeChanged(int OldWidth, int OldHeight) override;

private:
  void Changed();
  void Center();

  int FTextAngle = 0;
  int FPosX = 10, FPosY = 10;
  bool FAutoCenter = true;
  TAlignment FRotAlignment = taCenter;
  bool FAntiAlias = true;
  TColor FColor = clBtnFace;
  TFrameStyle FFrameStyle = fsLowered;
  TSizeConstraints FConstraints;
};

}  // namespace kvl
