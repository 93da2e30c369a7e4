// A form on a fresh headless host, for benchmarks of controls: painting and input go through
// the real loop without a screen.
#pragma once

#include <cstdint>
#include <memory>

#include "kvl/platform/application.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/host_headless.h"

namespace kvl::bench {

struct THeadlessForm {
  THeadlessHost* Host;
  std::unique_ptr<TForm> Form;

  THeadlessForm(int Width, int Height) {
    auto H = std::make_unique<THeadlessHost>();
    Host = H.get();
    Application->SetHost(std::move(H));
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, Width, Height);
  }
  // A control of class T on the form at the given bounds.
  template <class T>
  T* Add(int X, int Y, int W, int H) {
    auto* C = new T(Form.get());
    C->SetParent(Form.get());
    C->SetBounds(X, Y, W, H);
    return C;
  }
  // A key press or a left click through the host's event queue, handled at once.
  void Press(std::uint16_t Key) {
    THostEvent E;
    E.Kind = THostEventKind::KeyDown;
    E.Window = Form->GetWindow();
    E.Key = Key;
    Host->Post(E);
    Application->ProcessMessages();
  }
  void Click(int X, int Y) {
    for (const THostEventKind K : {THostEventKind::MouseDown, THostEventKind::MouseUp}) {
      THostEvent E;
      E.Kind = K;
      E.Window = Form->GetWindow();
      E.X = X;
      E.Y = Y;
      E.Button = mbLeft;
      Host->Post(E);
    }
    Application->ProcessMessages();
  }
};

}  // namespace kvl::bench
