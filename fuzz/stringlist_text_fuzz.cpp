// Arbitrary text through TStringList's Text and CommaText assignment. Text must split exactly
// where a second, plain computation says and read back unchanged; any list must survive a
// CommaText round trip (quoting of blanks, commas, quotes and control bytes); a sorted list
// must stay in order. A broken invariant or a crash aborts.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "kvl/platform/stringlist.h"

namespace {

void Check(bool Ok) {
  if (!Ok) std::abort();
}

bool SameLines(const kvl::TStringList& A, const kvl::TStringList& B) {
  if (A.GetCount() != B.GetCount()) return false;
  for (int I = 0; I < A.GetCount(); ++I)
    if (A[I] != B[I]) return false;
  return true;
}

// CR LF and lone CRs become LF, and a last line gets its LF.
std::string NormalisedText(const std::string& S) {
  std::string R;
  for (std::size_t I = 0; I < S.size(); ++I) {
    if (S[I] == '\r' && I + 1 < S.size() && S[I + 1] == '\n') continue;
    R += S[I] == '\r' ? '\n' : S[I];
  }
  if (!R.empty() && R.back() != '\n') R += '\n';
  return R;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string Input(reinterpret_cast<const char*>(Data), Size);

  kvl::TStringList Lines;
  Lines.SetText(Input);
  Check(Lines.GetText() == NormalisedText(Input));
  kvl::TStringList Again;
  Again.SetText(Lines.GetText());
  Check(SameLines(Again, Lines));

  // Any lines (here: those of the input) come back from their comma text.
  kvl::TStringList Back;
  Back.SetCommaText(Lines.GetCommaText());
  Check(SameLines(Back, Lines));

  // Whatever comma text makes of the input is a fixed point from then on.
  kvl::TStringList Items;
  Items.SetCommaText(Input);
  Back.SetCommaText(Items.GetCommaText());
  Check(SameLines(Back, Items));

  // A sorted list keeps every line in order and finds each one.
  kvl::TStringList Sorted;
  Sorted.SetSorted(true);
  Sorted.SetDuplicates(Size && (Data[0] & 1) ? kvl::dupAccept : kvl::dupIgnore);
  Sorted.SetCaseSensitive(Size && (Data[0] & 2));
  Sorted.AddStrings(Items);
  for (int I = 0; I < Sorted.GetCount(); ++I) {
    int At = -1;
    Check(Sorted.Find(Sorted[I], At) && At <= I);
    if (I > 0) {
      Check(Sorted.IndexOf(Sorted[I - 1]) < I);
      if (Sorted.GetDuplicates() == kvl::dupIgnore) Check(At == I);
    }
  }
  return 0;
}
