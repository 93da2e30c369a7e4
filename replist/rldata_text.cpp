// TRLData as plain text: the clipboard forms and loading the lines of a text file.
#include <algorithm>
#include <new>

#include "kvl/core/stringl.h"
#include "kvl/platform/clipboard.h"
#include "kvl/platform/files.h"
#include "kvl/replist/replist.h"

namespace kvl {

namespace {

// Text from outside may hold bytes that are no UTF-8; each becomes U+FFFD, so that a cut
// counts real characters and the table never holds text a reader would refuse.
std::string ValidUtf8(std::string_view S) {
  std::string R;
  R.reserve(S.size());
  for (std::size_t P = 0; P < S.size();) {
    int Len = 0;
    const char32_t C = Utf8Decode(S, P, &Len);
    if (C == 0xFFFD && Len == 1)
      R += "\xEF\xBF\xBD";
    else
      R.append(S.substr(P, std::size_t(Len)));
    P += std::size_t(Len);
  }
  return R;
}

}  // namespace

std::string TRLData::RangeAsText(int LeftCol, int TopRow, int RightCol, int BottomRow,
                                 bool AddHeader, bool Padded, std::string_view Separator) const {
  const int L = std::max(LeftCol, 0), Rt = std::min(RightCol, FNrOfCols);
  const int T = std::max(TopRow, 1), B = std::min(BottomRow, FNrOfRows);
  if (L > Rt) return {};
  std::vector<int> Width;
  if (Padded) {
    Width.assign(std::size_t(Rt - L + 1), 0);
    for (int C = L; C <= Rt; ++C) {
      int& W = Width[std::size_t(C - L)];
      if (AddHeader) W = Utf8Length(GetHeader(C));
      for (int R = T; R <= B; ++R) W = std::max(W, Utf8Length(Strings.GetStringView(C, R)));
    }
  }
  std::string Text;
  const auto Line = [&](auto TextOf) {
    for (int C = L; C <= Rt; ++C) {
      if (Padded) {
        Text += LeftString(TextOf(C), Width[std::size_t(C - L)] + 1);
      } else {
        if (C > L) Text += Separator;
        Text += TextOf(C);
      }
    }
  };
  if (AddHeader) {
    Line([&](int C) { return GetHeader(C); });
    Text += "\n\n";
  }
  for (int R = T; R <= B; ++R) {
    Line([&](int C) { return GetElem(C, R); });
    Text += '\n';
  }
  return Text;
}

void TRLData::CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                              bool UseTabs) {
  Clipboard().SetAsText(
      RangeAsText(LeftCol, TopRow, RightCol, BottomRow, AddHeader, !UseTabs, "\t"));
}

void TRLData::CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                              std::string_view Separator) {
  Clipboard().SetAsText(
      RangeAsText(LeftCol, TopRow, RightCol, BottomRow, AddHeader, false, Separator));
}

int TRLData::LoadLinesFromFile(int Column, int FirstRow, const std::string& FName) {
  if (Column < 1 || Column > FNrOfCols) return -1;
  FirstRow = std::max(FirstRow, 1);
  const int MaxLines = MaxLoadedRows - FirstRow + 1;
  std::vector<std::string> Lines;
  std::string Cur;
  bool InLine = false, AfterCR = false, Full = false;
  // A line keeps only what its cell can hold (at most four bytes per character).
  const std::size_t Keep = std::size_t(MaxCellLength) * 4;
  char Buf[65536];
  const auto EndLine = [&] {
    Lines.push_back(std::move(Cur));
    Cur.clear();
    InLine = false;
    Full = int(Lines.size()) >= MaxLines;
  };
  try {
    // Devices and pipes may never end; only regular files are read.
    TGivenFile F(FName);
    std::size_t N;
    while (!Full && (N = F.Read(Buf, sizeof Buf)) > 0) {
      for (std::size_t I = 0; I < N && !Full; ++I) {
        const char C = Buf[I];
        if (C == '\n' && AfterCR) {
          AfterCR = false;
          continue;
        }
        AfterCR = C == '\r';
        if (C == '\n' || C == '\r') {
          EndLine();
        } else {
          InLine = true;
          if (Cur.size() < Keep) Cur += C;
        }
      }
    }
  } catch (const EInOutError&) {
    return -1;
  }
  if (InLine && !Full) EndLine();

  const int Count = int(Lines.size());
  const int LastRow = FirstRow + Count - 1;
  if (LastRow > FNrOfRows) SetNrOfRows(LastRow);
  for (int I = 0; I < Count; ++I) SetElem(Column, FirstRow + I, ValidUtf8(Lines[std::size_t(I)]));
  return Count;
}

}  // namespace kvl
