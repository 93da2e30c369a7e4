// The date-time picker driven as a person would: fields by keys, typed digits and names, the
// up-down buttons, the drop-down calendar, limits, bad values and its pictures.
#include "kvl/platform/dtpicker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "kvl/platform/dtcalendar.h"
#include "kvl/platform/stdctrls.h"
#include "kvl/testing/control_fixture.h"

namespace kvl {
namespace {

class DtPickerTest : public TControlTest<TDateTimePicker> {
protected:
  int Changes = 0;
  void SetUp() override {
    TControlTest::SetUp();
    Ctl->SetBounds(10, 10, 186, 21);
    Ctl->OnChange = [this](TObject*) { ++Changes; };
    Form->Show();
    Ctl->SetFocus();
  }
  void Keys(std::initializer_list<std::uint16_t> Ks) {
    for (const std::uint16_t K : Ks) D.Press(*Form, K);
  }
  void WithKey(std::uint16_t Modifier, std::uint16_t Key) {
    D.KeyDown(*Form, Modifier);
    D.Press(*Form, Key);
    D.KeyUp(*Form, Modifier);
  }
  std::string Full() {
    return *FormatDateTime("yyyy-mm-dd hh:nn:ss", Ctl->GetDateTime());
  }
};

TEST_F(DtPickerTest, DefaultsAndTheRowEditorsFormat) {
  EXPECT_EQ(Ctl->GetWidth(), 186);
  EXPECT_EQ(Ctl->GetHeight(), 21);
  EXPECT_DOUBLE_EQ(Ctl->GetDateTime(), Now());
  Ctl->SetFormat("dd.MM.yyyy");
  Ctl->SetDateTime(EncodeDateTime(2023, 12, 24, 8, 15, 0));
  EXPECT_EQ(Ctl->GetText(), "24.12.2023");
  EXPECT_EQ(Ctl->GetFieldCount(), 3);
  // Typing a whole date moves from field to field; the time of day stays.
  D.Type(*Form, "03");
  EXPECT_EQ(Ctl->GetFieldIndex(), 1);
  D.Type(*Form, "022024");
  EXPECT_EQ(Ctl->GetText(), "03.02.2024");
  EXPECT_EQ(Full(), "2024-02-03 08:15:00");
  Ctl->SetText("01.01.2000");
  EXPECT_EQ(Ctl->GetText(), "03.02.2024");
  Ctl->SetFormat("");
  EXPECT_EQ(Ctl->GetText(), "2024-02-03");
  Ctl->SetKind(dtkTime);
  EXPECT_EQ(Ctl->GetText(), "08:15:00");
}

TEST_F(DtPickerTest, FieldNavigationStepsAndNames) {
  Ctl->SetFormat("ddd dd MMM yyyy hh:mm tt");
  const struct {
    const char* Name;
    TDateTime From;
    int Field;
    std::function<void()> Act;
    const char* Text;
  } Cases[] = {
      {"day 31 up", EncodeDateTime(2023, 1, 31, 9, 5, 0), 1, [&] { Keys({vk::Up}); },
       "Sun 01 Jan 2023 09:05 AM"},
      {"day up into 29 February of a leap year", EncodeDateTime(2024, 2, 28, 9, 5, 0), 1,
       [&] { Keys({vk::Up}); }, "Thu 29 Feb 2024 09:05 AM"},
      {"day up past 28 February of a common year", EncodeDateTime(2023, 2, 28, 9, 5, 0), 1,
       [&] { Keys({vk::Up}); }, "Wed 01 Feb 2023 09:05 AM"},
      {"31 January, month up", EncodeDateTime(2023, 1, 31, 9, 5, 0), 1,
       [&] { Keys({vk::Right, vk::Up}); }, "Tue 28 Feb 2023 09:05 AM"},
      {"29 February, year up", EncodeDateTime(2024, 2, 29, 9, 5, 0), 3,
       [&] { Keys({vk::Up}); }, "Fri 28 Feb 2025 09:05 AM"},
      {"Right stops at the last field", EncodeDateTime(2023, 5, 10, 9, 5, 0), 5,
       [&] { Keys({vk::Right, vk::Right, vk::Up}); }, "Wed 10 May 2023 09:05 PM"},
      {"Left stops at the first field", EncodeDateTime(2023, 5, 10, 9, 5, 0), 1,
       [&] { Keys({vk::Left, vk::Left, vk::Down}); }, "Tue 09 May 2023 09:05 AM"},
      {"12-hour field keeps the half-day", EncodeDateTime(2023, 5, 10, 23, 5, 0), 4,
       [&] { Keys({vk::Up}); }, "Wed 10 May 2023 12:05 PM"},
      {"End and Home", EncodeDateTime(2023, 2, 10, 9, 5, 0), 1,
       [&] { Keys({vk::End, vk::Right, vk::Home}); }, "Sat 28 Jan 2023 09:05 AM"},
      {"P and A", EncodeDateTime(2023, 5, 10, 9, 5, 0), 6,
       [&] { D.Type(*Form, "p"); }, "Wed 10 May 2023 09:05 PM"},
      {"month names by prefix", EncodeDateTime(2023, 5, 31, 9, 5, 0), 2,
       [&] { D.Type(*Form, "ju"); }, "Fri 30 Jun 2023 09:05 AM"},
      {"the same letter again steps to the next name", EncodeDateTime(2023, 5, 10, 9, 5, 0),
       2, [&] { D.Type(*Form, "jj"); }, "Mon 10 Jul 2023 09:05 AM"},
      {"weekday names stay in the week", EncodeDateTime(2023, 5, 10, 9, 5, 0), 0,
       [&] { D.Type(*Form, "m"); }, "Mon 08 May 2023 09:05 AM"},
      {"typed hours and minutes", EncodeDateTime(2023, 5, 10, 15, 5, 0), 4,
       [&] { D.Type(*Form, "0742"); }, "Wed 10 May 2023 07:42 PM"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    Ctl->SetDateTime(C.From);
    Ctl->SetFieldIndex(C.Field);
    D.AdvanceTime(2000);
    Changes = 0;
    C.Act();
    EXPECT_EQ(Ctl->GetText(), C.Text);
    EXPECT_GT(Changes, 0);
  }
}

TEST_F(DtPickerTest, ProgramWritesKeepTheOtherPartAndFireNothing) {
  Ctl->SetFormat("yyyy-MM-dd HH:mm");
  Ctl->SetDateTime(0);
  EXPECT_EQ(Ctl->GetText(), "1899-12-30 00:00");
  Ctl->SetDateTime(EncodeDateTime(2023, 6, 1, 13, 45, 0));
  Ctl->SetDate(EncodeDateTime(1999, 2, 3, 4, 5, 6));
  EXPECT_EQ(Ctl->GetText(), "1999-02-03 13:45");
  Ctl->SetTime(EncodeDateTime(2011, 1, 1, 6, 7, 0));
  EXPECT_EQ(Ctl->GetText(), "1999-02-03 06:07");
  EXPECT_DOUBLE_EQ(Ctl->GetDate(), EncodeDate(1999, 2, 3));
  EXPECT_DOUBLE_EQ(Ctl->GetTime(), EncodeTime(6, 7, 0));
  // Before 1899-12-30 as well.
  Ctl->SetDateTime(EncodeDateTime(1800, 3, 4, 18, 0, 0));
  Ctl->SetTime(EncodeTime(6, 0, 0));
  EXPECT_EQ(Ctl->GetText(), "1800-03-04 06:00");
  EXPECT_EQ(Changes, 0);

  // Values that cannot be shown are ignored.
  const TDateTime Kept = Ctl->GetDateTime();
  for (const TDateTime Bad : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300, -1e300, -700000.0,
                              3000000.0})
    Ctl->SetDateTime(Bad), Ctl->SetDate(Bad), Ctl->SetTime(Bad), Ctl->SetMinDate(Bad);
  EXPECT_DOUBLE_EQ(Ctl->GetDateTime(), Kept);
  EXPECT_EQ(Ctl->GetMinDate(), 0);
  EXPECT_EQ(Changes, 0);
}

TEST_F(DtPickerTest, LimitsBoundProgramWritesAndUserEdits) {
  Ctl->SetFormat("dd.MM.yyyy HH:mm");
  Ctl->SetDateTime(EncodeDateTime(2023, 6, 15, 10, 30, 0));
  Ctl->SetMinDate(EncodeDate(2023, 6, 10));
  Ctl->SetMaxDate(EncodeDateTime(2023, 6, 20, 8, 0, 0));
  Ctl->SetDateTime(EncodeDateTime(2023, 7, 1, 22, 0, 0));
  EXPECT_EQ(Ctl->GetText(), "20.06.2023 22:00");  // the date moves, the time stays
  EXPECT_EQ(Changes, 0);
  Ctl->SetFieldIndex(1);
  Keys({vk::Down});
  EXPECT_EQ(Ctl->GetText(), "10.06.2023 22:00");  // 20 May lies below the limit
  Ctl->SetFieldIndex(0);
  Keys({vk::Home});
  EXPECT_EQ(Changes, 1);
  Keys({vk::End});
  EXPECT_EQ(Ctl->GetText(), "20.06.2023 22:00");
  EXPECT_EQ(Changes, 2);
  // MinDate above MaxDate: the two are taken in order.
  Ctl->SetMinDate(EncodeDate(2024, 1, 1));
  Ctl->SetMaxDate(EncodeDate(2023, 12, 1));
  Ctl->SetDateTime(EncodeDate(2022, 1, 1));
  EXPECT_EQ(Ctl->GetText(), "01.12.2023 00:00");
  Ctl->SetMinDate(0);
  Ctl->SetMaxDate(0);
  Ctl->SetDateTime(EncodeDate(2022, 1, 1));
  EXPECT_EQ(Ctl->GetText(), "01.01.2022 00:00");
}

TEST_F(DtPickerTest, OddFormatsAndSizes) {
  Ctl->SetDateTime(EncodeDateTime(2023, 6, 15, 10, 30, 0));
  Ctl->SetFormat("'no fields");
  EXPECT_EQ(Ctl->GetText(), "no fields");
  EXPECT_EQ(Ctl->GetFieldIndex(), -1);
  Keys({vk::Up, vk::Home, vk::Right});
  D.Type(*Form, "12ap");
  EXPECT_EQ(Changes, 0);
  std::string Long;
  for (int I = 0; I < 1000; ++I) Long += "dd'.'MM ";
  Ctl->SetFormat(Long);
  EXPECT_EQ(Ctl->GetFieldCount(), 2000);
  EXPECT_EQ(Ctl->GetText().size(), 6000u);
  Ctl->SetFieldIndex(1999);
  Keys({vk::Up});
  EXPECT_EQ(Ctl->GetText().substr(0, 6), "15.07 ");
  for (const int W : {0, 30000}) {
    Ctl->SetBounds(0, 0, W, W == 0 ? 0 : 21);
    D.Capture(*Form);
    D.Click(*Ctl, W / 2, 5);
    D.AdvanceTime(1000);
  }
}

TEST_F(DtPickerTest, UpDownButtonsStepTheFocusedField) {
  Ctl->SetKind(dtkTime);
  Ctl->SetDateTime(EncodeDateTime(2023, 6, 15, 10, 30, 0));
  ASSERT_TRUE(Ctl->GetUpDown()->GetVisible());
  EXPECT_EQ(Ctl->GetUpDown()->GetBoundsRect(), Ctl->ButtonRect());
  const TRect F = Ctl->FieldRect(1);
  D.Click(*Ctl, F.Left + 1, 5);  // the minutes
  EXPECT_EQ(Ctl->GetFieldIndex(), 1);
  TUpDown& U = *Ctl->GetUpDown();
  D.Click(U, 5, 2);
  D.AdvanceTime(1000);
  D.Click(U, 5, 2);
  D.AdvanceTime(1000);
  D.Click(U, 5, U.GetHeight() - 2);
  EXPECT_EQ(Ctl->GetText(), "10:31:00");
  EXPECT_EQ(Changes, 3);
  // A date picker in up-down mode has the buttons and no calendar.
  Ctl->SetKind(dtkDate);
  EXPECT_FALSE(Ctl->GetUpDown()->GetVisible());
  Ctl->SetDateMode(dmUpDown);
  EXPECT_TRUE(Ctl->GetUpDown()->GetVisible());
  Keys({vk::F4});
  EXPECT_EQ(Ctl->GetCalendar(), nullptr);
}

TEST_F(DtPickerTest, CalendarPicksByKeysAndClicksKeepingTheTime) {
  D.Host().SetWallClock(EncodeDateTime(2023, 12, 20, 9, 0, 0));
  Ctl->SetDateTime(EncodeDateTime(2023, 12, 24, 18, 30, 0));
  int Drops = 0, Closes = 0;
  Ctl->OnDropDown = [&](TObject*) { ++Drops; };
  Ctl->OnCloseUp = [&](TObject*) { ++Closes; };
  const struct {
    const char* Name;
    std::function<void()> Open;
    std::function<void(TDtCalendar&)> Act;
    const char* Text;
    int Changes;
  } Cases[] = {
      {"F4, Right, Down, Enter", [&] { Keys({vk::F4}); },
       [&](TDtCalendar&) { Keys({vk::Right, vk::Down, vk::Return}); }, "2024-01-01", 1},
      {"Alt+Down, Page Up, Enter", [&] { WithKey(vk::Menu, vk::Down); },
       [&](TDtCalendar&) { Keys({vk::Prior, vk::Return}); }, "2023-12-01", 1},
      {"button, Ctrl+Page Down, Left, Up, Enter",
       [&] { D.Click(*Ctl, Ctl->ButtonRect().Left + 5, 5); },
       [&](TDtCalendar&) {
         WithKey(vk::Control, vk::Next);
         Keys({vk::Left, vk::Up, vk::Return});
       },
       "2024-11-23", 1},
      {"a click on a day", [&] { Ctl->SetDroppedDown(true); },
       [&](TDtCalendar& C) {
         const TRect R = C.DayRect(EncodeDate(2024, 11, 5));
         D.Click(C, R.Left + 2, R.Top + 2);
       },
       "2024-11-05", 1},
      {"next month, then the Today line", [&] { Keys({vk::F4}); },
       [&](TDtCalendar& C) {
         D.Click(C, C.NextRect().Left + 3, C.NextRect().Top + 3);
         EXPECT_EQ(C.GetDay(), EncodeDate(2024, 12, 5));
         D.Click(C, C.TodayRect().Left + 30, C.TodayRect().Top + 3);
       },
       "2023-12-20", 1},
      {"Escape", [&] { Keys({vk::F4}); }, [&](TDtCalendar&) { Keys({vk::Right, vk::Escape}); },
       "2023-12-20", 0},
      {"a click outside", [&] { Keys({vk::F4}); },
       [&](TDtCalendar&) {
         Keys({vk::Right});
         D.Click(*Form, 600, 350);
       },
       "2023-12-20", 0},
      {"Alt+Up and Tab", [&] { Keys({vk::F4}); },
       [&](TDtCalendar&) {
         WithKey(vk::Menu, vk::Up);
         EXPECT_EQ(Ctl->GetCalendar(), nullptr);
         Keys({vk::F4, vk::Tab});
       },
       "2023-12-20", 0},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    Changes = Drops = Closes = 0;
    D.AdvanceTime(1000);
    C.Open();
    TDtCalendar* Cal = Ctl->GetCalendar();
    ASSERT_NE(Cal, nullptr);
    EXPECT_EQ(D.TopPopup(), Cal);
    EXPECT_TRUE(Ctl->Focused());
    C.Act(*Cal);
    EXPECT_EQ(Ctl->GetCalendar(), nullptr);
    EXPECT_EQ(*FormatDateTime("yyyy-mm-dd", Ctl->GetDateTime()), C.Text);
    EXPECT_EQ(*FormatDateTime("hh:nn", Ctl->GetDateTime()), "18:30");
    EXPECT_EQ(Changes, C.Changes);
    EXPECT_GE(Drops, 1);
    EXPECT_EQ(Closes, Drops);
  }
  // Days beyond the limits cannot be picked.
  Ctl->SetMaxDate(EncodeDate(2023, 12, 22));
  Keys({vk::F4});
  TDtCalendar& Cal = *Ctl->GetCalendar();
  Keys({vk::Down});
  EXPECT_EQ(Cal.GetDay(), EncodeDate(2023, 12, 22));
  const TRect R = Cal.DayRect(EncodeDate(2023, 12, 28));
  D.Click(Cal, R.Left + 2, R.Top + 2);
  EXPECT_EQ(Ctl->GetCalendar(), &Cal);
  // The application frees its forms, popups included, before the controls that own them.
  delete &Cal;
  EXPECT_EQ(Ctl->GetCalendar(), nullptr);
  Keys({vk::F4});
  EXPECT_NE(Ctl->GetCalendar(), nullptr);
  // Steps off either end of the calendar stay at that end.
  Keys({vk::Escape});
  Ctl->SetMaxDate(0);
  Keys({vk::F4});
  TDtCalendar& Open = *Ctl->GetCalendar();
  for (const auto& [Day, Key] : {std::pair{EncodeDate(1, 1, 1), vk::Left},
                                 std::pair{EncodeDate(1, 1, 3), vk::Up},
                                 std::pair{EncodeDate(9999, 12, 31), vk::Right},
                                 std::pair{EncodeDate(9999, 12, 28), vk::Down}}) {
    Open.MoveTo(Day);
    std::uint16_t K = Key;
    Open.PopupKeyDown(K, 0);
    EXPECT_EQ(Open.GetDay(), Day < 0 ? EncodeDate(1, 1, 1) : EncodeDate(9999, 12, 31));
  }
}

TEST_F(DtPickerTest, EnterReachesOnKeyPressInAModalFormUnlessTheCalendarIsOpen) {
  auto* Dlg = new TForm(nullptr);
  Dlg->SetBounds(50, 50, 300, 200);
  auto* P = new TDateTimePicker(Dlg);
  P->SetParent(Dlg);
  P->SetFormat("dd.MM.yyyy");
  P->SetDateTime(EncodeDate(2023, 12, 24));
  std::string Seen;
  P->OnKeyPress = [&](TObject*, char32_t& Key) {
    if (Key == 13) {
      Seen += "#13 ";
      Dlg->SetModalResult(mrOk);
    }
  };
  D.WhenModal([&](TCustomForm& F) {
    EXPECT_TRUE(P->Focused());
    D.Press(F, vk::F4);
    D.Press(F, vk::Right);
    D.Press(F, vk::Return, "\r");  // picks in the calendar
    EXPECT_EQ(Seen, "");
    EXPECT_EQ(F.GetModalResult(), mrNone);
    D.Press(F, vk::Return, "\r");
  });
  EXPECT_EQ(Dlg->ShowModal(), mrOk);
  EXPECT_EQ(Seen, "#13 ");
  EXPECT_EQ(P->GetText(), "25.12.2023");
  EXPECT_EQ(D.Host().GetBeepCount(), 0);
  delete Dlg;
}

TEST_F(DtPickerTest, Pictures) {
  D.Host().SetWallClock(EncodeDateTime(2023, 12, 20, 9, 0, 0));
  Ctl->SetDateTime(EncodeDateTime(2023, 12, 24, 18, 30, 0));
  Ctl->SetFormat("dd.MM.yyyy");
  auto* Time = new TDateTimePicker(Form);
  Time->SetParent(Form);
  Time->SetBounds(10, 40, 186, 21);
  Time->SetKind(dtkTime);
  Time->SetDateTime(EncodeDateTime(2023, 12, 24, 18, 30, 5));
  auto* Off = new TDateTimePicker(Form);
  Off->SetParent(Form);
  Off->SetBounds(10, 70, 186, 21);
  Off->SetDateTime(EncodeDate(2023, 12, 24));
  Off->SetEnabled(false);
  auto* OffColoured = new TDateTimePicker(Form);
  OffColoured->SetParent(Form);
  OffColoured->SetBounds(10, 100, 186, 21);
  OffColoured->SetDateTime(EncodeDate(2023, 12, 24));
  OffColoured->SetColor(0x00E0E0E0);
  OffColoured->GetFont().SetColor(0x00808080);
  OffColoured->SetEnabled(false);
  Form->SetBounds(0, 0, 210, 135);

  // The disabled twins: the program's colours stay, untouched ones grey out.
  EXPECT_EQ(PixelOf(D.Capture(*Off), 5, 10), ColorToRGB(clBtnFace));
  EXPECT_EQ(PixelOf(D.Capture(*OffColoured), 5, 10), TColor(0x00E0E0E0));
  Ctl->SetFieldIndex(1);
  Time->SetFieldIndex(2);
  D.Settle();
  EXPECT_TRUE(MatchesGolden(D.Capture(*Form), "testdata/dtpicker_states.png"));
  Keys({vk::F4});
  EXPECT_TRUE(MatchesGolden(D.CaptureScreen(), "testdata/dtpicker_calendar.png"));
}

}  // namespace
}  // namespace kvl
