// A form with a button that counts its clicks. In a window when there is a display; with
// --png FILE it paints the form once and writes the picture instead (KVL_HOST=headless keeps
// it off the screen entirely).
#include <cstdio>
#include <string>

#include "kvl/platform/application.h"
#include "kvl/platform/stdctrls.h"

int main(int argc, char** argv) {
  auto* Form = new kvl::TForm(kvl::Application);  // the application deletes it at exit
  Form->SetCaption("kvl example");
  Form->SetBounds(100, 100, 240, 120);

  auto* Button = new kvl::TButton(Form);
  Button->SetParent(Form);
  Button->SetBounds(70, 45, 100, 28);
  Button->SetCaption("Click me");
  int Clicks = 0;
  Button->OnClick = [&](kvl::TObject*) {
    Button->SetCaption("Clicked " + std::to_string(++Clicks));
  };

  if (argc == 3 && std::string(argv[1]) == "--png") {
    Form->Show();
    kvl::Application->ProcessMessages();  // paints what is invalid
    Form->GetBackBuffer().SaveToPngFile(argv[2]);
    std::printf("wrote %s\n", argv[2]);
    return 0;
  }
  kvl::Application->SetMainForm(Form);
  kvl::Application->Run();  // until the window is closed
  return 0;
}
