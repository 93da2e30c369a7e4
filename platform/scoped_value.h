// Sets a variable for the length of a scope and puts the old value back when the scope ends,
// also by an exception (a re-entrancy flag, the region of a paint cycle).
#pragma once

namespace kvl {

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

}  // namespace kvl
