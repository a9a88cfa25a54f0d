#include "unitsim/UnitIdentity.h"

#include <string_view>

#include "core/Lookups.h"

namespace quenderlink::unitsim {

namespace {

constexpr std::uint8_t kReplyIdentification = 1;
constexpr std::uint8_t kReplyResetConfirmation = 6;
constexpr std::uint16_t kResetMaxDatagram = 1024;

std::string Field(std::string_view text) { return std::string(text) + '|'; }
std::string Field(int number) { return Field(std::to_string(number)); }

std::string StatusField(const UnitIdentity& unit) { return Field(unit.ready ? "RDY" : "PWRUP"); }

std::string VersionField(const UnitIdentity& unit) {
  std::string version = std::to_string(unit.versionMajor) + "." + std::to_string(unit.versionMinor);
  if (unit.versionBuild) version += "-" + std::to_string(*unit.versionBuild);
  return Field(version);
}

// The board versions marker "|+|" shares its first '|' with the field before it.
std::string BoardFields(const BoardVersions& boards) {
  return "+|" + Field(boards.comm) + Field(boards.reader) + Field(boards.speech);
}

// Cadmarin (both generations) and, without the unit codes, RKM-U.
std::string MainFamilyText(std::string_view tag, const UnitIdentity& unit, bool cadmarin) {
  std::string text = std::string(tag) + ' ';
  if (!cadmarin || unit.statusField || !unit.railroad.starts_with('C')) text += StatusField(unit);
  text += Field(unit.railroad) + VersionField(unit) + Field(unit.milepost) + Field(unit.track) + Field(unit.number) +
          Field(unit.siteName);
  if (!unit.subdivName.empty()) text += Field(unit.subdivName);
  if (cadmarin && unit.uploadCode) text += "U_" + Field(*unit.uploadCode);
  if (unit.boards) {
    text += BoardFields(*unit.boards);
    if (cadmarin && unit.speechError) text += "!$FF";
  }
  return text;
}

std::string RkmText(const UnitIdentity& unit) {
  return "RKM: " + StatusField(unit) + Field(unit.railroad) + VersionField(unit) + Field(unit.milepost) +
         Field(unit.track) + Field(unit.subdivName) + Field(unit.siteName) + Field(unit.number);
}

std::string CadHalvyrText(const UnitIdentity& unit) {
  std::string text = "CHAL: " + StatusField(unit) + Field(unit.railroad) + VersionField(unit) + Field(unit.milepost) +
                     Field(unit.track) + Field(unit.siteName);
  if (unit.boards) text += BoardFields(*unit.boards);
  return text;
}

std::string CollectorText(const UnitIdentity& unit) {
  return Field(unit.number) + Field("CL") + Field(unit.versionMajor) + Field(unit.versionMinor);
}

std::string UntaggedText(const UnitIdentity& unit) {
  return Field(unit.milepost) + Field(unit.track) + Field(unit.versionMajor) + Field(unit.versionMinor) +
         unit.siteName;
}

std::string IdentificationText(const UnitIdentity& unit) {
  switch (unit.productType) {
    case kProductRkm: return RkmText(unit);
    case kProductCad1: return MainFamilyText("CAD:", unit, true);
    case kProductCollector: return CollectorText(unit);
    case kProductRkmMicro: return MainFamilyText("RKMU:", unit, false);
    case kProductCadHalvyr: return CadHalvyrText(unit);
    case kProductCad2: return MainFamilyText("C_2:", unit, true);
    default: return UntaggedText(unit);
  }
}

void AppendU16(std::vector<std::uint8_t>& bytes, std::size_t value) {
  bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
  bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

std::vector<std::uint8_t> Datagram(std::uint8_t replyCode, std::uint8_t programKind, std::uint16_t maxDatagram,
                                   std::uint16_t blockSize, const std::string& textBytes) {
  std::vector<std::uint8_t> bytes{replyCode, programKind};
  AppendU16(bytes, textBytes.size());
  AppendU16(bytes, maxDatagram);
  AppendU16(bytes, blockSize);
  bytes.insert(bytes.end(), textBytes.begin(), textBytes.end());
  return bytes;
}

}  // namespace

std::vector<std::uint8_t> EncodeIdentificationReply(const UnitIdentity& identity) {
  std::string textBytes = IdentificationText(identity) + '\0';
  // The second text begins one byte after the first text's NUL.
  if (!identity.extraText.empty()) textBytes += std::string(1, '\0') + identity.extraText + '\0';
  return Datagram(kReplyIdentification, identity.programKind, identity.maxDatagram, identity.blockSize, textBytes);
}

std::vector<std::uint8_t> EncodeResetConfirmation() {
  return Datagram(kReplyResetConfirmation, 0, kResetMaxDatagram, 0, std::string("WILL RESET") + '\0');
}

}  // namespace quenderlink::unitsim
