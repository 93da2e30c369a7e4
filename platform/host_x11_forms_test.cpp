// Forms in real X windows, driven from outside by xdotool as a user or a window manager would.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "kvl/platform/application.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/host_headless.h"

namespace kvl {
namespace {

// What a shell command prints, without the final newline.
std::string Output(const std::string& Command) {
  std::string Out;
  if (FILE* P = popen(Command.c_str(), "r")) {
    char Buf[256];
    while (std::fgets(Buf, sizeof Buf, P)) Out += Buf;
    pclose(P);
  }
  while (!Out.empty() && Out.back() == '\n') Out.pop_back();
  return Out;
}

// Runs the loop until the condition holds or two seconds passed.
template <class F>
bool Eventually(F Condition) {
  const auto Until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  for (;;) {
    Application->ProcessMessages();
    if (Condition()) return true;
    if (std::chrono::steady_clock::now() > Until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

TEST(X11Forms, ScreenCoordinatesFollowAWindowMovedByAnotherClient) {
  if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is missing";
  std::string Reason;
  auto Host = OpenX11Host(&Reason);
  if (!Host) GTEST_SKIP() << "no X display: " << Reason;
  Application->SetHost(std::move(Host));
  auto* Form = new TForm(nullptr);
  Form->SetCaption("kvl moved");
  Form->SetBounds(30, 40, 200, 120);
  auto* Inner = new TCustomControl(Form);
  Inner->SetParent(Form);
  Inner->SetBounds(10, 20, 50, 50);
  Form->Show();
  std::string Window;
  ASSERT_TRUE(Eventually([&] {
    Window = Output("xdotool search --name '^kvl moved$' 2>/dev/null | head -1");
    return !Window.empty();
  }));
  EXPECT_EQ(Inner->ClientToScreen({1, 1}), (TPoint{41, 61}));
  ASSERT_EQ(std::system(("xdotool windowmove " + Window + " 300 250").c_str()), 0);
  EXPECT_TRUE(Eventually([&] { return Form->GetLeft() == 300 && Form->GetTop() == 250; }))
      << Form->GetLeft() << "," << Form->GetTop();
  EXPECT_EQ(Inner->ClientToScreen({1, 1}), (TPoint{311, 271}));
  EXPECT_EQ(Inner->ScreenToClient({311, 271}), (TPoint{1, 1}));
  delete Form;
  Application->SetHost(std::make_unique<THeadlessHost>());
}

}  // namespace
}  // namespace kvl
