#include "unitsim/FleetConfig.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <stdexcept>
#include <utility>

#include "core/CSiteinfoClass.h"
#include "core/FixedText.h"
#include "core/Lookups.h"
#include "core/RegularFile.h"
#include "core/SiteListLoader.h"
#include "unitsim/LoopbackAddress.h"

namespace quenderlink::unitsim {
namespace {

using Json = nlohmann::json;

// Carries a reason to the public functions, which turn it into their false result.
class FleetError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

[[noreturn]] void Fail(const std::string& reason) { throw FleetError(reason); }

constexpr std::uint16_t kTelnetPortTrk1 = 10001;
constexpr long long kMostUnitsInRange = 100000;
constexpr long long kLongestDelayMs = 3'600'000;
constexpr long long kMostDuplicates = 100;
// Packets of a whole program store, counted from the RAM loader's start.
constexpr long long kMostPackets = 1'000'000;

// ---- Reading JSON values; `what` names the element, e.g. units[3]: "drop".

std::string Text(const Json& value, const std::string& what) {
  if (!value.is_string()) Fail(what + " must be a text");
  return value.get<std::string>();
}

bool Flag(const Json& value, const std::string& what) {
  if (!value.is_boolean()) Fail(what + " must be true or false");
  return value.get<bool>();
}

long long Integer(const Json& value, const std::string& what, long long lowest, long long highest) {
  std::optional<long long> number;
  if (value.is_number_unsigned()) {
    if (value.get<unsigned long long>() <= static_cast<unsigned long long>(highest)) number = value.get<long long>();
  } else if (value.is_number_integer()) {
    number = value.get<long long>();
  }
  if (!number || *number < lowest || *number > highest)
    Fail(what + " must be a whole number from " + std::to_string(lowest) + " to " + std::to_string(highest));
  return *number;
}

double Fraction(const Json& value, const std::string& what) {
  if (!value.is_number() || value.get<double>() < 0.0 || value.get<double>() > 1.0)
    Fail(what + " must be a number from 0 to 1");
  return value.get<double>();
}

std::uint32_t LoopbackAddress(const Json& value, const std::string& what) {
  const auto address = value.is_string() ? ParseLoopbackAddress(value.get<std::string>()) : std::nullopt;
  if (!address) Fail(what + " must be a dotted address in 127.0.0.0/8, such as \"127.0.3.1\"");
  return *address;
}

std::uint8_t ProductType(const Json& value, const std::string& what) {
  if (value.is_number_integer()) return static_cast<std::uint8_t>(Integer(value, what, 0, 255));
  std::string names;
  for (std::uint8_t code = kProductRkm; code <= kProductCad2; ++code) {
    if (value.is_string() && value.get<std::string>() == ProductShortName(code)) return code;
    names += ProductShortName(code) + ", ";
  }
  Fail(what + " must be one of " + names + "or a product type number");
}

[[nodiscard]] std::optional<unsigned> TakeNumber(std::string_view& text) {
  unsigned number = 0;
  const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (failure != std::errc{}) return std::nullopt;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return number;
}

[[nodiscard]] bool TakeChar(std::string_view& text, char expected) {
  if (!text.starts_with(expected)) return false;
  text.remove_prefix(1);
  return true;
}

struct Version {
  int major = 0;
  int minor = 0;
  std::optional<int> build;
};

Version ReadVersion(const Json& value, const std::string& what) {
  const std::string text = Text(value, what);
  std::string_view rest = text;
  const std::optional<unsigned> major = TakeNumber(rest);
  const std::optional<unsigned> minor = TakeChar(rest, '.') ? TakeNumber(rest) : std::nullopt;
  const bool dashed = TakeChar(rest, '-');
  const std::optional<unsigned> build = dashed ? TakeNumber(rest) : std::nullopt;
  const unsigned majorValue = major.value_or(256);
  const unsigned minorValue = minor.value_or(256);
  const unsigned buildValue = build.value_or(dashed ? 128 : 0);
  if (!rest.empty() || majorValue > 255 || minorValue > 255 || buildValue > 127)
    Fail(what + " must read major.minor or major.minor-build, such as \"3.7\" or \"3.7-2\"");
  return {static_cast<int>(majorValue), static_cast<int>(minorValue),
          build ? std::optional<int>(static_cast<int>(buildValue)) : std::nullopt};
}

void ApplyVersion(const Json& value, const std::string& what, UnitIdentity& identity) {
  const Version version = ReadVersion(value, what);
  identity.versionMajor = version.major;
  identity.versionMinor = version.minor;
  identity.versionBuild = version.build;
}

void ApplyNewVersion(const Json& value, const std::string& what, UploadBehaviour& upload) {
  const Version version = ReadVersion(value, what);
  upload.newVersionMajor = version.major;
  upload.newVersionMinor = version.minor;
  upload.newVersionBuild = version.build;
}

[[nodiscard]] std::optional<BoardVersions> Boards(const Json& value, const std::string& what) {
  if (value.is_null()) return std::nullopt;
  if (!value.is_array() || value.size() != 3 || !value[0].is_string() || !value[1].is_string() ||
      !value[2].is_string())
    Fail(what + " must be null or three texts: comm, reader and speech versions");
  return BoardVersions{value[0].get<std::string>(), value[1].get<std::string>(), value[2].get<std::string>()};
}

[[nodiscard]] std::optional<int> UploadCode(const Json& value, const std::string& what) {
  if (value.is_null()) return std::nullopt;
  return static_cast<int>(Integer(value, what, 0, 255));
}

// ---- The unit fields that "defaults", "units" and "ranges" share.

std::uint8_t Byte(const Json& value, const std::string& what) {
  return static_cast<std::uint8_t>(Integer(value, what, 0, 255));
}

std::uint16_t Word(const Json& value, const std::string& what, long long lowest) {
  return static_cast<std::uint16_t>(Integer(value, what, lowest, 65535));
}

// False when the key is no upload field.
bool ApplyUploadField(std::string_view key, const Json& value, const std::string& what, UploadBehaviour& upload) {
  const auto milliseconds = [&] { return static_cast<int>(Integer(value, what, 0, kLongestDelayMs)); };
  const auto count = [&] { return static_cast<int>(Integer(value, what, 0, kMostPackets)); };
  if (key == "ramLoaderDelayMs") upload.ramLoaderDelayMs = milliseconds();
  else if (key == "rebootDelayMs") upload.rebootDelayMs = milliseconds();
  else if (key == "nakEvery") upload.nakEvery = count();
  else if (key == "fragmentedAt") upload.fragmentedAt = count();
  else if (key == "unansweredPackets") upload.unansweredPackets = count();
  else if (key == "loaderNeverStarts") upload.loaderNeverStarts = Flag(value, what);
  else if (key == "silentAfterReboot") upload.silentAfterReboot = Flag(value, what);
  else if (key == "newVersion") ApplyNewVersion(value, what, upload);
  else return false;
  return true;
}

// False when the key is no unit field.
bool ApplyUnitField(std::string_view key, const Json& value, const std::string& what, UnitConfig& unit) {
  UnitIdentity& identity = unit.identity;
  UnitFaults& faults = unit.faults;
  if (key == "port") unit.port = Word(value, what, 1);
  else if (key == "telnetPort") unit.telnetPort = Word(value, what, 0);
  else if (key == "product") identity.productType = ProductType(value, what);
  else if (key == "railroad") identity.railroad = Text(value, what);
  else if (key == "ready") identity.ready = Flag(value, what);
  else if (key == "statusField") identity.statusField = Flag(value, what);
  else if (key == "version") ApplyVersion(value, what, identity);
  else if (key == "milepost") identity.milepost = Text(value, what);
  else if (key == "track") identity.track = Text(value, what);
  else if (key == "name") identity.siteName = Text(value, what);
  else if (key == "subdivision") identity.subdivName = Text(value, what);
  else if (key == "number") identity.number = Word(value, what, 0);
  else if (key == "boards") identity.boards = Boards(value, what);
  else if (key == "speechError") identity.speechError = Flag(value, what);
  else if (key == "uploadCode") identity.uploadCode = UploadCode(value, what);
  else if (key == "programKind") identity.programKind = Byte(value, what);
  else if (key == "maxDatagram") identity.maxDatagram = Word(value, what, 0);
  else if (key == "blockSize") identity.blockSize = Word(value, what, 0);
  else if (key == "extraText") identity.extraText = Text(value, what);
  else if (key == "silent") faults.silent = Flag(value, what);
  else if (key == "drop") faults.dropProbability = Fraction(value, what);
  else if (key == "delayMs") faults.replyDelayMs = static_cast<int>(Integer(value, what, 0, kLongestDelayMs));
  else if (key == "garbage") faults.garbageReplies = Flag(value, what);
  else if (key == "duplicates") faults.duplicateReplies = static_cast<int>(Integer(value, what, 0, kMostDuplicates));
  else return ApplyUploadField(key, value, what, unit.upload);
  return true;
}

// Applies the unit fields of an object; `ownKeys` are the keys its caller reads itself.
void ApplyUnitFields(const Json& object, const std::string& where, std::span<const std::string_view> ownKeys,
                     UnitConfig& unit) {
  if (!object.is_object()) Fail(where + " must be an object");
  for (const auto& [key, value] : object.items()) {
    if (std::find(ownKeys.begin(), ownKeys.end(), key) != ownKeys.end()) continue;
    if (!ApplyUnitField(key, value, where + ": \"" + key + "\"", unit))
      Fail(where + ": unknown key \"" + key + "\"");
  }
}

const Json& Required(const Json& object, const std::string& where, const std::string& key) {
  const auto found = object.find(key);
  if (found == object.end()) Fail(where + ": \"" + key + "\" is missing");
  return *found;
}

std::string WithNumber(std::string text, unsigned number) {
  const std::string placeholder = "{n}";
  const std::string value = std::to_string(number);
  for (auto at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + value.size()))
    text.replace(at, placeholder.size(), value);
  return text;
}

// Builds the fleet and refuses two units on one address and port, or on one
// address and telnet port.
class FleetBuilder {
 public:
  void Add(UnitConfig unit, std::uint32_t address, const std::string& where) {
    Claim(used_, address, unit.port, where, "");
    if (unit.telnetPort != 0) Claim(usedTelnet_, address, unit.telnetPort, where, "telnet ");
    units_.push_back(std::move(unit));
  }
  std::vector<UnitConfig> Take() { return std::move(units_); }

 private:
  using Claims = std::map<std::pair<std::uint32_t, std::uint16_t>, std::string>;

  static void Claim(Claims& claims, std::uint32_t address, std::uint16_t port, const std::string& where,
                    const std::string& kind) {
    const auto [earlier, added] = claims.try_emplace({address, port}, where);
    if (!added)
      Fail(where + ": " + kind + AddressText(address) + ":" + std::to_string(port) + " is taken by " + earlier->second);
  }

  Claims used_;
  Claims usedTelnet_;
  std::vector<UnitConfig> units_;
};

void AddUnits(const Json& list, const UnitConfig& defaults, FleetBuilder& fleet) {
  if (!list.is_array()) Fail("\"units\" must be a list of unit objects");
  constexpr std::string_view kOwnKeys[] = {"address"};
  for (std::size_t index = 0; index < list.size(); ++index) {
    const std::string where = "units[" + std::to_string(index) + "]";
    UnitConfig unit = defaults;
    ApplyUnitFields(list[index], where, kOwnKeys, unit);
    const std::uint32_t address = LoopbackAddress(Required(list[index], where, "address"), where + ": \"address\"");
    unit.address = AddressText(address);
    fleet.Add(std::move(unit), address, where);
  }
}

void AddRange(const Json& range, const std::string& where, const UnitConfig& defaults, FleetBuilder& fleet) {
  constexpr std::string_view kOwnKeys[] = {"from", "count"};
  UnitConfig pattern = defaults;
  ApplyUnitFields(range, where, kOwnKeys, pattern);
  const std::uint32_t first = LoopbackAddress(Required(range, where, "from"), where + ": \"from\"");
  const auto count = static_cast<std::uint32_t>(
      Integer(Required(range, where, "count"), where + ": \"count\"", 1, kMostUnitsInRange));
  if (((first + (count - 1)) >> 24) != 127)
    Fail(where + ": " + std::to_string(count) + " addresses from " + AddressText(first) + " run past 127.255.255.255");
  for (std::uint32_t number = 1; number <= count; ++number) {
    UnitConfig unit = pattern;
    const std::uint32_t address = first + number - 1;
    unit.address = AddressText(address);
    unit.identity.siteName = WithNumber(pattern.identity.siteName, number);
    unit.identity.milepost = WithNumber(pattern.identity.milepost, number);
    fleet.Add(std::move(unit), address, where + " unit " + std::to_string(number));
  }
}

void AddRanges(const Json& list, const UnitConfig& defaults, FleetBuilder& fleet) {
  if (!list.is_array()) Fail("\"ranges\" must be a list of range objects");
  for (std::size_t index = 0; index < list.size(); ++index)
    AddRange(list[index], "ranges[" + std::to_string(index) + "]", defaults, fleet);
}

std::vector<UnitConfig> FleetOf(const Json& document) {
  if (!document.is_object()) Fail("the fleet must be a JSON object with \"defaults\", \"units\" and \"ranges\"");
  for (const auto& [key, value] : document.items())
    if (key != "defaults" && key != "units" && key != "ranges") Fail("unknown key \"" + key + "\" at the top level");
  UnitConfig defaults;
  if (document.contains("defaults")) {
    ApplyUnitFields(document["defaults"], "defaults", {}, defaults);
  }
  FleetBuilder fleet;
  if (document.contains("units")) AddUnits(document["units"], defaults, fleet);
  if (document.contains("ranges")) AddRanges(document["ranges"], defaults, fleet);
  std::vector<UnitConfig> units = fleet.Take();
  if (units.empty()) Fail("the fleet has no units: give \"units\" or \"ranges\"");
  return units;
}

// nlohmann's messages begin with an "[json.exception...]" tag that tells people nothing.
std::string ParseErrorText(const std::exception& error) {
  const std::string text = error.what();
  const auto tagEnd = text.find("] ");
  return tagEnd == std::string::npos ? text : text.substr(tagEnd + 2);
}

// ---- Site list records.

bool IsBoardPlaceholder(std::string_view text) {
  return text.empty() || text == "Comm??" || text == "Rdr???" || text == "Spch??" || text == "Exec??" ||
         text == "Boot???";
}

[[nodiscard]] std::optional<BoardVersions> RecordBoards(const SiteRecord& record) {
  const std::string_view comm = FieldText(record.CommVersion);
  const std::string_view reader = FieldText(record.ReaderVersion);
  const std::string_view speech = FieldText(record.SpeechVersion);
  if (IsBoardPlaceholder(comm) && IsBoardPlaceholder(reader) && IsBoardPlaceholder(speech)) return std::nullopt;
  return BoardVersions{std::string(comm), std::string(reader), std::string(speech)};
}

UnitIdentity RecordIdentity(const SiteRecord& record, const std::string& railroad) {
  UnitIdentity identity;
  identity.productType = record.ProductType;
  identity.railroad = railroad;
  identity.versionMajor = record.VersionMajor;
  identity.versionMinor = record.VersionMinor;
  if (record.HiddenBuild != 0) identity.versionBuild = record.HiddenBuild;
  identity.milepost = FieldText(record.Milepost);
  identity.track = TrackName(record.TrackIndex);
  identity.siteName = FieldText(record.SiteName);
  // The number field carries the subdivision for CPR and the site id elsewhere.
  const bool cpr = railroad.find("CPR") != std::string::npos;
  identity.number = cpr ? record.SubdivCode : record.SiteId;
  // NS units name their subdivision by its two-letter code, which is what the decoder looks for.
  const std::uint16_t subdivision = record.SubdivCode;
  if (!cpr && railroad.find("NS") != std::string::npos && subdivision < NsSubdivisionCodes().size())
    identity.subdivName = NsSubdivisionCodes()[subdivision];
  identity.boards = RecordBoards(record);
  return identity;
}

}  // namespace

bool FleetFromSiteList(const std::string& path, const std::string& railroad, std::vector<UnitConfig>& units,
                       std::string& error) {
  SiteTable table;
  const int code = LoadSiteTable(path, table, kTelnetPortTrk1);
  if (code != 0) {
    error = path + ": " + (code == kSiteListNoPath ? "the path is too short to name a file" : SiteFileErrorText(code));
    return false;
  }
  try {
    FleetBuilder fleet;
    for (const SiteRecord& record : table.records()) {
      const std::string where = path + ": record " + std::to_string(record.RowNumber) + " (\"" +
                                std::string(FieldText(record.SiteName)) + "\")";
      const std::string addressText(FieldText(record.IpByNumber));
      const auto address = ParseLoopbackAddress(addressText);
      if (!address)
        Fail(where + ": address \"" + addressText + "\" is not in 127.0.0.0/8; only loopback units are simulated");
      if (record.DevicePort == 0) Fail(where + ": device port 0");
      UnitConfig unit;
      unit.address = AddressText(*address);
      unit.port = record.DevicePort;
      unit.telnetPort = record.TelnetPort;
      unit.identity = RecordIdentity(record, railroad);
      fleet.Add(std::move(unit), *address, where);
    }
    units = fleet.Take();
    return true;
  } catch (const FleetError& failure) {
    error = failure.what();
    return false;
  }
}

bool FleetFromJson(std::string_view json, std::vector<UnitConfig>& units, std::string& error) {
  try {
    units = FleetOf(Json::parse(json, nullptr, true, true));
    return true;
  } catch (const Json::exception& failure) {
    error = "bad JSON: " + ParseErrorText(failure);
  } catch (const FleetError& failure) {
    error = failure.what();
  }
  return false;
}

bool FleetFromJsonFile(const std::string& path, std::vector<UnitConfig>& units, std::string& error) {
  const RegularFileBytes json = ReadRegularFile(path, kLargestFleetFile);
  if (!json.ok()) {
    error = json.refusal;
    return false;
  }
  if (FleetFromJson(json.bytes, units, error)) return true;
  error = path + ": " + error;
  return false;
}

}  // namespace quenderlink::unitsim
