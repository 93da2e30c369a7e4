// TRLData as XML: round trips, several stores in one stream, bad input, safe saving, and the
// file-kind test.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <cstdlib>
#include <random>
#include <sstream>

#include "kvl/core/stringl.h"
#include "kvl/platform/errors.h"
#include "kvl/replist/replist.h"
#include "kvl/testing/without_root.h"
#include "rldata_test_files.h"

namespace kvl {
namespace {

std::string Repeat(std::string_view S, int N) {
  std::string R;
  for (int I = 0; I < N; ++I) R += S;
  return R;
}

// A store with everything a file must carry, in awkward forms.
void MakeAwkward(TRLData& D) {
  D.SetNrOfColumns(4);
  D.SetNrOfRows(6);
  D.SetHeader(1, "Name <&>\"'");
  D.SetHeader(2, "");
  D.SetHeader(3, "Größe\tTab");
  D.SetColumnFormat(1, "[c][120]red|gr<e>en");
  D.SetColumnFormat(4, "[i][60]rix3");
  D.SetColumnCheckMode(2, cmBox);
  D.SetColumnCheckMode(3, cmRadio);
  D.SetCommonHeader("Common & \"header\"\nsecond line");
  D.SetComment("  spaces kept  \r\n");
  D.SetDataID("set 1");
  const std::vector<std::string> Texts = {"<&>\"'", "tab\there",      "line\nfeed\r\nCRLF",
                                          "ünï€ø𝄞", Repeat("é", 255), "]]> &amp;"};
  for (int R = 1; R <= 5; ++R) {
    D.SetElem(0, R, R % 2 ? "col0 " + std::to_string(R) : "");
    D.SetElem(1, R, Texts[std::size_t(R - 1)]);
    D.SetElem(2, R, Texts[std::size_t(5 - R)]);
    D.SetElemChecked(2, R, R % 3 == 0);
    if (R > 3) D.SetElem(3, R, "radio " + std::to_string(R));
  }
  D.SetElem(2, 3, Repeat("é", 255));  // 256 characters stored with its mark
  D.SetElemChecked(3, 5, true);
  D.GetStrings().SetString(2, 2, "");  // an empty cell in a checked column
  D.GetStrings().SetRowAttrib(2, raSelected);
  D.GetStrings().SetRowAttrib(6, raSelected | raDisabled);  // row 6 is empty
  D.GetStrings().SetColAttrib(3, caSelected);
}

void ExpectSame(const TRLData& A, const TRLData& B) {
  ASSERT_EQ(A.GetNrOfColumns(), B.GetNrOfColumns());
  ASSERT_EQ(A.GetNrOfRows(), B.GetNrOfRows());
  for (int C = 0; C <= A.GetNrOfColumns(); ++C) {
    EXPECT_EQ(A.GetHeader(C), B.GetHeader(C));
    EXPECT_EQ(A.GetColumnFormat(C), B.GetColumnFormat(C));
    EXPECT_EQ(A.GetColumnCheckMode(C), B.GetColumnCheckMode(C));
    EXPECT_EQ(A.GetStrings().GetColAttrib(C), B.GetStrings().GetColAttrib(C)) << C;
    for (int R = 1; R <= A.GetNrOfRows(); ++R)
      EXPECT_EQ(A.GetStrings().GetString(C, R), B.GetStrings().GetString(C, R)) << C << "/" << R;
  }
  for (int R = 1; R <= A.GetNrOfRows(); ++R)
    EXPECT_EQ(A.GetStrings().GetRowAttrib(R), B.GetStrings().GetRowAttrib(R)) << R;
  EXPECT_EQ(A.GetCommonHeader(), B.GetCommonHeader());
  EXPECT_EQ(A.GetComment(), B.GetComment());
  EXPECT_EQ(A.GetDataID(), B.GetDataID());
}

std::string XmlOf(TRLData& D, bool Header = true, const std::string& Id = "") {
  std::ostringstream Out;
  D.WriteToXMLStream(Out, Header, Id);
  return Out.str();
}

class RLDataXml : public TTempDirTest {};

TEST_F(RLDataXml, SaveThenLoadGivesBackEverything) {
  TRLData A(nullptr), B(nullptr);
  MakeAwkward(A);
  const std::string F = Dir + "/awkward.xml";
  A.SaveAsXMLFile(F, "");
  if (std::system("command -v xmllint > /dev/null") == 0) {
    EXPECT_EQ(std::system(("xmllint --noout '" + F + "'").c_str()), 0);
  }
  EXPECT_TRUE(CheckIfValidReplist(F, "SET 1"));
  ASSERT_TRUE(B.LoadFromXMLFile(F, "set 1"));
  ExpectSame(A, B);
  // A checked cell holding 255 characters behind its mark survives as well.
  EXPECT_EQ(B(2, 3), Repeat("é", 255));
  EXPECT_TRUE(B.GetElemChecked(2, 3));
}

TEST_F(RLDataXml, SortedStoresAreWrittenInTheShownOrderAndProgressIsReported) {
  TRLData A(nullptr), B(nullptr);
  A.SetNrOfRows(3);
  A.SetElem(1, 1, "b");
  A.SetElem(1, 2, "c");
  A.SetElem(1, 3, "a");
  A.Sort(1, -1, true);
  std::vector<int> Percents;
  A.OnPercentDone = [&](TObject* S, int P) {
    EXPECT_EQ(S, &A);
    Percents.push_back(P);
  };
  const std::string Xml = XmlOf(A);
  ASSERT_FALSE(Percents.empty());
  EXPECT_EQ(Percents.front(), 0);
  EXPECT_EQ(Percents.back(), 100);
  EXPECT_TRUE(std::is_sorted(Percents.begin(), Percents.end()));
  int Reports = 0;
  B.OnPercentDone = [&](TObject* S, int) {
    EXPECT_EQ(S, &B);
    ++Reports;
  };
  ASSERT_TRUE(B.ReadFromXMLString(Xml, ""));
  EXPECT_EQ(B(1, 1) + B(1, 2) + B(1, 3), "abc");
  EXPECT_GE(Reports, 2);
}

TEST_F(RLDataXml, SeveralStoresShareOneStreamAndAreFoundByTheirId) {
  TRLData A(nullptr), B(nullptr), C(nullptr), Read(nullptr);
  A.SetNrOfRows(1);
  A.SetElem(1, 1, "from a");
  B.SetNrOfRows(2);
  B.SetElem(1, 2, "from b");
  std::stringstream Stream;
  A.WriteToXMLStream(Stream, true, "first");
  B.WriteToXMLStream(Stream, false, "second");
  C.WriteToXMLStream(Stream, false, "");
  ASSERT_TRUE(Read.ReadFromXMLStream(Stream, "Second"));
  EXPECT_EQ(Read(1, 2), "from b");
  EXPECT_EQ(Read.GetDataID(), "second");
  Stream.clear();
  Stream.seekg(0);
  EXPECT_TRUE(CheckIfValidReplist(Stream, " second "));
  // Inside a document of the host's own, too.
  const std::string Doc = "<?xml version=\"1.0\"?>\n<settings><other/>" + XmlOf(B, false, "x") +
                          XmlOf(A, false, "y") + "</settings>";
  ASSERT_TRUE(Read.ReadFromXMLString(Doc, "y"));
  EXPECT_EQ(Read(1, 1), "from a");
  ASSERT_TRUE(Read.ReadFromXMLString(Doc, ""));  // the first one
  EXPECT_EQ(Read(1, 2), "from b");
  EXPECT_FALSE(Read.ReadFromXMLString(Doc, "z"));
  EXPECT_EQ(Read.GetDataID(), "x");
}

TEST_F(RLDataXml, BadInputIsRefusedAndLeavesTheStoreAsItWas) {
  TRLData Good(nullptr), D(nullptr);
  MakeAwkward(Good);
  const std::string Xml = XmlOf(Good);
  D.SetNrOfRows(1);
  D.SetElem(1, 1, "untouched");
  const auto Refused = [&](std::string_view Text) {
    const bool Read = D.ReadFromXMLString(Text, "");
    EXPECT_EQ(D(1, 1), "untouched") << Text;
    EXPECT_EQ(D.GetNrOfRows(), 1);
    return !Read;
  };
  // Every truncation before the end of the element.
  const std::size_t End = Xml.find("</replist>") + 9;
  for (std::size_t N = 0; N < End; N += 7) EXPECT_TRUE(Refused(Xml.substr(0, N))) << N;
  const auto Replaced = [&](std::string_view From, std::string_view To) {
    std::string S = Xml;
    const std::size_t At = S.find(From);
    EXPECT_NE(At, std::string::npos) << From;
    return S.replace(At, From.size(), To);
  };
  EXPECT_TRUE(Refused(Replaced("</comment>", "</comments>")));
  EXPECT_TRUE(Refused(Replaced("<numrows>6", "<numrows>2000000000")));
  EXPECT_TRUE(Refused(Replaced("<numcols>4", "<numcols>99999")));
  EXPECT_TRUE(Refused(Replaced("<numcols>4", "<numcols>-4")));
  EXPECT_TRUE(Refused(Replaced("<numrows>6", "<numrows>7")));  // a row without a cell
  EXPECT_TRUE(Refused(Replaced("<numrows>6", "<numrows>5")));  // a cell outside
  EXPECT_TRUE(Refused(Replaced("row=\"1\"", "row=\"0\"")));
  EXPECT_TRUE(Refused(Replaced("col=\"1\"", "col=\"x\"")));
  EXPECT_TRUE(Refused(Replaced("rowattrib=\"128\"", "rowattrib=\"256\"")));
  EXPECT_TRUE(Refused(Replaced(">box<", ">boxes<")));
  EXPECT_TRUE(Refused(Replaced("<comment>", "<unknown/><comment>")));
  EXPECT_TRUE(Refused(Replaced("<comment>", "<comment><b/>")));
  EXPECT_TRUE(Refused(Replaced("<comment>", "<numcols>4</numcols><comment>")));
  EXPECT_TRUE(Refused(Replaced("&amp;", "&nbsp;")));
  EXPECT_FALSE(D.ReadFromXMLString(Xml, "set 2"));
  EXPECT_TRUE(
      Refused("<!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;\">]>"
              "<replist kvlwidget=\"\" id=\"\"><comment>&b;</comment></replist>"));
  std::mt19937 Rng(7);
  std::string Binary(4096, '\0');
  for (char& C : Binary) C = char(Rng());
  EXPECT_TRUE(Refused(Binary));
  EXPECT_TRUE(Refused(""));
  // A forged count is refused without trying to allocate it.
  const auto Start = std::chrono::steady_clock::now();
  EXPECT_TRUE(
      Refused("<replist kvlwidget=\"\" id=\"\"><numcols>2000000000</numcols>"
              "<numrows>2000000000</numrows></replist>"));
  EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(1));
  EXPECT_TRUE(D.ReadFromXMLString(Xml, ""));
  EXPECT_EQ(D.GetNrOfRows(), 6);
  const std::string Bin = Write("binary.xml", Binary);
  EXPECT_FALSE(D.LoadFromXMLFile(Bin, ""));
  EXPECT_FALSE(D.LoadFromXMLFile(Dir + "/missing.xml", ""));
  EXPECT_FALSE(D.LoadFromXMLFile(Dir, ""));
  EXPECT_FALSE(D.LoadFromXMLFile(Fifo("pipe"), ""));
  ExpectSame(D, Good);
}

TEST_F(RLDataXml, AFailedSaveLeavesTheOldFile) {
  TRLData D(nullptr);
  D.SetNrOfRows(400);
  D.Fill("new");
  const std::string F = Write("old.xml", "old contents");
  D.OnPercentDone = [](TObject*, int P) {
    if (P >= 50) throw std::runtime_error("stopped half-way");
  };
  EXPECT_THROW(D.SaveAsXMLFile(F, ""), std::runtime_error);
  D.OnPercentDone = nullptr;
  EXPECT_EQ(Read(F), "old contents");
  EXPECT_THROW(D.SaveAsXMLFile(Dir + "/no/such/folder.xml", ""), EInOutError);
  EXPECT_THROW(D.SaveAsXMLFile("/proc/kvl-rldata.xml", ""), EInOutError);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir), {}), 1);  // no leftovers
  D.SaveAsXMLFile(F, "");
  EXPECT_TRUE(CheckIfValidReplist(F, ""));
}

TEST_F(RLDataXml, SavingIntoAReadOnlyFolderRaisesAndKeepsTheOldFile) {
  TRLData D(nullptr);
  const std::string F = Write("old.xml", "old contents");
  // Readable by everyone, writable by nobody: root ignores the missing write permission, so
  // as root the save runs in a child that has given up root.
  std::filesystem::permissions(F, std::filesystem::perms::owner_read |
                                      std::filesystem::perms::group_read |
                                      std::filesystem::perms::others_read);
  std::filesystem::permissions(
      Dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
               std::filesystem::perms::others_read | std::filesystem::perms::others_exec);
  const auto SaveFails = [&] {
    try {
      D.SaveAsXMLFile(F, "");
    } catch (const EInOutError&) {
      return Read(F) == "old contents";
    }
    return false;
  };
  const TWithoutRoot Result = RunWithoutRoot(SaveFails);
  if (Result == TWithoutRoot::CannotDropRoot) GTEST_SKIP() << "cannot give up root here";
  EXPECT_EQ(Result, TWithoutRoot::Passed) << "the save succeeded or changed the old file";
  EXPECT_EQ(Read(F), "old contents");
}

TEST_F(RLDataXml, FileKindTestLooksAtLinesOnly) {
  const auto Check = [&](const std::string& Content, const std::string& Id) {
    return CheckIfValidReplist(Write("f.txt", Content), Id);
  };
  EXPECT_TRUE(Check("x\n<REPLIST KVLWidget=\"a\" ID=\"  My Id  \">", ""));
  EXPECT_TRUE(Check("x\n<REPLIST KVLWidget=\"a\" ID=\"  My Id  \">", "my id"));
  EXPECT_FALSE(Check("x\n<REPLIST KVLWidget=\"a\" ID=\"  My Id  \">", "other"));
  EXPECT_FALSE(Check("<replist id=\"a\">\nkvlwidget\n", ""));  // both on one line
  EXPECT_FALSE(Check("<replist kvlwidget>", "a"));             // no id at all
  EXPECT_TRUE(Check("\r\n<replist kvlwidget>\r\n", ""));
  EXPECT_FALSE(Check("", ""));
  EXPECT_FALSE(CheckIfValidReplist(Dir, ""));
  EXPECT_FALSE(CheckIfValidReplist("/dev/zero", ""));
  EXPECT_FALSE(CheckIfValidReplist(Fifo("pipe"), ""));
  EXPECT_THROW(CheckIfValidReplist(Dir + "/missing", ""), EInOutError);
  // A line longer than what is examined is cut, not kept whole.
  EXPECT_FALSE(Check(std::string(70000, 'x') + "<replist kvlwidget", ""));
  // A large file without a line feed is read through in bounded memory.
  const std::string Big = Dir + "/big.bin";
  const int Fd = open(Big.c_str(), O_CREAT | O_WRONLY, 0600);
  ASSERT_GE(Fd, 0);
  ASSERT_EQ(ftruncate(Fd, off_t(1) << 30), 0);
  close(Fd);
  EXPECT_FALSE(CheckIfValidReplist(Big, ""));
  std::istringstream In("a\n<replist kvlwidget=\"x\" id=\"b\">\n");
  EXPECT_TRUE(CheckIfValidReplist(In, "B"));
}

}  // namespace
}  // namespace kvl
