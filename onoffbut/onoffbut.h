// TOnOffBut: a two-state button drawn as a glyph picture (a check box, a slide switch, a lamp,
// a traffic light ...) with up to four captions around it. A click on the glyph toggles it;
// buttons of one parent sharing a group index act as radio buttons; in speed-button mode it is
// on only while held. It can paint itself transparently over its parent.
//
// Each style's pictures come from one built-in sheet of four equal glyphs (on and off, enabled
// on top, disabled below); pixels of the key colour 0x00EBBEEB show the background.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "kvl/core/kvlbase.h"
#include "kvl/platform/bitmap.h"
#include "kvl/platform/controls.h"

namespace kvl {

enum TOnOffButStyle : std::uint8_t {
  oobsUser, oobsCheckbox, oobsRadioBut, oobsSlideTB, oobsSlideLR, oobsColSlideTB,
  oobsColSlideLR, oobsLedRedGreen, oobsArrowTopRgt, oobsArrowUpDown, oobsArrowLeftRight,
  oobsTrafficLPed, oobsBeveledLed, oobsSmileyYellow, oobsSmileyRedGrn, oobsBulb, oobsButLamp,
  oobsHDLeft, oobsHDRight, oobsUser1, oobsUser2, oobsUser3, oobsUser4, oobsUser5};
enum TOOButMode : std::uint8_t { oobmNormalBut, oobmSpeedBut };
enum TOOButMouseAction : std::uint8_t { oomaNone, oomaFocused, oomaPlain };

// The transparent colour of every glyph sheet.
inline constexpr TColor OnOffGlyphKey = 0x00EBBEEB;
// The built-in sheet of a style ("CHECKBOX" ...); empty for oobsUser and unknown values.
std::string_view OnOffGlyphResource(TOnOffButStyle Style);

class TOnOffBut : public TGraphicControl {
public:
  explicit TOnOffBut(TComponent* AOwner);
  ~TOnOffBut() override;

  void Assign(const TPersistent* Source) override;

  bool GetOnOff() const { return FOnOff; }
  // Refused (false) while grouped without AllowAllOff; turning on releases the group.
  void SetOnOff(bool Value);
  TOnOffButStyle GetButtonStyle() const { return FButStyle; }
  // Loads the style's glyphs; a picture that cannot be read raises EInvalidGraphic and
  // leaves style and glyphs as they were.
  void SetButtonStyle(TOnOffButStyle Value);
  TOOButMode GetMode() const { return FMode; }
  void SetMode(TOOButMode Value);
  TOOButMouseAction GetMouseAction() const { return FMouseAction; }
  void SetMouseAction(TOOButMouseAction Value);
  int GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  bool GetAllowAllOff() const { return FAllowAllOff; }
  void SetAllowAllOff(bool Value);
  bool GetAutoCenter() const { return FAutoCenter; }
  void SetAutoCenter(bool Value);
  int GetLeftSpace() const { return FLeftSpace; }
  void SetLeftSpace(int Value);
  int GetTopSpace() const { return FTopSpace; }
  void SetTopSpace(int Value);
  const std::string& GetLeftText() const { return FLeftText; }
  void SetLeftText(const std::string& Value);
  const std::string& GetTopText() const { return FTopText; }
  void SetTopText(const std::string& Value);
  const std::string& GetRightText() const { return FRightText; }
  void SetRightText(const std::string& Value);
  const std::string& GetBottomText() const { return FBottomText; }
  void SetBottomText(const std::string& Value);
  TAlignment GetLeftTextAlignment() const { return FLTAlignment; }
  void SetLeftTextAlignment(TAlignment Value);
  TAlignment GetTopTextAlignment() const { return FTTAlignment; }
  void SetTopTextAlignment(TAlignment Value);
  TAlignment GetBottomTextAlignment() const { return FBTAlignment; }
  void SetBottomTextAlignment(TAlignment Value);
  TAlignment GetRightTextAlignment() const { return FRTAlignment; }
  void SetRightTextAlignment(TAlignment Value);
  TColor GetColorText() const { return FColorTxt; }
  void SetColorText(TColor Value);
  TColor GetColorBackgnd() const { return FColorBakG; }
  void SetColorBackgnd(TColor Value);
  TColorScheme GetColorScheme() const { return FColorScheme; }
  // Sets the frame line colours; painting does not use them.
  void SetColorScheme(TColorScheme Value);
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  bool GetTransparent() const { return FTransParent; }
  void SetTransparent(bool Value);
  void SetEnabled(bool Value) override;

  int GetGlyphWidth() const { return FGlyphWidth; }
  int GetGlyphHeight() const { return FGlyphHeight; }
  // The current glyph of a state, and the user glyphs (index OnOff * 2 + Enabled).
  const TBitmap& GetGlyph(bool On, bool Enabled) const { return FButImg[Index(On, Enabled)]; }
  const TBitmap& GetUserGlyph(bool On, bool Enabled) const {
    return FUserImg[Index(On, Enabled)];
  }

  // Splits a 2 x 2 sheet (2 x 2 up to 2048 x 2048 pixels) into the user glyphs; with the
  // user style they show at once. Other sizes raise EInvalidGraphic and change nothing.
  void SetUserGlyph(const TBitmap& Img);
  // The same from a BMP, PNG or JPEG file of at most 64 MiB; a PNG's transparent parts become
  // the key colour. Any failure raises EInvalidGraphic naming the file and changes nothing.
  void LoadUserGlyph(const std::string& FName);
  void LoadGlyphs();
  void ExtractGlyphs(const TBitmap& Bitmap);
  void AdjustAutoCenter();
  // The resize handler the constructor puts into OnResize.
  void ProcessResize();

  // Toggling comes from the mouse handling; a program's Click() does nothing.
  void Click() override {}
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseCaptureLost() override;

protected:
  void AssignTo(TPersistent* Dest) const override;
  void Paint() override;
  void HandleMessage(TControlMessage& M) override;

private:
  static std::size_t Index(bool On, bool Enabled) { return std::size_t(On) * 2 + Enabled; }
  // Repaints at once; a transparent button has its parent's background painted first, so
  // that no trace of the old glyph stays where the new one is transparent.
  void RepaintNow();
  void InvalidateOrRepaint();
  void UpdateExclusive();
  // Under the mouse action: the strict glyph test, or any point of the control.
  bool PassesTest(int X, int Y) const;
  void Toggle();
  void PaintCaptions(TCanvas& Bmp, TCanvas& Mask, bool Enabled);
  void PaintGlyph(bool Enabled);
  // Puts the transparent picture on the control where it has content (captions, glyph,
  // frame): elsewhere the mask keeps the parent's pixels as they are.
  void PutTransparent();

  std::array<TBitmap, 4> FButImg;
  std::array<TBitmap, 4> FUserImg;
  TBitmap FMask;
  TBitmap FBitmap;
  std::vector<TRect> FContent;  // where the last transparent paint drew something
  int FGlyphWidth = 0, FGlyphHeight = 0;
  bool FOnOff = true;
  bool FEnabled = true;
  int FGroupIndex = 0;
  bool FAllowAllOff = true;
  bool FAutoCenter = true;
  TOnOffButStyle FButStyle = oobsColSlideLR;
  TOOButMouseAction FMouseAction = oomaFocused;
  TOOButMode FMode = oobmNormalBut;
  int FLeftSpace = 35, FTopSpace = 18;
  std::string FLeftText, FTopText, FBottomText, FRightText;
  TAlignment FLTAlignment = taRightJustify, FTTAlignment = taCenter, FBTAlignment = taCenter,
             FRTAlignment = taLeftJustify;
  TFrameStyle FFrameStyle = fsLowered;
  bool FTransParent = false;
  TColor FColorBakG = clBtnFace;
  TColor FColorTxt = clBlack;
  TColorScheme FColorScheme = csFixed;
  TColor FColBlackLine = clBlack, FColGrayLine = clGray, FColWhiteLine = clWhite;
  bool FPressed = false;       // a left press on the control waits for its release
  bool FSpeedPressOn = false;  // that press turned a speed-mode button on
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

}  // namespace kvl
