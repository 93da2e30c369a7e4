// Permission cases under root: root ignores missing read and write permissions, so a check
// that relies on them runs in a child process that has given up root (as "nobody"). Without
// root it simply runs here. The check must not use test assertions; it returns its verdict.
#pragma once

#include <functional>

namespace kvl {

enum class TWithoutRoot { Passed, Failed, CannotDropRoot };

TWithoutRoot RunWithoutRoot(const std::function<bool()>& Check);

}  // namespace kvl
