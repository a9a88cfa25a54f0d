#include "net/DeviceDatagram.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/FixedText.h"
#include "core/Lookups.h"

namespace quenderlink {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Bytes exactly as given: a hand-written header string followed by the body.
Bytes Raw(std::string_view bytes) { return {bytes.begin(), bytes.end()}; }

// An identification reply written out by hand: code 1, program kind 0, the
// text length, max datagram 0x0400, block size 0x0200, the text and its NUL.
Bytes Reply(std::string_view text) {
  const std::size_t length = text.size() + 1;
  std::string bytes = {'\x01', '\x00', static_cast<char>(length & 0xFF), static_cast<char>(length >> 8),
                       '\x00', '\x04', '\x00', '\x02'};
  bytes += text;
  bytes += '\0';
  return Raw(bytes);
}

std::optional<DeviceReply> Decode(const Bytes& datagram, unsigned railroad = kRailroadCsx, bool fourSeparators = true) {
  DeviceReply reply;
  if (!DecodeDeviceReply(datagram, "10.1.2.3", 9001, railroad, reply, fourSeparators)) return std::nullopt;
  return reply;
}

DeviceReply DecodeOk(std::string_view text, unsigned railroad = kRailroadCsx) {
  const auto reply = Decode(Reply(text), railroad);
  EXPECT_TRUE(reply.has_value()) << text;
  return reply.value_or(DeviceReply{});
}

// Every decoded field, for comparing whole replies.
std::string Describe(const DeviceReply& reply) {
  std::ostringstream out;
  out << int{reply.Reserved} << ' ' << int{reply.VersionMajor} << '.' << int{reply.VersionMinor} << '-'
      << int{reply.VersionBuild} << ' ' << reply.SiteId << ' ' << reply.SubdivCode << ' ' << FieldText(reply.Milepost)
      << '|' << FieldText(reply.TrackId) << '|' << FieldText(reply.SiteName) << '|' << FieldText(reply.SubdivName)
      << '|' << FieldText(reply.HostText) << '|' << FieldText(reply.IpText) << '|' << FieldText(reply.ExtraText)
      << '|' << reply.MaxDatagram << ' ' << int{reply.ProgramKind} << ' ' << reply.ReplyPort << ' ' << reply.BlockSize
      << ' ' << int{reply.TrackIndex} << ' ' << int{reply.ReplyTenths} << ' ' << int{reply.ProductType} << ' '
      << int{reply.Powerup} << ' ' << reply.RowNumber << ' ' << int{reply.LastUploadCode} << ' '
      << FieldText(reply.CommVersion) << '|' << FieldText(reply.ReaderVersion) << '|'
      << FieldText(reply.SpeechVersion);
  return out.str();
}

std::string Boards(const DeviceReply& reply) {
  return std::string(FieldText(reply.CommVersion)) + " " + std::string(FieldText(reply.ReaderVersion)) + " " +
         std::string(FieldText(reply.SpeechVersion));
}

TEST(BuildShortCommand, IsTheCodeFollowedBySevenZeros) {
  EXPECT_EQ(BuildShortCommand(kCommandReboot), (ShortCommand{6, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(BuildShortCommand(kCommandPing)[0], 1);
}

TEST(DecodeDeviceReply, HeaderGivesKindSizesAndTheSender) {
  const std::string text = "CAD: RDY|CSX|1.2|1.0|M_|0|S|";
  const auto reply = Decode(Raw(std::string("\x01\x03\x1D\x00\x00\x05\x00\x02", 8) + text + '\0'));
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->ProgramKind, 3);
  EXPECT_EQ(reply->MaxDatagram, 0x0500u);
  EXPECT_EQ(reply->BlockSize, 0x0200u);
  EXPECT_EQ(reply->ReplyPort, 9001);
  EXPECT_EQ(FieldText(reply->IpText), "10.1.2.3");
  EXPECT_EQ(reply->Reserved, 0);

  const auto zeroBlock = Decode(Raw(std::string("\x01\x00\x1D\x00\x00\x04\x00\x00", 8) + text + '\0'));
  ASSERT_TRUE(zeroBlock);
  EXPECT_EQ(zeroBlock->BlockSize, 4096u);
}

TEST(DecodeDeviceReply, SecondTextStartsTwoBytesAfterTheFirstTextsEnd) {
  const std::string text = "CAD: RDY|CSX|1.2|1.0|M_|0|S|";  // 28 bytes
  const std::string header("\x01\x00\x00\x00\x00\x04\x00\x00", 8);
  auto withLength = [&](std::uint8_t length, const std::string& tail) {
    std::string bytes = header + text + '\0' + tail;
    bytes[2] = static_cast<char>(length);
    return Raw(bytes);
  };
  EXPECT_EQ(FieldText(Decode(withLength(36, std::string("\x00" "EXTRA\0", 7)))->ExtraText), "EXTRA");
  EXPECT_EQ(FieldText(Decode(withLength(29, std::string("\x00" "EXTRA\0", 7)))->ExtraText), "");
  // Cut to its field, and never read past the datagram when the length says more.
  EXPECT_EQ(FieldText(Decode(withLength(60, "\x01" + std::string(25, 'x')))->ExtraText), std::string(19, 'x'));
  EXPECT_EQ(FieldText(Decode(withLength(200, "\x01" "AB"))->ExtraText), "AB");
  EXPECT_EQ(FieldText(Decode(withLength(200, ""))->ExtraText), "");
}

TEST(MainFamilyReply, DecodesEveryFieldOfAReadyUnit) {
  const auto reply = DecodeOk("CAD: RDY|CSX|1.23-4|123.4|N_|77|MAIN ST|+|2.10|3.0|1.5|");
  EXPECT_EQ(reply.ProductType, kProductCad1);
  EXPECT_EQ(reply.Powerup, 0);
  EXPECT_EQ(reply.VersionMajor, 1);
  EXPECT_EQ(reply.VersionMinor, 23);
  EXPECT_EQ(reply.VersionBuild, 4);
  EXPECT_EQ(FieldText(reply.Milepost), "123.4");
  EXPECT_EQ(FieldText(reply.TrackId), "N_");  // as the unit reports it
  EXPECT_EQ(reply.TrackIndex, 1);
  EXPECT_EQ(FieldText(reply.SiteName), "MAIN ST");
  EXPECT_EQ(reply.SiteId, 0);  // the number field means nothing for CSX
  EXPECT_EQ(reply.SubdivCode, 0);
  EXPECT_EQ(Boards(reply), "2.10 3.0 1.5");
}

TEST(MainFamilyReply, StatusFieldDecidesPowerupAndAFirstFieldStartingWithCIsTheRailroad) {
  EXPECT_EQ(DecodeOk("CAD: RDY|CSX|1.2|0|M_|0|S|").Powerup, 0);
  EXPECT_EQ(DecodeOk("CAD: xRDYx|CSX|1.2|0|M_|0|S|").Powerup, 0);
  EXPECT_EQ(DecodeOk("CAD: PWRUP|CSX|1.2|0|M_|0|S|").Powerup, 1);

  const auto noStatus = DecodeOk("CAD: CPR|1.2|0|M_|6623|S|");
  EXPECT_EQ(noStatus.Powerup, 1);
  EXPECT_EQ(noStatus.SubdivCode, 6623);
  EXPECT_EQ(FieldText(noStatus.SiteName), "S");
}

TEST(MainFamilyReply, SecondGenerationDiffersOnlyInProductType) {
  const auto first = DecodeOk("CAD: RDY|NS|2.5-1|10.0|S_|12|SITE|Pocahontas PO|+|a|b|c|");
  auto second = DecodeOk("C_2: RDY|NS|2.5-1|10.0|S_|12|SITE|Pocahontas PO|+|a|b|c|");
  EXPECT_EQ(second.ProductType, kProductCad2);
  second.ProductType = first.ProductType;
  EXPECT_EQ(Describe(second), Describe(first));
}

TEST(MainFamilyReply, VersionField) {
  const auto noBuild = DecodeOk("CAD: RDY|CSX|1.23|5-6|M_|0|S|");
  EXPECT_EQ(noBuild.VersionMinor, 23);
  EXPECT_EQ(noBuild.VersionBuild, 0);  // the '-' after the version's '|' is no build
  // The '.' may be found past the field: the fields then start after it.
  const auto farDot = DecodeOk("CAD: RDY|CSX|7|4.5|M_|0|S|X|");
  EXPECT_EQ(farDot.VersionMajor, 7);
  EXPECT_EQ(farDot.VersionMinor, 5);
  EXPECT_EQ(FieldText(farDot.Milepost), "M_");
  EXPECT_FALSE(Decode(Reply("CAD: RDY|CSX|1|2|M_|0|S|")));
}

TEST(MainFamilyReply, CprReadsSubdivisionNumberAndUploadCode) {
  const auto cpr = DecodeOk("CAD: RDY|CPR|1.2|55.1|M_|6623|SITE|U_23|", kRailroadCpr);
  EXPECT_EQ(cpr.SubdivCode, 6623);
  EXPECT_EQ(cpr.LastUploadCode, 23);
  EXPECT_EQ(DecodeOk("CAD: RDY|CPR|1.2|55.1|M_|6623|SITE|").LastUploadCode, 0);
  EXPECT_EQ(DecodeOk("CAD: RDY|NS|1.2|55.1|M_|6623|SITE|U_23|").LastUploadCode, 0);
  EXPECT_EQ(DecodeOk("RKMU: RDY|CPR|1.2|55.1|M_|6623|SITE|U_23|").LastUploadCode, 0);
}

TEST(MainFamilyReply, NsReadsSiteIdAndSubdivisionFromTheNextFieldOrTheNumber) {
  const auto named = DecodeOk("CAD: RDY|NS|1.2|55.1|M_|12|SITE|Piedmont PI|");
  EXPECT_EQ(named.SiteId, 12);
  EXPECT_EQ(named.SubdivCode, 8);
  const auto fromNumber = DecodeOk("CAD: RDY|NS|1.2|55.1|M_|12GA|SITE|");
  EXPECT_EQ(fromNumber.SiteId, 12);
  EXPECT_EQ(fromNumber.SubdivCode, 4);
}

TEST(MainFamilyReply, TrackLookupUsesTheProgramsRailroadAndKeepsTheUnitsText) {
  EXPECT_EQ(DecodeOk("CAD: RDY|CSX|1.2|0|SI|0|S|", kRailroadCsx).TrackIndex, 0);
  const auto cpr = DecodeOk("CAD: RDY|CSX|1.2|0|SI|0|S|", kRailroadCpr);
  EXPECT_EQ(cpr.TrackIndex, 7);
  EXPECT_EQ(FieldText(cpr.TrackId), "SI");
}

TEST(MainFamilyReply, BoardVersionsAndTheirPlaceholders) {
  EXPECT_EQ(Boards(DecodeOk("CAD: RDY|CSX|1.2|0|M_|0|S|")), "Comm?? Rdr??? Spch??");
  EXPECT_EQ(Boards(DecodeOk("CAD: RDY|CSX|1.2|0|M_|0|S|+|a|b|c|!$FF")), "a b *ERROR*");
  EXPECT_EQ(Boards(DecodeOk("CAD: RDY|CSX|1.2|0|M_|0|S|+|a|b|c|x!$FF")), "a b c");
  // Whatever is missing after the marker keeps its placeholder.
  EXPECT_EQ(Boards(DecodeOk("CAD: RDY|CSX|1.2|0|M_|0|S|+|a|b|c")), "a b Spch??");
  EXPECT_EQ(Boards(DecodeOk("CAD: RDY|CSX|1.2|0|M_|0|S|+|")), "Comm?? Rdr??? Spch??");
  EXPECT_EQ(Boards(DecodeOk("CAD: RDY|CSX|1.2|0|M_|0|S|+|123456789012|b|c|")), "12345678 b c");
}

TEST(MainFamilyReply, FailsWhereARequiredSeparatorIsMissing) {
  EXPECT_FALSE(Decode(Reply("CAD: RDY|CSX|1.2|0|M_|0|SITE")));
  EXPECT_FALSE(Decode(Reply("C_2: RDY|CSX|1.2|0|M_")));
  EXPECT_FALSE(Decode(Reply("CAD: CSX|1.2|0|M_|")));  // railroad-first: one field short
}

TEST(RkmMicroReply, IsTheMainGrammarWithAlwaysAStatusAndItsOwnPlaceholders) {
  const auto reply = DecodeOk("RKMU: CHK|CSX|4.1-2|9.9|E_|0|EAST|");
  EXPECT_EQ(reply.ProductType, kProductRkmMicro);
  EXPECT_EQ(reply.Powerup, 1);
  EXPECT_EQ(reply.VersionBuild, 2);
  EXPECT_EQ(reply.TrackIndex, 3);
  EXPECT_EQ(FieldText(reply.SiteName), "EAST");
  EXPECT_EQ(Boards(reply), "Exec?? Boot??? Spch??");
  EXPECT_EQ(Boards(DecodeOk("RKMU: RDY|CSX|4.1|9.9|E_|0|EAST|+|e|b|s|!$FF")), "e b s");
}

TEST(RkmReply, DecodesSubdivisionSiteNameAndSiteId) {
  const auto reply = DecodeOk("RKM: RDY|NS|3.95|120.5|W_|Lake LA|LAKE SIDE|321|");
  EXPECT_EQ(reply.ProductType, kProductRkm);
  EXPECT_EQ(reply.Powerup, 0);
  EXPECT_EQ(reply.VersionMajor, 3);
  EXPECT_EQ(reply.VersionMinor, 95);
  EXPECT_EQ(FieldText(reply.SubdivName), "Lake LA");
  EXPECT_EQ(reply.SubdivCode, 7);
  EXPECT_EQ(FieldText(reply.SiteName), "LAKE SIDE");
  EXPECT_EQ(reply.SiteId, 321);
  EXPECT_EQ(reply.TrackIndex, 4);
  EXPECT_EQ(Boards(reply), "Comm?? Rdr??? Spch??");
}

TEST(RkmReply, SiteIdFallsBackToTheSubdivisionAndTheNameMayRunToTheEnd) {
  EXPECT_EQ(DecodeOk("RKM: RDY|NS|3.95|1|M_|456|NAME|").SiteId, 456);
  EXPECT_EQ(DecodeOk("RKM: RDY|NS|3.95|1|M_|Lake|NAME|").SiteId, 0);
  const auto open = DecodeOk("RKM: RDY|NS|3.95|1|M_|456|NAME WITHOUT END");
  EXPECT_EQ(FieldText(open.SiteName), "NAME WITHOUT END");
  EXPECT_EQ(open.SiteId, 0);
  // Ready is "RDY" anywhere in the fields, not only in the status.
  EXPECT_EQ(DecodeOk("RKM: PWRUP|NS|3.95|1|M_|LA|RDY ROAD|").Powerup, 0);
  EXPECT_EQ(DecodeOk("RKM: PWRUP|NS|3.95|1|M_|LA|ROAD|").Powerup, 1);
  EXPECT_FALSE(Decode(Reply("RKM: RDY|NS|3.95|1|M_")));
}

TEST(CadHalvyrReply, DecodesWithoutTrackIndexOrErrorMarker) {
  const auto reply = DecodeOk("CHAL: RDY|IOC|5.6-7|33.3|N_|HALVYR|+|c|r|s|!$FF");
  EXPECT_EQ(reply.ProductType, kProductCadHalvyr);
  EXPECT_EQ(reply.Powerup, 0);
  EXPECT_EQ(reply.VersionBuild, 7);
  EXPECT_EQ(FieldText(reply.TrackId), "N_");
  EXPECT_EQ(reply.TrackIndex, 0);
  EXPECT_EQ(FieldText(reply.SiteName), "HALVYR");
  EXPECT_EQ(Boards(reply), "c r s");
  EXPECT_EQ(Boards(DecodeOk("CHAL: BOOT|IOC|5.6|33.3|N_|HALVYR|")), "Comm?? Rdr??? Spch??");
  EXPECT_FALSE(Decode(Reply("CHAL: RDY|IOC|5.6|33.3|N_|HALVYR")));
}

TEST(CollectorReply, NamesItselfAfterItsNumber) {
  const auto reply = DecodeOk("12|CL|3|4|");
  EXPECT_EQ(reply.ProductType, kProductCollector);
  EXPECT_EQ(reply.SiteId, 12);
  EXPECT_EQ(FieldText(reply.SiteName), "Collector_12");
  EXPECT_EQ(Boards(reply), "3.4 N/A N/A");
  EXPECT_EQ(FieldText(reply.Milepost), "N/A");
  EXPECT_EQ(FieldText(reply.TrackId), "N/A");
  EXPECT_EQ(reply.Powerup, 0);
  // Without the separator count the minor number may be missing.
  EXPECT_EQ(FieldText(Decode(Reply("12|CL|3"), kRailroadCsx, false)->CommVersion), "3.0");
}

TEST(UntaggedReply, DecodesOlderUnitsAndFallsBackOnTheVersion) {
  const auto reply = DecodeOk("12.5|N_|0|9|OLD SITE|WITH BAR");
  EXPECT_EQ(reply.Powerup, 0);
  EXPECT_EQ(FieldText(reply.Milepost), "12.5");
  EXPECT_EQ(reply.TrackIndex, 1);
  EXPECT_EQ(FieldText(reply.SiteName), "OLD SITE|WITH BAR");
  EXPECT_EQ(reply.ProductType, kProductCad1);
  EXPECT_EQ(DecodeOk("1|M_|3|91|S").ProductType, kProductRkm);
  EXPECT_EQ(DecodeOk("1|M_|3|90|S").ProductType, 0);
  EXPECT_EQ(DecodeOk("1|M_|0|7|S").ProductType, 0);
  EXPECT_EQ(FieldText(DecodeOk("1|M_|0|7|").SiteName), "");

  const auto stopped = Decode(Reply("12.5|N_|0"), kRailroadCsx, false);
  ASSERT_TRUE(stopped);
  EXPECT_EQ(FieldText(stopped->TrackId), "N_");
  EXPECT_EQ(stopped->VersionMajor, 0);
}

TEST(HostileReply, RefusesWhatIsNoIdentificationReply) {
  for (std::size_t size = 0; size < 8; ++size)
    EXPECT_FALSE(Decode(Raw(std::string("\x01\x00\x10\x00\x00\x04\x00\x00", size)))) << size;
  EXPECT_FALSE(Decode(Raw(std::string("\x01\x00\x00\x00\x00\x04\x00\x00", 8) + "1|M_|0|9|S")));
  for (const char* text : {"CAD: RDY|CSX|1.2|0", "RKM: a|b|1.2|c", "12|CL|3|4", "1|M_|0|9"})
    EXPECT_FALSE(Decode(Reply(text))) << text;
  // Separators after the text's NUL are not the text's.
  EXPECT_FALSE(Decode(Raw(std::string("\x01\x00\x10\x00\x00\x04\x00\x00", 8) + std::string("1|M_|0\0|||", 10))));
  // A bare tag leaves the decoder nothing to read even without the count.
  for (const char* text : {"CAD:", "C_2:x", "RKM:", "RKMU:", "CHAL:"})
    EXPECT_FALSE(Decode(Reply(text), kRailroadCsx, false)) << text;
}

TEST(HostileReply, LengthFieldAndMissingNulNeverLeadPastTheDatagram) {
  const std::string text = "CAD: RDY|CSX|1.2|0|M_|0|SITE|";
  // The length says 0xFFFF, the text has no NUL and runs to the datagram's end.
  const auto longer = Decode(Raw(std::string("\x01\x00\xFF\xFF\x00\x04\x00\x00", 8) + text));
  ASSERT_TRUE(longer);
  EXPECT_EQ(FieldText(longer->SiteName), "SITE");
  EXPECT_EQ(FieldText(longer->ExtraText), "");
  // The length cuts the text before the site name's '|'.
  EXPECT_FALSE(Decode(Raw(std::string("\x01\x00\x1C\x00\x00\x04\x00\x00", 8) + text)));

  // Every truncation of a valid reply, its length field unchanged: decodes or not, never reads beyond.
  const Bytes full = Reply("CAD: RDY|CPR|1.2-3|0|M_|6623|SITE|U_4|+|a|b|c|!$FF");
  for (std::size_t size = 0; size <= full.size(); ++size) {
    const Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
    for (unsigned railroad : {0, 2, 5}) Decode(cut, railroad, size % 2 == 0);
  }
  EXPECT_TRUE(Decode(full));
}

TEST(HostileReply, OverlongFieldsAreCutAndFollowingFieldsStillRead) {
  const std::string longName(300, 'N');
  const auto reply = DecodeOk("CAD: RDY|CSX|1.2|" + std::string(40, '9') + "|" + std::string(40, 'T') + "|0|" +
                              longName + "|+|" + std::string(20, 'c') + "|r|s|");
  EXPECT_EQ(FieldText(reply.SiteName), longName.substr(0, 53));
  EXPECT_EQ(FieldText(reply.Milepost), std::string(9, '9'));
  EXPECT_EQ(FieldText(reply.TrackId), std::string(15, 'T'));
  EXPECT_EQ(Boards(reply), std::string(8, 'c') + " r s");
  EXPECT_EQ(FieldText(reply.SubdivName), "");  // the fields beside SiteName are intact
  EXPECT_EQ(FieldText(DecodeOk("RKM: RDY|NS|3.9|1|M_|" + std::string(80, 'L') + "|S|1|").SubdivName),
            std::string(31, 'L'));
}

TEST(HostileReply, NumbersOutOfRangeSaturateAtTheirFieldsLimits) {
  const std::string digits(30, '9');
  const auto cpr = DecodeOk("CAD: RDY|CPR|" + digits + "." + digits + "-" + digits + "|0|M_|" + digits +
                            "|S|U_" + digits + "|");
  EXPECT_EQ(cpr.VersionMajor, 255);
  EXPECT_EQ(cpr.VersionMinor, 255);
  EXPECT_EQ(cpr.VersionBuild, 127);
  EXPECT_EQ(cpr.SubdivCode, 65535);
  EXPECT_EQ(cpr.LastUploadCode, 255);
  const auto negative = DecodeOk("CAD: RDY|NS|-5.1--9|0|M_|-70000|S|");
  EXPECT_EQ(negative.VersionMajor, 0);
  EXPECT_EQ(negative.VersionBuild, -9);
  EXPECT_EQ(negative.SiteId, 0);
  const auto collector = DecodeOk(digits + "|CL|" + digits + "|300|");
  EXPECT_EQ(FieldText(collector.SiteName), "Collector_65535");
  EXPECT_EQ(FieldText(collector.CommVersion), "255.255");
}

}  // namespace
}  // namespace quenderlink
