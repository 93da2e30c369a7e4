// A mini calendar under a byte string read as operations: Date as any bit pattern, part writes
// (which may raise EConvertError), navigation, holidays with any numbers and captions,
// Language, FirstDayOfWeek and DayColors bytes, clicks at any place and keys; then a paint.
// After each step the date must be finite and within 0001-01-01 .. 9999-12-31, and Easter of
// any year must be no date or one from 22 March to 25 April.
#include <cmath>
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "kvl/minical/minical.h"
#include "kvl/platform/errors.h"

namespace {

using namespace kvl;
using fuzzing::Check;

struct TSetup {
  fuzzing::TFuzzForm F;
  TMiniCal* Cal;
};

TSetup& Setup() {
  static TSetup S = [] {
    TSetup T{fuzzing::MakeFuzzForm(400, 300), nullptr};
    T.F.Form->Show();
    return T;
  }();
  return S;
}

constexpr std::uint16_t Keys[] = {vk::Left, vk::Right, vk::Up,   vk::Down, vk::Prior,
                                  vk::Next, vk::Home,  vk::End,  vk::Tab,  'A'};

void Post(TSetup& S, THostEventKind Kind, int X, int Y, TMouseButton Button, std::uint16_t Key,
          TShiftState Shift) {
  THostEvent E;
  E.Kind = Kind;
  E.Window = S.F.Form->GetWindow();
  E.X = X;
  E.Y = Y;
  E.Button = Button;
  E.Key = Key;
  E.Shift = Shift;
  S.F.Host->Post(E);
  Application->ProcessMessages();
}

void CheckDate(const TMiniCal& C) {
  const TDateTime D = C.GetDate();
  Check(std::isfinite(D) && D >= -693594 && D < 2958466);
  Check(DecodeDateTime(D).has_value());
}

void CheckEaster(int Year) {
  int Day = -1, Month = -1;
  CalcEasterSunday(Year, Day, Month);
  if (Year < 1) return Check(Day == 0 && Month == 0);
  const int FromMarch = Month == 3 ? Day : Month == 4 ? 31 + Day : -1;
  Check(FromMarch >= 22 && FromMarch <= 56);
}

void Step(TSetup& S, fuzzing::TFuzzBytes& In) {
  TMiniCal& C = *S.Cal;
  const std::uint8_t Op = In.Take<std::uint8_t>();
  const auto Part = [&](void (TMiniCal::*Set)(int), int V) {
    try {
      (C.*Set)(V);
    } catch (const EConvertError&) {
    }
  };
  switch (Op % 16) {
    case 0:
      C.SetDate(In.Take<double>());
      break;
    case 1:
      Part(&TMiniCal::SetDay, In.Take<std::int8_t>());
      break;
    case 2:
      Part(&TMiniCal::SetMonth, In.Take<std::int8_t>());
      break;
    case 3:
      Part(&TMiniCal::SetYear, In.Take<std::int32_t>() % 12000);
      break;
    case 4: {
      const std::uint8_t N = In.Take<std::uint8_t>();
      (N & 3) == 0 ? C.NextMonth() : (N & 3) == 1 ? C.PrevMonth() : (N & 3) == 2 ? C.NextYear()
                                                                                   : C.PrevYear();
      if (N & 4) C.LastDayOfMonth();
      break;
    }
    case 5: {
      const int D = In.Take<std::int32_t>(), M = In.Take<std::int32_t>();
      const int Y = In.Take<std::int32_t>();
      const std::uint8_t Len = In.Take<std::uint8_t>();
      std::string Caption;
      for (int I = 0; I < Len % 24; ++I) Caption += char(In.Take<std::uint8_t>());
      if (Op & 0x10)
        C.AddRepeatHoliday(D, M, Caption);
      else
        C.AddHoliday(D, M, Y, Caption);
      break;
    }
    case 6:
      C.SetLanguage(TLanguage(In.Take<std::uint8_t>()));
      break;
    case 7:
      C.SetFirstDayOfWeek(TDayOfWeek(In.Take<std::uint8_t>()));
      break;
    case 8: {
      const auto Day = TDayOfWeek(In.Take<std::uint8_t>());
      C.SetDayColors(Day, In.Take<std::uint32_t>());
      (void)C.GetDayColors(Day);
      break;
    }
    case 9:
    case 10: {
      const int X = In.Take<std::int16_t>() % 420, Y = In.Take<std::int16_t>() % 320;
      const TMouseButton B = Op & 0x10 ? mbRight : mbLeft;
      Post(S, THostEventKind::MouseDown, X, Y, B, 0, 0);
      if (Op & 0x20) Post(S, THostEventKind::MouseMove, X + 7, Y + 50, B, 0, ssLeft);
      Post(S, THostEventKind::MouseUp, X, Y, B, 0, 0);
      break;
    }
    case 11: {
      const std::uint8_t K = In.Take<std::uint8_t>();
      const TShiftState Shift = K & 0x80 ? ssCtrl : 0;
      const std::uint16_t Key = Keys[K % std::size(Keys)];
      Post(S, THostEventKind::KeyDown, 0, 0, mbLeft, Key, Shift);
      Post(S, THostEventKind::KeyUp, 0, 0, mbLeft, Key, Shift);
      break;
    }
    case 12: {
      const int Left = In.Take<std::uint8_t>() % 40, W = In.Take<std::uint16_t>() % 400;
      const int H = In.Take<std::uint16_t>() % 300;
      C.SetBounds(Left, 0, W, H);
      break;
    }
    case 13: {
      const std::uint8_t F = In.Take<std::uint8_t>();
      C.SetCtl3D(F & 1);
      C.SetShowMovableHolidays(F & 2);
      C.SetIndicateHolidays(F & 4);
      C.SetShowMonthShort(F & 8);
      C.SetAutoSwitch(F & 16);
      C.SetShowHolidayHint(F & 32);
      if (F & 64) C.ClearHolidayList();
      break;
    }
    case 14: {
      std::string Caption;
      const int Y = In.Take<std::int32_t>(), M = In.Take<std::int8_t>();
      C.CheckHoliday(Y, M, In.Take<std::int8_t>(), Caption);
      break;
    }
    default:
      CheckEaster(In.Take<std::int32_t>());
      break;
  }
  CheckDate(C);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TSetup& S = Setup();
  S.Cal = new TMiniCal(S.F.Form);
  S.Cal->SetParent(S.F.Form);
  fuzzing::TFuzzBytes In{Data, Size};
  for (int I = 0; I < 64 && In.N > 0; ++I) Step(S, In);
  S.Cal->Invalidate();
  Application->ProcessMessages();
  CheckDate(*S.Cal);
  delete S.Cal;
  return 0;
}
