#include "net/HostAddress.h"

#include <gtest/gtest.h>

namespace quenderlink {
namespace {

TEST(HostAddress, DottedQuadsAreFourNumbersWhoseFirstIsNotZeroModulo256OrForTheUploadNotAllZero) {
  for (const char* address : {"10.0.0.1", "257.0.0.1"}) EXPECT_TRUE(IsDottedQuad(address)) << address;
  for (const char* text : {"0.1.2.3", "256.1.2.3", "", "1.2.3", "1.2.3.4.5", "10.0.0.1 ", "site-12.example"})
    EXPECT_FALSE(IsDottedQuad(text)) << text;
  EXPECT_EQ(AddressForHost("10.1.2.3"), "10.1.2.3");
  EXPECT_EQ(AddressForHost(""), "0.0.0.0");

  for (const char* address : {"0.0.0.1", "257.0.0.1"}) EXPECT_TRUE(IsDottedQuadNotAllZero(address)) << address;
  for (const char* text : {"0.0.0.0", "", "1.2.3", "10.0.0.1 "}) EXPECT_FALSE(IsDottedQuadNotAllZero(text)) << text;
}

}  // namespace
}  // namespace quenderlink
