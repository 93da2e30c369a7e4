// Arbitrary text through the report store's XML reader. A refused text must leave the store
// exactly as it was; an accepted one must respect every limit of the store and come back
// unchanged from writing and reading it again.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "kvl/core/stringl.h"
#include "kvl/replist/replist.h"

namespace {

using namespace kvl;

void Check(bool Ok) {
  if (!Ok) std::abort();
}

std::string Snapshot(const TRLData& D) {
  std::string S = std::to_string(D.GetNrOfColumns()) + "/" + std::to_string(D.GetNrOfRows());
  for (int C = 0; C <= D.GetNrOfColumns(); ++C) {
    S += "|" + D.GetHeader(C) + "|" + D.GetColumnFormat(C) + "|" +
         std::to_string(D.GetColumnCheckMode(C)) + "|" +
         std::to_string(D.GetStrings().GetColAttrib(C));
    for (int R = 1; R <= D.GetNrOfRows(); ++R) S += "|" + D.GetStrings().GetString(C, R);
  }
  for (int R = 1; R <= D.GetNrOfRows(); ++R)
    S += "|" + std::to_string(D.GetStrings().GetRowAttrib(R));
  return S + "|" + D.GetComment() + "|" + D.GetCommonHeader() + "|" + D.GetDataID();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string Text(reinterpret_cast<const char*>(Data), Size);
  TRLData D(nullptr);
  D.SetNrOfColumns(2);
  D.SetNrOfRows(1);
  D.SetElem(1, 1, "before");
  const std::string Before = Snapshot(D);
  const std::string Id = Size ? std::string(1, char('a' + Data[0] % 3)) : std::string();
  if (!D.ReadFromXMLString(Text, Size && Data[0] % 2 ? Id : "")) {
    Check(Snapshot(D) == Before);
    return 0;
  }
  Check(D.GetNrOfColumns() >= 1 && D.GetNrOfRows() >= 0);
  for (int C = 0; C <= D.GetNrOfColumns(); ++C) {
    Check(Utf8Length(D.GetHeader(C)) <= MaxNameLength);
    Check(Utf8Length(D.GetColumnFormat(C)) <= MaxColFmtLength);
    for (int R = 1; R <= D.GetNrOfRows(); ++R) Check(Utf8Length(D(C, R)) <= MaxCellLength);
  }
  std::ostringstream Out;
  D.WriteToXMLStream(Out, true, "");
  TRLData Again(nullptr);
  Check(Again.ReadFromXMLString(Out.str(), D.GetDataID()));
  Check(Snapshot(Again) == Snapshot(D));
  return 0;
}
