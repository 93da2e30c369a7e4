// The text filter of the report list view: one expression, read once, matched against texts.
#pragma once

#include <memory>
#include <string_view>

#include "kvl/replist/replist.h"

namespace kvl {

class TTextFilter {
public:
  // Longer grep patterns are refused like malformed ones.
  static constexpr std::size_t MaxPatternBytes = 1000;

  TTextFilter(std::string_view Expression, TFilterMode Mode, bool IgnoreCase);
  ~TTextFilter();
  TTextFilter(const TTextFilter&) = delete;
  TTextFilter& operator=(const TTextFilter&) = delete;

  // False for an expression that could not be read: it then matches every text.
  bool Valid() const;
  // An empty expression matches every text.
  bool Matches(std::string_view Text) const;

private:
  struct TImpl;
  std::unique_ptr<TImpl> FImpl;
};

}  // namespace kvl
