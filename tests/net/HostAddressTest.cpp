#include "net/HostAddress.h"

#include <gtest/gtest.h>

namespace quenderlink {
namespace {

TEST(IsDottedQuad, AcceptsFourNumbersWhoseFirstIsNotZeroModulo256) {
  EXPECT_TRUE(IsDottedQuad("10.0.0.1"));
  EXPECT_TRUE(IsDottedQuad("257.0.0.1"));  // 257 modulo 256 is 1
  EXPECT_FALSE(IsDottedQuad("0.1.2.3"));
  EXPECT_FALSE(IsDottedQuad("256.1.2.3"));
  EXPECT_FALSE(IsDottedQuad(""));
  EXPECT_FALSE(IsDottedQuad("1.2.3"));
  EXPECT_FALSE(IsDottedQuad("1.2.3.4.5"));
  EXPECT_FALSE(IsDottedQuad("10.0.0.1 "));
  EXPECT_FALSE(IsDottedQuad("site-12.example"));
}

TEST(AddressForHost, KeepsDottedHostsResolvesNamesAndFallsBackToZeros) {
  EXPECT_EQ(AddressForHost("10.1.2.3"), "10.1.2.3");
  EXPECT_EQ(AddressForHost("localhost"), "127.0.0.1");
  EXPECT_EQ(AddressForHost(""), "0.0.0.0");
}

}  // namespace
}  // namespace quenderlink
