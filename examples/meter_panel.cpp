// A panel meter driven by a timer: the value swings slowly, and a label says whether it is
// over the high threshold, normal, or under the low one. In a window when there is a display;
// with --png FILE it lets three seconds pass on a headless host and writes the picture.
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "kvl/meter/meter.h"
#include "kvl/platform/application.h"
#include "kvl/platform/host_headless.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/platform/timers.h"

namespace {

// The panel owns the timer; the timer moves the needle.
class TPanelForm : public kvl::TForm {
public:
  explicit TPanelForm(kvl::TComponent* AOwner) : kvl::TForm(AOwner) {
    SetCaption("kvl meter panel");
    SetBounds(100, 100, 320, 270);

    FMeter = new kvl::TMeter(this);
    FMeter->SetParent(this);
    FMeter->SetBounds(10, 10, 297, 209);
    FMeter->SetMeterLayout(kvl::mlCirc270);
    FMeter->SetMeterMaxValue(100);
    FMeter->SetThresholdHigh(80);
    FMeter->SetThresholdLow(20);
    FMeter->SetScaleBkVisible(true);
    FMeter->SetScaleBkWidth(10);
    FMeter->SetMeterDecPlaces(0);
    FMeter->SetCaption("%");

    FState = new kvl::TLabel(this);
    FState->SetParent(this);
    FState->SetBounds(10, 228, 297, 20);
    FMeter->OnOverFlow = [this](kvl::TObject*) { FState->SetCaption("Too high!"); };
    FMeter->OnNormalRange = [this](kvl::TObject*) { FState->SetCaption("Normal"); };
    FMeter->OnUnderFlow = [this](kvl::TObject*) { FState->SetCaption("Too low"); };

    FTimer.Restart<kvl::EKVLError>(50);
  }

private:
  void Tick() {
    FTime += 0.05;
    FMeter->SetValue(50 + 45 * std::sin(FTime * 0.9));
  }

  kvl::TMeter* FMeter;
  kvl::TLabel* FState;
  double FTime = 0;
  kvl::TPrivateTimer FTimer{*this, [this] { Tick(); }};
};

}  // namespace

int main(int argc, char** argv) {
  const bool Png = argc == 3 && std::string(argv[1]) == "--png";
  kvl::THeadlessHost* Headless = nullptr;
  if (Png) {
    auto Host = std::make_unique<kvl::THeadlessHost>();
    Headless = Host.get();
    kvl::Application->SetHost(std::move(Host));
  }
  auto* Form = new TPanelForm(kvl::Application);  // the application deletes it at exit
  if (Png) {
    Form->Show();
    kvl::AdvanceHeadlessTime(*Headless, 3000);  // the timer ticks, the needle moves
    Form->GetBackBuffer().SaveToPngFile(argv[2]);
    std::printf("wrote %s\n", argv[2]);
    return 0;
  }
  kvl::Application->SetMainForm(Form);
  kvl::Application->Run();  // until the window is closed
  return 0;
}
