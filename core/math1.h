// Numeric routines of the numeric library.
#pragma once

#include <string_view>

namespace kvl {

// The largest integer not greater than X, saturated to the int range (NaN gives 0).
int IntNeg(double X);

// True for an optional sign followed by 1 to 10 decimal digits whose value fits in 32 bits,
// so a caller converting the text can never overflow.
bool IsValidDecInt(std::string_view S);

}  // namespace kvl
