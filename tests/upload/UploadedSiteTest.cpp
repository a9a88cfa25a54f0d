#include "upload/UploadedSite.h"

#include <gtest/gtest.h>

#include "core/FixedText.h"
#include "core/Lookups.h"
#include "support/TestSite.h"

namespace quenderlink {
namespace {

// Each call as "identified <milepost>" or "refreshed <milepost>".
struct RecordingReceiver : UploadedSiteReceiver {
  std::string calls;
  void OnUploadedSiteIdentified(const SiteRecord& site) override { calls += "identified " + Milepost(site) + "; "; }
  void OnUploadedSiteRefreshed(const SiteRecord& site) override { calls += "refreshed " + Milepost(site) + "; "; }
  static std::string Milepost(const SiteRecord& site) { return std::string(FieldText(site.Milepost)); }
};

// The copy rules themselves are tested with the other reply rules.
TEST(UploadedSiteTest, AReadyUnitsRecordIsIdentifiedAndOneInPowerupOnlyRefreshed) {
  SiteRecord site = testing::TestSite({.address = "127.0.0.1"});
  SetFieldText(site.Milepost, "1.0");
  DeviceReply reply{};
  reply.ProductType = kProductCad1;
  SetFieldText(reply.Milepost, "41.7");
  RecordingReceiver receiver;

  SendUploadedSite(site, reply, false, receiver);
  reply.Powerup = 1;
  SendUploadedSite(site, reply, false, receiver);

  EXPECT_EQ(receiver.calls, "identified 41.7; refreshed 1.0; ");
}

}  // namespace
}  // namespace quenderlink
