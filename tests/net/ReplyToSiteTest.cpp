#include "net/ReplyToSite.h"

#include <gtest/gtest.h>

#include "core/FixedText.h"
#include "core/Printf.h"

namespace quenderlink {
namespace {

// Every field a reply may write: name, milepost, subdivision, track, site id,
// version, reply time, product and the three board versions.
std::string SiteSummary(const SiteRecord& s) {
  return Printf("%s|%s|%d|%d|%d|%d.%d-%d|%d|%d|%s|%s|%s", std::string(FieldText(s.SiteName)).c_str(),
                std::string(FieldText(s.Milepost)).c_str(), s.SubdivCode, s.TrackIndex, s.SiteId, s.VersionMajor,
                s.VersionMinor, s.HiddenBuild, s.LastPing, s.ProductType, std::string(FieldText(s.CommVersion)).c_str(),
                std::string(FieldText(s.ReaderVersion)).c_str(), std::string(FieldText(s.SpeechVersion)).c_str());
}

TEST(ReplyToSite, EachMomentTakesItsOwnPartOfTheReply) {
  DeviceReply reply{};
  SetFieldText(reply.SiteName, "Reply");
  SetFieldText(reply.Milepost, "123.4");
  SetFieldText(reply.CommVersion, "C1");
  SetFieldText(reply.ReaderVersion, "R2");
  SetFieldText(reply.SpeechVersion, "S3");
  reply.SubdivCode = 5;
  reply.TrackIndex = 2;
  reply.SiteId = 77;
  reply.VersionMajor = 4;
  reply.VersionMinor = 12;
  reply.VersionBuild = -3;
  reply.ReplyTenths = 17;
  reply.ProductType = 2;
  // Each copy starts from an empty record, so a field it does not take stays empty or 0.
  enum Moment { kPing, kNewProgram, kSiteDialog };
  struct Case {
    Moment moment;
    bool allowChangeSiteName;
    std::uint8_t powerup;
    const char* expected;
  };
  const Case cases[] = {
      {kPing, false, 0, "Reply|123.4|5|2|77|4.12--3|17|2|C1|R2|S3"},
      {kPing, true, 1, "|123.4|5|2|77|4.12--3|17|2|C1|R2|S3"},
      {kNewProgram, false, 0, "Reply|123.4|5|2|77|4.12--3|17|2|||"},
      {kNewProgram, true, 0, "|123.4|5|2|77|4.12--3|17|2|||"},
      {kNewProgram, false, 1, "||0|0|0|4.12--3|0|2|||"},
      {kSiteDialog, true, 0, "Reply|123.4|5|2|77|4.12--3|17|2|C1|R2|S3"},
      {kSiteDialog, false, 1, "||0|0|0|4.12--3|17|2|||"},
  };
  for (const Case& c : cases) {
    reply.Powerup = c.powerup;
    SiteRecord site{};
    if (c.moment == kPing) CopyPingReplyIntoSite(reply, c.allowChangeSiteName, site);
    if (c.moment == kNewProgram) CopyNewProgramReplyIntoSite(reply, c.allowChangeSiteName, site);
    if (c.moment == kSiteDialog) CopySiteDialogReplyIntoSite(reply, site);
    EXPECT_EQ(SiteSummary(site), c.expected)
        << "moment " << c.moment << ", allow change " << c.allowChangeSiteName << ", power-up " << int{c.powerup};
  }
}

}  // namespace
}  // namespace quenderlink
