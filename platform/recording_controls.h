// Test controls that write down what happens to them and paint a plain colour.
#pragma once

#include <string>
#include <vector>

#include "kvl/platform/controls.h"

namespace kvl::test {

using TLog = std::vector<std::string>;

inline std::string At(int X, int Y) { return std::to_string(X) + "," + std::to_string(Y); }

template <class Base>
class TRecording : public Base {
public:
  TRecording(TComponent* Owner, TWinControl* Parent, TLog* Log, const std::string& Name)
      : Base(Owner), FLog(Log) {
    this->SetName(Name);
    this->SetParent(Parent);
  }
  int Paints = 0;
  TColor Fill = clRed;

  void Click() override { Note("click"); }
  void DblClick() override { Note("dblclick"); }
  void MouseDown(TMouseButton B, TShiftState S, int X, int Y) override {
    Note(std::string("down") +
         (B == mbLeft    ? "L"
          : B == mbRight ? "R"
                         : "M") +
         ((S & ssDouble) ? "2 " : " ") + At(X, Y));
  }
  void MouseMove(TShiftState S, int X, int Y) override {
    Note(std::string("move") + ((S & ssLeft) ? "L " : " ") + At(X, Y));
  }
  void MouseUp(TMouseButton B, TShiftState, int X, int Y) override {
    Note(std::string("up") + (B == mbLeft ? "L " : B == mbRight ? "R " : "M ") + At(X, Y));
  }
  void MouseEnter() override { Note("enter"); }
  void MouseLeave() override { Note("leave"); }

protected:
  void Paint() override {
    ++Paints;
    TCanvas* C = this->GetCanvas();
    C->GetBrush().SetColor(Fill);
    C->FillRect(this->GetClientRect());
  }
  void Note(const std::string& What) {
    if (FLog) FLog->push_back(this->GetName() + " " + What);
  }

private:
  TLog* FLog;
};

using TRecGraphic = TRecording<TGraphicControl>;
using TRecWindowed = TRecording<TCustomControl>;

}  // namespace kvl::test
