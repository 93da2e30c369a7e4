#include "kvl/platform/resources.h"

#include <algorithm>
#include <list>
#include <mutex>

namespace kvl {

namespace {

bool SameName(std::string_view A, std::string_view B) {
  auto Lower = [](char C) { return C >= 'A' && C <= 'Z' ? char(C - 'A' + 'a') : C; };
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(),
                                            [&](char X, char Y) { return Lower(X) == Lower(Y); });
}

struct TRegistered {
  std::string Name;
  std::vector<std::uint8_t> Bytes;
};

// Registered pictures, newest first. A list never moves its elements, so spans into it stay
// valid for the life of the program.
struct TRegistry {
  std::mutex Lock;
  std::list<TRegistered> Items;
};

TRegistry& Registry() {
  static TRegistry R;
  return R;
}

}  // namespace

void RegisterResource(std::string_view Name, std::vector<std::uint8_t> Bytes) {
  TRegistry& R = Registry();
  const std::lock_guard Guard(R.Lock);
  R.Items.push_front({std::string(Name), std::move(Bytes)});
}

std::optional<std::span<const std::uint8_t>> FindResource(std::string_view Name) {
  {
    TRegistry& R = Registry();
    const std::lock_guard Guard(R.Lock);
    for (const auto& Item : R.Items)
      if (SameName(Item.Name, Name)) return std::span<const std::uint8_t>(Item.Bytes);
  }
  for (const auto& E : EmbeddedResources())
    if (SameName(E.Name, Name)) return std::span<const std::uint8_t>(E.Data, E.Size);
  return std::nullopt;
}

std::vector<std::string> ResourceNames() {
  std::vector<std::string> Names;
  auto Add = [&](std::string_view N) {
    if (std::none_of(Names.begin(), Names.end(),
                     [&](const std::string& S) { return SameName(S, N); }))
      Names.emplace_back(N);
  };
  {
    TRegistry& R = Registry();
    const std::lock_guard Guard(R.Lock);
    for (const auto& Item : R.Items) Add(Item.Name);
  }
  for (const auto& E : EmbeddedResources()) Add(E.Name);
  return Names;
}

}  // namespace kvl
