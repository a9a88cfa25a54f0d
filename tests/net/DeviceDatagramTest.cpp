#include "net/DeviceDatagram.h"

#include <gtest/gtest.h>

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/FixedText.h"
#include "core/Lookups.h"
#include "support/DeviceReplySummary.h"

namespace quenderlink {
namespace {

using testing::ReplySummary;
using Bytes = std::vector<std::uint8_t>;

Bytes Raw(std::string_view bytes) { return {bytes.begin(), bytes.end()}; }

// The reply header written out by hand: code 1, program kind 0, the text length,
// max datagram 1024 and block size 512, little-endian.
std::string Header(std::uint16_t length) {
  return {'\x01', '\x00', static_cast<char>(length & 0xFF), static_cast<char>(length >> 8), '\x00', '\x04',
          '\x00', '\x02'};
}

Bytes Reply(std::string_view text) {
  return Raw(Header(static_cast<std::uint16_t>(text.size() + 1)) + std::string(text) + '\0');
}

std::optional<DeviceReply> Decode(std::span<const std::uint8_t> datagram, unsigned railroad = kRailroadCsx,
                                  bool fourSeparators = true) {
  DeviceReply reply{};
  if (!DecodeDeviceReply(datagram, "10.1.2.3", 9001, railroad, reply, fourSeparators)) return std::nullopt;
  return reply;
}

// The header's kind and sizes and the sender reach the reply in ReplyEncoder's and RamLoader's round
// trips, the engines' tests and the decode command's test.
TEST(DecodeDeviceReply, TheSecondTextStartsTwoBytesAfterTheFirstTextsEndWithinItsFieldAndTheDatagram) {
  const auto extra = [](std::uint16_t length, const std::string& tail) -> std::string {
    const auto reply = Decode(Raw(Header(length) + "CAD: RDY|CSX|1.2|1.0|M_|0|S|" + '\0' + tail));
    return std::string(FieldText(reply->ExtraText));
  };
  EXPECT_EQ(extra(36, std::string("\0EXTRA\0", 7)), "EXTRA");
  EXPECT_EQ(extra(29, std::string("\0EXTRA\0", 7)), "");
  // Cut to its field, and never read past the datagram when the length says more.
  EXPECT_EQ(extra(60, "\x01" + std::string(25, 'x')), std::string(19, 'x'));
  EXPECT_EQ(extra(200, "\x01" "AB"), "AB");
  EXPECT_EQ(extra(200, ""), "");
}

// The simulated units' replies also come through here: the second generation's tag, CPR upload codes, a
// railroad in the status's place, subdivision names, the speech board's error and whole collector replies
// are decoded in ReplyEncoder's and DemoFleet's round trips.
TEST(DecodeDeviceReply, ReadsEachFamilysGrammar) {
  struct Case {
    std::string text, summary;
    unsigned railroad = kRailroadCsx;
    bool counted = true;  // with the separator count
  };
  const Case cases[] = {
      // Cadmarin: the number field means nothing for CSX; the track text stays as the unit reports it.
      {"CAD: RDY|CSX|1.23-4|123.4|N_|77|MAIN ST|+|2.10|3.0|1.5|",
       "2 RDY 1.23-4 123.4|N_=1|MAIN ST|| 0/0/0 2.10 3.0 1.5"},
      {"CAD: xRDYx|CSX|1.2|0|M_|0|S|", "2 RDY 1.2-0 0|M_=0|S|| 0/0/0 Comm?? Rdr??? Spch??"},
      // The '-' after the version's '|' is no build; a '.' found past the field moves the fields after it.
      {"CAD: RDY|CSX|1.23|5-6|M_|0|S|", "2 RDY 1.23-0 5-6|M_=0|S|| 0/0/0 Comm?? Rdr??? Spch??"},
      {"CAD: RDY|CSX|7|4.5|M_|0|S|X|", "2 RDY 7.5-0 M_|0=0|X|| 0/0/0 Comm?? Rdr??? Spch??"},
      // The track lookup uses the program's railroad.
      {"CAD: RDY|CSX|1.2|0|SI|0|S|", "2 RDY 1.2-0 0|SI=0|S|| 0/0/0 Comm?? Rdr??? Spch??"},
      {"CAD: RDY|CSX|1.2|0|SI|0|S|", "2 RDY 1.2-0 0|SI=7|S|| 0/0/0 Comm?? Rdr??? Spch??", kRailroadCpr},
      // NS: site id, subdivision from the next field or the number.
      {"CAD: RDY|NS|1.2|55.1|M_|6623|SITE|U_23|", "2 RDY 1.2-0 55.1|M_=0|SITE|| 6623/0/0 Comm?? Rdr??? Spch??"},
      {"CAD: RDY|NS|1.2|55.1|M_|12GA|SITE|", "2 RDY 1.2-0 55.1|M_=0|SITE|| 12/4/0 Comm?? Rdr??? Spch??"},
      // Board versions: what is missing after the marker keeps its placeholder.
      {"CAD: RDY|CSX|1.2|0|M_|0|S|+|a|b|c|x!$FF", "2 RDY 1.2-0 0|M_=0|S|| 0/0/0 a b c"},
      {"CAD: RDY|CSX|1.2|0|M_|0|S|+|a|b|c", "2 RDY 1.2-0 0|M_=0|S|| 0/0/0 a b Spch??"},
      {"CAD: RDY|CSX|1.2|0|M_|0|S|+|", "2 RDY 1.2-0 0|M_=0|S|| 0/0/0 Comm?? Rdr??? Spch??"},
      // RKM-U: the main grammar, always a status, its own placeholders, no upload code.
      {"RKMU: CHK|CSX|4.1-2|9.9|E_|0|EAST|", "4 PWRUP 4.1-2 9.9|E_=3|EAST|| 0/0/0 Exec?? Boot??? Spch??"},
      {"RKMU: RDY|CSX|4.1|9.9|E_|0|EAST|+|e|b|s|!$FF", "4 RDY 4.1-0 9.9|E_=3|EAST|| 0/0/0 e b s"},
      {"RKMU: RDY|CPR|1.2|55.1|M_|6623|SITE|U_23|", "4 RDY 1.2-0 55.1|M_=0|SITE|| 0/6623/0 Exec?? Boot??? Spch??"},
      // RKM: the site id falls back to the subdivision; the name may run to the end; "RDY" anywhere is ready.
      {"RKM: RDY|NS|3.95|1|M_|456|NAME|", "1 RDY 3.95-0 1|M_=0|NAME|456| 456/0/0 Comm?? Rdr??? Spch??"},
      {"RKM: RDY|NS|3.95|1|M_|Lake|NAME|", "1 RDY 3.95-0 1|M_=0|NAME|Lake| 0/0/0 Comm?? Rdr??? Spch??"},
      {"RKM: RDY|NS|3.95|1|M_|456|NAME WITHOUT END",
       "1 RDY 3.95-0 1|M_=0|NAME WITHOUT END|456| 0/0/0 Comm?? Rdr??? Spch??"},
      {"RKM: PWRUP|NS|3.95|1|M_|LA|RDY ROAD|", "1 RDY 3.95-0 1|M_=0|RDY ROAD|LA| 0/7/0 Comm?? Rdr??? Spch??"},
      {"RKM: PWRUP|NS|3.95|1|M_|LA|ROAD|", "1 PWRUP 3.95-0 1|M_=0|ROAD|LA| 0/7/0 Comm?? Rdr??? Spch??"},
      // Cad/Halvyr: no track index, no error marker.
      {"CHAL: RDY|IOC|5.6-7|33.3|N_|HALVYR|+|c|r|s|!$FF", "5 RDY 5.6-7 33.3|N_=0|HALVYR|| 0/0/0 c r s"},
      // The collector names itself after its number; without the count its minor number may be missing.
      {"12|CL|3", "3 RDY 3.0-0 N/A|N/A=0|Collector_12|| 12/0/0 3.0 N/A N/A", kRailroadCsx, false},
      // Untagged older units: the product type falls back on the version.
      {"12.5|N_|0|9|OLD SITE|WITH BAR", "2 RDY 0.9-0 12.5|N_=1|OLD SITE|WITH BAR|| 0/0/0   "},
      {"1|M_|3|91|S", "1 RDY 3.91-0 1|M_=0|S|| 0/0/0   "},
      {"1|M_|3|90|S", "0 RDY 3.90-0 1|M_=0|S|| 0/0/0   "},
      {"1|M_|0|7|", "0 RDY 0.7-0 1|M_=0||| 0/0/0   "},
      {"12.5|N_|0", "0 RDY 0.0-0 12.5|N_=1||| 0/0/0   ", kRailroadCsx, false},
  };
  for (const Case& c : cases) {
    const auto reply = Decode(Reply(c.text), c.railroad, c.counted);
    EXPECT_EQ(reply ? ReplySummary(*reply) : "refused", c.summary) << c.text;
  }
}

TEST(DecodeDeviceReply, CountsSeparatorsPastTheNulUpToTheByteAfterTheTextWithinTheDatagram) {
  struct Case {
    std::string bytes;
    std::size_t received;  // the datagram; the bytes after it lie beyond its end
    std::string summary;
  };
  // The fields still come from the text alone, up to its NUL and within its length: the
  // minor number's '|' is never part of it, so each accepted reply reads as "1|M_|0".
  const std::string untagged = "0 RDY 0.0-0 1|M_=0||| 0/0/0   ";
  const Case cases[] = {
      {Header(16) + std::string("1|M_|0\0|7|SITE|", 15), 23, untagged},
      // The byte right after the text counts; the one after that, or one past the datagram, does not.
      {Header(8) + "1|M_|0|7|", 17, untagged},
      {Header(8) + "1|M_|0|7x|", 18, "refused"},
      {Header(8) + "1|M_|0|7|", 16, "refused"},
      // A length beyond the datagram counts up to its end.
      {Header(400) + std::string("1|M_|0|7\0|", 10), 18, untagged},
      {Header(400) + std::string("1|M_|0|7\0|", 10), 17, "refused"},
  };
  for (const Case& c : cases) {
    const Bytes buffer = Raw(c.bytes);
    const auto reply = Decode(std::span(buffer).first(c.received));
    EXPECT_EQ(reply ? ReplySummary(*reply) : "refused", c.summary) << c.bytes.substr(kReplyHeaderSize);
  }
}

TEST(HostileReply, RefusesWhatIsNoCompleteIdentificationReplyAndNeverReadsPastTheDatagram) {
  const std::string header = Header(16);
  std::vector<std::pair<Bytes, bool>> refused;  // datagram, with the separator count
  for (std::size_t size = 0; size < 8; ++size) refused.emplace_back(Raw(header.substr(0, size)), true);
  refused.emplace_back(Raw(Header(0) + "1|M_|0|9|S"), true);
  // The length cuts the text before the site name's '|'.
  refused.emplace_back(Raw(Header(28) + "CAD: RDY|CSX|1.2|0|M_|0|SITE|"), true);
  for (const char* text : {"CAD: RDY|CSX|1.2|0", "RKM: a|b|1.2|c", "12|CL|3|4", "1|M_|0|9",
                           "CAD: RDY|CSX|1.2|0|M_|0|SITE", "C_2: RDY|CSX|1.2|0|M_", "CAD: CSX|1.2|0|M_|",
                           "CAD: RDY|CSX|1|2|M_|0|S|", "RKM: RDY|NS|3.95|1|M_", "CHAL: RDY|IOC|5.6|33.3|N_|HALVYR"})
    refused.emplace_back(Reply(text), true);
  // A bare tag leaves the decoder nothing to read even without the count.
  for (const char* text : {"CAD:", "C_2:x", "RKM:", "RKMU:", "CHAL:"}) refused.emplace_back(Reply(text), false);

  for (const auto& [datagram, counted] : refused)
    EXPECT_FALSE(Decode(datagram, kRailroadCsx, counted)) << std::string(datagram.begin(), datagram.end());

  // The length says 0xFFFF, the text has no NUL and runs to the datagram's end.
  const auto longer = Decode(Raw(Header(0xFFFF) + "CAD: RDY|CSX|1.2|0|M_|0|SITE|"));
  ASSERT_TRUE(longer);
  EXPECT_EQ(FieldText(longer->SiteName), "SITE");
  EXPECT_EQ(FieldText(longer->ExtraText), "");

  // Every truncation of a valid reply, its length field unchanged: decodes or
  // not, and what it decodes comes from the bytes received.
  const Bytes full = Reply("CAD: RDY|CPR|1.2-3|0|M_|6623|SITE|U_4|+|a|b|c|!$FF");
  for (std::size_t size = 0; size <= full.size(); ++size) {
    const Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
    for (unsigned railroad : {0, 2, 5}) {
      const auto reply = Decode(cut, railroad, size % 2 == 0);
      if (reply) {
        EXPECT_TRUE(std::string_view("SITE").starts_with(FieldText(reply->SiteName))) << size;
      }
    }
  }
  EXPECT_TRUE(Decode(full));
}

TEST(HostileReply, OverlongFieldsAreCutAndNumbersSaturateAtTheirFieldsLimits) {
  const std::string digits(30, '9');
  const std::pair<std::string, std::string> cases[] = {
      {"CAD: RDY|CSX|1.2|" + std::string(40, '9') + "|" + std::string(40, 'T') + "|0|" + std::string(300, 'N') + "|+|" +
           std::string(20, 'c') + "|r|s|",
       "2 RDY 1.2-0 999999999|" + std::string(15, 'T') + "=0|" + std::string(53, 'N') + "|| 0/0/0 cccccccc r s"},
      {"RKM: RDY|NS|3.9|1|M_|" + std::string(80, 'L') + "|S|1|",
       "1 RDY 3.9-0 1|M_=0|S|" + std::string(31, 'L') + "| 1/0/0 Comm?? Rdr??? Spch??"},
      {"CAD: RDY|CPR|" + digits + "." + digits + "-" + digits + "|0|M_|" + digits + "|S|U_" + digits + "|",
       "2 RDY 255.255-127 0|M_=0|S|| 0/65535/255 Comm?? Rdr??? Spch??"},
      {"CAD: RDY|NS|-5.1--9|0|M_|-70000|S|", "2 RDY 0.1--9 0|M_=0|S|| 0/0/0 Comm?? Rdr??? Spch??"},
      {digits + "|CL|" + digits + "|300|", "3 RDY 255.255-0 N/A|N/A=0|Collector_65535|| 65535/0/0 255.255 N/A N/A"},
  };
  for (const auto& [text, summary] : cases) {
    const auto reply = Decode(Reply(text));
    EXPECT_EQ(reply ? ReplySummary(*reply) : "refused", summary) << text;
  }
}

}  // namespace
}  // namespace quenderlink
