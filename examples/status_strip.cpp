// A status strip: a dot-matrix ticker that takes the next message each time its text has
// scrolled through, a progress bar driven by the program's own timer with "42 %" as its text,
// and a vertical caption. In a window when there is a display; with --png FILE it runs a few
// virtual seconds without a screen and writes the picture.
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "kvl/platform/application.h"
#include "kvl/platform/host_headless.h"
#include "kvl/platform/timers.h"
#include "kvl/progbar/progbar.h"
#include "kvl/rasterlab/rasterlab.h"
#include "kvl/rotlab/rotlab.h"

int main(int argc, char** argv) {
  const bool ToPng = argc == 3 && std::string(argv[1]) == "--png";
  kvl::THeadlessHost* Headless = nullptr;
  if (ToPng) {
    auto Host = std::make_unique<kvl::THeadlessHost>();
    Headless = Host.get();
    kvl::Application->SetHost(std::move(Host));
  }
  auto* Form = new kvl::TForm(kvl::Application);  // the application deletes it at exit
  Form->SetCaption("Status strip");
  Form->SetBounds(100, 100, 520, 130);

  auto* Side = new kvl::TRotLab(Form);
  Side->SetParent(Form);
  Side->SetBounds(8, 8, 28, 112);
  Side->SetCaption("STATUS");
  Side->SetTextAngle(90);
  Side->SetFrameStyle(kvl::fsNone);

  auto* Ticker = new kvl::TRasterLab(Form);
  Ticker->SetParent(Form);
  Ticker->SetBounds(44, 8, 468, 40);
  Ticker->SetDotSize(2);
  Ticker->SetAutoHeight(true);
  const std::vector<std::string> Messages = {"Copying 1 243 files to the archive",
                                             "Checking the copies", "Almost done"};
  std::size_t Next = 0;
  Ticker->SetText(Messages[Next]);
  Ticker->OnScrollLoopRestart = [&](kvl::TObject*) {
    Next = (Next + 1) % Messages.size();
    Ticker->SetText(Messages[Next]);
  };
  Ticker->SetScrollInterval(20);
  Ticker->SetScrollIncrement(2);
  Ticker->SetScrollMode(kvl::rdsmLeft);

  auto* Bar = new kvl::TProgBar(Form);
  Bar->SetParent(Form);
  Bar->SetBounds(44, 64, 468, 28);
  Bar->SetShowColorGradient(true);
  Bar->SetColorMin(kvl::RGBColor(0, 90, 160));
  Bar->SetColorMax(kvl::RGBColor(80, 200, 255));
  Bar->SetTextPosX(234);
  Bar->SetValue(0);
  Bar->OnShowValue = [](kvl::TObject*, std::string& Text) {
    Text += " %";
  };

  // The work's progress as the program sees it: a step every 100 ms.
  kvl::TPrivateTimer Work(*Form, [&] { Bar->SetValue(std::fmod(Bar->GetValue() + 1, 101)); });
  Work.Restart<kvl::EKVLError>(100);

  if (ToPng) {
    Form->Show();
    kvl::AdvanceHeadlessTime(*Headless, 4200);
    Form->GetBackBuffer().SaveToPngFile(argv[2]);
    std::printf("wrote %s\n", argv[2]);
    return 0;
  }
  kvl::Application->SetMainForm(Form);
  Form->Show();
  kvl::Application->Run();  // until the window is closed
  return 0;
}
