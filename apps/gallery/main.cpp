// kvl-gallery: every component family on a page of its own, live in a window, or rendered to
// a PNG file without one.
//
//   kvl-gallery                       a window when a display is there, else gallery.png
//   kvl-gallery --png FILE [--page NAME] [--size WxH] [--time MS] [--type TEXT]
//               [--date YYYY-MM-DD[THH:MM]]   the headless wall clock, so pictures keep a date
//               [--click X,Y[,right|ctrl|shift]]...  clicks in the window (a right one, or
//                                            with Ctrl or Shift held) and
//               [--wheel X,Y,N]...           wheel turns of N notches (positive: towards the
//                                            end), replayed in order first; a popup they leave
//                                            open is in the picture
//               [--page-only]                the picture holds the page area only, without
//                                            the page list (the per-page reviewed pictures)
//   kvl-gallery --event-log FILE      pages write a line per event (clicks, repeats) to FILE
//   kvl-gallery --list                the page names
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "event_log.h"
#include "gallery_form.h"
#include "kvl/platform/application.h"
#include "kvl/platform/dates.h"
#include "kvl/platform/host_headless.h"
#include "kvl/platform/popups.h"
#include "pages.h"

namespace {

using namespace kvl;
using namespace kvl::gallery;

// A click, or a turn of the wheel by Notches when that is not 0.
struct TClick {
  int X = 0, Y = 0;
  bool Right = false;
  TShiftState Shift = 0;
  int Notches = 0;
};

struct TOptions {
  std::string Png;
  std::string Page;
  int Width = 900, Height = 600;
  int TimeMs = 1000;
  std::string Type;
  std::optional<TDateTime> WallClock;
  bool List = false;
  bool PageOnly = false;
  std::vector<TClick> Clicks;
  std::string EventLog;
};

[[noreturn]] void Usage(const std::string& Problem) {
  std::fprintf(stderr,
               "kvl-gallery: %s\n"
               "usage: kvl-gallery [--png FILE] [--page NAME] [--size WxH] [--time MS] "
               "[--type TEXT] [--date YYYY-MM-DD[THH:MM]] [--click X,Y[,right|ctrl|shift]]... "
               "[--wheel X,Y,N]... [--page-only] "
               "[--event-log FILE] [--list]\n",
               Problem.c_str());
  std::exit(2);
}

int ParseInt(std::string_view S, const char* What) {
  int V = 0;
  const auto [End, Ec] = std::from_chars(S.data(), S.data() + S.size(), V);
  if (Ec != std::errc() || End != S.data() + S.size() || V < 0) Usage(std::string("bad ") + What);
  return V;
}

// YYYY-MM-DD or YYYY-MM-DDTHH:MM, a real date and time of day.
TDateTime ParseDate(std::string_view S) {
  const std::string Problem =
      "--date wants a real date as YYYY-MM-DD or YYYY-MM-DDTHH:MM, not \"" + std::string(S) + "\"";
  const bool WithTime = S.size() == 16;
  if (!(S.size() == 10 || (WithTime && S[10] == 'T' && S[13] == ':')) || S[4] != '-' || S[7] != '-')
    Usage(Problem);
  const auto Field = [&](std::size_t Pos, std::size_t Len) {
    int V = 0;
    const char* First = S.data() + Pos;
    if (!std::all_of(First, First + Len, [](char C) { return C >= '0' && C <= '9'; }))
      Usage(Problem);
    std::from_chars(First, First + Len, V);
    return V;
  };
  const int Year = Field(0, 4), Month = Field(5, 2), Day = Field(8, 2);
  const int Hour = WithTime ? Field(11, 2) : 0, Minute = WithTime ? Field(14, 2) : 0;
  TDateTime Checked = 0;
  if (!TryEncodeDate(Year, Month, Day, Checked) || !TryEncodeTime(Hour, Minute, 0, 0, Checked))
    Usage(Problem);
  return EncodeDateTime(Year, Month, Day, Hour, Minute, 0);
}

TOptions ParseOptions(int Argc, char** Argv) {
  TOptions O;
  for (int I = 1; I < Argc; ++I) {
    const std::string_view A = Argv[I];
    const auto Value = [&]() -> std::string {
      if (I + 1 >= Argc) Usage(std::string(A) + " needs a value");
      return Argv[++I];
    };
    if (A == "--png") {
      O.Png = Value();
    } else if (A == "--page") {
      O.Page = Value();
    } else if (A == "--size") {
      const std::string S = Value();
      const auto X = S.find('x');
      if (X == std::string::npos) Usage("--size wants WxH");
      O.Width = ParseInt(std::string_view(S).substr(0, X), "width");
      O.Height = ParseInt(std::string_view(S).substr(X + 1), "height");
      if (O.Width < 200 || O.Height < 150 || O.Width > 8000 || O.Height > 8000)
        Usage("--size must lie between 200x150 and 8000x8000");
    } else if (A == "--time") {
      O.TimeMs = ParseInt(Value(), "time");
    } else if (A == "--type") {
      O.Type = Value();
    } else if (A == "--date") {
      O.WallClock = ParseDate(Value());
    } else if (A == "--click") {
      const std::string S = Value();
      const auto C1 = S.find(',');
      if (C1 == std::string::npos) Usage("--click wants X,Y or X,Y,right");
      const auto C2 = S.find(',', C1 + 1);
      TClick C;
      C.X = ParseInt(std::string_view(S).substr(0, C1), "click x");
      C.Y = ParseInt(std::string_view(S).substr(C1 + 1, C2 == std::string::npos ? C2 : C2 - C1 - 1),
                     "click y");
      if (C2 != std::string::npos) {
        const std::string Mod = S.substr(C2 + 1);
        if (Mod == "right")
          C.Right = true;
        else if (Mod == "ctrl")
          C.Shift = ssCtrl;
        else if (Mod == "shift")
          C.Shift = ssShift;
        else
          Usage("--click wants X,Y or X,Y,right, X,Y,ctrl or X,Y,shift");
      }
      O.Clicks.push_back(C);
    } else if (A == "--wheel") {
      const std::string S = Value();
      const auto C1 = S.find(','), C2 = S.find(',', C1 == std::string::npos ? C1 : C1 + 1);
      if (C1 == std::string::npos || C2 == std::string::npos) Usage("--wheel wants X,Y,N");
      TClick C;
      C.X = ParseInt(std::string_view(S).substr(0, C1), "wheel x");
      C.Y = ParseInt(std::string_view(S).substr(C1 + 1, C2 - C1 - 1), "wheel y");
      const std::string_view N = std::string_view(S).substr(C2 + 1);
      const bool Back = !N.empty() && N[0] == '-';
      C.Notches = ParseInt(Back ? N.substr(1) : N, "wheel notches");
      if (C.Notches == 0 || C.Notches > 1000) Usage("--wheel wants 1 to 1000 notches either way");
      if (Back) C.Notches = -C.Notches;
      O.Clicks.push_back(C);
    } else if (A == "--event-log") {
      O.EventLog = Value();
    } else if (A == "--page-only") {
      O.PageOnly = true;
    } else if (A == "--list") {
      O.List = true;
    } else {
      Usage("unknown option " + std::string(A));
    }
  }
  return O;
}

// Types the text into the page's text box, as the keyboard would.
void TypeIntoPage(TGalleryForm& Form, THeadlessHost& Host, const std::string& Text) {
  for (int I = 0; I < Form.GetPageHost().GetControlCount(); ++I) {
    auto* W = dynamic_cast<TWinControl*>(Form.GetPageHost().GetControls(I));
    if (W && W->GetName() == "EchoBox") W->SetFocus();
  }
  THostEvent E;
  E.Kind = THostEventKind::KeyDown;
  E.Window = Form.GetWindow();
  E.Text = Text;
  Host.Post(E);
  Application->ProcessMessages();
}

// A click or a wheel turn at window coordinates, as the pointer would make it, with its
// modifier key held around it.
void PostClick(TGalleryForm& Form, THeadlessHost& Host, const TClick& C) {
  const auto Post = [&](THostEventKind K, TShiftState Shift) {
    THostEvent E;
    E.Kind = K;
    E.Window = Form.GetWindow();
    E.X = C.X;
    E.Y = C.Y;
    E.Button = C.Right ? mbRight : mbLeft;
    E.Shift = Shift;
    E.WheelDelta = -120 * C.Notches;
    if (K == THostEventKind::KeyDown || K == THostEventKind::KeyUp)
      E.Key = C.Shift == ssCtrl ? vk::Control : vk::Shift;
    Host.Post(E);
  };
  if (C.Shift) Post(THostEventKind::KeyDown, 0);
  Post(THostEventKind::MouseMove, C.Shift);
  if (C.Notches != 0) {
    Post(THostEventKind::MouseWheel, C.Shift);
  } else {
    Post(THostEventKind::MouseDown, C.Shift);
    Post(THostEventKind::MouseUp, TShiftState(C.Shift | ButtonShift(C.Right ? mbRight : mbLeft)));
  }
  if (C.Shift) Post(THostEventKind::KeyUp, C.Shift);
  Application->ProcessMessages();
}

// The window's area of the screen, or only its page area: the form with any popup over it.
void SaveWindowPicture(TGalleryForm& Form, THeadlessHost& Host, bool PageOnly,
                       const std::string& File) {
  TBitmap Screen = ComposeHeadlessScreen(Host);
  TRect R = Form.GetBoundsRect();
  if (PageOnly) {
    const TWinControl& Page = Form.GetPageHost();
    const TPoint P = Page.ClientToScreen(TPoint{0, 0});
    R = Rect(P.X, P.Y, P.X + Page.GetWidth(), P.Y + Page.GetHeight());
  }
  TBitmap Shot;
  Shot.SetSize(R.Width(), R.Height());
  Shot.GetCanvas()->CopyRect(Rect(0, 0, R.Width(), R.Height()), *Screen.GetCanvas(), R);
  Shot.SaveToPngFile(File);
}

int RenderPng(TGalleryForm& Form, THeadlessHost& Host, const TOptions& O, const std::string& File) {
  const TSize Need{Form.GetWidth(), Form.GetHeight()};
  const TSize S = Host.ScreenSize();
  Host.SetScreenSize({std::max(S.cx, Need.cx), std::max(S.cy, Need.cy)});
  Form.Show();
  if (!O.Type.empty()) TypeIntoPage(Form, Host, O.Type);
  // A click that opens a menu runs the menu's loop: the clicks after it, and the picture,
  // happen inside that loop, so the picture shows what they left open.
  // A menu closed by a click runs its choice only after its loop: the clicks after it and the
  // picture then wait for the level outside.
  std::size_t Next = 0;
  bool Taken = false;
  const auto Replay = [&](bool InPopup) {
    // A click that closed the popup hands the rest back to the level outside its loop.
    while (Next < O.Clicks.size()) {
      PostClick(Form, Host, O.Clicks[Next++]);
      if (InPopup && Application->GetPopups().empty()) return;
    }
    if (Taken || (InPopup && Application->GetPopups().empty())) return;
    Taken = true;
    AdvanceHeadlessTime(Host, O.TimeMs);
    SaveWindowPicture(Form, Host, O.PageOnly, File);
  };
  Application->OnPopupShown = [&](TPopupWindow&) { Replay(true); };
  Replay(false);
  Application->OnPopupShown = nullptr;
  return 0;
}

int Main(int Argc, char** Argv) {
  const TOptions O = ParseOptions(Argc, Argv);
  if (O.List) {
    for (const TGalleryPage& P : GalleryPages()) std::printf("%s\n", P.Name.c_str());
    return 0;
  }
  if (!O.EventLog.empty()) OpenEventLog(O.EventLog);
  THeadlessHost* Headless = nullptr;
  if (!O.Png.empty()) {
    auto Host = std::make_unique<THeadlessHost>();
    Headless = Host.get();
    Application->SetHost(std::move(Host));
  } else {
    Headless = dynamic_cast<THeadlessHost*>(&Application->GetHost());
  }
  // Before the pages are built: a calendar takes today from the clock when it is made.
  if (Headless && O.WallClock) Headless->SetWallClock(*O.WallClock);
  auto* Form = new TGalleryForm(Application);
  Form->SetBounds(Form->GetLeft(), Form->GetTop(), O.Width, O.Height);
  if (!O.Page.empty() && !Form->ShowPage(O.Page)) Usage("no page named \"" + O.Page + "\"");
  if (Headless) {
    const std::string File = O.Png.empty() ? "gallery.png" : O.Png;
    RenderPng(*Form, *Headless, O, File);
    if (O.Png.empty())
      std::printf("kvl-gallery: no display; wrote %s (%dx%d) instead of opening a window\n",
                  File.c_str(), O.Width, O.Height);
    return 0;
  }
  Application->SetMainForm(Form);
  Form->Show();
  Application->Run();
  return 0;
}

}  // namespace

int main(int Argc, char** Argv) {
  try {
    return Main(Argc, Argv);
  } catch (const std::exception& E) {
    std::fprintf(stderr, "kvl-gallery: %s\n", E.what());
    return 1;
  }
}
