#include "core/DecimalText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

namespace quenderlink {
namespace {

TEST(DecimalText, ReadsLikeAtoiAndWrapsAt32Bits) {
  const std::pair<const char*, std::uint32_t> cases[] = {
      {"12abc", 12}, {"abc", 0}, {"", 0}, {" \t\n7", 7}, {"+5", 5}, {"-1", 0xFFFFFFFFu}, {"4294967297", 1}};
  for (const auto& [text, value] : cases) EXPECT_EQ(LeadingDecimal(text), value) << text;
}

TEST(DecimalText, ReadsANumberWithItsFractionLikeAtof) {
  const std::pair<const char*, double> cases[] = {{"12.5 N", 12.5}, {" +7", 7}, {"-0.25x", -0.25}, {"MP 4", 0},
                                                  {"", 0},          {"-", 0},   {"inf", 0},       {"1e999", 0}};
  for (const auto& [text, value] : cases) EXPECT_EQ(LeadingDecimalNumber(text), value) << text;
}

}  // namespace
}  // namespace quenderlink
