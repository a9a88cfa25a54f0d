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

TEST(ImportFileTest, WhatIsNotATextFileIsRefusedWithItsReason) {
  TempDir dir;
  EXPECT_EQ(ReadText(dir, "a,1\nb\0c\n"s).error, "It is not a text file: line 2 holds a NUL byte.");
  EXPECT_EQ(ReadText(dir, "a,1\n\xE9t\xE9\n").error, "It is not a text file: line 2 is not UTF-8 text.");
  EXPECT_EQ(ReadText(dir, "\xED\xA0\x80").error, "It is not a text file: line 1 is not UTF-8 text.");
  EXPECT_EQ(ReadImportFile(dir.path()).error, "It is not a file that can be read.");
  EXPECT_EQ(ReadImportFile(dir / "missing.csv").error, "It is not a file that can be read.");
}

TEST(ImportFileTest, TheSampleShowsTheFirstThreeLines) {
  TempDir dir;
  EXPECT_EQ(ImportSampleText(ReadText(dir, ";comment\na\nb\nc\n")), ";comment\r\na\r\nb");
}

}  // namespace
}  // namespace quenderlink
