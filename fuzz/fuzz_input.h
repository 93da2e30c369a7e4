// What the fuzz targets share: typed values read from the input bytes, and one shown form on a
// headless host that lives for the whole run.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "kvl/platform/application.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/host_headless.h"

namespace kvl::fuzzing {

inline void Check(bool Ok) {
  if (!Ok) std::abort();
}

// Reads values off the front of the input; past its end every value reads as zero bits.
struct TFuzzBytes {
  const std::uint8_t* P;
  std::size_t N;
  template <class T>
  T Take() {
    T V{};
    const std::size_t K = std::min(N, sizeof(T));
    std::memcpy(&V, P, K);
    P += K;
    N -= K;
    return V;
  }
};

struct TFuzzForm {
  THeadlessHost* Host;
  TForm* Form;
};

// Installs a headless host and creates a form of the given size; call once, from a static.
inline TFuzzForm MakeFuzzForm(int Width, int Height) {
  auto Host = std::make_unique<THeadlessHost>();
  THeadlessHost* H = Host.get();
  Application->SetHost(std::move(Host));
  auto* Form = new TForm(Application);
  Form->SetBounds(0, 0, Width, Height);
  return TFuzzForm{H, Form};
}

}  // namespace kvl::fuzzing
