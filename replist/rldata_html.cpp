// TRLData as an HTML page holding one table.
#include <algorithm>

#include "kvl/platform/errors.h"
#include "kvl/replist/markup.h"
#include "kvl/replist/replist.h"
#include "kvl/platform/files.h"

namespace kvl {

namespace {

void AppendClass(std::string& Out, const std::string& Class) {
  if (Class.empty()) return;
  Out += " class=\"";
  AppendEscaped(Out, Class);
  Out += '"';
}

}  // namespace

std::string TRLData::HTMLTable(int LoC, int LoR, int HiC, int HiR,
                               const std::vector<int>& ColumnSelection, int Border, int CellSpacing,
                               int Cellpadding, bool IncludeHeader, const std::string& HeadClass,
                               const std::string& CellClass, const std::string& TableClass) {
  LoC = std::max(LoC, 1);
  HiC = std::min(HiC, FNrOfCols);
  LoR = std::max(LoR, 1);
  HiR = std::min(HiR, FNrOfRows);
  std::vector<int> Cols;
  if (ColumnSelection.empty()) {
    for (int C = LoC; C <= HiC; ++C) Cols.push_back(C);
  } else {
    for (int C : ColumnSelection)
      if (C >= LoC && C <= HiC) Cols.push_back(C);
  }

  std::string H = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>";
  AppendEscaped(H, FCommonHeader);
  H += "</title>\n</head>\n<body>\n<table";
  AppendClass(H, TableClass);
  const auto Number = [&](const char* Name, int V) {
    H += ' ';
    H += Name;
    H += "=\"" + std::to_string(std::max(V, 0)) + '"';
  };
  Number("border", Border);
  Number("cellspacing", CellSpacing);
  Number("cellpadding", Cellpadding);
  H += ">\n";
  // The handler gets escaped text and may put markup of its own into it.
  const auto Cell = [&](const char* Tag, const std::string& Class, const std::string& Raw, int C,
                        int R) {
    std::string Text;
    AppendEscaped(Text, Raw);
    if (OnBeforeHTMLExport) OnBeforeHTMLExport(this, Text, C, R);
    H += '<';
    H += Tag;
    AppendClass(H, Class);
    H += '>';
    H += Text;
    H += "</";
    H += Tag;
    H += '>';
  };
  if (IncludeHeader && !Cols.empty()) {
    H += "<tr>";
    for (int C : Cols) Cell("th", HeadClass, GetHeader(C), C, 0);
    H += "</tr>\n";
  }
  TProgress P(*this);
  if (!Cols.empty())
    for (int R = LoR; R <= HiR; ++R) {
      H += "<tr>";
      for (int C : Cols) Cell("td", CellClass, GetElem(C, R), C, R);
      H += "</tr>\n";
      P.Add(int(Cols.size()));
    }
  P.Finish();
  H += "</table>\n</body>\n</html>\n";
  return H;
}

void TRLData::ExportHTMLTable(const std::string& FName, int LoC, int LoR, int HiC, int HiR,
                              const std::vector<int>& ColumnSelection, int Border, int CellSpacing,
                              int Cellpadding, bool IncludeHeader, const std::string& HeadClass,
                              const std::string& CellClass, const std::string& TableClass) {
  const std::string Page = HTMLTable(LoC, LoR, HiC, HiR, ColumnSelection, Border, CellSpacing,
                                     Cellpadding, IncludeHeader, HeadClass, CellClass, TableClass);
  SaveFileReplacing(FName, [&](std::FILE* F) {
    if (std::fwrite(Page.data(), 1, Page.size(), F) != Page.size())
      throw EInOutError("Cannot write \"" + FName + "\"");
  });
}

}  // namespace kvl
