// Prints the message a component error carries and a few companion-library texts.
#include <iostream>

#include "kvl/core/kvlbase.h"
#include "kvl/core/stringl.h"
#include "kvl/core/univconst.h"
#include "kvl/platform/graphics.h"

class EMyUnitError : public kvl::EKVLError {
public:
  using kvl::EKVLError::EKVLError;
};

int main() {
  try {
    kvl::RaiseComponentError<EMyUnitError>("NumIO1", kvl::rsNoTimer);
  } catch (const kvl::EKVLError& E) {
    std::cout << E.Message() << '\n';
  }
  std::cout << kvl::MonthLong(kvl::lgGerman, 3) << ' ' << kvl::strff(2.675, 8, 2) << '\n';
  std::cout << std::hex << kvl::ColorToRGB(kvl::clBtnFace) << '\n';
}
