#include "kvl/testing/without_root.h"

#include <sys/wait.h>
#include <unistd.h>

namespace kvl {

TWithoutRoot RunWithoutRoot(const std::function<bool()>& Check) {
  if (::geteuid() != 0) return Check() ? TWithoutRoot::Passed : TWithoutRoot::Failed;
  const pid_t Child = ::fork();
  if (Child < 0) return TWithoutRoot::CannotDropRoot;
  if (Child == 0) {
    const bool Dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
    ::_exit(!Dropped ? 2 : Check() ? 0 : 1);
  }
  int Status = 0;
  if (::waitpid(Child, &Status, 0) != Child || !WIFEXITED(Status)) return TWithoutRoot::Failed;
  switch (WEXITSTATUS(Status)) {
    case 0:
      return TWithoutRoot::Passed;
    case 2:
      return TWithoutRoot::CannotDropRoot;
    default:
      return TWithoutRoot::Failed;
  }
}

}  // namespace kvl
