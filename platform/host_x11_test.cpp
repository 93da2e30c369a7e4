// clang-format off
// GoogleTest before the X headers: X.h defines None as a macro.
#include <gtest/gtest.h>
#include "kvl/platform/host_x11_detail.h"
// clang-format on

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>
#include <vector>

#include "kvl/platform/bitmap.h"
#include "kvl/platform/host_x11_keys.h"

namespace kvl::x11 {
namespace {

TEST(X11Keys, KeysymsMapToVirtualKeys) {
  // clang-format off
  const std::pair<KeySym, std::uint16_t> Keys[] = {
      {XK_a, 'A'}, {XK_z, 'Z'}, {XK_Q, 'Q'}, {XK_0, '0'}, {XK_9, '9'}, {XK_F1, 112},
      {XK_F12, 123}, {XK_BackSpace, 8}, {XK_ISO_Left_Tab, 9}, {XK_Return, 13}, {XK_KP_Enter, 13},
      {XK_Shift_R, 16}, {XK_Control_L, 17}, {XK_Alt_R, 18}, {XK_Caps_Lock, 20}, {XK_Escape, 27},
      {XK_space, 32}, {XK_Prior, 33}, {XK_Down, 40}, {XK_Delete, 46}, {XK_Num_Lock, 144},
      {XK_Scroll_Lock, 145},
      // Numeric pad with NumLock on, then off (the movement keys it doubles as), then its
      // operators.
      {XK_KP_0, 96}, {XK_KP_5, 101}, {XK_KP_9, 105}, {XK_KP_Insert, 45}, {XK_KP_End, 35},
      {XK_KP_Down, 40}, {XK_KP_Next, 34}, {XK_KP_Left, 37}, {XK_KP_Begin, 12}, {XK_KP_Right, 39},
      {XK_KP_Home, 36}, {XK_KP_Up, 38}, {XK_KP_Prior, 33}, {XK_KP_Delete, 46},
      {XK_KP_Multiply, 106}, {XK_KP_Add, 107}, {XK_KP_Separator, 108}, {XK_KP_Subtract, 109},
      {XK_KP_Decimal, 110}, {XK_KP_Divide, 111},
      {XK_semicolon, 186}, {XK_equal, 187}, {XK_comma, 188}, {XK_minus, 189}, {XK_period, 190},
      {XK_slash, 191}, {XK_grave, 192}, {XK_bracketleft, 219}, {XK_backslash, 220},
      {XK_bracketright, 221}, {XK_apostrophe, 222},
      // Keys the library has no code for.
      {NoSymbol, 0}, {XK_adiaeresis, 0}, {XK_EuroSign, 0}, {XK_KP_Equal, 0}, {XK_Cyrillic_a, 0}};
  // clang-format on
  for (const auto& [Sym, Key] : Keys) EXPECT_EQ(KeysymToVirtualKey(Sym), Key) << std::hex << Sym;
}

TEST(X11Keys, EventsGoByTheUnshiftedKeyExceptOnTheKeypad) {
  EXPECT_EQ(EventVirtualKey(XK_colon, XK_semicolon), 186);
  EXPECT_EQ(EventVirtualKey(XK_braceright, XK_bracketright), 221);
  EXPECT_EQ(EventVirtualKey(XK_KP_7, XK_KP_Home), 103);  // NumLock on
  EXPECT_EQ(EventVirtualKey(XK_KP_Home, XK_KP_Home), 36);
  // A first level the library does not know (a letter of another layout): the typed one serves.
  EXPECT_EQ(EventVirtualKey(XK_q, XK_Cyrillic_shorti), 'Q');
}

TEST(X11Keys, StateMaskAndTextConversions) {
  EXPECT_EQ(ShiftStateFromX(ShiftMask | ControlMask | Mod1Mask), ssShift | ssCtrl | ssAlt);
  EXPECT_EQ(ShiftStateFromX(Button1Mask | Button2Mask | Button3Mask), ssLeft | ssMiddle | ssRight);
  EXPECT_EQ(ShiftStateFromX(LockMask | Mod2Mask | Mod4Mask | Button4Mask), 0);
  EXPECT_EQ(Latin1ToUtf8("Gr\xFC\xDF"
                         "e 42"),
            "Grüße 42");
  EXPECT_EQ(Utf8ToLatin1("Grüße ✓"),
            "Gr\xFC\xDF"
            "e ?");
  EXPECT_EQ(UnicodeKeysymText(0x010020AC), "€");
  EXPECT_EQ(UnicodeKeysymText(XK_a), "");
}

TEST(X11Pixels, PackerScalesChannelsToTheVisualsMasks) {
  EXPECT_TRUE(TPixelPacker(0xFF0000, 0xFF00, 0xFF).Identity());
  EXPECT_EQ(TPixelPacker(0xFF0000, 0xFF00, 0xFF).Pack(0x123456), 0x123456u);
  const TPixelPacker Bgr(0xFF, 0xFF00, 0xFF0000);
  EXPECT_FALSE(Bgr.Identity());
  EXPECT_EQ(Bgr.Pack(0x123456), 0x563412u);
  const TPixelPacker Rgb565(0xF800, 0x07E0, 0x001F);
  EXPECT_EQ(Rgb565.Pack(0xFFFFFF), 0xFFFFu);
  EXPECT_EQ(Rgb565.Pack(0xFF0000), 0xF800u);
  EXPECT_EQ(Rgb565.Pack(0x008000), 32u << 5);  // 128 of 255 rounds to 32 of 63
  EXPECT_EQ(TPixelPacker(0x3FF00000, 0xFFC00, 0x3FF).Pack(0xFF00FF), 0x3FF003FFu);
}

TEST(X11Host, NoDisplayGivesNullAndAReason) {
  const char* Old = std::getenv("DISPLAY");
  const std::string Saved = Old ? Old : "";
  setenv("DISPLAY", ":4711", 1);
  std::string Reason;
  EXPECT_EQ(OpenX11Host(&Reason), nullptr);
  EXPECT_NE(Reason.find(":4711"), std::string::npos) << Reason;
  Old ? setenv("DISPLAY", Saved.c_str(), 1) : unsetenv("DISPLAY");
}

template <class F>
bool Eventually(F Condition) {
  const auto Until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (!Condition()) {
    if (std::chrono::steady_clock::now() > Until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// Every event that comes until the host has been quiet for a while.
std::vector<THostEvent> Drain(THost& H) {
  std::vector<THostEvent> Got;
  std::int64_t Until = H.Now() + 150;
  for (std::int64_t Left; (Left = Until - H.Now()) > 0;) {
    H.WaitForEvent(Left);
    for (THostEvent E; H.NextEvent(E); Until = H.Now() + 150) Got.push_back(E);
  }
  return Got;
}

// One line per event: its kind and the fields that kind carries.
std::vector<std::string> Describe(const std::vector<THostEvent>& Events) {
  using K = THostEventKind;
  static const char* const Names[] = {"down",     "up",        "move",    "wheel",   "exit",
                                      "key",      "keyup",     "resized", "exposed", "close",
                                      "focus in", "focus out", "moved"};
  std::vector<std::string> R;
  for (const THostEvent& E : Events) {
    std::ostringstream S;
    S << Names[int(E.Kind)];
    if (E.Kind == K::MouseDown || E.Kind == K::MouseUp) S << ' ' << "LRM"[E.Button];
    if (E.Kind == K::MouseWheel) S << ' ' << E.WheelDelta;
    if (E.Kind == K::KeyDown || E.Kind == K::KeyUp) S << ' ' << E.Key << " [" << E.Text << ']';
    if (E.Kind <= K::MouseWheel || E.Kind == K::Exposed || E.Kind == K::Moved)
      S << ' ' << E.X << ',' << E.Y;
    if (E.Kind == K::Resized || E.Kind == K::Exposed) S << ' ' << E.Width << 'x' << E.Height;
    if (E.Kind <= K::MouseWheel || E.Kind == K::KeyDown) S << " s" << E.Shift;
    R.push_back(S.str());
  }
  return R;
}

// A host under test and a second connection (Peer) that looks at its windows and sends them
// events as a window manager or another client would. Peer stays open for the whole suite:
// an X server resets when its last client leaves and refuses connections meanwhile.
class X11HostTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    if (std::getenv("DISPLAY")) Eventually([] { return (Peer = XOpenDisplay(nullptr)); });
  }
  static void TearDownTestSuite() {
    if (Peer) XCloseDisplay(Peer);
  }
  void SetUp() override {
    std::string Reason;
    Host = OpenX11Host(&Reason);
    if (!Host) GTEST_SKIP() << "no X display: " << Reason;
    ASSERT_NE(Peer, nullptr);
  }

  // Opens a window as W, waits until it is shown and finds it by its caption, as X.
  void Open(const std::string& Caption, TRect Bounds, bool Resizable = true) {
    W = Host->OpenWindow({Caption, Bounds, Resizable});
    const auto Events = Describe(Drain(*Host));
    EXPECT_TRUE(std::any_of(Events.begin(), Events.end(),
                            [](const std::string& E) { return E.starts_with("exposed"); }));
    X = Find(Caption);
    ASSERT_NE(X, 0u);
  }

  Window Find(const std::string& Caption, Window In = 0) {
    Window Root, Up, *Kids = nullptr, Found = 0;
    unsigned N = 0;
    XQueryTree(Peer, In ? In : DefaultRootWindow(Peer), &Root, &Up, &Kids, &N);
    for (unsigned I = 0; I < N && !Found; ++I)
      Found = NetName(Kids[I]) == Caption ? Kids[I] : Find(Caption, Kids[I]);
    if (Kids) XFree(Kids);
    return Found;
  }

  std::string NetName(Window Of) {
    Atom Type;
    int Format;
    unsigned long N, After;
    unsigned char* Data = nullptr;
    XGetWindowProperty(Peer, Of, XInternAtom(Peer, "_NET_WM_NAME", False), 0, 256, False,
                       XInternAtom(Peer, "UTF8_STRING", False), &Type, &Format, &N, &After, &Data);
    const std::string R = Data ? std::string(reinterpret_cast<char*>(Data), N) : "";
    if (Data) XFree(Data);
    return R;
  }

  void Send(long Mask, XEvent Ev) {
    Ev.xany.display = Peer;
    Ev.xany.window = X;
    XSendEvent(Peer, X, False, Mask, &Ev);
  }
  void SendKey(int Type, KeySym Sym, unsigned State, Time T = CurrentTime) {
    XEvent Ev{};
    Ev.xkey = {Type, 0, True, Peer, X,     DefaultRootWindow(Peer),     None, T,
               1,    1, 1,    1,    State, XKeysymToKeycode(Peer, Sym), True};
    Send(Type == KeyPress ? KeyPressMask : KeyReleaseMask, Ev);
  }
  void SendButton(int Type, unsigned Button, int At, unsigned State = 0) {
    XEvent Ev{};
    Ev.xbutton = {Type,  0,           True, Peer,   X,  DefaultRootWindow(Peer),
                  None,  CurrentTime, At,   At + 1, At, At + 1,
                  State, Button,      True};
    Send(Type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, Ev);
  }

  // Whether the window shows the bitmap, asked until it does: the host's requests reach the
  // server on a connection of their own.
  bool Shows(const TBitmap& Want) {
    XWindowAttributes A;
    XGetWindowAttributes(Peer, X, &A);
    const TPixelPacker Packer(A.visual->red_mask, A.visual->green_mask, A.visual->blue_mask);
    return Eventually([&] {
      XImage* Img = XGetImage(Peer, X, 0, 0, unsigned(Want.GetWidth()), unsigned(Want.GetHeight()),
                              AllPlanes, ZPixmap);
      bool Same = Img != nullptr;
      for (int Y = 0; Same && Y < Want.GetHeight(); ++Y)
        for (int I = 0; Same && I < Want.GetWidth(); ++I)
          Same = XGetPixel(Img, I, Y) == Packer.Pack(Want.ScanLine(Y)[I]);
      if (Img) XDestroyImage(Img);
      return Same;
    });
  }

  static inline Display* Peer = nullptr;
  std::unique_ptr<THost> Host;
  THostWindow W = 0;
  Window X = 0;
};

TEST_F(X11HostTest, PresentShowsTheDirtyRectangleOfTheBackBuffer) {
  Open("kvl present", {20, 30, 84, 78});
  TBitmap B(64, 48);
  for (int Y = 0; Y < 48; ++Y)
    for (int I = 0; I < 64; ++I)
      B.ScanLine(Y)[I] = std::uint32_t(I * 4) << 16 | std::uint32_t(Y * 5) << 8 | (I ^ Y) * 3;
  Host->Present(W, B, {-10, -10, 1000, 1000});  // clipped to the bitmap
  EXPECT_TRUE(Shows(B));
  TBitmap Next(64, 48);
  std::fill(Next.Pixels(), Next.Pixels() + 64 * 48, 0x00FF8000u);
  Host->Present(W, Next, {10, 5, 30, 20});
  for (int Y = 5; Y < 20; ++Y) std::fill(B.ScanLine(Y) + 10, B.ScanLine(Y) + 30, 0x00FF8000u);
  EXPECT_TRUE(Shows(B));  // only the dirty rectangle changed
}

TEST_F(X11HostTest, WindowsCarryCaptionCloseProtocolAndSize) {
  Open("Prüfung ✓", {40, 50, 240, 150}, false);
  char* Name = nullptr;
  ASSERT_TRUE(XFetchName(Peer, X, &Name));
  EXPECT_STREQ(Name,
               "Pr\xFC"
               "fung ?");  // WM_NAME is Latin-1
  XFree(Name);
  Atom* Protocols = nullptr;
  int Count = 0;
  ASSERT_TRUE(XGetWMProtocols(Peer, X, &Protocols, &Count));
  EXPECT_EQ(std::vector<Atom>(Protocols, Protocols + Count),
            std::vector<Atom>{XInternAtom(Peer, "WM_DELETE_WINDOW", False)});
  XFree(Protocols);
  XSizeHints Hints{};
  long Supplied = 0;
  ASSERT_TRUE(XGetWMNormalHints(Peer, X, &Hints, &Supplied));
  EXPECT_EQ(Hints.flags & (PMinSize | PMaxSize), PMinSize | PMaxSize);
  EXPECT_EQ(std::vector<int>({Hints.min_width, Hints.max_height}), std::vector<int>({200, 100}));
  EXPECT_EQ(Host->ScreenSize(), (TSize{DisplayWidth(Peer, 0), DisplayHeight(Peer, 0)}));

  Host->SetCaption(W, "kvl renamed");
  EXPECT_TRUE(Eventually([&] { return Find("kvl renamed") == X; }));
  Host->MoveWindow(W, {60, 70, 360, 220});
  const auto Moved = Describe(Drain(*Host));  // then what the server shows again
  ASSERT_FALSE(Moved.empty());
  EXPECT_EQ(Moved[0], "resized 300x150");
  ASSERT_TRUE(XGetWMNormalHints(Peer, X, &Hints, &Supplied));
  EXPECT_EQ(Hints.max_width, 300);  // a fixed size moves along
  Host->CloseWindow(W);
  EXPECT_TRUE(Eventually([&] { return Find("kvl renamed") == 0; }));
}

TEST_F(X11HostTest, SentKeysBecomeVirtualKeysAndTypedText) {
  // A key code without symbols types ä and Ä for this test.
  int Min = 0, Max = 0, PerCode = 0;
  XDisplayKeycodes(Peer, &Min, &Max);
  KeyCode Spare = 0;
  for (int C = Max; C >= Min && !Spare; --C) {
    KeySym* Syms = XGetKeyboardMapping(Peer, KeyCode(C), 1, &PerCode);
    if (std::all_of(Syms, Syms + PerCode, [](KeySym S) { return S == NoSymbol; })) Spare = C;
    XFree(Syms);
  }
  ASSERT_NE(Spare, 0);
  KeySym Umlaut[2] = {XK_adiaeresis, XK_Adiaeresis}, Nothing[2] = {NoSymbol, NoSymbol};
  XChangeKeyboardMapping(Peer, Spare, 2, Umlaut, 1);
  Open("kvl keys", {10, 10, 110, 60});
  const unsigned NumLock = XkbKeysymToModifiers(Peer, XK_Num_Lock);
  ASSERT_NE(NumLock, 0u);
  const std::int64_t Before = Host->Now();
  const std::pair<KeySym, unsigned> Keys[] = {
      {XK_a, 0},          {XK_a, ShiftMask},         {XK_a, ControlMask}, {XK_semicolon, ShiftMask},
      {XK_5, Mod1Mask},   {XK_BackSpace, 0},         {XK_Tab, 0},         {XK_Return, 0},
      {XK_Escape, 0},     {XK_KP_7, NumLock},        {XK_KP_7, 0},        {XK_F5, 0},
      {XK_adiaeresis, 0}, {XK_adiaeresis, ShiftMask}};
  for (const auto& [Sym, State] : Keys) SendKey(KeyPress, Sym, State);
  // A held key: the release right before each repeated press, at its time, is left out.
  SendKey(KeyPress, XK_b, 0, 1000);
  SendKey(KeyRelease, XK_b, 0, 1100);
  SendKey(KeyPress, XK_b, 0, 1100);
  SendKey(KeyRelease, XK_b, 0, 1200);
  XSync(Peer, False);
  const auto Events = Drain(*Host);
  XChangeKeyboardMapping(Peer, Spare, 2, Nothing, 1);
  XSync(Peer, False);
  for (const auto& E : Events) {
    EXPECT_EQ(E.Window, W);
    EXPECT_TRUE(E.Time >= Before && E.Time <= Host->Now());
  }
  const std::vector<std::string> Want{
      "key 65 [a] s0", "key 65 [A] s1", "key 65 [\x01] s4", "key 186 [:] s1",   "key 53 [5] s2",
      "key 8 [\b] s0", "key 9 [\t] s0", "key 13 [\r] s0",   "key 27 [\x1b] s0", "key 103 [7] s0",
      "key 36 [] s0",  "key 116 [] s0", "key 0 [ä] s0",     "key 0 [Ä] s1",     "key 66 [b] s0",
      "key 66 [b] s0", "keyup 66 []"};
  EXPECT_EQ(Describe(Events), Want);
}

TEST_F(X11HostTest, PointerAndWindowEventsAreTranslated) {
  Open("kvl pointer", {10, 10, 110, 60});
  SendButton(ButtonPress, 1, 5);
  SendButton(ButtonRelease, 1, 5, Button1Mask);
  SendButton(ButtonPress, 3, 7, ShiftMask);
  SendButton(ButtonPress, 2, 7);
  for (unsigned Button : {4, 5, 6, 8}) SendButton(ButtonPress, Button, 9);
  SendButton(ButtonRelease, 4, 9);
  XEvent Ev{};
  const auto Post = [&](int Type, long Mask) {
    Ev.type = Type;
    Send(Mask, Ev);
  };
  for (int I = 1; I <= 3; ++I) {
    Ev.xmotion.x = I;
    Post(MotionNotify, PointerMotionMask);
  }
  Ev.xmotion.state = Button1Mask;  // a drag starts: a move of its own
  Post(MotionNotify, PointerMotionMask);
  Ev = {};
  Ev.xcrossing.state = Button1Mask;  // dragged out: the window keeps the pointer
  Post(LeaveNotify, LeaveWindowMask);
  Ev.xcrossing.state = 0;
  Post(LeaveNotify, LeaveWindowMask);
  const int Pieces[][5] = {{0, 0, 10, 10, 2}, {20, 5, 5, 5, 1}, {3, 30, 2, 2, 0}};
  for (const auto& P : Pieces) {
    Ev.xexpose = {Expose, 0, True, Peer, X, P[0], P[1], P[2], P[3], P[4]};
    Post(Expose, ExposureMask);
  }
  Ev = {};
  Ev.xconfigure.window = X;
  for (int Wide : {100, 120}) {  // at 100 it stays the size it has: nothing to tell
    Ev.xconfigure.width = Wide;
    Ev.xconfigure.height = 50;
    Post(ConfigureNotify, StructureNotifyMask);
  }
  Ev = {};
  Ev.xfocus.detail = NotifyPointer;
  Post(XFocusInEvent, FocusChangeMask);
  Ev.xfocus.detail = NotifyNonlinear;
  Post(XFocusInEvent, FocusChangeMask);
  Post(XFocusOutEvent, FocusChangeMask);
  Ev = {};
  Ev.xclient.message_type = XInternAtom(Peer, "WM_PROTOCOLS", False);
  Ev.xclient.format = 32;
  Ev.xclient.data.l[0] = long(XInternAtom(Peer, "WM_DELETE_WINDOW", False));
  Post(ClientMessage, NoEventMask);
  XSync(Peer, False);
  const std::vector<std::string> Want{
      "down L 5,6 s0",      "up L 5,6 s8", "down R 7,8 s1", "down M 7,8 s0", "wheel 120 9,10 s0",
      "wheel -120 9,10 s0", "move 3,0 s0", "move 3,0 s8",   "exit",          "exposed 0,0 25x32",
      "resized 120x50",     "focus in",    "focus out",     "close"};
  EXPECT_EQ(Describe(Drain(*Host)), Want);
}

// Runs a host's event processing on a thread of its own, so that it answers clipboard
// requests while the test's thread reads through another connection.
class TPump {
public:
  explicit TPump(THost& H)
      : FThread([this, &H] {
          for (THostEvent E; !FStop; H.WaitForEvent(10))
            while (H.NextEvent(E)) {
            }
        }) {}
  ~TPump() {
    FStop = true;
    FThread.join();
  }

private:
  std::atomic<bool> FStop{false};
  std::thread FThread;
};

TEST_F(X11HostTest, ClipboardTextGoesBetweenTwoHosts) {
  auto Other = OpenX11Host();
  ASSERT_NE(Other, nullptr);
  Open("kvl clipboard", {10, 10, 110, 60});
  Host->SetClipboardText("Grüße 42");
  EXPECT_EQ(Host->ClipboardText(), "Grüße 42");
  {
    TPump Pump(*Host);
    EXPECT_TRUE(Other->HasClipboardText());
    EXPECT_EQ(Other->ClipboardText(), "Grüße 42");
  }
  Other->SetClipboardText("zweiter ✓");
  SendKey(KeyPress, XK_q, 0);  // arrives while Host waits for the answer
  XSync(Peer, False);
  {
    TPump Pump(*Other);
    EXPECT_EQ(Host->ClipboardText(), "zweiter ✓");
  }
  EXPECT_EQ(Describe(Drain(*Host)), std::vector<std::string>{"key 81 [q] s0"});  // not lost
  XSetSelectionOwner(Peer, XInternAtom(Peer, "CLIPBOARD", False), None, CurrentTime);
  XSync(Peer, False);
  EXPECT_FALSE(Host->HasClipboardText());
  EXPECT_EQ(Host->ClipboardText(), std::nullopt);
}

std::string Xclip(const std::string& Args, const std::string& In = "") {
  std::string Out;
  if (FILE* P = popen(("xclip -selection clipboard " + Args).c_str(), In.empty() ? "r" : "w")) {
    char Buf[256];
    if (!In.empty()) fwrite(In.data(), 1, In.size(), P);
    for (std::size_t N; In.empty() && (N = fread(Buf, 1, sizeof Buf, P)) > 0;) Out.append(Buf, N);
    pclose(P);
  }
  return Out;
}

TEST_F(X11HostTest, ClipboardServesAndReadsOtherClients) {
  if (std::system("command -v xclip >/dev/null 2>&1") != 0) GTEST_SKIP() << "xclip is missing";
  const Atom Clipboard = XInternAtom(Peer, "CLIPBOARD", False);
  Host->SetClipboardText("Grüße ✓");
  const Window Ours = XGetSelectionOwner(Peer, Clipboard);
  {
    TPump Pump(*Host);
    EXPECT_EQ(Xclip("-o -t UTF8_STRING"), "Grüße ✓");
    EXPECT_EQ(Xclip("-o -t STRING"),
              "Gr\xFC\xDF"
              "e ?");
    EXPECT_EQ(Xclip("-o -t TARGETS"), "TARGETS\nTIMESTAMP\nUTF8_STRING\nSTRING\nTEXT\n");
  }
  // An owner that has Latin-1 text, then one that has no text at all.
  Xclip("-i -t STRING", "caf\xE9");
  ASSERT_TRUE(Eventually([&] { return XGetSelectionOwner(Peer, Clipboard) != Ours; }));
  EXPECT_EQ(Host->ClipboardText(), "café");
  const Window Latin1Owner = XGetSelectionOwner(Peer, Clipboard);
  Xclip("-i -t image/png", "\x89PNG");
  ASSERT_TRUE(Eventually([&] { return XGetSelectionOwner(Peer, Clipboard) != Latin1Owner; }));
  EXPECT_FALSE(Host->HasClipboardText());
  EXPECT_EQ(Host->ClipboardText(), std::nullopt);
  Host->SetClipboardText("");  // the last xclip leaves when it loses the clipboard
}

}  // namespace
}  // namespace kvl::x11
