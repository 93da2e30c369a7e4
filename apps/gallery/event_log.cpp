#include "event_log.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "kvl/platform/errors.h"

namespace kvl::gallery {

namespace {
struct TCloser {
  void operator()(std::FILE* F) const { std::fclose(F); }
};
std::unique_ptr<std::FILE, TCloser>& Log() {
  static std::unique_ptr<std::FILE, TCloser> File;
  return File;
}
}  // namespace

void OpenEventLog(const std::string& FileName) {
  std::FILE* F = std::fopen(FileName.c_str(), "w");
  if (!F) throw EInOutError("cannot write the event log \"" + FileName + "\": " + std::strerror(errno));
  Log().reset(F);
}

void LogEvent(const std::string& Line) {
  std::FILE* F = Log().get();
  if (!F) return;
  std::fprintf(F, "%s\n", Line.c_str());
  std::fflush(F);
}

}  // namespace kvl::gallery
