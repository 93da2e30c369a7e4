// Scope guards: what a scope changes or owes is put right when it ends, also by an exception.
#pragma once

#include <utility>

namespace kvl {

// Sets a variable for the length of a scope and puts the old value back (a re-entrancy flag,
// the region of a paint cycle).
template <class T>
class TScopedValue {
public:
  TScopedValue(T& Slot, T Value) : FSlot(Slot), FOld(Slot) { FSlot = Value; }
  ~TScopedValue() { FSlot = FOld; }
  TScopedValue(const TScopedValue&) = delete;
  TScopedValue& operator=(const TScopedValue&) = delete;

private:
  T& FSlot;
  T FOld;
};

// Runs a function when a scope ends (clean-up that must happen whatever way out is taken).
template <class F>
class TScopeExit {
public:
  explicit TScopeExit(F Fn) : FFn(std::move(Fn)) {}
  ~TScopeExit() { FFn(); }
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;

private:
  F FFn;
};

}  // namespace kvl
