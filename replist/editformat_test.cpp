// The row editor's reading of edit formats: items, drop-down counts, date formats and bounds.
#include "kvl/replist/editformat.h"

#include <gtest/gtest.h>

namespace kvl {
namespace {

TEST(EditFormat, ReadsWhatOnlyTheRowEditorNeeds) {
  using V = std::vector<std::string>;
  const struct {
    const char* Format;
    char Letter;
    bool ReadOnly;
    int Width, Count;
    V Items;
    const char* DateFormat;
  } Cases[] = {
      {"[l:5][120]red|green|blue", 'l', false, 120, 5, V{"red", "green", "blue"}, ""},
      {"[c][80]red||blue|", 'c', false, 80, 0, V{"red", "", "blue"}, ""},
      {"[#c: +8][80]|", 'c', true, 80, 8, V{""}, ""},
      {"[c:-5][10]a|b", 'c', false, 10, 1, V{"a", "b"}, ""},
      {"[c:999999][10]a|b", 'c', false, 10, 100, V{"a", "b"}, ""},
      {"[l:x][10]", 'l', false, 10, 0, V{""}, ""},
      {"[i:3][60]rix3", 'i', false, 60, 0, V{}, ""},
      {"[s][99999999999]", 's', false, MaxEditFieldWidth, 0, V{}, ""},
      {"[ddd.MM.yyyy]", 'd', false, 200, 0, V{}, "dd.MM.yyyy"},
      {"[#d HH:mm][60]", 'd', true, 60, 0, V{}, " HH:mm"},
      {"[d][100]", 'd', false, 100, 0, V{}, "yyyy-MM-dd"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Format);
    const TEditFormat F = ReadEditFormat(C.Format);
    EXPECT_EQ(F.Column.Letter(), C.Letter);
    EXPECT_EQ(F.Column.ReadOnly, C.ReadOnly);
    EXPECT_EQ(F.Column.Width, C.Width);
    EXPECT_EQ(F.DropDownCount, C.Count);
    EXPECT_EQ(F.Items, C.Items);
    EXPECT_EQ(F.DateFormat, C.DateFormat);
  }
}

// The store gives read-only columns no default; the editor shows theirs.
TEST(EditFormat, ReadOnlyColumnsKeepTheirDefaultText) {
  EXPECT_EQ(ColumnDefaultText(ParseColumnFormat("[#i][60]rix3"), 7), "007");
  EXPECT_EQ(FormatDefaultValue("[#i][60]rix3", 7), "");
  EXPECT_EQ(ColumnDefaultText(ParseColumnFormat("[#s][80]$pwd$8"), 1).size(), 8u);
  EXPECT_EQ(ColumnDefaultText(ParseColumnFormat("[#f][60]2.5"), 1), "2.5");
}

}  // namespace
}  // namespace kvl
