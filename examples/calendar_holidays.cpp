// A calendar with regional holidays: some repeat every year, one is a single date. Lists the
// holidays of a year as the calendar finds them and writes a picture of a month as PNG.
//   calendar_holidays [YEAR] [out.png]
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "kvl/minical/minical.h"
#include "kvl/platform/application.h"
#include "kvl/platform/forms.h"
#include "kvl/platform/host_headless.h"

int main(int argc, char** argv) {
  const int Year = argc > 1 ? std::atoi(argv[1]) : 2025;
  const std::string File = argc > 2 ? argv[2] : "calendar.png";
  if (Year < 1 || Year > 9999) {
    std::fprintf(stderr, "a year from 1 to 9999, please\n");
    return 2;
  }
  // Headless: the picture is drawn in memory, with or without a display.
  auto Host = std::make_unique<kvl::THeadlessHost>();
  kvl::Application->SetHost(std::move(Host));

  auto* Form = new kvl::TForm(kvl::Application);  // the application deletes it at exit
  Form->SetClientWidth(340);
  Form->SetClientHeight(220);
  auto* Cal = new kvl::TMiniCal(Form);
  Cal->SetParent(Form);
  Cal->SetBounds(10, 10, 320, 200);
  Cal->SetLanguage(kvl::lgGerman);  // resets the list: add regional days after it
  Cal->AddRepeatHoliday(3, 10, "Tag der Deutschen Einheit");
  Cal->AddRepeatHoliday(31, 10, "Reformationstag");
  Cal->AddHoliday(8, 5, 2025, "80 Jahre Kriegsende");  // this year only

  std::printf("Holidays %d:\n", Year);
  for (int M = 1; M <= 12; ++M) {
    for (int D = 1; D <= kvl::DaysInMonth(Year, M); ++D) {
      std::string Caption;
      if (Cal->CheckHoliday(Year, M, D, Caption))
        std::printf("  %02d.%02d. %s\n", D, M, Caption.c_str());
    }
  }

  Cal->SetDate(kvl::EncodeDate(Year, 10, 3));
  Form->Show();
  kvl::Application->ProcessMessages();  // paints into the form's back buffer
  Form->GetBackBuffer().SaveToPngFile(File);
  std::printf("wrote %s\n", File.c_str());
  return 0;
}
