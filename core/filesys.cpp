// File-system path arithmetic: parents, lexical normalisation, containment by components,
// the current and the home folder, and the splitting of new folder names.
#include "kvl/core/filesys.h"

#include <limits.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

namespace kvl {

namespace {

bool HoldsNul(std::string_view S) { return S.find('\0') != std::string_view::npos; }

// The components of an absolute path after resolving ".", ".." and empty ones.
std::vector<std::string_view> Components(std::string_view Path) {
  std::vector<std::string_view> Out;
  std::size_t I = 0;
  while (I < Path.size()) {
    const std::size_t J = std::min(Path.find('/', I), Path.size());
    const std::string_view C = Path.substr(I, J - I);
    if (C == "..") {
      if (!Out.empty()) Out.pop_back();
    } else if (!C.empty() && C != ".") {
      Out.push_back(C);
    }
    I = J + 1;
  }
  return Out;
}

std::string Join(const std::vector<std::string_view>& Parts) {
  std::string S = "/";
  for (const std::string_view P : Parts) {
    S.append(P);
    S.push_back('/');
  }
  return S;
}

}  // namespace

bool DirExists(std::string_view Path) noexcept {
  if (Path.empty() || HoldsNul(Path)) return false;
  try {
    struct stat St;
    return ::stat(std::string(Path).c_str(), &St) == 0 && S_ISDIR(St.st_mode);
  } catch (...) {
    return false;
  }
}

std::string ParentDir(std::string_view Path) {
  std::size_t End = Path.size();
  while (End > 0 && Path[End - 1] == '/') --End;
  if (End == 0) return {};
  const std::size_t Slash = Path.rfind('/', End - 1);
  if (Slash == std::string_view::npos) return {};
  std::size_t Keep = Slash;
  while (Keep > 0 && Path[Keep - 1] == '/') --Keep;
  return std::string(Path.substr(0, Keep)) + "/";
}

std::string NormalizePath(std::string_view Path, std::string_view Base) {
  if (Path.empty() || HoldsNul(Path)) return {};
  if (Path.front() == '/') return Join(Components(Path));
  std::string Start(Base);
  if (Start.empty() || Start.front() != '/') Start = CurrentDir();
  if (Start.empty()) return {};
  Start.push_back('/');
  Start.append(Path);
  return Join(Components(Start));
}

bool IsPathWithin(std::string_view Path, std::string_view Root) {
  if (Path.empty() || Root.empty() || Path.front() != '/' || Root.front() != '/' ||
      HoldsNul(Path) || HoldsNul(Root))
    return false;
  const auto P = Components(Path), R = Components(Root);
  if (R.size() > P.size()) return false;
  for (std::size_t I = 0; I < R.size(); ++I)
    if (P[I] != R[I]) return false;
  return true;
}

std::string CurrentDir() {
  std::unique_ptr<char, decltype(&std::free)> Cwd(::getcwd(nullptr, 0), &std::free);
  if (!Cwd || Cwd.get()[0] != '/') return {};
  return Join(Components(Cwd.get()));
}

std::string HomeDir() {
  const char* Home = std::getenv("HOME");
  if (Home && Home[0] == '/' && DirExists(Home)) return Join(Components(Home));
  long Size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> Buf(std::size_t(Size > 0 ? Size : 16384));
  struct passwd Pw, *Found = nullptr;
  if (::getpwuid_r(::getuid(), &Pw, Buf.data(), Buf.size(), &Found) == 0 && Found &&
      Found->pw_dir && Found->pw_dir[0] == '/' && DirExists(Found->pw_dir))
    return Join(Components(Found->pw_dir));
  return "/";
}

bool SplitNewFolderName(std::string_view Base, std::string_view Name,
                        std::vector<std::string>& Components) {
  std::vector<std::string> Parts;
  std::size_t Total = Base.size();
  std::size_t I = 0;
  while (I < Name.size()) {
    std::size_t J = I;
    while (J < Name.size() && Name[J] != '/' && Name[J] != '\\') ++J;
    const std::string_view C = Name.substr(I, J - I);
    I = J + 1;
    if (C.empty()) continue;
    if (C.front() == '.' || C.size() > 255) return false;
    for (const char Ch : C) {
      const auto B = static_cast<unsigned char>(Ch);
      if (B < 32 || Ch == '"' || Ch == '<' || Ch == '>' || Ch == '|') return false;
    }
    Total += C.size() + 1;
    Parts.emplace_back(C);
  }
  if (Parts.empty() || Total >= PATH_MAX) return false;
  Components = std::move(Parts);
  return true;
}

}  // namespace kvl
