// clang-format off
#include "kvl/platform/host_x11_detail.h"
// clang-format on

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <poll.h>

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <mutex>

#include "kvl/platform/bitmap.h"
#include "kvl/platform/host_x11_keys.h"

namespace kvl {
namespace x11 {

namespace {

constexpr long WindowEvents = ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask |
                              ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                              LeaveWindowMask | FocusChangeMask;

constexpr unsigned ButtonsHeld =
    Button1Mask | Button2Mask | Button3Mask | Button4Mask | Button5Mask;

// X reports errors long after the request, and the default handler ends the program. Here an
// error means a clipboard requestor that left before our answer or a window already closed on
// the server: nothing worth dying for.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

int NativeByteOrder() { return std::endian::native == std::endian::little ? LSBFirst : MSBFirst; }

TRect Union(const TRect& A, const TRect& B) {
  return {std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
          std::max(A.Bottom, B.Bottom)};
}

// The cursor font has no diagonal double arrows and no "not allowed" sign; the corner arrows
// and the X come closest.
unsigned FontCursorOf(TCursor C) {
  switch (C) {
    case crCross:
      return XC_crosshair;
    case crIBeam:
      return XC_xterm;
    case crSizeNESW:
      return XC_bottom_left_corner;
    case crSizeNS:
      return XC_sb_v_double_arrow;
    case crSizeNWSE:
      return XC_bottom_right_corner;
    case crSizeWE:
      return XC_sb_h_double_arrow;
    case crHourGlass:
      return XC_watch;
    case crNo:
      return XC_X_cursor;
    case crHandPoint:
      return XC_hand2;
    default:
      return XC_left_ptr;
  }
}

}  // namespace

// --- Pixels ---------------------------------------------------------------------------------

TPixelPacker::TPixelPacker(unsigned long RedMask, unsigned long GreenMask, unsigned long BlueMask)
    : FRed(Channel(RedMask)), FGreen(Channel(GreenMask)), FBlue(Channel(BlueMask)) {}

TPixelPacker::TChannel TPixelPacker::Channel(unsigned long Mask) {
  if (Mask == 0) return {};
  const int Shift = std::countr_zero(Mask);
  return {Shift, Mask >> Shift};
}

unsigned long TPixelPacker::Put(const TChannel& C, std::uint32_t Value) {
  return ((Value * C.Max + 127) / 255) << C.Shift;
}

unsigned long TPixelPacker::Pack(std::uint32_t Pixel) const {
  return Put(FRed, (Pixel >> 16) & 0xFF) | Put(FGreen, (Pixel >> 8) & 0xFF) |
         Put(FBlue, Pixel & 0xFF);
}

bool TPixelPacker::Identity() const {
  return FRed.Shift == 16 && FRed.Max == 0xFF && FGreen.Shift == 8 && FGreen.Max == 0xFF &&
         FBlue.Shift == 0 && FBlue.Max == 0xFF;
}

// --- The host -------------------------------------------------------------------------------

TX11Host::TX11Host(Display* Dpy)
    : FDisplay(Dpy),
      FScreen(DefaultScreen(Dpy)),
      FVisual(DefaultVisual(Dpy, FScreen)),
      FDepth(DefaultDepth(Dpy, FScreen)),
      FPacker(FVisual->red_mask, FVisual->green_mask, FVisual->blue_mask) {
  static std::once_flag ErrorHandlerSet;
  std::call_once(ErrorHandlerSet, [] { XSetErrorHandler(IgnoreXError); });

  int Count = 0;
  if (XPixmapFormatValues* Formats = XListPixmapFormats(FDisplay, &Count)) {
    for (int I = 0; I < Count; ++I)
      if (Formats[I].depth == FDepth) FBitsPerPixel = Formats[I].bits_per_pixel;
    XFree(Formats);
  }

  std::array<const char*, 19> Names{"WM_PROTOCOLS",
                                    "WM_DELETE_WINDOW",
                                    "_NET_WM_NAME",
                                    "_NET_WM_ICON_NAME",
                                    "UTF8_STRING",
                                    "CLIPBOARD",
                                    "TARGETS",
                                    "TEXT",
                                    "TIMESTAMP",
                                    "INCR",
                                    "KVL_SELECTION",
                                    "KVL_CLOCK",
                                    "_NET_WM_WINDOW_TYPE",
                                    "_NET_WM_WINDOW_TYPE_POPUP_MENU",
                                    "_NET_WM_WINDOW_TYPE_DROPDOWN_MENU",
                                    "_NET_WM_WINDOW_TYPE_TOOLTIP",
                                    "_NET_WM_WINDOW_TYPE_DIALOG",
                                    "_NET_WM_STATE",
                                    "_NET_WM_STATE_MODAL"};
  std::array<Atom, 19> A{};
  XInternAtoms(FDisplay, const_cast<char**>(Names.data()), int(Names.size()), False, A.data());
  FAtoms = {A[0], A[1], A[2],  A[3],  A[4],  A[5],  A[6],  A[7],
            A[8], A[9], A[10], A[11], A[12], A[13], A[14], A[15],
            A[16], A[17], A[18]};

  const Window Root = RootWindow(FDisplay, FScreen);
  FUtility = XCreateSimpleWindow(FDisplay, Root, -10, -10, 1, 1, 0, 0, 0);
  XSelectInput(FDisplay, FUtility, PropertyChangeMask);
  XGCValues Values{};
  Values.graphics_exposures = False;
  FGC = XCreateGC(FDisplay, Root, GCGraphicsExposures, &Values);

  // Held keys then repeat as presses alone, without a release before each.
  XkbSetDetectableAutoRepeat(FDisplay, True, nullptr);

  // The input method turns key presses into UTF-8 text, compose sequences included. When
  // $XMODIFIERS names a method server that is not running, the built-in one serves.
  if (XSupportsLocale()) {
    XSetLocaleModifiers("");
    FIM = XOpenIM(FDisplay, nullptr, nullptr, nullptr);
    if (!FIM) {
      XSetLocaleModifiers("@im=none");
      FIM = XOpenIM(FDisplay, nullptr, nullptr, nullptr);
    }
  }
  if (FIM) {
    FIMDestroyed.client_data = reinterpret_cast<XPointer>(this);
    FIMDestroyed.callback = &TX11Host::OnInputMethodDestroyed;
    XSetIMValues(FIM, XNDestroyCallback, &FIMDestroyed, nullptr);
  }
}

TX11Host::~TX11Host() {
  for (auto& [Id, W] : FWindows) {
    if (W.Ic) XDestroyIC(W.Ic);
    XDestroyWindow(FDisplay, W.Xid);
  }
  if (FIM) XCloseIM(FIM);
  for (auto& [Shape, C] : FCursors) XFreeCursor(FDisplay, C);
  XFreeGC(FDisplay, FGC);
  XDestroyWindow(FDisplay, FUtility);
  XCloseDisplay(FDisplay);
}

void TX11Host::OnInputMethodDestroyed(XIM, XPointer Self, XPointer) {
  auto* Host = reinterpret_cast<TX11Host*>(Self);
  Host->FIM = nullptr;
  for (auto& [Id, W] : Host->FWindows) W.Ic = nullptr;
}

TX11Window* TX11Host::Find(THostWindow W) {
  const auto It = FWindows.find(W);
  return It == FWindows.end() ? nullptr : &It->second;
}

std::map<THostWindow, TX11Window>::iterator TX11Host::FindXid(Window Xid) {
  return std::find_if(FWindows.begin(), FWindows.end(),
                      [Xid](const auto& P) { return P.second.Xid == Xid; });
}

std::int64_t TX11Host::Now() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

TSize TX11Host::ScreenSize() const {
  return {DisplayWidth(FDisplay, FScreen), DisplayHeight(FDisplay, FScreen)};
}

void TX11Host::Beep() {
  XBell(FDisplay, 0);
  XFlush(FDisplay);
}

// --- Windows --------------------------------------------------------------------------------

THostWindow TX11Host::OpenWindow(const TWindowRequest& Request) {
  if (Request.Kind != TWindowKind::Normal) return OpenPopup(Request);
  TX11Window W;
  const TRect& B = Request.Bounds;
  W.Width = std::max(B.Width(), 1);
  W.Height = std::max(B.Height(), 1);
  W.Origin = {B.Left, B.Top};
  W.Resizable = Request.Resizable;
  XSetWindowAttributes A{};
  A.background_pixmap = None;        // the server leaves the area alone until we present
  A.bit_gravity = NorthWestGravity;  // what is shown stays while a resize waits for its frame
  A.event_mask = WindowEvents;
  W.Xid = XCreateWindow(FDisplay, RootWindow(FDisplay, FScreen), B.Left, B.Top, unsigned(W.Width),
                        unsigned(W.Height), 0, CopyFromParent, InputOutput, CopyFromParent,
                        CWBackPixmap | CWBitGravity | CWEventMask, &A);
  XSetWMProtocols(FDisplay, W.Xid, &FAtoms.WmDeleteWindow, 1);
  XWMHints Hints{};
  Hints.flags = InputHint | StateHint;
  Hints.input = True;  // we take the keyboard focus when the window manager offers it
  Hints.initial_state = NormalState;
  XSetWMHints(FDisplay, W.Xid, &Hints);
  SetNormalHints(W, B);
  if (Request.Dialog) {
    // A modal form: the window manager keeps it above its owner and marks it so.
    if (const TX11Window* Owner = Find(Request.Owner))
      XSetTransientForHint(FDisplay, W.Xid, Owner->Xid);
    XChangeProperty(FDisplay, W.Xid, FAtoms.NetWmWindowType, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&FAtoms.NetWmWindowTypeDialog), 1);
    XChangeProperty(FDisplay, W.Xid, FAtoms.NetWmState, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&FAtoms.NetWmStateModal), 1);
  }
  PutCaption(W.Xid, Request.Caption);
  OpenInputContext(W);
  XMapWindow(FDisplay, W.Xid);
  XFlush(FDisplay);
  const THostWindow Id = FNextWindow++;
  FWindows.emplace(Id, W);
  return Id;
}

THostWindow TX11Host::OpenPopup(const TWindowRequest& Request) {
  TX11Window W;
  const TRect& B = Request.Bounds;
  W.Width = std::max(B.Width(), 1);
  W.Height = std::max(B.Height(), 1);
  W.Origin = {B.Left, B.Top};
  W.Resizable = false;
  W.Popup = true;
  XSetWindowAttributes A{};
  A.background_pixmap = None;
  A.override_redirect = True;  // no frame, no focus, exactly where it is put
  A.save_under = True;
  A.event_mask = WindowEvents & ~(KeyPressMask | KeyReleaseMask | FocusChangeMask);
  W.Xid = XCreateWindow(FDisplay, RootWindow(FDisplay, FScreen), B.Left, B.Top, unsigned(W.Width),
                        unsigned(W.Height), 0, CopyFromParent, InputOutput, CopyFromParent,
                        CWBackPixmap | CWOverrideRedirect | CWSaveUnder | CWEventMask, &A);
  if (const TX11Window* Owner = Find(Request.Owner)) XSetTransientForHint(FDisplay, W.Xid, Owner->Xid);
  const Atom Type = Request.Kind == TWindowKind::Menu       ? FAtoms.NetWmWindowTypePopupMenu
                    : Request.Kind == TWindowKind::DropDown ? FAtoms.NetWmWindowTypeDropDownMenu
                                                            : FAtoms.NetWmWindowTypeTooltip;
  XChangeProperty(FDisplay, W.Xid, FAtoms.NetWmWindowType, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&Type), 1);
  // Tests and tools find popups by these names.
  PutCaption(W.Xid, Request.Kind == TWindowKind::Hint ? "kvl hint" : "kvl popup");
  XMapRaised(FDisplay, W.Xid);
  XFlush(FDisplay);
  const THostWindow Id = FNextWindow++;
  FWindows.emplace(Id, W);
  return Id;
}

void TX11Host::GrabPointer(THostWindow Id) {
  TX11Window* W = Find(Id);
  if (!W) return;
  constexpr unsigned Mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
  // A window just mapped may not be viewable yet when the request arrives: try a little
  // longer. Without the grab the popup still works and closes when the focus goes.
  for (int Try = 0; Try < 40; ++Try) {
    XSync(FDisplay, False);
    const int R = XGrabPointer(FDisplay, W->Xid, True, Mask, GrabModeAsync, GrabModeAsync, None,
                               None, CurrentTime);
    if (R == GrabSuccess) {
      FGrab = Id;
      return;
    }
    if (R != GrabNotViewable && R != AlreadyGrabbed) return;
    poll(nullptr, 0, 5);
  }
}

void TX11Host::ReleasePointer(THostWindow Id) {
  if (FGrab != Id || Id == 0) return;
  FGrab = 0;
  XUngrabPointer(FDisplay, CurrentTime);
  XFlush(FDisplay);
}

void TX11Host::OpenInputContext(TX11Window& W) {
  if (!FIM) return;
  W.Ic = XCreateIC(FIM, XNInputStyle, XIMStyle(XIMPreeditNothing | XIMStatusNothing),
                   XNClientWindow, W.Xid, XNFocusWindow, W.Xid, nullptr);
  long Filter = 0;
  if (W.Ic && !XGetICValues(W.Ic, XNFilterEvents, &Filter, nullptr) && (Filter & ~WindowEvents))
    XSelectInput(FDisplay, W.Xid, WindowEvents | Filter);
}

void TX11Host::SetNormalHints(const TX11Window& W, const TRect& Bounds) {
  XSizeHints H{};
  // The form chose its place; window managers keep only places a user gave.
  H.flags = USPosition | USSize;
  H.x = Bounds.Left;
  H.y = Bounds.Top;
  H.width = std::max(Bounds.Width(), 1);
  H.height = std::max(Bounds.Height(), 1);
  if (!W.Resizable) {
    H.flags |= PMinSize | PMaxSize;
    H.min_width = H.max_width = H.width;
    H.min_height = H.max_height = H.height;
  }
  XSetWMNormalHints(FDisplay, W.Xid, &H);
}

void TX11Host::PutCaption(Window Xid, const std::string& Caption) {
  // WM_NAME is Latin-1 by the old rules; window managers that know UTF-8 read _NET_WM_NAME.
  const std::string Latin1 = Utf8ToLatin1(Caption);
  const auto* L = reinterpret_cast<const unsigned char*>(Latin1.data());
  const auto* U = reinterpret_cast<const unsigned char*>(Caption.data());
  for (Atom P : {Atom(XA_WM_NAME), Atom(XA_WM_ICON_NAME)})
    XChangeProperty(FDisplay, Xid, P, XA_STRING, 8, PropModeReplace, L, int(Latin1.size()));
  for (Atom P : {FAtoms.NetWmName, FAtoms.NetWmIconName})
    XChangeProperty(FDisplay, Xid, P, FAtoms.Utf8String, 8, PropModeReplace, U,
                    int(Caption.size()));
}

void TX11Host::CloseWindow(THostWindow Id) {
  const auto It = FWindows.find(Id);
  if (It == FWindows.end()) return;
  ReleasePointer(Id);
  if (It->second.Ic) XDestroyIC(It->second.Ic);
  XDestroyWindow(FDisplay, It->second.Xid);
  FWindows.erase(It);
  std::erase_if(FQueue, [Id](const THostEvent& E) { return E.Window == Id; });
  XFlush(FDisplay);
}

void TX11Host::SetCaption(THostWindow Id, const std::string& Caption) {
  if (TX11Window* W = Find(Id)) {
    PutCaption(W->Xid, Caption);
    XFlush(FDisplay);
  }
}

void TX11Host::MoveWindow(THostWindow Id, const TRect& Bounds) {
  TX11Window* W = Find(Id);
  if (!W) return;
  SetNormalHints(*W, Bounds);  // first, or a fixed size would hold the window at the old one
  W->Origin = {Bounds.Left, Bounds.Top};
  XMoveResizeWindow(FDisplay, W->Xid, Bounds.Left, Bounds.Top,
                    unsigned(std::max(Bounds.Width(), 1)), unsigned(std::max(Bounds.Height(), 1)));
  XFlush(FDisplay);
}

TPoint TX11Host::RootOrigin(Window Xid) {
  int X = 0, Y = 0;
  Window Child = 0;
  XTranslateCoordinates(FDisplay, Xid, RootWindow(FDisplay, FScreen), 0, 0, &X, &Y, &Child);
  return {X, Y};
}

TPoint TX11Host::ClientOrigin(THostWindow Id) {
  TX11Window* W = Find(Id);
  return W ? RootOrigin(W->Xid) : TPoint{};
}

void TX11Host::SetCursor(THostWindow Id, TCursor C) {
  TX11Window* W = Find(Id);
  if (!W) return;
  const unsigned Shape = FontCursorOf(C);
  auto It = FCursors.find(Shape);
  if (It == FCursors.end()) It = FCursors.emplace(Shape, XCreateFontCursor(FDisplay, Shape)).first;
  XDefineCursor(FDisplay, W->Xid, It->second);
  XFlush(FDisplay);
}

void TX11Host::Present(THostWindow Id, const TBitmap& BackBuffer, const TRect& Dirty) {
  TX11Window* W = Find(Id);
  const TRect R = Dirty.Intersect({0, 0, BackBuffer.GetWidth(), BackBuffer.GetHeight()});
  if (!W || R.IsEmpty()) return;
  if (FBitsPerPixel == 32 && FPacker.Identity()) {
    // The bitmap's rows are already the server's pixels: X sends the dirty rectangle straight
    // from them, converting the byte order itself where the server's differs.
    XImage Img{};
    Img.width = BackBuffer.GetWidth();
    Img.height = BackBuffer.GetHeight();
    Img.format = ZPixmap;
    Img.data = const_cast<char*>(reinterpret_cast<const char*>(BackBuffer.Pixels()));
    Img.byte_order = Img.bitmap_bit_order = NativeByteOrder();
    Img.bitmap_unit = Img.bitmap_pad = Img.bits_per_pixel = 32;
    Img.depth = FDepth;
    Img.bytes_per_line = Img.width * 4;
    Img.red_mask = FVisual->red_mask;
    Img.green_mask = FVisual->green_mask;
    Img.blue_mask = FVisual->blue_mask;
    if (XInitImage(&Img))
      XPutImage(FDisplay, W->Xid, FGC, &Img, R.Left, R.Top, R.Left, R.Top, unsigned(R.Width()),
                unsigned(R.Height()));
  } else {
    PresentConverted(W->Xid, BackBuffer, R);
  }
  XFlush(FDisplay);
}

void TX11Host::PresentConverted(Window Xid, const TBitmap& B, const TRect& R) {
  XImage* Img = XCreateImage(FDisplay, FVisual, unsigned(FDepth), ZPixmap, 0, nullptr,
                             unsigned(R.Width()), unsigned(R.Height()), 32, 0);
  if (!Img) return;
  Img->data = static_cast<char*>(std::malloc(std::size_t(Img->bytes_per_line) * R.Height()));
  if (Img->data) {
    for (int Y = 0; Y < R.Height(); ++Y) {
      const std::uint32_t* Row = B.ScanLine(R.Top + Y) + R.Left;
      for (int X = 0; X < R.Width(); ++X) XPutPixel(Img, X, Y, FPacker.Pack(Row[X]));
    }
    XPutImage(FDisplay, Xid, FGC, Img, 0, 0, R.Left, R.Top, unsigned(R.Width()),
              unsigned(R.Height()));
  }
  XDestroyImage(Img);  // frees the data with it
}

// --- Events ---------------------------------------------------------------------------------

bool TX11Host::NextEvent(THostEvent& E) {
  if (FQueue.empty()) Pump();
  if (FQueue.empty()) return false;
  E = std::move(FQueue.front());
  FQueue.pop_front();
  return true;
}

bool TX11Host::WaitForEvent(std::int64_t TimeoutMs) {
  if (FQueue.empty()) Pump();  // also flushes what we sent, so answers can come
  if (!FQueue.empty()) return true;
  pollfd P{ConnectionNumber(FDisplay), POLLIN, 0};
  // An interrupted wait just ends early, which callers allow for.
  poll(&P, 1, TimeoutMs < 0 ? -1 : int(std::min<std::int64_t>(TimeoutMs, INT_MAX)));
  return true;
}

void TX11Host::Pump() {
  // XPending flushes and reads what the server has sent; what it queued is then taken without
  // a system call per event.
  while (XPending(FDisplay) > 0) {
    while (XQLength(FDisplay) > 0) {
      XEvent Ev;
      XNextEvent(FDisplay, &Ev);
      if (XFilterEvent(&Ev, None)) continue;  // the input method took it (a compose sequence)
      Dispatch(Ev);
    }
  }
}

void TX11Host::Push(const THostEvent& E) {
  // Of consecutive moves only the last counts: a slow paint must not fall behind the pointer.
  if (E.Kind == THostEventKind::MouseMove && !FQueue.empty()) {
    THostEvent& Last = FQueue.back();
    if (Last.Kind == THostEventKind::MouseMove && Last.Window == E.Window &&
        Last.Shift == E.Shift) {
      Last = E;
      return;
    }
  }
  FQueue.push_back(E);
}

void TX11Host::Dispatch(XEvent& Ev) {
  switch (Ev.type) {
    case SelectionRequest:
      AnswerSelectionRequest(Ev.xselectionrequest);
      return;
    case SelectionClear:
      if (Ev.xselectionclear.window == FUtility && Ev.xselectionclear.selection == FAtoms.Clipboard)
        FClipboard.reset();
      return;
    case MappingNotify:
      if (Ev.xmapping.request != MappingPointer) XRefreshKeyboardMapping(&Ev.xmapping);
      return;
    default:
      break;
  }
  const auto It = FindXid(Ev.xany.window);
  if (It == FWindows.end()) return;
  TX11Window& W = It->second;
  THostEvent E;
  E.Window = It->first;
  E.Time = Now();
  using K = THostEventKind;
  switch (Ev.type) {
    case KeyPress:
      E.Kind = K::KeyDown;
      TranslateKey(Ev.xkey, W, E);
      break;
    case KeyRelease:
      if (IsRepeatRelease(Ev.xkey)) return;
      E.Kind = K::KeyUp;
      TranslateKey(Ev.xkey, W, E);
      break;
    case ButtonPress:
    case ButtonRelease: {
      const XButtonEvent& B = Ev.xbutton;
      E.X = B.x;
      E.Y = B.y;
      E.Shift = ShiftStateFromX(B.state);
      if (B.button == Button4 || B.button == Button5) {
        if (Ev.type == ButtonRelease) return;  // a notch is a press and a release: count it once
        E.Kind = K::MouseWheel;
        E.WheelDelta = B.button == Button4 ? 120 : -120;
        break;
      }
      if (B.button > Button3) return;  // sideways wheel, side buttons
      E.Kind = Ev.type == ButtonPress ? K::MouseDown : K::MouseUp;
      E.Button = B.button == Button1 ? mbLeft : B.button == Button2 ? mbMiddle : mbRight;
      break;
    }
    case MotionNotify:
      E.Kind = K::MouseMove;
      E.X = Ev.xmotion.x;
      E.Y = Ev.xmotion.y;
      E.Shift = ShiftStateFromX(Ev.xmotion.state);
      break;
    case LeaveNotify: {
      const XCrossingEvent& C = Ev.xcrossing;
      // While a button is held the window keeps the pointer; it leaves for good when the
      // button comes up outside (the grab ends).
      const bool Gone =
          (C.mode == NotifyNormal && !(C.state & ButtonsHeld)) || C.mode == NotifyUngrab;
      if (!Gone || C.detail == NotifyInferior) return;
      E.Kind = K::MouseExit;
      E.X = C.x;
      E.Y = C.y;
      E.Shift = ShiftStateFromX(C.state);
      break;
    }
    case Expose:
      if (!TranslateExpose(Ev.xexpose, W, E)) return;
      break;
    case ConfigureNotify: {
      // The event's own place is relative to a window manager's frame, or made up by it: the
      // server knows where the window really is.
      const TPoint Origin = RootOrigin(W.Xid);
      if (Origin != W.Origin) {
        W.Origin = Origin;
        THostEvent Moved = E;
        Moved.Kind = K::Moved;
        Moved.X = Origin.X;
        Moved.Y = Origin.Y;
        Push(Moved);
      }
      if (Ev.xconfigure.width == W.Width && Ev.xconfigure.height == W.Height) return;
      W.Width = Ev.xconfigure.width;
      W.Height = Ev.xconfigure.height;
      E.Kind = K::Resized;
      E.Width = W.Width;
      E.Height = W.Height;
      break;
    }
    case ClientMessage:
      if (Ev.xclient.message_type != FAtoms.WmProtocols || Ev.xclient.format != 32 ||
          Atom(Ev.xclient.data.l[0]) != FAtoms.WmDeleteWindow)
        return;
      E.Kind = K::CloseRequest;
      break;
    case XFocusInEvent:
    case XFocusOutEvent: {
      if (Ev.xfocus.detail == NotifyPointer) return;  // the focus is in another window
      const bool In = Ev.type == XFocusInEvent;
      if (W.Ic) (In ? XSetICFocus : XUnsetICFocus)(W.Ic);
      E.Kind = In ? K::FocusIn : K::FocusOut;
      break;
    }
    default:
      return;
  }
  Push(E);
}

void TX11Host::TranslateKey(XKeyEvent& Key, TX11Window& W, THostEvent& E) {
  E.Shift = ShiftStateFromX(Key.state);
  KeySym Typed = NoSymbol;
  if (E.Kind == THostEventKind::KeyDown && W.Ic) {
    std::string Buf(32, '\0');
    Status St = 0;
    int N = Xutf8LookupString(W.Ic, &Key, Buf.data(), int(Buf.size()), &Typed, &St);
    if (St == XBufferOverflow) {
      Buf.resize(std::size_t(N));
      N = Xutf8LookupString(W.Ic, &Key, Buf.data(), N, &Typed, &St);
    }
    if (St == XLookupChars || St == XLookupBoth) E.Text.assign(Buf.data(), std::size_t(N));
    if (St != XLookupKeySym && St != XLookupBoth) Typed = NoSymbol;
  } else {
    char Buf[32];
    const int N = XLookupString(&Key, Buf, int(sizeof Buf), &Typed, nullptr);
    if (E.Kind == THostEventKind::KeyDown) {
      E.Text = Latin1ToUtf8({Buf, std::size_t(std::max(N, 0))});
      if (E.Text.empty()) E.Text = UnicodeKeysymText(Typed);
    }
  }
  E.Key = EventVirtualKey(Typed, XLookupKeysym(&Key, 0));
}

bool TX11Host::TranslateExpose(const XExposeEvent& X, TX11Window& W, THostEvent& E) {
  const TRect R{X.x, X.y, X.x + X.width, X.y + X.height};
  W.Damage = W.ExposePending ? Union(W.Damage, R) : R;
  W.ExposePending = X.count > 0;
  if (W.ExposePending) return false;
  E.Kind = THostEventKind::Exposed;
  E.X = W.Damage.Left;
  E.Y = W.Damage.Top;
  E.Width = W.Damage.Width();
  E.Height = W.Damage.Height();
  return true;
}

bool TX11Host::IsRepeatRelease(const XKeyEvent& Key) {
  if (XEventsQueued(FDisplay, QueuedAfterReading) == 0) return false;
  XEvent Next;
  XPeekEvent(FDisplay, &Next);
  return Next.type == KeyPress && Next.xkey.window == Key.window &&
         Next.xkey.keycode == Key.keycode && Next.xkey.time == Key.time;
}

}  // namespace x11

std::unique_ptr<THost> OpenX11Host(std::string* Reason) {
  Display* Dpy = XOpenDisplay(nullptr);
  if (!Dpy) {
    if (Reason) {
      const char* Name = std::getenv("DISPLAY");
      *Reason = Name && *Name ? "cannot open the X display \"" + std::string(Name) + "\""
                              : std::string("DISPLAY is not set");
    }
    return nullptr;
  }
  if (DefaultVisual(Dpy, DefaultScreen(Dpy))->c_class != TrueColor) {
    if (Reason)
      *Reason = "the X display \"" + std::string(DisplayString(Dpy)) +
                "\" has no TrueColor default visual";
    XCloseDisplay(Dpy);
    return nullptr;
  }
  return std::make_unique<x11::TX11Host>(Dpy);
}

}  // namespace kvl
