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

}  // namespace
}  // namespace quenderlink
