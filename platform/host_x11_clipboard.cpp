// The x11 host's clipboard: the CLIPBOARD selection, held by a hidden window of the host.
// clang-format off
#include "kvl/platform/host_x11_detail.h"
// clang-format on

#include <X11/Xatom.h>
#include <poll.h>

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "kvl/platform/host_x11_keys.h"

namespace kvl::x11 {

namespace {

// How long a reader waits for the owner's answer before taking the clipboard as empty.
constexpr std::int64_t AnswerTimeoutMs = 1000;

struct TAwaited {
  Window W;
  Atom A;  // the selection's target, or the property
  Atom B;  // the selection itself; unused for properties
};

Bool IsAwaitedNotify(Display*, XEvent* Ev, XPointer Arg) {
  const auto& Wanted = *reinterpret_cast<const TAwaited*>(Arg);
  const XSelectionEvent& S = Ev->xselection;
  return Ev->type == SelectionNotify && S.requestor == Wanted.W && S.target == Wanted.A &&
         S.selection == Wanted.B;
}

Bool IsAwaitedProperty(Display*, XEvent* Ev, XPointer Arg) {
  const auto& Wanted = *reinterpret_cast<const TAwaited*>(Arg);
  return Ev->type == PropertyNotify && Ev->xproperty.window == Wanted.W &&
         Ev->xproperty.atom == Wanted.A;
}

// Server times are 32-bit milliseconds that wrap.
bool NotBefore(Time T, Time Since) { return std::int32_t(std::uint32_t(T - Since)) >= 0; }

}  // namespace

Time TX11Host::ServerTime() {
  // Appending nothing changes nothing but brings a PropertyNotify stamped with the server's
  // time, which the selection rules want instead of CurrentTime.
  XChangeProperty(FDisplay, FUtility, FAtoms.Clock, XA_INTEGER, 32, PropModeAppend,
                  reinterpret_cast<const unsigned char*>(""), 0);
  TAwaited Wanted{FUtility, FAtoms.Clock, None};
  XEvent Ev;
  XIfEvent(FDisplay, &Ev, IsAwaitedProperty, reinterpret_cast<XPointer>(&Wanted));
  return Ev.xproperty.time;
}

std::size_t TX11Host::MaxPropertyBytes() const {
  long Units = XExtendedMaxRequestSize(FDisplay);
  if (Units == 0) Units = XMaxRequestSize(FDisplay);
  return std::size_t(Units) * 4 - 64;  // room for the request's own fields
}

void TX11Host::SetClipboardText(const std::string& Text) {
  const Time Since = ServerTime();
  XSetSelectionOwner(FDisplay, FAtoms.Clipboard, FUtility, Since);
  if (XGetSelectionOwner(FDisplay, FAtoms.Clipboard) != FUtility) {
    FClipboard.reset();
    return;
  }
  FClipboard = Text;
  FClipboardSince = Since;
}

bool TX11Host::ClipboardOwned(Window Owner) {
  // The SelectionClear that tells us of a new owner may still be on its way.
  if (Owner != FUtility) FClipboard.reset();
  return FClipboard.has_value();
}

std::optional<std::string> TX11Host::ClipboardText() {
  const Window Owner = XGetSelectionOwner(FDisplay, FAtoms.Clipboard);
  if (ClipboardOwned(Owner)) return FClipboard;
  if (Owner == None) return std::nullopt;
  const std::int64_t Deadline = Now() + AnswerTimeoutMs;
  for (const Atom Target : {FAtoms.Utf8String, Atom(XA_STRING)}) {
    const auto Data = ConvertClipboard(Target, Deadline);
    if (!Data) return std::nullopt;  // no answer in time: the next target would not fare better
    if (Data->Format != 8) continue;
    if (Data->Type == FAtoms.Utf8String) return Data->Bytes;
    if (Data->Type == XA_STRING) return Latin1ToUtf8(Data->Bytes);
  }
  return std::nullopt;
}

bool TX11Host::HasClipboardText() {
  const Window Owner = XGetSelectionOwner(FDisplay, FAtoms.Clipboard);
  if (ClipboardOwned(Owner)) return true;
  if (Owner == None) return false;
  const auto Data = ConvertClipboard(FAtoms.Targets, Now() + AnswerTimeoutMs);
  if (!Data) return false;
  if (Data->Type != XA_ATOM) return ClipboardText().has_value();  // an owner that lists nothing
  return std::any_of(Data->Atoms.begin(), Data->Atoms.end(), [this](Atom A) {
    return A == FAtoms.Utf8String || A == XA_STRING || A == FAtoms.Text;
  });
}

std::optional<TSelectionData> TX11Host::ConvertClipboard(Atom Target, std::int64_t Deadline) {
  XDeleteProperty(FDisplay, FUtility, FAtoms.Transfer);  // no leftovers of an earlier answer
  XConvertSelection(FDisplay, FAtoms.Clipboard, Target, FAtoms.Transfer, FUtility, CurrentTime);
  TAwaited Wanted{FUtility, Target, FAtoms.Clipboard};
  XEvent Ev;
  // Only the answer is taken out of the queue; every other event stays, in order, for
  // NextEvent.
  while (!XCheckIfEvent(FDisplay, &Ev, IsAwaitedNotify, reinterpret_cast<XPointer>(&Wanted))) {
    const std::int64_t Left = Deadline - Now();
    if (Left <= 0) return std::nullopt;
    pollfd P{ConnectionNumber(FDisplay), POLLIN, 0};
    poll(&P, 1, int(Left));
  }
  TSelectionData Data;  // Type None: the owner refused the target
  if (Ev.xselection.property == None) return Data;
  Atom Type = None;
  int Format = 0;
  unsigned long Count = 0, After = 0;
  unsigned char* Bytes = nullptr;
  if (XGetWindowProperty(FDisplay, FUtility, Ev.xselection.property, 0, 0x1FFFFFFF, True,
                         AnyPropertyType, &Type, &Format, &Count, &After, &Bytes) != Success)
    return Data;
  // Data larger than one request comes in INCR pieces, which are not read.
  if (Type != FAtoms.Incr && Bytes) {
    Data.Type = Type;
    Data.Format = Format;
    if (Format == 8) Data.Bytes.assign(reinterpret_cast<const char*>(Bytes), Count);
    // Xlib hands 32-bit items over as longs.
    if (Format == 32) {
      const auto* Items = reinterpret_cast<const unsigned long*>(Bytes);
      Data.Atoms.assign(Items, Items + Count);
    }
  }
  if (Bytes) XFree(Bytes);
  return Data;
}

void TX11Host::AnswerSelectionRequest(const XSelectionRequestEvent& Req) {
  XEvent Reply{};
  XSelectionEvent& S = Reply.xselection;
  S.type = SelectionNotify;
  S.display = FDisplay;
  S.requestor = Req.requestor;
  S.selection = Req.selection;
  S.target = Req.target;
  S.time = Req.time;
  S.property = None;
  // A request from before we took the clipboard was meant for the owner before us.
  const bool Ours = FClipboard && Req.owner == FUtility && Req.selection == FAtoms.Clipboard &&
                    (Req.time == CurrentTime || NotBefore(Req.time, FClipboardSince));
  // Requestors of the oldest kind name no property; the target's name serves then.
  const Atom Property = Req.property != None ? Req.property : Req.target;
  if (Ours && PutTarget(Req.requestor, Property, Req.target)) S.property = Property;
  XSendEvent(FDisplay, Req.requestor, False, NoEventMask, &Reply);
  XFlush(FDisplay);
}

bool TX11Host::PutTarget(Window Requestor, Atom Property, Atom Target) {
  if (Target == FAtoms.Targets) {
    const Atom List[] = {FAtoms.Targets, FAtoms.Timestamp, FAtoms.Utf8String, XA_STRING,
                         FAtoms.Text};
    XChangeProperty(FDisplay, Requestor, Property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(List), int(std::size(List)));
    return true;
  }
  if (Target == FAtoms.Timestamp) {
    const long Since = long(FClipboardSince);
    XChangeProperty(FDisplay, Requestor, Property, XA_INTEGER, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&Since), 1);
    return true;
  }
  std::string Latin1;
  std::string_view Text = *FClipboard;
  Atom Type = FAtoms.Utf8String;
  if (Target == XA_STRING) {
    Latin1 = Utf8ToLatin1(Text);
    Text = Latin1;
    Type = XA_STRING;
  } else if (Target != FAtoms.Utf8String && Target != FAtoms.Text) {
    return false;
  }
  // More would need an INCR transfer; a refusal beats a request the server rejects.
  if (Text.size() > MaxPropertyBytes()) return false;
  XChangeProperty(FDisplay, Requestor, Property, Type, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(Text.data()), int(Text.size()));
  return true;
}

}  // namespace kvl::x11
