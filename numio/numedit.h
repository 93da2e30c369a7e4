// TNumIO: a numeric edit box. The user edits freely; after every change the box checks the
// whole text against its input format and range and puts back the last accepted text when it
// fails.
//
// RangeLow and RangeHigh never cross: setting one at or beyond the other swaps the two, so the
// result of setting both depends on the order of the calls. Setting RangeLow to 5 while the
// range is 0 ... 0 gives 0 ... 5, and a following RangeHigh of 10 gives 0 ... 10, not 5 ... 10.
// To move a range in one step, set first the bound that moves away from the other one (raising:
// RangeHigh first; lowering: RangeLow first). Hosts rely on this order rule as it is.
#pragma once

#include <string>
#include <string_view>

#include "kvl/core/kvlbase.h"
#include "kvl/numio/numio.h"
#include "kvl/platform/stdctrls.h"

namespace kvl {

class TNumIO : public TCustomEdit {
public:
  // A box created on a designing owner accepts every number; one created at run time has the
  // range 0 ... 0 and so accepts only 0 until its range is set.
  explicit TNumIO(TComponent* AOwner);

  // From another TNumIO: InputFormat, Beep, RangeLow, RangeHigh and DecPlaceSep.
  void Assign(const TPersistent* Source) override;

  TInFormat GetInputFormat() const { return FInputFormat; }
  void SetInputFormat(TInFormat Value);
  TDecPSep GetDecPlaceSep() const { return FDecPlaceSep; }
  void SetDecPlaceSep(TDecPSep Value);
  double GetRangeLow() const { return FRangeLow; }
  void SetRangeLow(double Value);
  double GetRangeHigh() const { return FRangeHigh; }
  void SetRangeHigh(double Value);
  // Decimals under itFixPoint, 1 ... 8; no re-check.
  int GetFixPointDecPlaces() const { return FFixPointDecPlaces; }
  void SetFixPointDecPlaces(int Value);
  bool GetBeep() const { return FBeep; }
  void SetBeep(bool Value) { FBeep = Value; }

  // The number in the text (either separator; 0 when the text is no number). Writing puts the
  // value's text form in without checking it and without OnChange.
  double GetValue() const;
  void SetValue(double Value);

  // Text to value in this box's format and separator mode. An empty text fails and leaves
  // Value alone; a decimal integer beyond the 32-bit range fails.
  bool ConvertNumString(std::string_view Instring, double& Value) const;

  // The text the last successful check accepted (empty until one did).
  const std::string& GetLastAccepted() const { return FLastAccepted; }

protected:
  // The check after every change of the text.
  void Change() override;

private:
  TSepMode SepMode() const;
  void CheckText();
  // The setters' re-check: the last accepted text is forgotten, then the text checked again.
  void Recheck();
  // Puts S into the edit without checking it, the caret at Caret (clamped).
  void PutText(const std::string& S, int Caret);

  TInFormat FInputFormat = itDynamic;
  TDecPSep FDecPlaceSep = dpsLocale;
  double FRangeLow = 0;
  double FRangeHigh = 0;
  int FFixPointDecPlaces = 2;
  bool FBeep = false;
  std::string FLastAccepted;
  bool FInternalChange = false;  // the next change notification is the box's own write
};

}  // namespace kvl
