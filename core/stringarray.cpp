// TStringArray: cells, dimensions, rows, attributes and the text pool. Sorting lives in
// stringarray_sort.cpp.
#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <new>

#include "kvl/core/dstruct.h"
#include "kvl/core/stringl.h"

namespace kvl {

namespace {

constexpr std::uint32_t Leaving = std::numeric_limits<std::uint32_t>::max();
constexpr std::size_t MinPoolBytes = 4096;

// Bytes of Rows x Stride cells; unsatisfiable sizes fail like any allocation.
std::size_t CellBytes(std::size_t Rows, std::size_t Stride) {
  constexpr std::size_t Max = std::numeric_limits<std::size_t>::max() / 16;
  if (Rows != 0 && Stride > Max / Rows) throw std::bad_alloc();
  return Rows * Stride * 16;
}

std::size_t RoundUp(std::size_t N, std::size_t Step) {
  const std::size_t R = (N + Step - 1) / Step * Step;
  if (R < N) throw std::bad_alloc();
  return R;
}

bool IsBlank(char C) { return C == ' ' || C == '\t'; }
bool IsDigit(char C) { return C >= '0' && C <= '9'; }

}  // namespace

void TStringArray::TFreeDeleter::operator()(void* P) const noexcept { std::free(P); }

TStringArray::TCellBlock TStringArray::AllocCells(std::size_t Rows, std::size_t Stride) {
  const std::size_t Bytes = CellBytes(Rows, Stride);
  if (Bytes == 0) return nullptr;
  // calloc: zero bytes are empty cells, and untouched pages of a large block stay unmapped.
  void* P = std::calloc(Bytes / 16, 16);
  if (!P) throw std::bad_alloc();
  return TCellBlock(static_cast<TCell*>(P));
}

TStringArray::TStringArray() noexcept = default;
TStringArray::~TStringArray() = default;

TStringArray::TStringArray(const TStringArray& Other)
    : FNrCols(Other.FNrCols),
      FNrRows(Other.FNrRows),
      FAllocRowsBy(Other.FAllocRowsBy),
      FMaxCellLength(Other.FMaxCellLength),
      FOrder(Other.FOrder),
      FRowAttr(Other.FRowAttr),
      FColAttr(Other.FColAttr) {
  const std::size_t Rows = std::size_t(FNrRows);
  FCells = AllocCells(Rows, Stride());
  FCapRows = Rows;
  if (Rows) std::memcpy(FCells.get(), Other.FCells.get(), CellBytes(Rows, Stride()));
  if (Other.FPoolSize) {
    FPool.reset(static_cast<char*>(std::malloc(Other.FPoolSize)));
    if (!FPool) throw std::bad_alloc();
    std::memcpy(FPool.get(), Other.FPool.get(), Other.FPoolSize);
    FPoolSize = FPoolCap = Other.FPoolSize;
    FPoolGarbage = Other.FPoolGarbage;
  }
}

TStringArray& TStringArray::operator=(const TStringArray& Other) {
  if (this != &Other) {
    TStringArray Copy(Other);
    SwapData(Copy);
  }
  return *this;
}

TStringArray::TStringArray(TStringArray&& Other) noexcept { SwapData(Other); }

TStringArray& TStringArray::operator=(TStringArray&& Other) noexcept {
  SwapData(Other);
  return *this;
}

void TStringArray::SwapData(TStringArray& Other) noexcept {
  using std::swap;
  swap(FNrCols, Other.FNrCols);
  swap(FNrRows, Other.FNrRows);
  swap(FAllocRowsBy, Other.FAllocRowsBy);
  swap(FMaxCellLength, Other.FMaxCellLength);
  swap(FCells, Other.FCells);
  swap(FCapRows, Other.FCapRows);
  swap(FPool, Other.FPool);
  swap(FPoolSize, Other.FPoolSize);
  swap(FPoolCap, Other.FPoolCap);
  swap(FPoolGarbage, Other.FPoolGarbage);
  swap(FOrder, Other.FOrder);
  swap(FInverse, Other.FInverse);
  swap(FInverseValid, Other.FInverseValid);
  swap(FRowAttr, Other.FRowAttr);
  swap(FColAttr, Other.FColAttr);
}

void TStringArray::SetAllocRowsBy(int N) { FAllocRowsBy = std::clamp(N, 1, 1 << 20); }

void TStringArray::SetMaxCellLength(int N) {
  FMaxCellLength = std::clamp(N, 0, MaxCellLengthLimit);
}

// --- cells and the text pool ----------------------------------------------------------------

std::string_view TStringArray::CellText(const TCell& C) const {
  if (C.Pooled()) return {FPool.get() + C.Offset(), C.Length()};
  return {reinterpret_cast<const char*>(C.B), C.Length()};
}

void TStringArray::ReleaseCell(TCell& C) noexcept {
  if (C.Pooled()) {
    FPoolGarbage += C.Length();
    // Once nothing in the pool is used any more, it starts again from its beginning.
    if (FPoolGarbage == FPoolSize) FPoolSize = FPoolGarbage = 0;
  }
  C = TCell{};
}

void TStringArray::ReleaseRow(std::size_t Phys) noexcept {
  TCell* Row = FCells.get() + Phys * Stride();
  for (std::size_t I = 0; I < Stride(); ++I) ReleaseCell(Row[I]);
}

void TStringArray::StoreText(TCell& C, std::string_view Text) {
  if (Text.size() <= TCell::InlineMax) {
    TCell New{};
    std::memcpy(New.B, Text.data(), Text.size());
    New.B[TCell::TagByte] = static_cast<unsigned char>(Text.size());
    ReleaseCell(C);
    C = New;
    return;
  }
  if (C.Pooled() && C.Length() >= Text.size()) {
    // Reuse the old place; the unused tail counts as garbage until the next compaction.
    const std::uint64_t Off = C.Offset();
    std::memmove(FPool.get() + Off, Text.data(), Text.size());
    FPoolGarbage += C.Length() - Text.size();
    C.SetPooled(Off, Text.size());
    return;
  }
  // The text may lie in the pool itself, which may move below.
  std::string Copy;
  const auto Addr = reinterpret_cast<std::uintptr_t>(Text.data());
  const auto PoolAddr = reinterpret_cast<std::uintptr_t>(FPool.get());
  if (FPool && Addr >= PoolAddr && Addr < PoolAddr + FPoolCap) {
    Copy.assign(Text);
    Text = Copy;
  }
  PoolReserve(Text.size());
  const std::size_t Off = FPoolSize;
  std::memcpy(FPool.get() + Off, Text.data(), Text.size());
  FPoolSize += Text.size();
  ReleaseCell(C);
  C.SetPooled(Off, Text.size());
}

void TStringArray::PoolReserve(std::size_t Len) {
  if (FPoolCap - FPoolSize >= Len) return;
  const std::size_t Live = FPoolSize - FPoolGarbage;
  if (FPoolGarbage >= Live && FPoolGarbage >= Len) {
    CompactPool(std::max(MinPoolBytes, 2 * (Live + Len)));
    return;
  }
  const std::size_t NewCap = std::max({FPoolSize + Len, 2 * FPoolCap, MinPoolBytes});
  char* Old = FPool.release();
  void* P = std::realloc(Old, NewCap);
  if (!P) {
    FPool.reset(Old);
    throw std::bad_alloc();
  }
  FPool.reset(static_cast<char*>(P));
  FPoolCap = NewCap;
}

void TStringArray::CompactPool(std::size_t NewCap) {
  TCharBlock New(static_cast<char*>(std::malloc(NewCap)));
  if (!New) throw std::bad_alloc();
  std::size_t W = 0;
  TCell* C = FCells.get();
  for (std::size_t I = 0, N = std::size_t(FNrRows) * Stride(); I < N; ++I)
    if (C[I].Pooled()) {
      std::memcpy(New.get() + W, FPool.get() + C[I].Offset(), C[I].Length());
      C[I].SetPooled(W, C[I].Length());
      W += C[I].Length();
    }
  FPool = std::move(New);
  FPoolCap = NewCap;
  FPoolSize = W;
  FPoolGarbage = 0;
}

void TStringArray::TrimPool() noexcept {
  const std::size_t Live = FPoolSize - FPoolGarbage;
  if (Live == 0) {
    FPool.reset();
    FPoolSize = FPoolCap = FPoolGarbage = 0;
  } else if (FPoolGarbage > Live && FPoolCap > 16 * MinPoolBytes) {
    try {
      CompactPool(std::max(MinPoolBytes, Live + Live / 2));
    } catch (const std::bad_alloc&) {
      // Keeping the larger pool is harmless.
    }
  }
}

std::string TStringArray::GetString(int Col, int Row) const {
  return std::string(GetStringView(Col, Row));
}

std::string_view TStringArray::GetStringView(int Col, int Row) const {
  if (!InTable(Col, Row)) return {};
  return CellText(CellAt(Col, FOrder[std::size_t(Row - 1)]));
}

void TStringArray::SetString(int Col, int Row, std::string_view Text) {
  if (!InTable(Col, Row)) return;
  if (Text.size() > std::size_t(FMaxCellLength))
    Text = Text.substr(0, Utf8Offset(Text, FMaxCellLength));
  StoreText(CellAt(Col, FOrder[std::size_t(Row - 1)]), Text);
  Changed();
}

double TStringArray::GetAsNumber(int Col, int Row) const {
  double X = 0;
  return ParseNumber(GetStringView(Col, Row), X) ? X : 0.0;
}

bool TStringArray::ParseNumber(std::string_view S, double& X) {
  std::size_t B = 0, E = S.size();
  while (B < E && IsBlank(S[B])) ++B;
  while (E > B && IsBlank(S[E - 1])) --E;
  std::size_t I = B;
  const bool Negative = I < E && S[I] == '-';
  if (I < E && (S[I] == '+' || S[I] == '-')) ++I;
  const std::size_t MantissaStart = I;
  std::size_t Digits = 0, Comma = std::string_view::npos;
  while (I < E && IsDigit(S[I])) ++I, ++Digits;
  if (I < E && (S[I] == '.' || S[I] == ',')) {
    if (S[I] == ',') Comma = I;
    ++I;
    while (I < E && IsDigit(S[I])) ++I, ++Digits;
  }
  if (Digits == 0) return false;
  bool NegativeExponent = false;
  if (I < E && (S[I] == 'e' || S[I] == 'E')) {
    ++I;
    NegativeExponent = I < E && S[I] == '-';
    if (I < E && (S[I] == '+' || S[I] == '-')) ++I;
    std::size_t ExpDigits = 0;
    while (I < E && IsDigit(S[I])) ++I, ++ExpDigits;
    if (ExpDigits == 0) return false;
  }
  if (I != E) return false;

  // from_chars takes neither "+" nor ",": hand it the digits with "." as separator.
  std::string_view Body = S.substr(MantissaStart, E - MantissaStart);
  std::string Fixed;
  if (Comma != std::string_view::npos) {
    Fixed.assign(Body);
    Fixed[Comma - MantissaStart] = '.';
    Body = Fixed;
  }
  double V = 0;
  const auto R = std::from_chars(Body.data(), Body.data() + Body.size(), V);
  if (R.ec == std::errc::result_out_of_range)
    V = NegativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
  else if (R.ec != std::errc() || R.ptr != Body.data() + Body.size())
    return false;
  X = Negative ? -V : V;
  return true;
}

// --- attributes -----------------------------------------------------------------------------

std::uint8_t TStringArray::GetRowAttrib(int Row) const {
  if (Row < 1 || Row > FNrRows) return 0;
  return FRowAttr[FOrder[std::size_t(Row - 1)]];
}

void TStringArray::SetRowAttrib(int Row, std::uint8_t Attrib) {
  if (Row < 1 || Row > FNrRows) return;
  FRowAttr[FOrder[std::size_t(Row - 1)]] = Attrib;
}

std::uint8_t TStringArray::GetColAttrib(int Col) const {
  if (Col < 0 || std::size_t(Col) >= FColAttr.size()) return 0;
  return FColAttr[std::size_t(Col)];
}

void TStringArray::SetColAttrib(int Col, std::uint8_t Attrib) {
  if (Col < 0 || Col > FNrCols) return;
  // Column attributes are kept up to the highest one set; the others read as 0.
  if (std::size_t(Col) >= FColAttr.size()) {
    if (Attrib == 0) return;
    FColAttr.resize(Stride(), 0);
  }
  FColAttr[std::size_t(Col)] = Attrib;
}

// --- dimensions -----------------------------------------------------------------------------

std::size_t TStringArray::GrownCapacity(std::size_t Rows) const {
  if (Rows <= FCapRows) return FCapRows;
  return RoundUp(std::max(Rows, FCapRows + FCapRows / 2), std::size_t(FAllocRowsBy));
}

void TStringArray::ReserveRows(std::size_t Rows) {
  const std::size_t NewCap = GrownCapacity(Rows);
  if (FOrder.capacity() < Rows) FOrder.reserve(NewCap);
  if (FRowAttr.capacity() < Rows) FRowAttr.reserve(NewCap);
  if (NewCap == FCapRows) return;
  const std::size_t Bytes = CellBytes(NewCap, Stride());
  TCell* Old = FCells.release();
  void* P = std::realloc(Old, Bytes);
  if (!P) {
    FCells.reset(Old);
    throw std::bad_alloc();
  }
  FCells.reset(static_cast<TCell*>(P));
  const std::size_t Used = CellBytes(FCapRows, Stride());
  std::memset(reinterpret_cast<char*>(P) + Used, 0, Bytes - Used);
  FCapRows = NewCap;
}

void TStringArray::AppendRows(std::size_t Rows) noexcept {
  for (std::size_t P = std::size_t(FNrRows); P < Rows; ++P)
    FOrder.push_back(static_cast<std::uint32_t>(P));
  FRowAttr.resize(Rows, 0);
  FNrRows = static_cast<int>(Rows);
}

bool TStringArray::KeepsPhysicalPrefix(std::size_t Rows) const {
  for (std::size_t I = 0; I < Rows; ++I)
    if (FOrder[I] >= Rows) return false;
  return true;
}

void TStringArray::ShrinkRows(std::size_t Rows, std::vector<std::uint32_t>& Scratch) noexcept {
  const std::size_t N = std::size_t(FNrRows), S = Stride();
  if (Scratch.empty()) {
    // The shown rows that stay are the first physical ones: the rest simply leave.
    for (std::size_t P = Rows; P < N; ++P) ReleaseRow(P);
  } else {
    // Shown rows from Rows on leave; the rest close up keeping their physical order.
    std::fill(Scratch.begin(), Scratch.end(), 0);
    for (std::size_t I = Rows; I < N; ++I) Scratch[FOrder[I]] = Leaving;
    std::size_t W = 0;
    for (std::size_t P = 0; P < N; ++P) {
      if (Scratch[P] == Leaving) {
        ReleaseRow(P);
        continue;
      }
      if (W != P) {
        std::memcpy(FCells.get() + W * S, FCells.get() + P * S, S * sizeof(TCell));
        FRowAttr[W] = FRowAttr[P];
      }
      Scratch[P] = static_cast<std::uint32_t>(W++);
    }
    std::memset(static_cast<void*>(FCells.get() + Rows * S), 0, (N - Rows) * S * sizeof(TCell));
    for (std::size_t I = 0; I < Rows; ++I) FOrder[I] = Scratch[FOrder[I]];
  }
  FOrder.resize(Rows);
  FRowAttr.resize(Rows);
  FNrRows = static_cast<int>(Rows);
  FInverseValid = false;
}

void TStringArray::TrimCapacity() noexcept {
  const std::size_t Step = std::size_t(FAllocRowsBy);
  const std::size_t Fit = (std::size_t(FNrRows) + Step - 1) / Step * Step;
  if (FCapRows <= 2 * Fit + Step) return;
  if (Fit == 0) {
    FCells.reset();
  } else {
    void* P = std::realloc(FCells.get(), Fit * Stride() * sizeof(TCell));
    if (!P) return;
    FCells.release();
    FCells.reset(static_cast<TCell*>(P));
  }
  FCapRows = Fit;
  try {
    FOrder.shrink_to_fit();
    FRowAttr.shrink_to_fit();
  } catch (const std::bad_alloc&) {
    // The vectors just keep their capacity.
  }
}

void TStringArray::Relayout(int NrCols, std::size_t CapRows, TCellBlock Block) noexcept {
  const std::size_t OldStride = Stride(), NewStride = std::size_t(NrCols) + 1;
  const std::size_t Keep = std::min(OldStride, NewStride);
  for (std::size_t P = 0; P < std::size_t(FNrRows); ++P) {
    TCell* From = FCells.get() + P * OldStride;
    std::memcpy(Block.get() + P * NewStride, From, Keep * sizeof(TCell));
    for (std::size_t C = Keep; C < OldStride; ++C) ReleaseCell(From[C]);
  }
  FCells = std::move(Block);
  FCapRows = CapRows;
  FNrCols = NrCols;
  if (FColAttr.size() > NewStride) FColAttr.resize(NewStride);
}

void TStringArray::Resize(int NrCols, int NrRows) {
  NrCols = std::max(NrCols, 0);
  NrRows = std::max(NrRows, 0);
  if (NrCols == FNrCols && NrRows == FNrRows) return;
  const std::size_t Rows = std::size_t(NrRows);
  // Everything that may fail is allocated before the table changes.
  std::vector<std::uint32_t> Scratch;
  const bool Shrinking = NrRows < FNrRows;
  if (Shrinking && !KeepsPhysicalPrefix(Rows)) Scratch.resize(std::size_t(FNrRows));
  if (NrCols == FNrCols) {
    if (Shrinking) {
      ShrinkRows(Rows, Scratch);
      TrimCapacity();
      TrimPool();
    } else {
      ReserveRows(Rows);
      AppendRows(Rows);
    }
  } else {
    const std::size_t Cap = RoundUp(Rows, std::size_t(FAllocRowsBy));
    TCellBlock Block = AllocCells(Cap, std::size_t(NrCols) + 1);
    FOrder.reserve(Rows);
    FRowAttr.reserve(Rows);
    if (Shrinking) ShrinkRows(Rows, Scratch);
    Relayout(NrCols, Cap, std::move(Block));
    AppendRows(Rows);
    TrimPool();
  }
  FInverseValid = false;
  Changed();
}

// --- rows -----------------------------------------------------------------------------------

void TStringArray::InsertRow(int Row) {
  if (Row < 1 || Row > FNrRows + 1) return;
  const std::size_t N = std::size_t(FNrRows), S = Stride();
  const std::size_t At = Row <= FNrRows ? FOrder[std::size_t(Row - 1)] : N;
  ReserveRows(N + 1);
  TCell* C = FCells.get();
  std::memmove(static_cast<void*>(C + (At + 1) * S), C + At * S, (N - At) * S * sizeof(TCell));
  std::memset(static_cast<void*>(C + At * S), 0, S * sizeof(TCell));
  FRowAttr.insert(FRowAttr.begin() + std::ptrdiff_t(At), 0);
  for (auto& P : FOrder)
    if (P >= At) ++P;
  FOrder.insert(FOrder.begin() + (Row - 1), static_cast<std::uint32_t>(At));
  ++FNrRows;
  FInverseValid = false;
  Changed();
}

void TStringArray::RemoveRow(int Row) {
  if (Row < 1 || Row > FNrRows) return;
  const std::size_t N = std::size_t(FNrRows), S = Stride();
  const std::size_t At = FOrder[std::size_t(Row - 1)];
  ReleaseRow(At);
  TCell* C = FCells.get();
  std::memmove(static_cast<void*>(C + At * S), C + (At + 1) * S, (N - At - 1) * S * sizeof(TCell));
  std::memset(static_cast<void*>(C + (N - 1) * S), 0, S * sizeof(TCell));
  FRowAttr.erase(FRowAttr.begin() + std::ptrdiff_t(At));
  FOrder.erase(FOrder.begin() + (Row - 1));
  for (auto& P : FOrder)
    if (P > At) --P;
  --FNrRows;
  FInverseValid = false;
  TrimCapacity();
  Changed();
}

int TStringArray::RemoveRows(const std::vector<std::uint8_t>& Leaves) {
  const std::size_t N = std::size_t(FNrRows), S = Stride();
  const std::size_t Shown = std::min(N, Leaves.size());
  std::size_t Count = 0;
  for (std::size_t I = 0; I < Shown; ++I) Count += Leaves[I] != 0;
  if (Count == 0) return 0;
  // The map from old to new physical positions is the only allocation; the table changes after.
  std::vector<std::uint32_t> Map(N, 0);
  for (std::size_t I = 0; I < Shown; ++I)
    if (Leaves[I]) Map[FOrder[I]] = Leaving;
  std::size_t W = 0;
  for (std::size_t P = 0; P < N; ++P) {
    if (Map[P] == Leaving) {
      ReleaseRow(P);
      continue;
    }
    if (W != P) {
      std::memcpy(static_cast<void*>(FCells.get() + W * S), FCells.get() + P * S,
                  S * sizeof(TCell));
      FRowAttr[W] = FRowAttr[P];
    }
    Map[P] = static_cast<std::uint32_t>(W++);
  }
  std::memset(static_cast<void*>(FCells.get() + W * S), 0, (N - W) * S * sizeof(TCell));
  std::size_t K = 0;
  for (std::size_t I = 0; I < N; ++I)
    if (I >= Shown || !Leaves[I]) FOrder[K++] = Map[FOrder[I]];
  FOrder.resize(W);
  FRowAttr.resize(W);
  FNrRows = static_cast<int>(W);
  FInverseValid = false;
  TrimCapacity();
  TrimPool();
  Changed();
  return static_cast<int>(Count);
}

void TStringArray::Clear() {
  if (FCells)
    std::memset(static_cast<void*>(FCells.get()), 0, CellBytes(std::size_t(FNrRows), Stride()));
  FPool.reset();
  FPoolSize = FPoolCap = FPoolGarbage = 0;
  Changed();
}

std::size_t TStringArray::AllocatedBytes() const {
  return FCapRows * Stride() * sizeof(TCell) + FPoolCap +
         (FOrder.capacity() + FInverse.capacity()) * sizeof(std::uint32_t) + FRowAttr.capacity() +
         FColAttr.capacity();
}

void TStringArray::Progress(int Percent) const {
  if (OnPercentDone) OnPercentDone(nullptr, Percent);
}

void TStringArray::Changed() const {
  if (OnChange) OnChange();
}

}  // namespace kvl
