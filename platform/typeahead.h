// Type-ahead: characters typed close together form a prefix, and the list moves to the next
// item that starts with it. One matcher serves every list the user types into (list box,
// combo box, tree view); the list supplies its items by index.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace kvl {

class TTypeAhead {
public:
  // Characters typed at most this long after the previous one extend the prefix.
  static constexpr std::int64_t PauseMs = 1000;

  // The text of item I (0 <= I < Count).
  using TItemText = std::function<std::string(int I)>;

  // A character typed at time NowMs (the host's clock) into a list of Count items whose current
  // item is Current (-1 for none). Answers the item to move to: the first one at or after
  // Current (wrapping round) whose text starts with the prefix, ASCII case ignored; the same
  // character typed again steps to the next match. -1 when none matches.
  int KeyTyped(char32_t Key, std::int64_t NowMs, int Current, int Count, const TItemText& Text);
  // Any other key: the next character starts a new prefix.
  void Reset() { FPrefix.clear(); }
  const std::string& GetPrefix() const { return FPrefix; }

private:
  std::string FPrefix;
  std::int64_t FLast = 0;
};

}  // namespace kvl
