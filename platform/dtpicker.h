// The date-time picker: a date or a time shown in a format of field tokens (dtformat.h) and
// edited a field at a time: Left and Right move between the fields, Up and Down step the
// focused one (with wrap-round), Home and End take its first and last value, digits type into
// it, letters choose month and weekday names, A and P the half-day. A date picker in
// dmComboBox mode has a button that drops down a month calendar (also F4 and Alt+Down); a
// time picker, and a date picker in dmUpDown mode, has up-down buttons that step the focused
// field instead.
//
// Program writes of DateTime, Date and Time fire nothing; every change by the user fires
// OnChange. Values that are not finite or lie outside the years 1 to 9999 are ignored; MinDate
// and MaxDate (0: no limit; taken in order when MinDate > MaxDate) bound the date of every
// value, user edits and program writes alike.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "kvl/platform/comctrls.h"
#include "kvl/platform/dtformat.h"
#include "kvl/platform/popups.h"
#include "kvl/platform/typeahead.h"

namespace kvl {

enum TDateTimeKind : std::uint8_t { dtkDate, dtkTime };
enum TDTDateMode : std::uint8_t { dmComboBox, dmUpDown };

class TDtCalendar;

class TDateTimePicker : public TCustomControl {
public:
  explicit TDateTimePicker(TComponent* AOwner);
  ~TDateTimePicker() override;

  TDateTimeKind GetKind() const { return FKind; }
  void SetKind(TDateTimeKind Value);
  TDTDateMode GetDateMode() const { return FDateMode; }
  void SetDateMode(TDTDateMode Value);
  // Empty: "yyyy-MM-dd" for dates, "HH:mm:ss" for times.
  const std::string& GetFormat() const { return FFormat; }
  void SetFormat(const std::string& Value);

  TDateTime GetDateTime() const { return FDateTime; }
  void SetDateTime(TDateTime Value);
  // The date at 00:00; writing it keeps the time of day.
  TDateTime GetDate() const;
  void SetDate(TDateTime Value);
  // The time of day; writing it keeps the date.
  TDateTime GetTime() const;
  void SetTime(TDateTime Value);
  TDateTime GetMinDate() const { return FMinDate; }
  void SetMinDate(TDateTime Value);
  TDateTime GetMaxDate() const { return FMaxDate; }
  void SetMaxDate(TDateTime Value);

  // The text shown; read only.
  void SetText(const std::string&) override {}

  // The editable fields of the format and the one that has the focus (-1 when the format has
  // none).
  int GetFieldCount() const { return static_cast<int>(FFields.size()); }
  int GetFieldIndex() const { return FField; }
  void SetFieldIndex(int Index);
  // The field's place in the client area (empty outside the range).
  TRect FieldRect(int Index) const;
  // The drop-down button or the up-down buttons (empty when there are none).
  TRect ButtonRect() const;
  TUpDown* GetUpDown() const { return FUpDown; }

  // The calendar while it is open, else nullptr.
  TDtCalendar* GetCalendar() const;
  bool GetDroppedDown() const { return GetCalendar() != nullptr; }
  // Opens or closes the calendar as the button does; a picker without one does nothing.
  void SetDroppedDown(bool Value);

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

  bool WantsKey(std::uint16_t Key, TShiftState Shift) const override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseCaptureLost() override;
  void FocusIn() override;
  void FocusOut() override;

protected:
  virtual void Change();
  virtual void DropDown();
  virtual void CloseUp();
  void Paint() override;
  void PaintBorder(TCanvas& C) override;
  void SizeChanged(int OldWidth, int OldHeight) override;
  void FontChanged() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend class TDtCalendar;
  bool HasCalendar() const { return FKind == dtkDate && FDateMode == dmComboBox; }
  // Parses the format, places the buttons and shows the text anew.
  void Rebuild();
  void UpdateText();
  // The value clamped to the date limits; the input when it cannot be decoded.
  TDateTime Clamped(TDateTime Value) const;
  // Stores a value; true when it changed.
  bool Store(TDateTime Value);
  // A change by the user: stored, then OnChange when it changed.
  void UserChange(const TDateTimeParts& Parts);
  void UserChange(TDateTime Value);
  TDateTimeParts Parts() const;
  const TDtToken* FocusedToken() const;
  void StepField(int Delta);
  void MoveField(int Delta);
  void TypeName(char32_t Key);
  // The calendar picked Day: the date changes, the time of day stays.
  void CalendarPicked(TDateTime Day);
  void CalendarClosed();
  int TextLeft() const;

  TDateTimeKind FKind = dtkDate;
  TDTDateMode FDateMode = dmComboBox;
  std::string FFormat;
  TDateTime FDateTime = 0;
  TDateTime FMinDate = 0, FMaxDate = 0;
  std::vector<TDtToken> FTokens;
  std::vector<int> FFields;  // token indexes of the editable fields
  int FField = -1;
  TDtDigits FDigits;
  TTypeAhead FNames;
  TUpDown* FUpDown = nullptr;
  TDtCalendar* FCalendar = nullptr;  // owned as a component; made at the first opening
  bool FButtonDown = false;
};

}  // namespace kvl
