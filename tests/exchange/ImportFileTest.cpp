#include "exchange/ImportFile.h"

#include <gtest/gtest.h>

#include <string>

#include "support/TempDir.h"

namespace quenderlink {
namespace {

using testing::TempDir;
using namespace std::string_literals;

ImportFileText ReadText(const TempDir& dir, const std::string& bytes) {
  const auto path = dir / "sites.csv";
  testing::WriteFileBytes(path, bytes);
  return ReadImportFile(path);
}

TEST(ImportFileTest, ReadsTheLineEndsAndMarksOfSpreadsheetPrograms) {
  TempDir dir;
  struct Case {
    const char* name;
    std::string bytes;
    std::string lines;
  };
  // The cut falls inside a two-byte character, which is left out whole.
  const std::string uncut(kImportLineLimit - 1, 'x');
  const Case cases[] = {
      {"CR LF with an empty line", "a,1\r\n\r\nb,2\r\n", "1[a,1]2[]3[b,2]"},
      {"CR alone", "a,1\rb,2", "1[a,1]2[b,2]"},
      {"no final line end", "a,1", "1[a,1]"},
      {"a long line, cut, not split into rows",
       std::string(uncut).append("\xC3\xA9").append(500, 'y').append("\nnext\n"),
       std::string("1+[").append(uncut).append("]2[next]")},
  };
  for (const Case& c : cases) {
    const ImportFileText file = ReadText(dir, c.bytes);
    EXPECT_TRUE(file.ok()) << c.name << ": " << file.error;
    std::string read;  // each line's number, "+" if it was cut, and its text in brackets
    for (const ImportFileLine& line : file.lines)
      read += std::to_string(line.number) + (line.cut ? "+" : "") + "[" + line.text + "]";
    EXPECT_EQ(read, c.lines) << c.name;
  }
}

// Spreadsheet programs on Windows save "CSV" in Windows-1252.
TEST(ImportFileTest, AFileThatIsNotAllUtf8IsReadAsWindows1252) {
  TempDir dir;
  struct Case {
    const char* name;
    std::string bytes;
    ImportEncoding encoding;
    std::string firstLine;
  };
  const std::string uncut(kImportLineLimit - 1, 'x');
  const Case cases[] = {
      {"UTF-8 after a byte-order mark", "\xEF\xBB\xBF" "Cr\xC3\xAAte,1\n", ImportEncoding::Utf8, "Cr\u00EAte,1"},
      {"one accented name", "a,1\nCr\xEAte \x80,2\n", ImportEncoding::Windows1252, "a,1"},
      {"a surrogate is no UTF-8", "\xED\xA0\x80", ImportEncoding::Windows1252, "\u00ED\u00A0\u20AC"},
      {"cut at the limit of characters, not of their UTF-8",
       std::string(uncut).append("\xE9\xE9\n"), ImportEncoding::Windows1252, std::string(uncut).append("\u00E9")},
  };
  for (const Case& c : cases) {
    const ImportFileText file = ReadText(dir, c.bytes);
    ASSERT_TRUE(file.ok()) << c.name << ": " << file.error;
    EXPECT_EQ(file.encoding, c.encoding) << c.name;
    EXPECT_EQ(file.lines.at(0).text, c.firstLine) << c.name;
  }
  EXPECT_EQ(ReadText(dir, "a,1\nCr\xEAte \x80,2\n").lines.at(1).text, "Cr\u00EAte \u20AC,2");
  EXPECT_EQ(ImportEncodingName(ImportEncoding::Windows1252), "Windows-1252");
}

TEST(ImportFileTest, WhatIsNotATextFileIsRefusedWithItsReason) {
  TempDir dir;
  EXPECT_EQ(ReadText(dir, "a,1\nb\0c\n"s).error, "It is not a text file: line 2 holds a NUL byte.");
  EXPECT_EQ(ReadText(dir, "a,\xE9\n\nb\0c\n"s).error, "It is not a text file: line 3 holds a NUL byte.");
  EXPECT_EQ(ReadImportFile(dir.path()).error, "It is not a file that can be read.");
  EXPECT_EQ(ReadImportFile(dir / "missing.csv").error, "It is not a file that can be read.");
}

TEST(ImportFileTest, TheSampleShowsTheFirstThreeLines) {
  TempDir dir;
  EXPECT_EQ(ImportSampleText(ReadText(dir, ";comment\na\nb\nc\n")), ";comment\r\na\r\nb");
}

}  // namespace
}  // namespace quenderlink
