// The inside of the x11 host, shared by its source files (host_x11*.cpp) and its tests. Only
// OpenX11Host in host.h is public.
#pragma once

// clang-format off
// host.h comes before any X header: X.h defines FocusIn and FocusOut as macros, which would
// rewrite the host's event kinds of those names. Files of the x11 host include this header
// first; past it the macros are gone and X's numbers go by the names below.
#include "kvl/platform/host.h"
#include <X11/Xlib.h>
// clang-format on

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kvl::x11 {
inline constexpr int XFocusInEvent = FocusIn;
inline constexpr int XFocusOutEvent = FocusOut;
}  // namespace kvl::x11
#undef FocusIn
#undef FocusOut

namespace kvl::x11 {

// Turns 0x00RRGGBB into the pixel value of a TrueColor visual with any channel masks (BGR
// order, 5-6-5, 10 bits a channel), scaling each channel to its width with rounding.
class TPixelPacker {
public:
  TPixelPacker(unsigned long RedMask, unsigned long GreenMask, unsigned long BlueMask);
  unsigned long Pack(std::uint32_t Pixel) const;
  // True when packed pixels equal the bitmap's own, so rows can go out as they are.
  bool Identity() const;

private:
  struct TChannel {
    int Shift = 0;
    unsigned long Max = 0;
  };
  static TChannel Channel(unsigned long Mask);
  static unsigned long Put(const TChannel& C, std::uint32_t Value);
  TChannel FRed, FGreen, FBlue;
};

struct TX11Window {
  Window Xid = 0;
  XIC Ic = nullptr;  // null when no input method is open: keys go through XLookupString
  int Width = 0;
  int Height = 0;
  TPoint Origin;  // the client area's place on the screen, as last told to the form
  bool Resizable = true;
  bool Popup = false;
  // The areas of a run of Expose events, gathered until its last one (count 0).
  bool ExposePending = false;
  TRect Damage;
};

// What a selection conversion brought back: 8-bit data as bytes, 32-bit data as atoms.
struct TSelectionData {
  Atom Type = None;
  int Format = 0;
  std::string Bytes;
  std::vector<Atom> Atoms;
};

class TX11Host final : public THost {
public:
  // Takes over an open display whose default visual is TrueColor.
  explicit TX11Host(Display* Dpy);
  ~TX11Host() override;

  std::string_view Name() const override { return "x11"; }

  THostWindow OpenWindow(const TWindowRequest& Request) override;
  void CloseWindow(THostWindow W) override;
  void SetCaption(THostWindow W, const std::string& Caption) override;
  void MoveWindow(THostWindow W, const TRect& Bounds) override;
  void Present(THostWindow W, const TBitmap& BackBuffer, const TRect& Dirty) override;
  void SetCursor(THostWindow W, TCursor C) override;
  TPoint ClientOrigin(THostWindow W) override;
  void GrabPointer(THostWindow W) override;
  void ReleasePointer(THostWindow W) override;

  bool NextEvent(THostEvent& E) override;
  bool WaitForEvent(std::int64_t TimeoutMs) override;
  std::int64_t Now() const override;

  bool HasClipboardText() override;
  std::optional<std::string> ClipboardText() override;
  void SetClipboardText(const std::string& Text) override;

  void Beep() override;
  TSize ScreenSize() const override;

private:
  struct TAtoms {
    Atom WmProtocols, WmDeleteWindow, NetWmName, NetWmIconName, Utf8String, Clipboard, Targets,
        Text, Timestamp, Incr, Transfer, Clock, NetWmWindowType, NetWmWindowTypePopupMenu,
        NetWmWindowTypeDropDownMenu, NetWmWindowTypeTooltip, NetWmWindowTypeDialog, NetWmState,
        NetWmStateModal;
  };

  // An input method server that goes away takes its contexts along.
  static void OnInputMethodDestroyed(XIM Im, XPointer Self, XPointer);

  TX11Window* Find(THostWindow W);
  std::map<THostWindow, TX11Window>::iterator FindXid(Window Xid);
  THostWindow OpenPopup(const TWindowRequest& Request);
  void OpenInputContext(TX11Window& W);
  void SetNormalHints(const TX11Window& W, const TRect& Bounds);
  void PutCaption(Window Xid, const std::string& Caption);
  TPoint RootOrigin(Window Xid);
  void PresentConverted(Window Xid, const TBitmap& B, const TRect& R);

  // Reads every X event the connection has into FQueue (or answers it, for the clipboard).
  void Pump();
  void Dispatch(XEvent& Ev);
  void Push(const THostEvent& E);
  void TranslateKey(XKeyEvent& K, TX11Window& W, THostEvent& E);
  // False while the run of Expose events goes on.
  bool TranslateExpose(const XExposeEvent& X, TX11Window& W, THostEvent& E);
  // The release half of an auto-repeat: the press of the same key at the same time follows.
  bool IsRepeatRelease(const XKeyEvent& K);

  // Clipboard (host_x11_clipboard.cpp).
  // Whether we still hold the clipboard, given its owner as the server has it now.
  bool ClipboardOwned(Window Owner);
  void AnswerSelectionRequest(const XSelectionRequestEvent& Req);
  bool PutTarget(Window Requestor, Atom Property, Atom Target);
  std::optional<TSelectionData> ConvertClipboard(Atom Target, std::int64_t Deadline);
  Time ServerTime();
  std::size_t MaxPropertyBytes() const;

  Display* FDisplay;
  int FScreen;
  Visual* FVisual;
  int FDepth;
  int FBitsPerPixel = 32;
  TPixelPacker FPacker;
  GC FGC = nullptr;
  XIM FIM = nullptr;
  XIMCallback FIMDestroyed{};
  // Hidden: owns the clipboard and receives the data of conversions.
  Window FUtility = 0;
  TAtoms FAtoms{};
  std::map<THostWindow, TX11Window> FWindows;
  THostWindow FNextWindow = 1;
  std::deque<THostEvent> FQueue;
  std::map<unsigned, Cursor> FCursors;    // by cursor-font shape
  std::optional<std::string> FClipboard;  // set while we own the clipboard
  Time FClipboardSince = CurrentTime;
  THostWindow FGrab = 0;  // the popup holding the pointer grab
};

}  // namespace kvl::x11
