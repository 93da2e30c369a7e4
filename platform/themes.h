// Visual styles. The framework draws the classic look only, so components take their
// fixed-colour paths; the question stays in one place for a themed look to answer later.
#pragma once

namespace kvl {

inline bool StyleServicesEnabled() { return false; }

}  // namespace kvl
