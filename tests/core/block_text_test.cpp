#include "core/block_text.h"

#include <gtest/gtest.h>

namespace qr {
namespace {

TEST(CellBlock, OnlyTabsAndLineBreaksMakeABlock) {
  EXPECT_FALSE(IsCellBlock("月 火, \"水\""));
  EXPECT_TRUE(IsCellBlock("月\t火"));
  EXPECT_TRUE(IsCellBlock("月\n"));
  EXPECT_TRUE(IsCellBlock("月\r"));
}

TEST(CellBlock, RowsEndAtLineBreaksAndTheLastBreakAddsNoRow) {
  EXPECT_EQ(ParseCellBlock("月\t火\t水\r\n1\t2\t3\r\n"), (CellBlock{{"月", "火", "水"}, {"1", "2", "3"}}));
  EXPECT_EQ(ParseCellBlock("a\nb\rc"), (CellBlock{{"a"}, {"b"}, {"c"}}));
  EXPECT_EQ(ParseCellBlock("a\t\r\n\r\nb\r\n"), (CellBlock{{"a", ""}, {""}, {"b"}}));
  EXPECT_EQ(ParseCellBlock(""), CellBlock{});
}

TEST(CellBlock, QuotedCellsHoldTabsDoubledQuotesAndLineBreaks) {
  EXPECT_EQ(ParseCellBlock("\"say \"\"hi\"\"\"\tx\r\n"), (CellBlock{{"say \"hi\"", "x"}}));
  EXPECT_EQ(ParseCellBlock("\"a\tb\"\tc\r\n"), (CellBlock{{"a\tb", "c"}}));
  // A line break inside a quoted cell becomes a space and ends no row.
  EXPECT_EQ(ParseCellBlock("\"line1\r\nline2\"\tz\r\nnext\r\n"), (CellBlock{{"line1 line2", "z"}, {"next"}}));
  // A quote inside an unquoted cell is an ordinary character; text after a closing quote is kept.
  EXPECT_EQ(ParseCellBlock("5\"\t\"ab\"cd\r\n"), (CellBlock{{"5\"", "abcd"}}));
  EXPECT_EQ(ParseCellBlock("\"\"\t\"open"), (CellBlock{{"", "open"}}));
}

TEST(CellBlock, FormattedBlockParsesBackToTheSameCells) {
  const CellBlock block{{"予定", "a\tb", "\"q\""}, {"", "x", "5\""}};
  const std::string text = FormatCellBlock(block);
  EXPECT_EQ(text, "予定\t\"a\tb\"\t\"\"\"q\"\"\"\r\n\tx\t\"5\"\"\"\r\n");
  EXPECT_EQ(ParseCellBlock(text), block);
}

TEST(CellBlock, TheTableGrowsToTakeTheBlockUpToItsLimits) {
  const CellBlock twoByThree{{"a", "b", "c"}, {"d", "e", "f"}};
  const BlockFit fit = FitCellBlock(twoByThree, 1, 1, 10, 2, 34, 5);
  EXPECT_EQ(fit.rows, 10);
  EXPECT_EQ(fit.cols, 3);
  EXPECT_EQ(fit.dropped, 0);
  // From (33, 4): row 35 and column 6 do not exist.
  const BlockFit edge = FitCellBlock(CellBlock{{"1", "2", "3"}, {"4", "5", "6"}, {"7"}}, 33, 4, 10, 2, 34, 5);
  EXPECT_EQ(edge.rows, 34);
  EXPECT_EQ(edge.cols, 5);
  EXPECT_EQ(edge.dropped, 3);  // "3", "6" and "7"
}

// A clipboard of millions of line breaks or one enormous cell builds no more than the table takes.
TEST(CellBlock, BoundedParseKeepsWhatFitsAndCountsTheRest) {
  const BoundedBlock lines = ParseCellBlock(std::string(2'000'000, '\n'), BlockLimits{34, 5});
  EXPECT_EQ(lines.block.size(), 34u);
  EXPECT_EQ(lines.dropped, 2'000'000u - 34u);
  EXPECT_LT(lines.block.capacity(), 100u);

  const BoundedBlock grid = ParseCellBlock("1\t2\t3\r\n4\t5\t6\r\n7\r\n", BlockLimits{2, 2});
  EXPECT_EQ(grid.block, (CellBlock{{"1", "2"}, {"4", "5"}}));
  EXPECT_EQ(grid.dropped, 3u);  // "3", "6" and "7"

  const std::string huge = "\"" + std::string(3'000'000, 'x') + "\"\t" + std::string(5000, 'y') + "\n";
  const BoundedBlock cut = ParseCellBlock(huge, BlockLimits{34, 5, 4096});
  ASSERT_EQ(cut.block.size(), 1u);
  EXPECT_EQ(cut.block[0], (std::vector<std::string>{std::string(4096, 'x'), std::string(4096, 'y')}));
  EXPECT_EQ(cut.cut, 2u);
  EXPECT_EQ(cut.dropped, 0u);
}

TEST(CellBlock, CuttingCountsCharactersAndNeverSplitsOne) {
  std::string text = "予定表";
  EXPECT_TRUE(CutCellText(text, 2));
  EXPECT_EQ(text, "予定");
  EXPECT_FALSE(CutCellText(text, 2));
  EXPECT_EQ(text, "予定");
}

}  // namespace
}  // namespace qr
