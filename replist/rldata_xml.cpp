// TRLData as XML, and the file-kind test CheckIfValidReplist.
//
// The form written (one element per line, the root's start tag on a line of its own so that
// CheckIfValidReplist finds it):
//
//   <?xml version="1.0" encoding="UTF-8"?>                  (with CreateHeader)
//   <replist kvlwidget="TRLData" id="DataID">
//   <numcols>3</numcols>
//   <numrows>2</numrows>
//   <commonheader>...</commonheader>
//   <comment>...</comment>
//   <colname col="1" attrib="128">Name</colname>           (every column; attrib when not 0)
//   <columnformat col="1">[s][80]</columnformat>           (non-empty formats)
//   <checkedcolumn col="2">box</checkedcolumn>             (box or radio columns)
//   <cell row="1" col="0" rowattrib="64">text</cell>
//   </replist>
//
// Cells hold their stored strings (check marks included) in the shown row order; empty cells
// are left out, but every row has at least one cell element, and it carries the row's
// attribute byte when that is not 0. A reader therefore finds every row and column it is asked
// to create named in the file, and allocates nothing the file does not account for.
#include <expat.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <istream>
#include <iterator>
#include <memory>
#include <new>
#include <ostream>

#include "kvl/core/stringl.h"
#include "kvl/platform/errors.h"
#include "kvl/platform/files.h"
#include "kvl/replist/markup.h"
#include "kvl/replist/replist.h"

namespace kvl {

namespace {

constexpr std::string_view Tag(TRepListXmlTag T) { return RepListXmlTags[T]; }

// Tables a file may ask for, in cells (column 0 included); far above any table kept in memory
// on purpose, far below what a forged pair of counts could ask for.
constexpr std::int64_t MaxXmlCells = std::int64_t(1) << 26;
// Files larger than this are refused before they are read: the text is held in memory whole.
constexpr std::size_t MaxXmlFileSize = std::size_t(1) << 31;

std::string_view Trim(std::string_view S) {
  const auto Blank = [](char C) { return C == ' ' || C == '\t' || C == '\n' || C == '\r'; };
  while (!S.empty() && Blank(S.front())) S.remove_prefix(1);
  while (!S.empty() && Blank(S.back())) S.remove_suffix(1);
  return S;
}

bool EqualNoCase(std::string_view A, std::string_view B) {
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
           const auto L = [](char C) { return C >= 'A' && C <= 'Z' ? char(C + 32) : C; };
           return L(X) == L(Y);
         });
}

// A whole non-negative decimal number without sign, blanks allowed around it.
bool ReadCount(std::string_view S, std::int64_t Max, std::int64_t& V) {
  S = Trim(S);
  if (S.empty() || S.size() > 18) return false;
  for (char C : S)
    if (C < '0' || C > '9') return false;
  V = 0;
  std::from_chars(S.data(), S.data() + S.size(), V);
  return V <= Max;
}

void AppendInt(std::string& Out, std::int64_t V) {
  char Buf[24];
  Out.append(Buf, std::to_chars(Buf, Buf + sizeof Buf, V).ptr);
}

void AppendElement(std::string& Out, TRepListXmlTag T, std::string_view Text) {
  Out += '<';
  Out += Tag(T);
  Out += '>';
  AppendEscaped(Out, Text);
  Out += "</";
  Out += Tag(T);
  Out += ">\n";
}

}  // namespace

// --- writing --------------------------------------------------------------------------------

namespace {

// Collects the text and hands it on in large pieces.
class TXmlSink {
public:
  explicit TXmlSink(std::function<void(std::string_view)> Put) : FPut(std::move(Put)) {
    Buf.reserve(1 << 20);
  }
  void Flush(bool Always) {
    if (Always || Buf.size() >= (1 << 20) - 4096) {
      FPut(Buf);
      Buf.clear();
    }
  }
  std::string Buf;

private:
  std::function<void(std::string_view)> FPut;
};

}  // namespace

void TRLData::WriteToXMLStream(std::ostream& OutStream, bool CreateHeader,
                               const std::string& DataID) {
  WriteXml(CreateHeader, DataID, [&](std::string_view S) {
    if (!OutStream.write(S.data(), std::streamsize(S.size())))
      throw EInOutError("Cannot write the report list to the stream");
  });
}

void TRLData::WriteToOpenXMLFile(std::FILE* F, bool CreateHeader, const std::string& DataID) {
  WriteXml(CreateHeader, DataID, [&](std::string_view S) {
    if (std::fwrite(S.data(), 1, S.size(), F) != S.size())
      throw EInOutError(std::string("Cannot write the report list: ") + std::strerror(errno));
  });
}

void TRLData::SaveAsXMLFile(const std::string& FName, const std::string& DataID) {
  SaveFileReplacing(FName, [&](std::FILE* F) { WriteToOpenXMLFile(F, true, DataID); });
}

void TRLData::WriteXml(bool CreateHeader, const std::string& DataID,
                       const std::function<void(std::string_view)>& Put) {
  TRLData& D = *this;
  TXmlSink Sink(Put);
  std::string& O = Sink.Buf;
  const int Cols = D.GetNrOfColumns(), Rows = D.GetNrOfRows();
  const TStringArray& S = D.GetStrings();
  if (CreateHeader) O += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  O += "<replist kvlwidget=\"TRLData\" id=\"";
  AppendEscaped(O, DataID.empty() ? D.GetDataID() : DataID);
  O += "\">\n";
  AppendElement(O, xmlNumCols, std::to_string(Cols));
  AppendElement(O, xmlNumRows, std::to_string(Rows));
  AppendElement(O, xmlCommonHd, D.GetCommonHeader());
  AppendElement(O, xmlComment, D.GetComment());
  const auto ColumnElement = [&](TRepListXmlTag T, int C, std::string_view Text, int Attrib) {
    O += '<';
    O += Tag(T);
    O += " col=\"";
    AppendInt(O, C);
    if (Attrib) {
      O += "\" attrib=\"";
      AppendInt(O, Attrib);
    }
    O += "\">";
    AppendEscaped(O, Text);
    O += "</";
    O += Tag(T);
    O += ">\n";
  };
  for (int C = 1; C <= Cols; ++C) {
    ColumnElement(xmlColName, C, D.GetHeader(C), S.GetColAttrib(C));
    if (const std::string F = D.GetColumnFormat(C); !F.empty())
      ColumnElement(xmlColumnFormat, C, F, 0);
    if (const TCheckMode M = D.GetColumnCheckMode(C); M != cmNone)
      ColumnElement(xmlCheckedColumn, C, M == cmBox ? "box" : "radio", 0);
  }
  TRLData::TProgress P(D);
  for (int R = 1; R <= Rows; ++R) {
    int Attrib = S.GetRowAttrib(R);
    bool Written = false;
    for (int C = 0; C <= Cols; ++C) {
      const std::string_view T = S.GetStringView(C, R);
      if (T.empty() && (Written || C < Cols)) continue;
      O += "<cell row=\"";
      AppendInt(O, R);
      O += "\" col=\"";
      AppendInt(O, C);
      if (Attrib) {
        O += "\" rowattrib=\"";
        AppendInt(O, Attrib);
        Attrib = 0;
      }
      O += "\">";
      AppendEscaped(O, T);
      O += "</cell>\n";
      Written = true;
    }
    P.Add(Cols + 1);
    Sink.Flush(false);
  }
  O += '<';
  O += Tag(xmlEndReplist);
  O += ">\n";
  Sink.Flush(true);
  P.Finish();
}

// --- reading --------------------------------------------------------------------------------

// Collects the wanted replist element while expat parses, and builds the store from it.
class TRLDataXmlReader {
public:
  explicit TRLDataXmlReader(std::string_view DataID) : FWanted(Trim(DataID)) {}

  bool Parse(std::string_view Text);
  // Fills Dest (a fresh store) from what was read, reporting progress through Reporter; false
  // when the contents do not agree.
  bool Build(TRLData& Dest, TRLData& Reporter);

private:
  struct TColumnItem {
    int Col;
    std::string Text;
    int Attrib;
  };
  struct TCellItem {
    int Row, Col;
    std::string Text;
    int RowAttrib;
  };

  static void XMLCALL OnStart(void* Self, const XML_Char* Name, const XML_Char** Attrs);
  static void XMLCALL OnEnd(void* Self, const XML_Char* Name);
  static void XMLCALL OnText(void* Self, const XML_Char* S, int Len);
  // No exception may travel through expat's C frames: a failure in a handler (out of memory)
  // stops the parse and fails the load instead.
  template <class F>
  static void Guarded(void* Self, F&& Handler) {
    auto* R = static_cast<TRLDataXmlReader*>(Self);
    try {
      Handler(*R);
    } catch (...) {
      R->Fail();
      XML_StopParser(R->FParser, XML_FALSE);
    }
  }
  static int XMLCALL OnExternal(XML_Parser P, const XML_Char* Context, const XML_Char* Base,
                                const XML_Char* SystemId, const XML_Char* PublicId);
  static void XMLCALL OnEntityDecl(void* Self, const XML_Char*, int, const XML_Char*, int,
                                   const XML_Char*, const XML_Char*, const XML_Char*,
                                   const XML_Char*);
  void Start(std::string_view Name, const XML_Char** Attrs);
  void End();
  bool Run(XML_Parser P, std::string_view Text);
  void Fail() { FFailed = true; }

  std::string FWanted;
  std::string_view FFragment;
  XML_Parser FParser = nullptr;
  bool FFailed = false, FFound = false, FDone = false;
  int FDepth = 0, FReplistDepth = -1;
  // The child element being read.
  TRepListXmlTag FChild = xmlInvalid;
  std::string FText;
  std::int64_t FCol = -1, FRow = -1, FAttrib = 0;

  std::string FId;
  std::int64_t FNumCols = -1, FNumRows = -1;
  std::string FCommonHeader, FComment;
  bool FHasCommonHeader = false, FHasComment = false;
  std::vector<TColumnItem> FNames, FFormats, FModes;
  std::vector<TCellItem> FCells;
};

void XMLCALL TRLDataXmlReader::OnStart(void* Self, const XML_Char* Name, const XML_Char** Attrs) {
  Guarded(Self, [&](TRLDataXmlReader& R) { R.Start(Name, Attrs); });
}

void XMLCALL TRLDataXmlReader::OnEnd(void* Self, const XML_Char*) {
  Guarded(Self, [](TRLDataXmlReader& R) { R.End(); });
}

void XMLCALL TRLDataXmlReader::OnText(void* Self, const XML_Char* S, int Len) {
  Guarded(Self, [&](TRLDataXmlReader& R) {
    if (R.FReplistDepth < 0 || R.FDone) return;
    const std::string_view T(S, std::size_t(Len));
    if (R.FDepth == R.FReplistDepth + 1)
      R.FText.append(T);
    else if (!Trim(T).empty())
      R.Fail();  // text between the replist's elements
  });
}

void XMLCALL TRLDataXmlReader::OnEntityDecl(void* Self, const XML_Char*, int, const XML_Char*, int,
                                            const XML_Char*, const XML_Char*, const XML_Char*,
                                            const XML_Char*) {
  // No replist needs entities of its own; refusing them keeps expansion bombs out.
  auto* R = static_cast<TRLDataXmlReader*>(Self);
  R->Fail();
  XML_StopParser(R->FParser, XML_FALSE);
}

int XMLCALL TRLDataXmlReader::OnExternal(XML_Parser P, const XML_Char* Context, const XML_Char*,
                                         const XML_Char*, const XML_Char*) {
  auto* R = static_cast<TRLDataXmlReader*>(XML_GetUserData(P));
  XML_Parser Sub = XML_ExternalEntityParserCreate(P, Context, nullptr);
  if (!Sub) return XML_STATUS_ERROR;
  const XML_Parser Outer = std::exchange(R->FParser, Sub);
  const bool Ok = R->Run(Sub, R->FFragment);
  R->FParser = Outer;
  XML_ParserFree(Sub);
  return Ok ? XML_STATUS_OK : XML_STATUS_ERROR;
}

bool TRLDataXmlReader::Run(XML_Parser P, std::string_view Text) {
  // Large texts go in pieces: expat takes an int length.
  constexpr std::size_t Piece = std::size_t(1) << 30;
  do {
    const std::size_t N = std::min(Text.size(), Piece);
    const bool Last = N == Text.size();
    if (XML_Parse(P, Text.data(), int(N), Last) != XML_STATUS_OK) return false;
    Text.remove_prefix(N);
  } while (!Text.empty());
  return !FFailed;
}

bool TRLDataXmlReader::Parse(std::string_view Text) {
  // The text may hold several replist elements one after the other, which no XML document
  // may; read as the contents of an external entity inside a wrapper, it is well-formed XML.
  // A complete document of its own (with a document type or a declaration without encoding)
  // is read as such when that fails.
  static constexpr std::string_view Wrapper = "<!DOCTYPE w [<!ENTITY c SYSTEM \"c\">]><w>&c;</w>";
  for (int Mode = 0; Mode < 2; ++Mode) {
    *this = TRLDataXmlReader(FWanted);
    std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> P(XML_ParserCreate("UTF-8"),
                                                                   &XML_ParserFree);
    if (!P) throw std::bad_alloc();
    FParser = P.get();
    XML_SetUserData(P.get(), this);
    XML_SetElementHandler(P.get(), &OnStart, &OnEnd);
    XML_SetCharacterDataHandler(P.get(), &OnText);
    bool Ok;
    if (Mode == 0) {
      FFragment = Text;
      XML_SetExternalEntityRefHandler(P.get(), &OnExternal);
      XML_SetParamEntityParsing(P.get(), XML_PARAM_ENTITY_PARSING_NEVER);
      Ok = Run(P.get(), Wrapper);
    } else {
      XML_SetEntityDeclHandler(P.get(), &OnEntityDecl);
      Ok = Run(P.get(), Text);
    }
    if (Ok && FFound && FDone) return true;
    if (Ok) return false;  // well-formed, but no wanted replist
  }
  return false;
}

void TRLDataXmlReader::Start(std::string_view Name, const XML_Char** Attrs) {
  ++FDepth;
  if (FFailed || FDone) return;
  if (FReplistDepth < 0) {
    if (Name != "replist") return;
    std::string_view Id;
    for (const XML_Char** A = Attrs; *A; A += 2)
      if (std::string_view(A[0]) == "id") Id = A[1];
    if (!FWanted.empty() && !EqualNoCase(Trim(Id), FWanted)) return;
    FReplistDepth = FDepth;
    FFound = true;
    FId = Trim(Id);
    return;
  }
  if (FDepth != FReplistDepth + 1) return Fail();  // markup inside a value
  FChild = xmlInvalid;
  for (int T = xmlNumCols; T < xmlEndReplist; ++T)
    if (Name == Tag(TRepListXmlTag(T))) FChild = TRepListXmlTag(T);
  if (FChild == xmlInvalid) return Fail();
  FText.clear();
  FCol = FRow = -1;
  FAttrib = 0;
  for (const XML_Char** A = Attrs; *A; A += 2) {
    const std::string_view Key = A[0];
    std::int64_t V;
    if (!ReadCount(A[1], INT32_MAX, V)) return Fail();
    if (Key == "col")
      FCol = V;
    else if (Key == "row")
      FRow = V;
    else if (Key == "attrib" || Key == "rowattrib")
      FAttrib = V;
    else
      return Fail();
    if (FAttrib > 255) return Fail();
  }
}

void TRLDataXmlReader::End() {
  const int Depth = FDepth--;
  if (FFailed || FDone || FReplistDepth < 0) return;
  if (Depth == FReplistDepth) {
    FDone = true;
    return;
  }
  if (Depth != FReplistDepth + 1) return;
  const auto NeedCol = [&] {
    if (FCol < 0) Fail();
    return !FFailed;
  };
  switch (FChild) {
    case xmlNumCols:
    case xmlNumRows: {
      std::int64_t& N = FChild == xmlNumCols ? FNumCols : FNumRows;
      if (N >= 0 || !ReadCount(FText, INT32_MAX, N)) Fail();
      break;
    }
    case xmlCommonHd:
    case xmlComment: {
      bool& Has = FChild == xmlCommonHd ? FHasCommonHeader : FHasComment;
      if (Has) return Fail();
      Has = true;
      (FChild == xmlCommonHd ? FCommonHeader : FComment) = std::move(FText);
      break;
    }
    case xmlColName:
      if (NeedCol()) FNames.push_back({int(FCol), std::move(FText), int(FAttrib)});
      break;
    case xmlColumnFormat:
      if (NeedCol()) FFormats.push_back({int(FCol), std::move(FText), 0});
      break;
    case xmlCheckedColumn: {
      if (!NeedCol()) break;
      const std::string_view M = Trim(FText);
      const int Mode = M == "box" ? cmBox : M == "radio" ? cmRadio : M == "none" ? cmNone : -1;
      if (Mode < 0) return Fail();
      FModes.push_back({int(FCol), {}, Mode});
      break;
    }
    case xmlCell:
      if (FRow < 1 || !NeedCol()) return Fail();
      FCells.push_back({int(FRow), int(FCol), std::move(FText), int(FAttrib)});
      break;
    default:
      Fail();
  }
}

bool TRLDataXmlReader::Build(TRLData& Dest, TRLData& Reporter) {
  const std::int64_t Cols = FNumCols, Rows = FNumRows;
  if (Cols < 1 || Rows < 0) return false;
  // Every column is named and every row has a cell in the file: the counts cannot ask for
  // more than the file holds.
  if (std::size_t(Cols) > FNames.size() || std::size_t(Rows) > FCells.size()) return false;
  if ((Cols + 1) * std::max<std::int64_t>(Rows, 1) > MaxXmlCells) return false;
  std::vector<bool> ColSeen(std::size_t(Cols) + 1), RowSeen(std::size_t(Rows) + 1);
  for (const auto& N : FNames) {
    if (N.Col < 1 || N.Col > Cols || ColSeen[std::size_t(N.Col)]) return false;
    ColSeen[std::size_t(N.Col)] = true;
  }
  for (const auto* List : {&FFormats, &FModes})
    for (const auto& F : *List)
      if (F.Col < 1 || F.Col > Cols) return false;
  for (const auto& C : FCells) {
    if (C.Row > Rows || C.Col > Cols) return false;
    RowSeen[std::size_t(C.Row)] = true;
  }
  if (std::count(RowSeen.begin() + 1, RowSeen.end(), true) != Rows) return false;

  Dest.SetNrOfColumns(int(Cols));
  Dest.SetNrOfRows(int(Rows));
  TStringArray& S = Dest.GetStrings();
  for (const auto& N : FNames) {
    Dest.SetHeader(N.Col, N.Text);
    S.SetColAttrib(N.Col, std::uint8_t(N.Attrib));
  }
  for (const auto& F : FFormats) Dest.SetColumnFormat(F.Col, F.Text);
  // Modes are set before the cells, whose stored strings already hold their marks.
  for (const auto& M : FModes) Dest.FColButMode[std::size_t(M.Col - 1)] = TCheckMode(M.Attrib);
  TRLData::TProgress P(Dest, Reporter);
  for (auto& C : FCells) {
    if (Dest.GetColumnCheckMode(C.Col) == cmNone) Utf8Cut(C.Text, MaxCellLength);
    S.SetString(C.Col, C.Row, C.Text);
    if (C.RowAttrib) S.SetRowAttrib(C.Row, std::uint8_t(C.RowAttrib));
    P.Add(1);
  }
  P.Finish();
  Dest.SetCommonHeader(FCommonHeader);
  Dest.SetComment(FComment);
  Dest.SetDataID(FId);
  return true;
}

bool TRLData::ReadFromXMLString(std::string_view InString, const std::string& DataID) {
  TRLDataXmlReader Reader(DataID);
  if (!Reader.Parse(InString)) return false;
  try {
    TRLData Fresh(nullptr);
    if (!Reader.Build(Fresh, *this)) return false;
    SwapContents(Fresh);
  } catch (const std::bad_alloc&) {
    RaiseHeapFull();
  } catch (const EKVLError&) {
    RaiseHeapFull();
  }
  return true;
}

bool TRLData::ReadFromXMLStream(std::istream& InStream, const std::string& DataID) {
  const std::string Text(std::istreambuf_iterator<char>(InStream), {});
  return ReadFromXMLString(Text, DataID);
}

bool TRLData::ReadFromOpenXMLFile(std::FILE* F, const std::string& DataID) {
  std::string Text;
  char Buf[65536];
  std::size_t N;
  while ((N = std::fread(Buf, 1, sizeof Buf, F)) > 0) Text.append(Buf, N);
  if (std::ferror(F)) return false;
  return ReadFromXMLString(Text, DataID);
}

bool TRLData::LoadFromXMLFile(const std::string& FName, const std::string& DataID) {
  std::string Text;
  try {
    Text = ReadGivenFile(FName, MaxXmlFileSize);
  } catch (const EInOutError&) {
    return false;
  }
  return ReadFromXMLString(Text, DataID);
}

// --- the file-kind test ---------------------------------------------------------------------

namespace {

constexpr std::size_t MaxExaminedLine = 64 * 1024;

// Whether one line (its examined prefix) is the wanted replist's start tag.
bool IsReplistLine(std::string Line, std::string_view WantedLower) {
  for (char& C : Line)
    if (C >= 'A' && C <= 'Z') C = char(C + 32);
  if (Line.find("<replist") == std::string::npos || Line.find("kvlwidget") == std::string::npos)
    return false;
  std::string_view Id;
  if (const std::size_t At = Line.find("id=\""); At != std::string::npos) {
    const std::string_view Rest = std::string_view(Line).substr(At + 4);
    Id = Trim(Rest.substr(0, Rest.find('"')));
  }
  return WantedLower.empty() || Id == WantedLower;
}

// Reads lines through Read(buffer, size) -> bytes (0 at the end), keeping at most
// MaxExaminedLine bytes of each.
template <class ReadFn>
bool ScanForReplist(ReadFn Read, const std::string& DataID) {
  std::string Wanted;
  for (char C : Trim(DataID)) Wanted += C >= 'A' && C <= 'Z' ? char(C + 32) : C;
  std::string Line;
  bool Pending = false;
  char Buf[65536];
  std::size_t N;
  while ((N = Read(Buf, sizeof Buf)) > 0) {
    for (std::size_t I = 0; I < N;) {
      const char* NL = static_cast<const char*>(std::memchr(Buf + I, '\n', N - I));
      const std::size_t End = NL ? std::size_t(NL - Buf) : N;
      if (Line.size() < MaxExaminedLine)
        Line.append(Buf + I, std::min(End - I, MaxExaminedLine - Line.size()));
      Pending = true;
      I = End;
      if (NL) {
        if (IsReplistLine(Line, Wanted)) return true;
        Line.clear();
        Pending = false;
        ++I;
      }
    }
  }
  return Pending && IsReplistLine(Line, Wanted);
}

}  // namespace

bool CheckIfValidReplist(const std::string& FName, const std::string& DataID) {
  try {
    TGivenFile F(FName);
    return ScanForReplist([&](char* B, std::size_t Size) { return F.Read(B, Size); }, DataID);
  } catch (const EFileReadError& E) {
    if (E.GetFault() == EFileReadError::frNotRegular) return false;
    throw;
  }
}

bool CheckIfValidReplist(std::istream& In, const std::string& DataID) {
  return ScanForReplist(
      [&](char* B, std::size_t Size) {
        In.read(B, std::streamsize(Size));
        return std::size_t(In.gcount());
      },
      DataID);
}

}  // namespace kvl
