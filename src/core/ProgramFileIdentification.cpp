#include "core/ProgramFileIdentification.h"

#include <algorithm>
#include <bitset>
#include <string>
#include <vector>

#include "core/ErrorMessages.h"
#include "core/Lookups.h"
#include "core/PathLengths.h"
#include "core/RecordText.h"
#include "core/RegularFile.h"

namespace quenderlink {

namespace {

struct TextRule {
  std::string_view first;
  std::string_view second;
  std::uint8_t productType;
};

// Tried before the S-record path rule: the file's own texts outrank its name.
constexpr TextRule kLeadingRules[] = {
    {"access Micro", "RKM_Micro", kProductRkmMicro},
    {"Norfolk Southern RKM", "Route Kiosk Monitor", kProductRkm},
    {"No axle count from QZ!", "Getting Train Header from QZ", kProductCad1},
};
constexpr TextRule kTrailingRules[] = {
    {"CSX_CADMARIN_HALVYR", "HALVYR", kProductCadHalvyr},
    {"Remote Begin", "Collector", kProductCollector},
};

constexpr std::size_t kMinimumWindow = 128;
constexpr std::size_t kFirstBytesRead = 10;

// ASCII only, so that the result does not depend on the process locale.
char UpperCased(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string UpperCased(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return UpperCased(c); });
  return upper;
}

void AppendSearchable(std::string& window, const char* bytes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i)
    if (bytes[i] != '\0') window.push_back(UpperCased(bytes[i]));
}

bool IsSRecordPath(const std::filesystem::path& file) {
  const std::string text = file.string();
  return text.find(".s19") != std::string::npos || text.find(".S19") != std::string::npos;
}

bool IsKnownProductType(std::uint8_t productType) {
  return productType >= kProductRkm && productType <= kProductCad2;
}

std::vector<const SiteRecord*> HighlightedRecords(const SiteTable& sites) {
  std::vector<const SiteRecord*> targets;
  for (const SiteRecord& record : sites.records())
    if (record.SiteFlags & kFlagHighlighted) targets.push_back(&record);
  return targets;
}

[[nodiscard]] bool AcceptUnknownUnits(const std::vector<const SiteRecord*>& targets, const RuntimeParams& params,
                                      UserPrompts& prompts) {
  if (params.allowUploadUnknown) return true;
  const auto unknown = std::find_if(targets.begin(), targets.end(),
                                    [](const SiteRecord* record) { return !IsKnownProductType(record->ProductType); });
  if (unknown == targets.end()) return true;
  const std::string text =
      "The device is an \"Unknown\" Product Type\n\n" + RecordFieldUtf8((*unknown)->HostText);
  if (!prompts.ShowError(ErrorId::kUnknownProductType, text, true)) return false;
  return prompts.Confirm(ConfirmMode::Upload,
                         "You are programming an \"Unknown\" device-type.\r\n\r\nDo you want to proceed?");
}

bool FamiliesMixed(const std::vector<const SiteRecord*>& targets) {
  std::bitset<4> families;
  for (const SiteRecord* record : targets) {
    const ProductFamily family = ProductFamilyOf(record->ProductType);
    if (family != ProductFamily::None) families.set(static_cast<std::size_t>(family));
  }
  return families.count() >= 2;
}

struct MismatchMessage {
  ErrorId errorId;
  std::string textBeforePath;
};

MismatchMessage MismatchMessageFor(std::uint8_t siteProductType) {
  switch (siteProductType) {
    case kProductRkm: return {ErrorId::kWrongRkmFile, "The program file is not a\nvalid RKM file!\n\n"};
    case kProductCad1: return {ErrorId::kWrongCadmarinFile, "The program file is not a\nvalid CADMARIN-1 file!\n\n"};
    case kProductCad2: return {ErrorId::kWrongCadmarinFile, "The program file is not a\nvalid CADMARIN-2 file!\n\n"};
    case kProductCollector: return {ErrorId::kWrongCollectorFile, "The program file is not a\nvalid ZENTHI file!\n\n"};
    case kProductRkmMicro: return {ErrorId::kWrongRkmMicroFile, "The program file is not a\nvalid RKM_Micro file!\n\n"};
    case kProductCadHalvyr:
      return {ErrorId::kWrongHalvyrFile, "The program file is not a\nvalid Cadmarin/HALVYR file!\n\n"};
    default:
      return {ErrorId::kWrongFileForUnknown, "INTERNAL ERROR!\nPlease Contact Brindlemar\n" +
                                                 InternalErrorCodeText(InternalErrorCode::kWrongFileForUnknown) + "\n"};
  }
}

[[nodiscard]] bool AcceptMismatch(std::uint8_t siteProductType, const std::filesystem::path& file,
                                  const RuntimeParams& params, UserPrompts& prompts) {
  if (!IsKnownProductType(siteProductType) && params.allowUploadUnknown) return true;
  const MismatchMessage message = MismatchMessageFor(siteProductType);
  if (!prompts.ShowError(message.errorId, message.textBeforePath + file.string(), true)) return false;
  return prompts.Confirm(ConfirmMode::Upload,
                         "You are using an   ** IN-CORRECT **\r\nfile to program the device!\r\n\r\n"
                         "Do you want to proceed?");
}

}  // namespace

bool FileContainsBoth(std::string_view first, std::string_view second, const std::filesystem::path& file) {
  if (second.empty()) return false;
  RegularFile in = RegularFile::Open(file);
  if (!in.ok()) return false;

  const std::string upperFirst = UpperCased(first);
  const std::string upperSecond = UpperCased(second);
  bool foundFirst = upperFirst.empty();
  bool foundSecond = false;

  const std::size_t carryLength = std::max(first.size(), second.size());
  const std::size_t windowSize = std::max(kMinimumWindow, 2 * carryLength);
  std::vector<char> chunk(windowSize - carryLength);
  std::string window;
  window.reserve(windowSize);

  for (std::size_t got = 0; (got = in.Read(chunk.data(), chunk.size())) > 0;) {
    AppendSearchable(window, chunk.data(), got);
    foundFirst = foundFirst || window.find(upperFirst) != std::string::npos;
    foundSecond = foundSecond || window.find(upperSecond) != std::string::npos;
    if (foundFirst && foundSecond) return true;
    // The carried tail is taken after the NULs are gone, so a text split by
    // NULs across two reads is still whole in the next window.
    if (window.size() > carryLength) window.erase(0, window.size() - carryLength);
  }
  return false;
}

std::uint8_t IdentifyProgramFile(const std::filesystem::path& file) {
  for (const TextRule& rule : kLeadingRules)
    if (FileContainsBoth(rule.first, rule.second, file)) return rule.productType;
  if (IsSRecordPath(file)) return kProductCad2;
  for (const TextRule& rule : kTrailingRules)
    if (FileContainsBoth(rule.first, rule.second, file)) return rule.productType;
  return 0;
}

bool CheckProgramFile(const std::filesystem::path& file, UserPrompts& prompts) {
  if (file.string().size() < kShortestFilePath) {
    prompts.ShowError(ErrorId::kNoProgramFile, "", false);
    return false;
  }
  RegularFile in = RegularFile::Open(file);
  switch (in.failure()) {
    case RegularFile::Failure::None: break;
    case RegularFile::Failure::CannotOpen:
    case RegularFile::Failure::CannotRead: prompts.ShowMessage("FAILED TO OPEN BIN FILE"); return false;
    case RegularFile::Failure::NotRegular: prompts.ShowMessage(in.refusal()); return false;
  }
  char firstBytes[kFirstBytesRead]{};
  // An empty file has no first byte: it is refused like a file whose first byte is wrong.
  const bool empty = in.Read(firstBytes, kFirstBytesRead) == 0;
  const auto firstByte = static_cast<unsigned char>(firstBytes[0]);

  if (IsSRecordPath(file)) {
    if (empty || (firstByte != 'S' && firstByte != '0')) {
      prompts.ShowMessage("SELECTED FILE IS NOT A VALID Cadmarin-2 FILE (3)");
      return false;
    }
    return true;
  }
  if (empty || firstByte == 0) {
    prompts.ShowMessage("SELECTED FILE IS NOT A VALID BIN FILE (1)");
    return false;
  }
  if (firstByte != 0xC3 && firstByte != 0xC7) {
    prompts.ShowMessage("SELECTED FILE IS NOT A VALID BIN FILE (2)");
    return false;
  }
  return true;
}

bool CheckProgramForSites(const std::filesystem::path& file, const SiteTable& sites, const RuntimeParams& params,
                          UserPrompts& prompts) {
  const std::vector<const SiteRecord*> targets = HighlightedRecords(sites);
  if (!AcceptUnknownUnits(targets, params, prompts)) return false;
  if (FamiliesMixed(targets)) {
    prompts.ShowError(ErrorId::kMixedFamilies, "You can not load the same program\nfile in different product types",
                      false);
    return false;
  }
  const std::uint8_t siteProductType = targets.empty() ? 0 : targets.front()->ProductType;
  if (siteProductType == IdentifyProgramFile(file)) return true;
  return AcceptMismatch(siteProductType, file, params, prompts);
}

}  // namespace quenderlink
