#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "kvl/core/univconst.h"
#include "kvl/ntabed/ntabed.h"

namespace kvl {
namespace {

TEST(NTabCellText, FixedAndScientificAtTheRangeBoundaries) {
  struct TCase {
    double V;
    int P, W;
    const char* Text;
  } Cases[] = {
      {99999.999, 3, 1, "99999.999"},
      {99999.9995, 3, 1, " 1.0E+05"},
      {0.001, 3, 1, "0.001"},
      {0.00099, 3, 1, " 9.9E-04"},
      {-99999.999, 3, 1, "-99999.999"},
      {-0.00099, 3, 1, "-9.9E-04"},
      {0, 3, 1, "0.000"},
      {-0.0, 3, 1, "0.000"},
      {-0.0, -1, 1, " 0.0E+00"},
      {1e9, 0, 1, " 1.0E+09"},
      {999999999, 0, 1, "999999999"},
      {0.5, 0, 1, " 5.0E-01"},
      {1e150, 3, 1, "********"},
      {-1e-150, -1, 1, "********"},
      {1.23456789, 3, 5, "1.235"},
      {1.23456789, 3, 8, "   1.235"},
      {1.23456789, -1, 5, " 1.2346E+00"},
      {1.23456789, 9, 1, " 1.2E+00"},
      {0.99999999, 8, 1, "0.99999999"},
      {0.999999995, 8, 1, " 1.0E+00"},
      {2.5, 10, 3, " 2.50E+00"},
      {1.23456789, -1, 20, "   1.23456789000000000E+00"},
      {1.23456789, -1, 19, "  1.23456789000000000E+00"},
      {std::numeric_limits<double>::quiet_NaN(), 3, 5, "  NaN"},
      {INFINITY, 3, 1, "Inf"},
      {-INFINITY, 3, 6, "  -Inf"},
  };
  for (const TCase& C : Cases)
    EXPECT_EQ(NTabNumberText(C.V, C.P, C.W), C.Text) << C.V << " p" << C.P << " w" << C.W;
}

TEST(NTabCellText, IsAtLeastNumWidthAndAsterisksOnlyForLongExponents) {
  const double Values[] = {0, 1e-300, uc_MaxDouble, -0.0, 1.23456789, 1e150, 5e-324, -7.5e99, 42};
  for (double V : Values)
    for (int P = -1; P <= 10; ++P)
      for (int W : {1, 5, 20}) {
        const std::string S = NTabNumberText(V, P, W);
        EXPECT_GE(int(S.size()), W) << V;
        const bool Stars = S.find('*') != std::string::npos;
        const bool Big = V != 0 && (std::fabs(V) >= 1e100 || std::fabs(V) < 1e-99);
        EXPECT_EQ(Stars, Big) << V << " p" << P << " w" << W << " " << S;
      }
}

TEST(NTabCellText, NominalTextAndEditorText) {
  TDataTable T(nullptr, 1, 1);
  T.SetMScaleType(1, 1);
  T.SetNominalID(1, 3, "mid");
  struct TCase {
    double V;
    const char* Shown;
    const char* Edited;
  } Cases[] = {{3, "mid", "mid"},           {2.6, "mid", "mid"},          {7, "nominal:7", "7"},
               {0, "nominal:0", "0"},       {151, "nominal:151", "151"}, {-1, "nominal:-1", "-1"},
               {2.5, "nominal:2", "2"},     {NAN, "nominal:NaN", "NaN"},
               {INFINITY, "nominal:Inf", "Inf"}, {2147483648.0, "nominal:2147483648", "2147483648"},
               {1e300, "nominal:1", "1"}};
  for (const TCase& C : Cases) {
    if (C.V == 1e300) continue;  // checked below: the text is long
    EXPECT_EQ(NTabNominalText(T, 1, C.V, false), C.Shown) << C.V;
    EXPECT_EQ(NTabNominalText(T, 1, C.V, true), C.Edited) << C.V;
  }
  EXPECT_EQ(NTabNominalText(T, 1, -1e300, true).substr(0, 3), "-10");
}

TEST(NTabCellText, EditorNumberGrammar) {
  struct TCase {
    const char* Text;
    bool Ok;
    double V;
  } Cases[] = {{"1,5", true, 1.5},     {" 1,5 ", true, 1.5}, {"-1.5E3", true, -1500},
               {"+.5", true, 0.5},     {"5.", true, 5},      {"1e999", true, uc_MaxDouble},
               {"-1e999", true, -uc_MaxDouble}, {"1e-400", true, 0}, {"nan", false, 0},
               {"inf", false, 0},      {"0x10", false, 0},   {"1 2", false, 0},
               {"", false, 0},         {"1e", false, 0},     {".", false, 0},
               {"1,234.5", false, 0}};
  for (const TCase& C : Cases) {
    double V = -77;
    EXPECT_EQ(NTabParseNumber(C.Text, V), C.Ok) << C.Text;
    if (C.Ok) {
      EXPECT_EQ(V, C.V) << C.Text;
    }
  }
  double V = 0;
  EXPECT_TRUE(NTabParseNumber(std::string(100000, '7'), V));
  EXPECT_EQ(V, uc_MaxDouble);
}

struct TScanned {
  std::vector<std::tuple<int, int, double>> Cells;
  bool Any;
};

TScanned Scan(std::string_view Text) {
  TScanned S;
  S.Any = NTabScanNumbers(Text, [&](int C, int R, double V) { S.Cells.emplace_back(C, R, V); });
  return S;
}

TEST(NTabScanner, ReadsSpreadsheetTextAndKeepsItsQuirks) {
  using TCells = std::vector<std::tuple<int, int, double>>;
  EXPECT_EQ(Scan("1\t2\r\n\r\n-1.5E3\t1,5\r\n7\t12,25").Cells,
            (TCells{{0, 0, 1}, {1, 0, 2}, {0, 2, -1500}, {1, 2, 1.5}, {0, 3, 7}, {1, 3, 12.25}}));
  // A lone CR ends a line as LF does.
  EXPECT_EQ(Scan("1\r2\r3").Cells, (TCells{{0, 0, 1}, {0, 1, 2}, {0, 2, 3}}));
  EXPECT_EQ(Scan("1-2-3").Cells, (TCells{{0, 0, 1}, {1, 0, 2}, {2, 0, 3}}));
  // A second separator fails the number (0); the scan goes on after it.
  EXPECT_EQ(Scan("1,234.5").Cells, (TCells{{0, 0, 0}, {1, 0, 5}}));
  EXPECT_EQ(Scan("- . 1E x").Cells, (TCells{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}));
  EXPECT_EQ(Scan("a\t\tb 4").Cells, (TCells{{0, 0, 4}}));
  EXPECT_FALSE(Scan("no numbers\n").Any);
  EXPECT_EQ(Scan("1e" + std::string(50, '9')).Cells, (TCells{{0, 0, uc_MaxDouble}}));
  EXPECT_EQ(Scan("-1e" + std::string(50, '9')).Cells, (TCells{{0, 0, -uc_MaxDouble}}));
  EXPECT_EQ(Scan("1e-" + std::string(50, '9')).Cells, (TCells{{0, 0, 0}}));
  EXPECT_EQ(Scan("1e" + std::string(100000, '1')).Cells.size(), 1u);
}

}  // namespace
}  // namespace kvl
