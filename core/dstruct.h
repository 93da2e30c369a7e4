// Data structures of the core library.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace kvl {

// A resizable array of doubles, indexed from 0. Reads outside the array give 0 and writes
// outside it are ignored, like every indexed store of the library.
class TDoubleArray {
public:
  TDoubleArray() = default;
  explicit TDoubleArray(std::vector<double> Values) : FData(std::move(Values)) {}

  int GetNumElems() const { return static_cast<int>(FData.size()); }
  // New elements are 0; a negative count empties the array.
  void SetNumElems(int N) { FData.resize(N > 0 ? std::size_t(N) : 0); }
  bool Empty() const { return FData.empty(); }
  void Clear() { FData.clear(); }

  double GetElem(int I) const { return InRange(I) ? FData[std::size_t(I)] : 0.0; }
  void SetElem(int I, double V) {
    if (InRange(I)) FData[std::size_t(I)] = V;
  }
  void Add(double V) { FData.push_back(V); }

  const std::vector<double>& Values() const { return FData; }
  bool operator==(const TDoubleArray&) const = default;

private:
  bool InRange(int I) const { return I >= 0 && std::size_t(I) < FData.size(); }
  std::vector<double> FData;
};

}  // namespace kvl
