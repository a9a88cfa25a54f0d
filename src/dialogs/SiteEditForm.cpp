#include "dialogs/SiteEditForm.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "core/ErrorMessages.h"
#include "core/FixedText.h"
#include "core/Lookups.h"
#include "core/Printf.h"
#include "core/RecordText.h"
#include "dialogs/SiteEditInfo.h"
#include "net/ReplyToSite.h"

namespace quenderlink {
namespace {

constexpr std::size_t kHostTextLength = 45;
constexpr std::size_t kPingPortTextLength = 9;
constexpr std::size_t kSaveMinHostLength = 4;
constexpr std::size_t kPingMinHostLength = 5;

// An edit's number as the system reads it: leading decimal digits, 0 for none.
long DecimalValue(std::string_view text) { return std::strtol(std::string(text).c_str(), nullptr, 10); }

std::uint16_t PortValue(std::string_view text) { return static_cast<std::uint16_t>(DecimalValue(text)); }

bool ParsesAsIpv4(const std::string& text) {
  in_addr address{};
  return ::inet_pton(AF_INET, text.c_str(), &address) == 1;
}

// The host edit as the record holds it: Windows-1252, at most kHostTextLength characters.
Windows1252Text HostFromEdit(std::string_view edit) {
  Windows1252Text host = Windows1252FromUtf8(edit);
  host.text.resize(std::min(host.text.size(), kHostTextLength));
  return host;
}

}  // namespace

std::string SiteEditTitle(SiteEditMode mode) {
  switch (mode) {
    case SiteEditMode::AddNewSite:
      return "Add New Site";
    case SiteEditMode::ModifySite:
      return "Modify Site Params";
    case SiteEditMode::PingSite:
      return "Ping Site";
    case SiteEditMode::PingAddress:
      return "Enter an Address to Ping";
  }
  return {};
}

SiteEditForm::SiteEditForm(SiteEditMode mode, const RuntimeParams& params, UserPrompts& prompts, HostLookup lookup)
    : mode_(mode), params_(params), prompts_(prompts), lookup_(std::move(lookup)) {
  SetFieldText(site_.SiteName, "????");
  site_.DevicePort = params.defaultPortNum;
}

bool SiteEditForm::SaveShownAtStart() const {
  return mode_ == SiteEditMode::AddNewSite || mode_ == SiteEditMode::ModifySite;
}

bool SiteEditForm::HistoryShown() const { return mode_ == SiteEditMode::PingAddress; }

bool SiteEditForm::TellsOwnerOfEachPing() const {
  return mode_ == SiteEditMode::ModifySite || mode_ == SiteEditMode::PingSite;
}

void SiteEditForm::SetSite(const SiteRecord& site) {
  site_ = site;
  recordGiven_ = true;
}

SiteEditFields SiteEditForm::InitialFields() const {
  if (!recordGiven_) {
    return {"", std::to_string(params_.defaultPortNum), std::to_string(params_.telnetPortTrk1)};
  }
  const unsigned devicePort = site_.DevicePort;
  const unsigned telnetPort = site_.TelnetPort;
  return {RecordFieldUtf8(site_.HostText), std::to_string(devicePort), std::to_string(telnetPort)};
}

void SiteEditForm::ReadFields(const SiteEditFields& fields) {
  site_.DevicePort = PortValue(fields.port);
  site_.TelnetPort = PortValue(fields.telnetPort);
  const Windows1252Text host = HostFromEdit(fields.host);
  if (host.firstReplaced < host.text.size()) TellOfReplacedCharacters(fields.host);
  SetFieldText(site_.HostText, host.text);
  SetFieldText(site_.IpByNumber, AddressOfHost(host.text, lookup_).value_or(""));
}

void SiteEditForm::TellOfReplacedCharacters(const std::string& edit) {
  if (edit == toldOfHost_) return;
  toldOfHost_ = edit;
  prompts_.ShowMessage(ReplacedCharactersText("IP Addr/DNS") + ".");
}

bool SiteEditForm::PrepareForSave(const SiteEditFields& fields) {
  ReadFields(fields);
  return CheckForSaving();
}

bool SiteEditForm::PrepareForPing(const SiteEditFields& fields) {
  ReadFields(fields);
  if (!CheckForPinging(fields)) return false;
  return params_.railroadCode != kRailroadCpr || ConvertDns();
}

bool SiteEditForm::PrepareForReset(const SiteEditFields& fields) {
  ReadFields(fields);
  return CheckForPinging(fields);
}

bool SiteEditForm::CheckForSaving() {
  if (site_.DevicePort == 0) {
    prompts_.ShowError(ErrorId::kSavePort, "\r\nPort number is not valid", false);
    return false;
  }
  if (FieldText(site_.HostText).size() < kSaveMinHostLength) {
    prompts_.ShowError(ErrorId::kSaveAddress, "\r\nIP address is not valid", false);
    return false;
  }
  return true;
}

bool SiteEditForm::CheckForPinging(const SiteEditFields& fields) {
  const std::string host = HostFromEdit(fields.host).text;
  const long port = DecimalValue(std::string_view(fields.port).substr(0, kPingPortTextLength));
  if (host.size() < kPingMinHostLength) {
    prompts_.ShowError(ErrorId::kNothingToPing, "There is no IP address to ping!", false);
    return false;
  }
  if (port == 0) {
    prompts_.ShowError(ErrorId::kNothingToPing, Printf("Port number is not valid!\nPort %d", static_cast<int>(port)),
                       false);
    return false;
  }
  SetFieldText(site_.HostText, host);
  site_.DevicePort = static_cast<std::uint16_t>(port);
  return true;
}

// CPR units are listed by name; the ping goes to the address the name has now.
bool SiteEditForm::ConvertDns() {
  const std::string host(FieldText(site_.HostText));
  const std::optional<std::string> address = ParsesAsIpv4(host) ? host : lookup_(host);
  SetFieldText(site_.IpByNumber, address.value_or(kNoAddress));
  if (!address) {
    prompts_.ShowError(ErrorId::kDnsConversion, DnsConversionFailedText(host), false);
    return false;
  }
  return true;
}

std::string SiteEditForm::ApplyPing(const PingOutcome& outcome, std::string_view telnetEditText) {
  if (outcome.aborted) {
    site_.LastPing = kLastPingUserAbort;
    pinged_ = false;
    return "\r\nUser Aborted Ping!";
  }
  if (!outcome.answered) {
    site_.LastPing = kLastPingNoAnswer;
    pinged_ = false;
    return "\r\nERROR:\r\nPing Failed!";
  }
  powerup_ = outcome.reply.Powerup != 0;
  pinged_ = true;
  site_.TelnetPort = PortValue(telnetEditText);
  CopySiteDialogReplyIntoSite(outcome.reply, site_);
  return PingSuccessInfo(outcome.reply);
}

}  // namespace quenderlink
