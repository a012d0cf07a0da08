// Loading and saving table data files through the editor's toolbar and the real file dialogs.
#include "table_editor/data_files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/block_text.h"
#include "core/cp932.h"
#include "core/table_record.h"
#include "support/dialog_driver.h"
#include "support/editor_fixture.h"
#include "support/test_data.h"
#include "support/write_faults.h"
#include "win32/files.h"

namespace qr::test {
namespace {

class DataFilesTest : public EditorTest {
 protected:
  void LoadThroughDialog(Quelm_Rask_S& editor, DialogDriver& driver, const std::string& typed) {
    driver.TypeFileNameAndOk(typed);
    Click(editor, editor.Img_SS(2));
    EXPECT_TRUE(driver.WaitUntilDone());
  }
  // Loads through the dialog and answers the one message the load shows; returns its text.
  std::string LoadAnsweringMessage(Quelm_Rask_S& editor, const std::string& typed) {
    DialogDriver driver;
    driver.TypeFileNameAndOk(typed).Press(IDOK);
    Click(editor, editor.Img_SS(2));
    EXPECT_TRUE(driver.WaitUntilDone());
    const std::vector<SeenDialog> seen = driver.Seen();
    return seen.size() == 2 ? seen[1].text : std::string();
  }
  void SaveThroughDialog(Quelm_Rask_S& editor, DialogDriver& driver, const std::string& typed) {
    driver.TypeFileNameAndOk(typed);
    Click(editor, editor.Img_SS(3));
    EXPECT_TRUE(driver.WaitUntilDone());
  }
};

using test::MakeCell;

// The message text with the path on its second line.
std::string WithPath(std::string_view message, const std::string& path) {
  std::string text(message);
  text.append("\n").append(path);
  return text;
}

void ExpectBoxShows(Quelm_Rask_S& editor, int row, int col, const Cell& cell) {
  SCOPED_TRACE("cell " + std::to_string(row) + "," + std::to_string(col));
  forms::TextBox& box = editor.txt_Item(col, row);
  EXPECT_EQ(box.Text(), cell.text);
  EXPECT_EQ(box.Font().name, cell.font.name);
  EXPECT_DOUBLE_EQ(box.Font().size, cell.font.size);
  EXPECT_EQ(box.Font().bold, cell.font.bold);
  EXPECT_EQ(box.Font().italic, cell.font.italic);
  EXPECT_EQ(box.ForeColor(), cell.foreColor);
  EXPECT_EQ(box.BackColor(), cell.backColor);
}

TEST_F(DataFilesTest, SavedTableLoadsBackIntoAFreshEditorWithEveryTextFontAndColour) {
  TableModel expected;
  {
    auto editor = Open();
    state.G_Rows = 3;
    state.G_Cols = 3;
    state.G_Cols_w = {0, 60, 120, 33, 0, 400};
    editor->Build_Grid();
    for (int row = 1; row <= 3; ++row) {
      for (int col = 1; col <= kMaxCols; ++col) {
        const uint32_t n = static_cast<uint32_t>(row * 10 + col);
        const Cell cell = MakeCell("表" + std::to_string(n) + " , \"q\"",
                                   col % 2 ? "Arial" : "ＭＳ Ｐゴシック", 8 + row + col, row == 2, col == 3,
                                   RGB(n, 0, 255 - n), col == 4 ? 0x80000005u : RGB(255, n, n));
        editor->SetCell(row, col, cell);
      }
    }
    expected = editor->Model();
    DialogDriver driver;
    SaveThroughDialog(*editor, driver, "保存表");  // no extension typed: the dialog adds ".qlm"
    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_EQ(driver.Seen()[0].title, "入力データにファイル名を付けて保存");
    EXPECT_EQ(state.Get_Data_Path, folder.path());
  }
  const std::string saved = folder.File("保存表.qlm");
  const std::optional<std::string> bytes = win::ReadFileBytes(saved);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(bytes->size(), 3 * kTableRecordSize);

  state = AppState{};
  state.Get_Data_Path = folder.MakeFolder("elsewhere");
  auto editor = Open();
  editor->SetCellText(5, 1, "元のまま");
  DialogDriver driver;
  LoadThroughDialog(*editor, driver, saved);
  ASSERT_EQ(driver.Seen().size(), 1u);
  EXPECT_EQ(driver.Seen()[0].title, "データファイルの参照");

  EXPECT_EQ(state.G_Rows, 3);
  EXPECT_EQ(state.G_Cols, 3);
  EXPECT_EQ(state.G_Cols_w, (std::array<int16_t, 6>{0, 60, 120, 33, 0, 400}));
  EXPECT_EQ(editor->S_Wide(2).Value(), 80) << "loading does not move the sliders";
  EXPECT_EQ(state.Get_Data_Path, folder.path());
  for (int row = 1; row <= 3; ++row) {
    for (int col = 1; col <= kMaxCols; ++col) {
      EXPECT_EQ(editor->Model().At(row, col), expected.At(row, col)) << row << "," << col;
      ExpectBoxShows(*editor, row, col, expected.At(row, col));
    }
  }
  EXPECT_EQ(editor->Model().At(5, 1).text, "元のまま");
  EXPECT_FALSE(IsWindowVisible(editor->txt_Item(1, 5).hwnd()));
  EXPECT_TRUE(IsWindowVisible(editor->txt_Item(3, 3).hwnd()));
  EXPECT_FALSE(IsWindowVisible(editor->txt_Item(4, 1).hwnd()));
}

TEST_F(DataFilesTest, SavingKeepsWholePointsAndReplacesALongerFile) {
  const std::string path = folder.Write("長い.qlm", std::string(kTableRecordSize * 7, 'x'));
  auto editor = Open();
  state.G_Rows = 2;
  editor->Build_Grid();
  editor->Model().At(1, 1).font.size = 10.5;
  editor->Model().At(1, 2).font.size = 11.5;
  DialogDriver driver;
  driver.TypeFileNameAndOk(path).Press(IDYES);  // the dialog asks before replacing
  Click(*editor, editor->Img_SS(3));
  EXPECT_TRUE(driver.WaitUntilDone());
  const std::optional<std::string> bytes = win::ReadFileBytes(path);
  ASSERT_TRUE(bytes.has_value());
  ASSERT_EQ(bytes->size(), 2 * kTableRecordSize);
  const std::optional<DecodedTable> table = DecodeTableFile(*bytes);
  ASSERT_TRUE(table.has_value());
  EXPECT_DOUBLE_EQ(table->cells[0][0].font.size, 10);
  EXPECT_DOUBLE_EQ(table->cells[0][1].font.size, 12);
  EXPECT_DOUBLE_EQ(table->cells[1][0].font.size, 10) << "the default 9.75 points";
}

TEST_F(DataFilesTest, CsvGivesTextsInFiveColumnsOfWidth100) {
  const std::string sub = folder.MakeFolder("csv");
  const std::string path =
      folder.Write("csv\\表.csv", EncodeCp932("a, b\r\n\"x, y\" ,z\r\np,q,r,s,t,u\r\n\r\n日本,語\nlast"));
  auto editor = Open();
  editor->SetCellText(1, 3, "keep");
  editor->SetCellText(4, 2, "old");
  editor->Model().At(1, 1).backColor = RGB(9, 9, 9);
  editor->ApplyCellStyle(1, 1);
  EXPECT_EQ(LoadAnsweringMessage(*editor, path), FormatCutTextMessage(0, false, 1)) << "the sixth field u";

  EXPECT_EQ(state.G_Rows, 6);
  EXPECT_EQ(state.G_Cols, 5);
  EXPECT_EQ(state.G_Cols_w, (std::array<int16_t, 6>{0, 100, 100, 100, 100, 100}));
  EXPECT_EQ(state.Get_Data_Path, sub);
  // The file replaces the whole table: "keep" and "old" outside its fields are gone.
  const std::vector<std::vector<std::string>> rows = {{"a", "b", "", "", ""},     {"x, y", "z", "", "", ""},
                                                      {"p", "q", "r", "s", "t"},  {"", "", "", "", ""},
                                                      {"日本", "語", "", "", ""}, {"last", "", "", "", ""}};
  const CellFont defaultFont = editor->DefaultCellFont();
  for (int row = 1; row <= 6; ++row) {
    for (int col = 1; col <= 5; ++col) {
      Cell cell;
      cell.text = rows[static_cast<size_t>(row - 1)][static_cast<size_t>(col - 1)];
      cell.font = defaultFont;
      EXPECT_EQ(editor->Model().At(row, col), cell) << row << "," << col;
      ExpectBoxShows(*editor, row, col, cell);
      EXPECT_TRUE(IsWindowVisible(editor->txt_Item(col, row).hwnd()));
    }
  }
}

TEST_F(DataFilesTest, LongFilesLoadTheirFirst34Rows) {
  std::string csv;
  for (int line = 1; line <= 40; ++line) csv += std::to_string(line) + "\r\n";
  const std::string csvPath = folder.Write("long.csv", csv);
  TableModel model;
  for (int row = 1; row <= kMaxRows; ++row) model.At(row, 1).text = std::to_string(100 + row);
  std::string qlm = EncodeTableFile(model, kMaxRows, 2, {0, 80, 80, 80, 80, 80});
  qlm += qlm.substr(0, 2 * kTableRecordSize);  // records 35 and 36
  const std::string qlmPath = folder.Write("long.qlm", qlm);

  auto editor = Open();
  EXPECT_EQ(LoadAnsweringMessage(*editor, csvPath), "表に入りきらない 6 個のｾﾙは読み込みませんでした！");
  EXPECT_EQ(state.G_Rows, 34);
  EXPECT_EQ(editor->Model().At(34, 1).text, "34");
  state.G_Rows = 1;
  editor->Build_Grid();
  {
    DialogDriver driver;
    LoadThroughDialog(*editor, driver, qlmPath);
  }
  EXPECT_EQ(state.G_Rows, 34);
  EXPECT_EQ(state.G_Cols, 2);
  EXPECT_EQ(editor->Model().At(34, 1).text, "134");
  EXPECT_TRUE(IsWindowVisible(editor->txt_Item(1, 34).hwnd()));
}

TEST_F(DataFilesTest, LoadingFewerColumnsLeavesOnlyTheSlidersInUseShown) {
  TableModel model;
  const std::string path = folder.Write("two.qlm", EncodeTableFile(model, 4, 2, {0, 150, 150, 80, 80, 80}));
  auto editor = Open();
  for (int i = 0; i < 3; ++i) SendMessageW(editor->Cmd_Ya(3).hwnd(), BM_CLICK, 0, 0);
  ASSERT_EQ(state.G_Cols, 5);
  DialogDriver driver;
  LoadThroughDialog(*editor, driver, path);
  ASSERT_EQ(state.G_Cols, 2);
  for (int i = 1; i <= kMaxCols; ++i)
    EXPECT_EQ(IsWindowVisible(editor->S_Wide(i).hwnd()) != FALSE, i <= 2) << "slider " << i;
  EXPECT_EQ(editor->S_Wide(2).Left(), 16 + 150);
}

TEST_F(DataFilesTest, ForeignTableFileValuesAreBroughtIntoRange) {
  TableModel model;
  model.At(1, 1).text = "A";
  std::string qlm = EncodeTableFile(model, 1, 2, {0, 80, 80, 80, 80, 80});
  qlm[table_record::kCols] = 9;                         // 9 columns
  qlm[table_record::kColsW] = static_cast<char>(0xFB);  // -5
  qlm[table_record::kColsW + 1] = static_cast<char>(0xFF);
  qlm[table_record::kColsW + 2] = static_cast<char>(0xE7);  // 999
  qlm[table_record::kColsW + 3] = 0x03;
  qlm[table_record::kCellText + 1] = static_cast<char>(0x82);  // a lead byte without its second byte
  qlm += std::string(100, 'z');                                // an incomplete record is ignored
  const std::string path = folder.Write("foreign.QLM", qlm);

  auto editor = Open();
  DialogDriver driver;
  LoadThroughDialog(*editor, driver, path);
  EXPECT_EQ(state.G_Rows, 1);
  EXPECT_EQ(state.G_Cols, 5);
  EXPECT_EQ(state.G_Cols_w[1], 0);
  EXPECT_EQ(state.G_Cols_w[2], 400);
  EXPECT_EQ(editor->Model().At(1, 1).text, "A\xEF\xBF\xBD");
  EXPECT_EQ(editor->txt_Item(1, 1).Text(), "A\xEF\xBF\xBD");
}

// As LibreOffice writes a table in UTF-8: doubled quotes and a line break inside a quoted cell. A
// smaller file loaded next leaves nothing of the first behind, and one Ctrl+Z brings the first back.
TEST_F(DataFilesTest, SpreadsheetCsvLoadsCellForCellAndASmallerFileReplacesItWhole) {
  const std::string wide = folder.Write("five.csv",
                                        "\xEF\xBB\xBF名前,発言,メモ,電話,備考\n"
                                        "山田,\"彼は\"\"こんにちは\"\"と言った\",\"a,b,\"\"c\"\"\",1,\n"
                                        "佐藤,\"\"\"引用\"\"だけ\",\"一行目\n二行目\",2,x\n");
  const std::string narrow = folder.Write("two.csv", "二列A,二列B\r\n");
  auto editor = Open();
  {
    DialogDriver driver;
    LoadThroughDialog(*editor, driver, wide);
  }
  ASSERT_EQ(state.G_Rows, 3);
  EXPECT_EQ(editor->Model().At(2, 2).text, "彼は\"こんにちは\"と言った");
  EXPECT_EQ(editor->Model().At(2, 3).text, "a,b,\"c\"");
  EXPECT_EQ(editor->Model().At(3, 2).text, "\"引用\"だけ");
  EXPECT_EQ(editor->txt_Item(3, 3).Text(), "一行目 二行目");
  EXPECT_EQ(editor->Model().At(3, 5).text, "x");
  const TableModel first = editor->Model();
  {
    DialogDriver driver;
    LoadThroughDialog(*editor, driver, narrow);
  }
  EXPECT_EQ(state.G_Rows, 1);
  for (int row = 1; row <= kMaxRows; ++row) {
    for (int col = 1; col <= kMaxCols; ++col) {
      const std::string expected = row == 1 && col == 1 ? "二列A" : row == 1 && col == 2 ? "二列B" : "";
      EXPECT_EQ(editor->Model().At(row, col).text, expected) << row << "," << col;
    }
  }
  ASSERT_TRUE(editor->Undo());
  EXPECT_EQ(editor->Model(), first);
  EXPECT_EQ(state.G_Rows, 3);
}

// A 50 MB file of one cell went whole into a text box, whose drawing killed the program.
TEST_F(DataFilesTest, EnormousCellIsCutWithOneMessageAndTheEditorLives) {
  const std::string path = folder.Write("huge.csv", std::string(50u << 20, 'x'));
  auto editor = Open();
  DialogDriver driver;
  driver.TypeFileNameAndOk(path).Press(IDOK);
  Click(*editor, editor->Img_SS(2));
  ASSERT_TRUE(driver.WaitUntilDone());
  ASSERT_EQ(driver.Seen().size(), 2u);
  EXPECT_EQ(driver.Seen()[1].text, FormatCutTextMessage(1, true));
  EXPECT_NE(driver.Seen()[1].text.find("1 個のｾﾙ"), std::string::npos);
  EXPECT_EQ(editor->txt_Item(1, 1).Text(), std::string(kMaxCellChars, 'x'));
  EXPECT_EQ(state.G_Rows, 1);
  EXPECT_TRUE(IsWindowVisible(editor->hwnd()));
}

// Python's csv module wrote 40 rows of 7 cells: what the table cannot take is said as pasting says it.
TEST_F(DataFilesTest, CellsBeyondTheTableAreNamedInTheMessage) {
  const std::string path = folder.Write("wide_long.csv", ReadTestData("text_files/wide_long.csv"));
  auto editor = Open();
  EXPECT_EQ(LoadAnsweringMessage(*editor, path), "表に入りきらない 110 個のｾﾙは読み込みませんでした！");
  EXPECT_EQ(editor->Model().At(34, 5).text, "r34c5");
}

// A UTF-8 file over the 16 MB read, cut inside a character: the rows read are still UTF-8.
TEST_F(DataFilesTest, BigUtf8FileCutInsideACharacterLoadsAsJapanese) {
  const std::string rows = ReadTestData("text_files/japanese_utf8.csv");
  ASSERT_FALSE(rows.empty());
  constexpr size_t kRead = 16u << 20;
  // One long line of 行 after the rows, shifted so the read ends one byte into a character.
  const size_t shift = (kRead - rows.size() - 1) % 3;
  std::string bytes = rows + std::string(shift, 'x');
  while (bytes.size() < kRead + (4u << 20)) bytes += "\xE8\xA1\x8C";
  ASSERT_EQ((kRead - rows.size() - shift) % 3, 1u);
  const std::string path = folder.Write("big.csv", bytes);
  auto editor = Open();
  const std::string message = LoadAnsweringMessage(*editor, path);
  EXPECT_EQ(message, FormatCutTextMessage(0, true, 6 * 4 + 1));
  EXPECT_EQ(editor->Model().At(1, 1).text, "1行目");
  EXPECT_EQ(editor->Model().At(34, 4).text, "済み");
}

// A picture or a program renamed ".csv" filled 34 rows with binary junk.
TEST_F(DataFilesTest, FileThatIsNoTextIsRefusedByNameAndTheTableStays) {
  using namespace std::string_literals;
  const std::string png = folder.Write("picture.csv", "\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x10"s);
  auto editor = Open();
  editor->SetCellText(1, 1, "mine");
  DialogDriver driver;
  driver.TypeFileNameAndOk(png).Press(IDOK);
  Click(*editor, editor->Img_SS(2));
  ASSERT_TRUE(driver.WaitUntilDone());
  ASSERT_EQ(driver.Seen().size(), 2u);
  EXPECT_EQ(driver.Seen()[1].text, WithPath(kNotATableMessage, png));
  EXPECT_EQ(editor->txt_Item(1, 1).Text(), "mine");
  EXPECT_EQ(state.G_Rows, 10);
  EXPECT_FALSE(editor->CanUndo());
}

TEST_F(DataFilesTest, FilesWithoutRowsChangeNothingButAnEmptyTableFileMovesTheFolder) {
  const std::string sub = folder.MakeFolder("sub");
  const std::string emptyCsv = folder.Write("sub\\empty.csv", "");
  const std::string shortQlm = folder.Write("sub\\short.qlm", std::string(kTableRecordSize - 1, ' '));
  // An empty file and files of only a byte-order mark, as Python wrote them: each is named as holding no
  // table.
  std::vector<std::string> noRows = {emptyCsv};
  for (const char* name : {"mark_only_utf8.csv", "mark_only_utf16.txt"})
    noRows.push_back(folder.Write(std::string("sub\\") + name, ReadTestData(std::string("text_files/") + name)));
  auto editor = Open();
  editor->SetCellText(1, 1, "stays");
  for (const std::string& path : noRows) {
    EXPECT_EQ(LoadAnsweringMessage(*editor, path), WithPath(kNoRowsMessage, path));
    EXPECT_EQ(state.G_Rows, 10);
    EXPECT_EQ(state.G_Cols, 2);
    EXPECT_EQ(state.G_Cols_w[1], 80);
    EXPECT_EQ(state.Get_Data_Path, folder.path()) << "a text file without lines leaves the folder";
  }
  EXPECT_FALSE(editor->CanUndo());
  {
    DialogDriver driver;
    LoadThroughDialog(*editor, driver, shortQlm);
  }
  EXPECT_EQ(state.G_Rows, 10);
  EXPECT_EQ(editor->Model().At(1, 1).text, "stays");
  EXPECT_EQ(state.Get_Data_Path, sub);
}

TEST_F(DataFilesTest, MissingFileIsReportedAndTheTableStays) {
  const std::string sub = folder.MakeFolder("sub");
  auto editor = Open();
  editor->SetCellText(2, 2, "まだある");
  editor->Model().At(2, 2).backColor = RGB(1, 1, 1);
  editor->ApplyCellStyle(2, 2);
  const std::string missing = sub + "\\ない.qlm";
  DialogDriver driver;
  driver.TypeFileNameAndOk(missing).Press(IDOK);
  Click(*editor, editor->Img_SS(2));
  EXPECT_TRUE(driver.WaitUntilDone());
  ASSERT_EQ(driver.Seen().size(), 2u);
  EXPECT_EQ(driver.Seen()[1].title, "Quelm_Rask");
  EXPECT_EQ(driver.Seen()[1].text, WithPath(kCannotReadMessage, missing));
  EXPECT_EQ(state.G_Rows, 10);
  EXPECT_EQ(state.G_Cols, 2);
  EXPECT_EQ(editor->Model().At(2, 2).text, "まだある");
  EXPECT_EQ(editor->txt_Item(2, 2).BackColor(), static_cast<COLORREF>(RGB(1, 1, 1)));
  EXPECT_EQ(state.Get_Data_Path, sub) << "the dialog opens where the user looked last";
}

TEST_F(DataFilesTest, WrongExtensionIsReportedAndNothingIsWritten) {
  const std::string sub = folder.MakeFolder("sub");
  auto editor = Open();
  DialogDriver driver;
  const std::string typed = sub + "\\table.txt";
  driver.TypeFileNameAndOk(typed).Press(IDOK);
  Click(*editor, editor->Img_SS(3));
  EXPECT_TRUE(driver.WaitUntilDone());
  ASSERT_EQ(driver.Seen().size(), 2u);
  EXPECT_EQ(driver.Seen()[1].title, "Quelm_Rask");
  EXPECT_EQ(driver.Seen()[1].text, kWrongExtensionMessage);
  EXPECT_EQ(driver.Seen()[1].buttons, std::vector<int>{IDOK});
  EXPECT_FALSE(win::ReadFileBytes(typed).has_value());
  EXPECT_EQ(state.Get_Data_Path, sub);

  // The comparison ignores the letter case.
  DialogDriver upper;
  SaveThroughDialog(*editor, upper, sub + "\\TABLE.QLM");
  EXPECT_EQ(upper.Seen().size(), 1u);
  const std::optional<std::string> saved = win::ReadFileBytes(sub + "\\TABLE.QLM");
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(saved->size(), 10 * kTableRecordSize);
}

TEST_F(DataFilesTest, FailedSaveKeepsTheOldFileAndSaysSo) {
  const std::string path = folder.Write("old.qlm", "the old table");
  // A folder, with a file in it, where the new file would be written first.
  folder.MakeFolder("old.qlm.tmp~");
  ASSERT_FALSE(folder.Write("old.qlm.tmp~\\blocker", "x").empty());
  auto editor = Open();
  DialogDriver driver;
  driver.TypeFileNameAndOk(path).Press(IDYES).Press(IDOK);
  Click(*editor, editor->Img_SS(3));
  EXPECT_TRUE(driver.WaitUntilDone());
  ASSERT_EQ(driver.Seen().size(), 3u);
  EXPECT_EQ(driver.Seen()[2].title, "Quelm_Rask");
  EXPECT_EQ(driver.Seen()[2].text, WithPath(kCannotSaveMessage, path));
  EXPECT_EQ(win::ReadFileBytes(path), "the old table");
  EXPECT_EQ(state.Get_Data_Path, folder.path());
}

TEST_F(DataFilesTest, CancelledDialogsChangeNothing) {
  const std::string before = state.Get_Data_Path;
  auto editor = Open();
  DialogDriver driver;
  driver.Press(IDCANCEL).Press(IDCANCEL);
  Click(*editor, editor->Img_SS(2));
  Click(*editor, editor->Img_SS(3));
  EXPECT_TRUE(driver.WaitUntilDone());
  EXPECT_EQ(driver.Seen().size(), 2u);
  EXPECT_EQ(state.G_Rows, 10);
  EXPECT_EQ(state.Get_Data_Path, before);
}

// What a spreadsheet writes: a UTF-8 CSV with a byte-order mark and a "Unicode text" file (UTF-16, tabs).
TEST_F(DataFilesTest, UnicodeTextFilesLoadAsTheirJapaneseTextAndSaveAsSuch) {
  using namespace std::string_literals;
  const std::string utf8 = folder.Write("予定.csv", "\xEF\xBB\xBF予定,\"火, 水\"\r\n会議,x\r\n");
  // 会議\t"a,b"\r\n予定 in UTF-16 little-endian.
  const std::string utf16 =
      folder.Write("unicode.txt", "\xFF\xFE\x1A\x4F\x70\x8B\t\0\"\0a\0,\0b\0\"\0\r\0\n\0\x88\x4E\x9A\x5B"s);
  auto editor = Open();
  const std::vector<std::pair<std::string, std::vector<std::vector<std::string>>>> cases = {
      {utf8, {{"予定", "火, 水"}, {"会議", "x"}}}, {utf16, {{"会議", "a,b"}, {"予定"}}}};
  for (const auto& [path, rows] : cases) {
    SCOPED_TRACE(path);
    {
      DialogDriver driver;
      LoadThroughDialog(*editor, driver, path);
    }
    const std::string saved = folder.File("saved.qlm");
    {
      DialogDriver driver;
      driver.TypeFileNameAndOk(saved);
      if (win::ReadFileBytes(saved)) driver.Press(IDYES);
      Click(*editor, editor->Img_SS(3));
      EXPECT_TRUE(driver.WaitUntilDone());
    }
    const std::optional<std::string> bytes = win::ReadFileBytes(saved);
    ASSERT_TRUE(bytes.has_value());
    const std::optional<DecodedTable> table = DecodeTableFile(*bytes);
    ASSERT_TRUE(table.has_value());
    ASSERT_EQ(table->rows, static_cast<int16_t>(rows.size()));
    for (size_t row = 0; row < rows.size(); ++row) {
      for (size_t col = 0; col < rows[row].size(); ++col)
        EXPECT_EQ(table->cells[row][col].text, rows[row][col]);
    }
  }
}

TEST_F(DataFilesTest, LoadingATextFileCanBeUndoneAndATableFileForgetsTheUndo) {
  const std::string csv = folder.Write("a.csv", "a,b,c\r\n");
  TableModel model;
  model.At(1, 1).text = "qlm";
  const std::string qlm = folder.Write("t.qlm", EncodeTableFile(model, 1, 1, {0, 50, 50, 50, 50, 50}));
  auto editor = Open();
  editor->SetCellText(1, 1, "mine");
  {
    DialogDriver driver;
    LoadThroughDialog(*editor, driver, csv);
  }
  ASSERT_EQ(state.G_Cols, 5);
  ASSERT_TRUE(editor->Undo());
  EXPECT_EQ(state.G_Cols, 2);
  EXPECT_EQ(state.G_Rows, 10);
  EXPECT_EQ(state.G_Cols_w, (std::array<int16_t, 6>{0, 80, 80, 80, 80, 80}));
  EXPECT_EQ(editor->txt_Item(1, 1).Text(), "mine");
  {
    DialogDriver driver;
    LoadThroughDialog(*editor, driver, csv);
  }
  {
    DialogDriver driver;
    LoadThroughDialog(*editor, driver, qlm);
  }
  EXPECT_FALSE(editor->CanUndo());
  EXPECT_EQ(editor->txt_Item(1, 1).Text(), "qlm");
}

// Nothing is replaced silently: the user hears how many cells would lose characters, and chooses.
TEST_F(DataFilesTest, CharactersTheFileCannotKeepAreAskedAboutBeforeSaving) {
  auto editor = Open();
  editor->SetCellText(1, 1, "caf\xC3\xA9");
  editor->SetCellText(2, 2, "ok \xF0\x9F\x98\x80");
  editor->SetCellText(2, 1, "表");
  editor->SetCellText(20, 1, "\xF0\x9F\x98\x80");  // beyond the rows in use: not saved, not counted
  const std::string path = folder.File("lossy.qlm");
  {
    DialogDriver driver;
    driver.TypeFileNameAndOk(path).Press(IDCANCEL);
    Click(*editor, editor->Img_SS(3));
    EXPECT_TRUE(driver.WaitUntilDone());
    ASSERT_EQ(driver.Seen().size(), 2u);
    EXPECT_EQ(driver.Seen()[1].text, FormatUnsavableCharactersQuestion(2));
    EXPECT_EQ(driver.Seen()[1].buttons, (std::vector<int>{IDOK, IDCANCEL}));
  }
  EXPECT_FALSE(win::ReadFileBytes(path).has_value());
  EXPECT_EQ(editor->Model().At(1, 1).text, "caf\xC3\xA9") << "the cells keep their characters";
  {
    DialogDriver driver;
    driver.TypeFileNameAndOk(path).Press(IDOK);
    Click(*editor, editor->Img_SS(3));
    EXPECT_TRUE(driver.WaitUntilDone());
  }
  const std::optional<DecodedTable> table = DecodeTableFile(win::ReadFileBytes(path).value_or(""));
  ASSERT_TRUE(table.has_value());
  EXPECT_EQ(table->cells[0][0].text, "caf?");
  EXPECT_EQ(table->cells[1][1].text, "ok ?");
  EXPECT_EQ(table->cells[1][0].text, "表");
}

// A save that fails leaves the previous table file byte for byte, nothing beside it, and says so. (A
// missing folder cannot be chosen in the save dialog; the writer's own test covers it.)
class DataFileSaveFaults : public DataFilesTest, public ::testing::WithParamInterface<WriteFault> {};

TEST_P(DataFileSaveFaults, PreviousFileStaysAsItWasAndTheUserIsTold) {
  FaultScene scene(GetParam());
  if (scene.Skipped()) GTEST_SKIP() << scene.SkipReason();
  const std::string path = scene.Put("old.qlm", "the old table");
  const std::vector<std::string> before = scene.Files();
  ASSERT_TRUE(scene.Arm(path));
  auto editor = Open();
  DialogDriver driver;
  driver.TypeFileNameAndOk(path).Press(IDYES).Press(IDOK);
  Click(*editor, editor->Img_SS(3));
  EXPECT_TRUE(driver.WaitUntilDone());
  scene.Disarm();
  ASSERT_EQ(driver.Seen().size(), 3u);
  EXPECT_EQ(driver.Seen()[2].title, "Quelm_Rask");
  EXPECT_EQ(driver.Seen()[2].text, WithPath(kCannotSaveMessage, path));
  EXPECT_EQ(win::ReadFileBytes(path), "the old table");
  EXPECT_EQ(scene.Files(), before);
}

INSTANTIATE_TEST_SUITE_P(Faults, DataFileSaveFaults,
                         ::testing::Values(WriteFault::ReadOnly, WriteFault::Locked, WriteFault::DiskFull),
                         WriteFaultName);

}  // namespace
}  // namespace qr::test
