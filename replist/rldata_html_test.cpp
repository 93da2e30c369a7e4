// TRLData as an HTML page: chosen cells and columns, attributes, escaping and the handler.
#include <gtest/gtest.h>

#include <cstdlib>

#include "kvl/platform/errors.h"
#include "kvl/replist/replist.h"
#include "rldata_test_files.h"

namespace kvl {
namespace {

class RLDataHtml : public TTempDirTest {
protected:
  TRLData S{nullptr};
  void SetUp() override {
    TTempDirTest::SetUp();
    S.SetNrOfColumns(3);
    S.SetNrOfRows(3);
    S.SetCommonHeader("Fruit & <veg>");
    S.SetHeader(1, "Name");
    S.SetHeader(2, "Price \"€\"");
    S.SetHeader(3, "Ok");
    S.SetColumnCheckMode(3, cmBox);
    for (int R = 1; R <= 3; ++R) {
      S.SetElem(1, R, "n" + std::to_string(R));
      S.SetElem(2, R, std::to_string(R) + " < 5 & 'x'");
      S.SetElem(3, R, "yes");
    }
  }
};

TEST_F(RLDataHtml, PageHoldsTheChosenCellsEscaped) {
  const std::string H = S.HTMLTable(2, 2, 9, 99, {}, 1, 2, 3, true, "h", "c\"x", "");
  EXPECT_NE(H.find("<title>Fruit &amp; &lt;veg&gt;</title>"), std::string::npos);
  EXPECT_NE(H.find("<table border=\"1\" cellspacing=\"2\" cellpadding=\"3\">\n"),
            std::string::npos);
  EXPECT_NE(H.find("<tr><th class=\"h\">Price &quot;€&quot;</th><th class=\"h\">Ok</th></tr>\n"
                   "<tr><td class=\"c&quot;x\">2 &lt; 5 &amp; &apos;x&apos;</td>"
                   "<td class=\"c&quot;x\">yes</td></tr>\n"
                   "<tr><td class=\"c&quot;x\">3 &lt; 5 &amp; &apos;x&apos;</td>"),
            std::string::npos)
      << H;
  EXPECT_EQ(H.find("n1"), std::string::npos);
  EXPECT_EQ(H.find("n2"), std::string::npos);
  // The column selection picks and orders columns inside the range; others are ignored.
  const std::string Sel = S.HTMLTable(1, 1, 3, 1, {3, 0, 7, 1}, -4, 0, 0, false, "", "", "t");
  EXPECT_NE(Sel.find("<table class=\"t\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\">\n"
                     "<tr><td>yes</td><td>n1</td></tr>\n</table>"),
            std::string::npos)
      << Sel;
  const std::string None = S.HTMLTable(5, 5, 9, 9, {}, 0, 0, 0, true, "", "", "");
  EXPECT_NE(None.find("<table border=\"0\" cellspacing=\"0\" cellpadding=\"0\">\n</table>"),
            std::string::npos);
}

TEST_F(RLDataHtml, HandlerSeesEscapedTextAndMayAddMarkup) {
  std::vector<std::pair<int, int>> Seen;
  S.OnBeforeHTMLExport = [&](TObject* Sender, std::string& Text, int Col, int Row) {
    EXPECT_EQ(Sender, &S);
    Seen.emplace_back(Col, Row);
    if (Col == 2 && Row == 1) {
      EXPECT_EQ(Text, "1 &lt; 5 &amp; &apos;x&apos;");
      Text = "<b>" + Text + "</b>";
    }
  };
  const std::string H = S.HTMLTable(2, 1, 2, 1, {}, 0, 0, 0, true, "", "", "");
  EXPECT_NE(H.find("<td><b>1 &lt; 5 &amp; &apos;x&apos;</b></td>"), std::string::npos);
  EXPECT_EQ(Seen, (std::vector<std::pair<int, int>>{{2, 0}, {2, 1}}));
}

TEST_F(RLDataHtml, ExportedFilePassesAnHtmlParser) {
  S.SetElem(1, 2, "tab\tline\nfeed é€ \x01");
  const std::string F = Dir + "/table.html";
  S.ExportHTMLTable(F, 1, 1, 3, 3, {}, 1, 1, 1, true, "head", "cell", "table");
  const std::string H = Read(F);
  EXPECT_EQ(H.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(H.find("tab&#9;line&#10;feed é€ \xEF\xBF\xBD"), std::string::npos);
  if (std::system("command -v xmllint > /dev/null") == 0) {
    EXPECT_EQ(std::system(("xmllint --html --noout '" + F + "' 2> '" + F + ".err'").c_str()), 0);
    EXPECT_EQ(Read(F + ".err"), "");
  }
  EXPECT_THROW(
      S.ExportHTMLTable(Dir + "/no/such/folder.html", 1, 1, 3, 3, {}, 1, 1, 1, true, "", "", ""),
      EInOutError);
}

}  // namespace
}  // namespace kvl
