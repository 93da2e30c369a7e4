// The framework's own error classes.
#pragma once

#include "kvl/core/kvlbase.h"

namespace kvl {

// A value that cannot be converted or assigned ("Cannot assign a TFont to a TPen").
class EConvertError : public Exception {
public:
  using Exception::Exception;
};

// A file that cannot be read or written.
class EInOutError : public Exception {
public:
  using Exception::Exception;
};

// A request the library refuses to allocate (a bitmap beyond the size limits, a timer the host
// will not give).
class EOutOfResources : public Exception {
public:
  using Exception::Exception;
};

// A call that is not allowed in the object's present state (a control made its own parent).
class EInvalidOperation : public Exception {
public:
  using Exception::Exception;
};

}  // namespace kvl
