#include "survey/AddressRange.h"

#include <gtest/gtest.h>

namespace quenderlink {
namespace {

TEST(AddressRange, LastNumberIsTakenModulo256AndRaisedToTheStartAPastedAddressGivesFourNumbersAndOtherFormsAreRefused) {
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"10.1.2.3-5", {"10.1.2.3", "10.1.2.4", "10.1.2.5"}},
      {"10.1.1.250-5", {"10.1.1.250"}},
      {"10.1.1.9-0", {"10.1.1.9"}},
      {"10.1.1.9-256", {"10.1.1.9"}},
      {"10.1.1.43-300", {"10.1.1.43", "10.1.1.44"}},
  };
  for (const auto& [text, addresses] : cases) {
    const auto range = AddressRange::Parse(text);
    EXPECT_EQ(range ? range->Addresses() : std::vector<std::string>{}, addresses) << text;
  }
  for (const char* text : {"", "10.1.1.1", "10.1.1-5", "10.1.1.256-3", "10.1.1.1-", "a.b.c.d-e", "10.1.1.1-5x",
                           "-1.1.1.1-5", "10..1.1-5"})
    EXPECT_FALSE(AddressRange::Parse(text)) << text;

  // A pasted dotted address gives four numbers up to 255.
  const std::pair<const char*, std::optional<DottedQuad>> quads[] = {
      {"127.77.0.1", DottedQuad{127, 77, 0, 1}},
      {"255.255.255.255", DottedQuad{255, 255, 255, 255}},
      {" 10 . 1. 2 .3\n", DottedQuad{10, 1, 2, 3}},
      {"010.001.2.3", DottedQuad{10, 1, 2, 3}},
      {"", std::nullopt},
      {"127.77.0", std::nullopt},
      {"127.77.0.1.5", std::nullopt},
      {"127.77.0.256", std::nullopt},
      {"127..0.1", std::nullopt},
      {"127.77.0.", std::nullopt},
      {"1 27.77.0.1", std::nullopt},
      {"127.77.0.1-5", std::nullopt},
      {"-1.77.0.1", std::nullopt},
      {"0.77.0.1", std::nullopt},
      {"a.b.c.d", std::nullopt},
  };
  for (const auto& [text, quad] : quads) EXPECT_EQ(ParseDottedQuad(text), quad) << text;
}

}  // namespace
}  // namespace quenderlink
