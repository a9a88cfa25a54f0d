#include "core/RecordText.h"

#include <gtest/gtest.h>

namespace quenderlink {
namespace {

// Bytes 0x80 to 0x9F, where Windows-1252 is not Latin-1, with their UTF-8.
constexpr const char* kCharactersOf80To9F[32] = {
    "\u20AC", "\u0081", "\u201A", "\u0192", "\u201E", "\u2026", "\u2020", "\u2021", "\u02C6", "\u2030", "\u0160",
    "\u2039", "\u0152", "\u008D", "\u017D", "\u008F", "\u0090", "\u2018", "\u2019", "\u201C", "\u201D", "\u2022",
    "\u2013", "\u2014", "\u02DC", "\u2122", "\u0161", "\u203A", "\u0153", "\u009D", "\u017E", "\u0178"};

TEST(RecordText, EveryByteFrom0x80To0x9FConvertsBothWays) {
  for (int byte = 0x80; byte <= 0x9F; ++byte) {
    const std::string windows1252(1, static_cast<char>(byte));
    const std::string utf8 = kCharactersOf80To9F[byte - 0x80];
    EXPECT_EQ(Utf8FromWindows1252(windows1252), utf8) << byte;
    const Windows1252Text back = Windows1252FromUtf8(utf8);
    EXPECT_EQ(back.text, windows1252) << byte;
    EXPECT_EQ(back.firstReplaced, std::string::npos) << byte;
  }
  // Above them Windows-1252 is Latin-1.
  EXPECT_EQ(Utf8FromWindows1252("Cr\xEAte \xA0\xFF"), "Cr\u00EAte \u00A0\u00FF");
  EXPECT_EQ(Windows1252FromUtf8("Cr\u00EAte \u00A0\u00FF").text, "Cr\xEAte \xA0\xFF");
}

TEST(RecordText, WhatWindows1252CannotHoldBecomesAQuestionMarkAndIsFound) {
  struct Case {
    const char* name;
    const char* utf8;
    const char* text;
    std::size_t firstReplaced;
  };
  const Case cases[] = {
      {"all of it has a form", "Caf\u00E9 \u20AC", "Caf\xE9 \x80", std::string::npos},
      {"a Greek letter", "Yard \u03A9 1", "Yard ? 1", 5},
      {"a four-byte character is one mark", "\U0001F682 Depot", "? Depot", 0},
      {"a byte that is no UTF-8", "ab\xFF", "ab?", 2},
      {"the first of several", "\u00E9\u0100\u0101", "\xE9??", 1},
  };
  for (const Case& c : cases) {
    const Windows1252Text converted = Windows1252FromUtf8(c.utf8);
    EXPECT_EQ(converted.text, c.text) << c.name;
    EXPECT_EQ(converted.firstReplaced, c.firstReplaced) << c.name;
  }
}

TEST(RecordText, RecordTextsReadAsUtf8OnlyWhenEarlierBuildsWroteThemSo) {
  struct Case {
    const char* name;
    const char* record;
    const char* utf8;
  };
  const Case cases[] = {
      {"Windows-1252", "Cr\xEAte \x80", "Cr\u00EAte \u20AC"},
      {"plain ASCII", "Mile 12", "Mile 12"},
      {"UTF-8 of an earlier build", "Cr\xC3\xAAte", "Cr\u00EAte"},
      {"UTF-8 cut inside its last character", "Cr\xC3\xAAte \xE2\x82", "Cr\u00EAte "},
      {"a lone lead byte is Windows-1252", "Caf\xC3", "Caf\u00C3"},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8FromRecordText(c.record), c.utf8) << c.name;
}

TEST(RecordText, AFieldTakesOneByteACharacterCutToItsSizeAndSaysWhenOneKeptWasReplaced) {
  char field[6];
  EXPECT_FALSE(SetRecordText(field, "Cr\u00EApes"));
  EXPECT_EQ(FieldText(field), "Cr\xEApe");
  EXPECT_EQ(RecordFieldUtf8(field), "Cr\u00EApe");
  EXPECT_TRUE(SetRecordText(field, "\u03A9mega"));
  EXPECT_EQ(FieldText(field), "?mega");
  EXPECT_FALSE(SetRecordText(field, "Omega\u03A9"));  // the mark is cut off with the rest
  EXPECT_EQ(FieldText(field), "Omega");
}

}  // namespace
}  // namespace quenderlink
