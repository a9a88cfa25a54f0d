#include "unitsim/DemoFleet.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/FixedText.h"
#include "core/Lookups.h"

namespace quenderlink::unitsim {
namespace {

constexpr std::string_view kRailroadText = "NS";
constexpr std::string_view kAddressPrefix = "127.77.0.";
constexpr std::uint16_t kDevicePort = 9001;
// The default telnet ports of the units on the first and on the second track of a line.
constexpr std::uint16_t kTelnetPortTrk1 = 10001;
constexpr std::uint16_t kTelnetPortTrk2 = 10002;
constexpr int kSlowReplyMs = 1500;
// A unit's processor takes a moment to start the RAM loader and to re-boot into the new program.
constexpr int kRamLoaderStartMs = 1500;
constexpr int kRebootMs = 2000;
constexpr int kNakEvery = 7;
constexpr int kFragmentedPacket = 5;

// How a unit answers a ping and goes through an upload. The last four answer
// pings like any other unit and differ only in the upload.
enum class Behaviour {
  kAnswers,
  kSilent,
  kPoweringUp,
  kSlow,
  kLoaderNeverStarts,
  kSilentAfterReboot,
  kNaksSomePackets,
  kFragmentedOnce,
};

// A program release as the list shows it after a ping. Units without board
// versions get the texts the program writes in their place.
struct Release {
  int major;
  int minor;
  std::optional<int> build;
  std::string_view comm;
  std::string_view reader;
  std::string_view speech;
  bool reportsBoards;
};

// The release most units of a product run, or the one before it.
const Release& ReleaseOf(std::uint8_t productType, bool older) {
  static constexpr Release kRkm[]{{5, 14, {}, "Comm??", "Rdr???", "Spch??", false},
                                  {5, 11, {}, "Comm??", "Rdr???", "Spch??", false}};
  static constexpr Release kCad1[]{{3, 27, {}, "C1.77", "R1.06", "S2.10", true},
                                   {3, 19, {}, "C1.62", "R1.06", "S2.04", true}};
  static constexpr Release kCollector[]{{2, 3, {}, "2.3", "N/A", "N/A", false},
                                        {2, 1, {}, "2.1", "N/A", "N/A", false}};
  static constexpr Release kRkmMicro[]{{2, 8, 5, "E2.31", "B1.04", "S1.12", true},
                                       {2, 6, 2, "E2.20", "B1.04", "S1.12", true}};
  static constexpr Release kCadHalvyr[]{{1, 6, 2, "C1.20", "R1.02", "S1.00", true},
                                        {1, 4, 0, "C1.12", "R1.02", "S1.00", true}};
  static constexpr Release kCad2[]{{4, 12, 3, "C2.41", "R1.18", "S3.02", true},
                                   {4, 9, 1, "C2.30", "R1.15", "S3.02", true}};
  const std::size_t which = older ? 1 : 0;
  switch (productType) {
    case kProductRkm: return kRkm[which];
    case kProductCad1: return kCad1[which];
    case kProductCollector: return kCollector[which];
    case kProductRkmMicro: return kRkmMicro[which];
    case kProductCadHalvyr: return kCadHalvyr[which];
    default: return kCad2[which];
  }
}

// The program reads no subdivision, site id or track from a Cad/Halvyr unit,
// and only the number from a collector, whose name and milepost it makes up.
struct DemoSite {
  std::string_view name;
  std::string_view milepost;
  std::uint8_t productType;
  std::string_view subdivision;  // NS subdivision name; empty for none
  std::string_view track;        // track name
  std::uint16_t siteId;          // NS site id, or the collector's number
  bool olderRelease;
  Behaviour behaviour;
};

constexpr bool kOlder = true;
constexpr bool kCurrent = false;
using enum Behaviour;

// After an upload every unit runs its product's current release, so a unit on
// the older one shows its version change. Every outcome of an upload can be
// seen: the silent units fail at identification, BLUESTONE South Track's RAM
// loader never starts, FALLING SPRING Track 2's new program never answers,
// COPPER HILL refuses every 7th packet (and takes it again), PRAIRIE GROVE
// answers one packet "fragmented" (and takes the file again in smaller packets).
constexpr std::array<DemoSite, 60> kDemoSites{{
    {"LINDALE JCT", "P 41.2", kProductCad2, "Piedmont", "Main 1", 8101, kCurrent, kAnswers},
    {"LINDALE JCT", "P 41.2", kProductCad2, "Piedmont", "Main 2", 8102, kCurrent, kAnswers},
    {"HOLLIS GAP", "P 58.7", kProductCad1, "Piedmont", "Single", 8103, kCurrent, kAnswers},
    {"MILLERS FORD", "P 73.0", kProductRkmMicro, "Piedmont", "Single", 8104, kCurrent, kAnswers},
    {"ASHBY CREEK", "P 88.5", kProductCad2, "Piedmont", "Main 1", 8105, kCurrent, kPoweringUp},
    {"ASHBY CREEK", "P 88.5", kProductCad2, "Piedmont", "Main 2", 8106, kCurrent, kAnswers},
    {"CEDAR BLUFF", "P 102.3", kProductRkm, "Piedmont", "Single", 8107, kOlder, kAnswers},
    {"BLUESTONE", "N 321.6", kProductCad2, "Pocahontas", "North Track", 10201, kCurrent, kAnswers},
    {"BLUESTONE", "N 321.6", kProductCad2, "Pocahontas", "South Track", 10202, kCurrent, kLoaderNeverStarts},
    {"ELKHORN TUNNEL", "N 388.1", kProductRkm, "Pocahontas", "Single", 10203, kCurrent, kAnswers},
    {"PANTHER RUN", "N 402.9", kProductCad1, "Pocahontas", "Single", 10204, kCurrent, kSilent},
    {"GRAYS BRANCH", "N 417.4", kProductRkmMicro, "Pocahontas", "Main 1", 10205, kCurrent, kAnswers},
    {"GRAYS BRANCH", "N 417.4", kProductRkmMicro, "Pocahontas", "Main 2", 10206, kCurrent, kAnswers},
    {"OAK RIDGE", "V 12.8", kProductCad1, "Virginia", "Single", 11301, kOlder, kAnswers},
    {"FALLING SPRING", "V 27.5", kProductCad2, "Virginia", "Track 1", 11302, kCurrent, kAnswers},
    {"FALLING SPRING", "V 27.5", kProductCad2, "Virginia", "Track 2", 11303, kCurrent, kSilentAfterReboot},
    {"STONY POINT", "V 44.0", kProductRkm, "Virginia", "Single", 11304, kCurrent, kSilent},
    {"RIVERTON", "V 61.9", kProductRkmMicro, "Virginia", "Single", 11305, kCurrent, kSlow},
    {"COPPER HILL", "GA 118.2", kProductCad2, "Georgia", "Single", 4401, kCurrent, kNaksSomePackets},
    {"RED CLAY", "GA 131.6", kProductCad1, "Georgia", "East Track", 4402, kCurrent, kAnswers},
    {"RED CLAY", "GA 131.6", kProductCad1, "Georgia", "West Track", 4403, kCurrent, kAnswers},
    {"PINE LOG", "GA 149.3", kProductRkm, "Georgia", "Single", 4404, kCurrent, kAnswers},
    {"IRON BRIDGE", "PT 261.4", kProductCad2, "Pittsburgh", "Main 1", 9501, kOlder, kAnswers},
    {"IRON BRIDGE", "PT 261.4", kProductCad2, "Pittsburgh", "Main 2", 9502, kOlder, kAnswers},
    {"SLATE RUN", "PT 278.0", kProductCad2, "Pittsburgh", "Single", 9503, kCurrent, kSilent},
    {"HOLLOW ROCK", "PT 295.7", kProductRkmMicro, "Pittsburgh", "Single", 9504, kCurrent, kAnswers},
    {"MARSH CREEK", "H 33.9", kProductCad1, "Harrisburg", "Track 1", 5601, kCurrent, kAnswers},
    {"MARSH CREEK", "H 33.9", kProductCad1, "Harrisburg", "Track 2", 5602, kCurrent, kAnswers},
    {"LEBANON VALLEY", "H 52.4", kProductRkm, "Harrisburg", "Single", 5603, kOlder, kAnswers},
    {"BIRCH FORK", "AL 201.5", kProductCad2, "Alabama", "Single", 1701, kCurrent, kAnswers},
    {"WOLF CREEK", "AL 219.0", kProductCad1, "Alabama", "Single", 1702, kCurrent, kAnswers},
    {"MAUMEE FLATS", "D 88.8", kProductRkmMicro, "Dearborn", "Main 1", 3801, kCurrent, kAnswers},
    {"MAUMEE FLATS", "D 88.8", kProductRkmMicro, "Dearborn", "Main 2", 3802, kOlder, kAnswers},
    {"PRAIRIE GROVE", "I 144.1", kProductCad2, "Illinois", "Single", 6901, kCurrent, kFragmentedOnce},
    {"SALT FORK", "I 160.6", kProductRkm, "Illinois", "Single", 6902, kCurrent, kAnswers},
    {"EAST YARD LEAD", "Y 0.4", kProductCadHalvyr, "", "Single", 0, kCurrent, kAnswers},
    {"WEST YARD LEAD", "Y 1.9", kProductCadHalvyr, "", "Single", 0, kOlder, kAnswers},
    {"HUMP APPROACH", "Y 2.6", kProductCadHalvyr, "", "Single", 0, kCurrent, kAnswers},
    {"Collector_3", "N/A", kProductCollector, "", "Single", 3, kCurrent, kAnswers},
    {"Collector_7", "N/A", kProductCollector, "", "Single", 7, kOlder, kAnswers},
    // Enough units of one product for an upload to many sites at once.
    {"BRIAR HILL", "C 10.2", kProductCad2, "Central", "Main 1", 2201, kCurrent, kAnswers},
    {"BRIAR HILL", "C 10.2", kProductCad2, "Central", "Main 2", 2202, kCurrent, kAnswers},
    {"CROWS NEST", "C 18.7", kProductCad2, "Central", "Main 1", 2203, kOlder, kAnswers},
    {"CROWS NEST", "C 18.7", kProductCad2, "Central", "Main 2", 2204, kOlder, kAnswers},
    {"DOVER MILLS", "C 26.1", kProductCad2, "Central", "Main 1", 2205, kCurrent, kAnswers},
    {"DOVER MILLS", "C 26.1", kProductCad2, "Central", "Main 2", 2206, kCurrent, kAnswers},
    {"ELM SPRINGS", "C 33.9", kProductCad2, "Central", "Main 1", 2207, kOlder, kAnswers},
    {"ELM SPRINGS", "C 33.9", kProductCad2, "Central", "Main 2", 2208, kOlder, kAnswers},
    {"FOX HOLLOW", "C 41.4", kProductCad2, "Central", "Main 1", 2209, kCurrent, kAnswers},
    {"FOX HOLLOW", "C 41.4", kProductCad2, "Central", "Main 2", 2210, kCurrent, kAnswers},
    {"BAY VIEW", "L 5.5", kProductCad2, "Lake", "Main 1", 7101, kOlder, kAnswers},
    {"BAY VIEW", "L 5.5", kProductCad2, "Lake", "Main 2", 7102, kOlder, kAnswers},
    {"CAPE MARA", "L 12.3", kProductCad2, "Lake", "Main 1", 7103, kCurrent, kAnswers},
    {"CAPE MARA", "L 12.3", kProductCad2, "Lake", "Main 2", 7104, kCurrent, kAnswers},
    {"GULL ROCK", "L 19.8", kProductCad2, "Lake", "Main 1", 7105, kOlder, kAnswers},
    {"GULL ROCK", "L 19.8", kProductCad2, "Lake", "Main 2", 7106, kOlder, kAnswers},
    {"PIER END", "L 27.0", kProductCad2, "Lake", "Main 1", 7107, kCurrent, kAnswers},
    {"PIER END", "L 27.0", kProductCad2, "Lake", "Main 2", 7108, kCurrent, kAnswers},
    {"REED MARSH", "L 34.6", kProductCad2, "Lake", "Main 1", 7109, kOlder, kAnswers},
    {"REED MARSH", "L 34.6", kProductCad2, "Lake", "Main 2", 7110, kOlder, kAnswers},
}};

// The index of a name in a lookup table; 0 (unknown subdivision, single track) when absent.
std::uint8_t IndexIn(std::span<const std::string_view> table, std::string_view name) {
  for (std::size_t index = 0; index < table.size(); ++index)
    if (table[index] == name) return static_cast<std::uint8_t>(index);
  return 0;
}

bool IsSecondTrack(std::string_view track) {
  return track == "South Track" || track == "West Track" || track == "Track 2" || track == "Main 2";
}

SiteRecord DemoRecord(const DemoSite& site, const Release& release, const std::string& address, std::size_t index) {
  SiteRecord record{};
  SetFieldText(record.SiteName, site.name);
  SetFieldText(record.Milepost, site.milepost);
  record.SiteId = site.siteId;
  record.SubdivCode = IndexIn(NsSubdivisionNames(), site.subdivision);
  SetFieldText(record.IpByNumber, address);
  SetFieldText(record.HostText, address);
  record.HiddenBuild = static_cast<std::int8_t>(release.build.value_or(0));
  record.DevicePort = kDevicePort;
  record.TrackIndex = IndexIn(TrackNames(), site.track);
  record.VersionMajor = static_cast<std::uint8_t>(release.major);
  record.VersionMinor = static_cast<std::uint8_t>(release.minor);
  record.ProductType = site.productType;
  record.RowNumber = static_cast<std::uint16_t>(index + 1);
  record.TelnetPort = IsSecondTrack(site.track) ? kTelnetPortTrk2 : kTelnetPortTrk1;
  SetFieldText(record.CommVersion, release.comm);
  SetFieldText(record.ReaderVersion, release.reader);
  SetFieldText(record.SpeechVersion, release.speech);
  return record;
}

UploadBehaviour DemoUpload(const DemoSite& site) {
  const Release& current = ReleaseOf(site.productType, kCurrent);
  UploadBehaviour upload;
  upload.ramLoaderDelayMs = kRamLoaderStartMs;
  upload.rebootDelayMs = kRebootMs;
  upload.loaderNeverStarts = site.behaviour == Behaviour::kLoaderNeverStarts;
  upload.silentAfterReboot = site.behaviour == Behaviour::kSilentAfterReboot;
  if (site.behaviour == Behaviour::kNaksSomePackets) upload.nakEvery = kNakEvery;
  if (site.behaviour == Behaviour::kFragmentedOnce) upload.fragmentedAt = kFragmentedPacket;
  upload.newVersionMajor = current.major;
  upload.newVersionMinor = current.minor;
  upload.newVersionBuild = current.build;
  return upload;
}

UnitConfig DemoUnit(const DemoSite& site, const Release& release, const SiteRecord& record) {
  UnitConfig unit;
  unit.address = FieldText(record.IpByNumber);
  unit.port = record.DevicePort;
  unit.telnetPort = record.TelnetPort;
  UnitIdentity& identity = unit.identity;
  identity.productType = site.productType;
  identity.railroad = kRailroadText;
  identity.ready = site.behaviour != Behaviour::kPoweringUp;
  identity.versionMajor = release.major;
  identity.versionMinor = release.minor;
  identity.versionBuild = release.build;
  identity.milepost = site.milepost;
  // Units send the two-letter codes; the program turns them into names.
  identity.track = TrackCodes()[IndexIn(TrackNames(), site.track)];
  identity.subdivName = NsSubdivisionCodes()[IndexIn(NsSubdivisionNames(), site.subdivision)];
  identity.siteName = site.name;
  identity.number = site.siteId;
  if (release.reportsBoards)
    identity.boards =
        BoardVersions{std::string(release.comm), std::string(release.reader), std::string(release.speech)};
  unit.faults.silent = site.behaviour == Behaviour::kSilent;
  if (site.behaviour == Behaviour::kSlow) unit.faults.replyDelayMs = kSlowReplyMs;
  unit.upload = DemoUpload(site);
  return unit;
}

}  // namespace

DemoFleet MakeDemoFleet() {
  DemoFleet fleet;
  for (std::size_t index = 0; index < kDemoSites.size(); ++index) {
    const DemoSite& site = kDemoSites[index];
    const Release& release = ReleaseOf(site.productType, site.olderRelease);
    const std::string address = std::string(kAddressPrefix) + std::to_string(index + 1);
    fleet.sites.push_back(DemoRecord(site, release, address, index));
    fleet.units.push_back(DemoUnit(site, release, fleet.sites.back()));
  }
  return fleet;
}

}  // namespace quenderlink::unitsim
