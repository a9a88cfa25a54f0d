#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/RuntimeParams.h"
#include "core/SiteRecord.h"
#include "core/UserPrompts.h"
#include "net/DeviceReply.h"
#include "net/HostAddress.h"

namespace quenderlink {

// The four tasks of the add / modify site dialog.
enum class SiteEditMode : std::uint8_t { AddNewSite = 1, ModifySite = 2, PingSite = 3, PingAddress = 4 };

// "Add New Site", "Modify Site Params", "Ping Site", "Enter an Address to Ping".
std::string SiteEditTitle(SiteEditMode mode);

// The dialog's three edits, as typed.
struct SiteEditFields {
  std::string host;
  std::string port;
  std::string telnetPort;
};

// How a ping started from the dialog ended; the reply counts only when answered.
struct PingOutcome {
  bool answered = false;
  bool aborted = false;
  DeviceReply reply{};
};

// Everything of the add / modify site dialog that needs no window: the record it
// edits, the checks before each action (refusals go to the error dialog) and
// what a ping's outcome does to the record and the info panel.
class SiteEditForm {
 public:
  // The record starts all zero, named "????", on the "Default Port Num" port.
  SiteEditForm(SiteEditMode mode, const RuntimeParams& params, UserPrompts& prompts, HostLookup lookup = ResolveIpv4);

  SiteEditMode mode() const { return mode_; }
  bool SaveShownAtStart() const;
  bool HistoryShown() const;
  // Modes that tell the owner of every successful ping at once, not only on "Save".
  bool TellsOwnerOfEachPing() const;

  // A listed site's record to edit (modes 2 and 3).
  void SetSite(const SiteRecord& site);
  // What the edits show on opening: the given record's, else the port settings and no address.
  SiteEditFields InitialFields() const;

  // Reads the edits into the record, as every action does first; a host name
  // that cannot be looked up leaves IpByNumber empty without a word. A host
  // with characters a site list cannot hold is stored with "?" for them, and
  // the user is told once for each such text.
  void ReadFields(const SiteEditFields& fields);
  // Each of these reads the edits and runs its checks; false when refused.
  [[nodiscard]] bool PrepareForSave(const SiteEditFields& fields);
  [[nodiscard]] bool PrepareForPing(const SiteEditFields& fields);
  [[nodiscard]] bool PrepareForReset(const SiteEditFields& fields);

  // Records how the ping ended and returns the info panel's new text; the
  // telnet edit is read again into a pinged record.
  std::string ApplyPing(const PingOutcome& outcome, std::string_view telnetEditText);

  bool pinged() const { return pinged_; }
  bool powerup() const { return powerup_; }
  const SiteRecord& site() const { return site_; }
  SiteRecord& site() { return site_; }

 private:
  [[nodiscard]] bool CheckForSaving();
  [[nodiscard]] bool CheckForPinging(const SiteEditFields& fields);
  [[nodiscard]] bool ConvertDns();
  void TellOfReplacedCharacters(const std::string& edit);

  SiteEditMode mode_;
  const RuntimeParams& params_;
  UserPrompts& prompts_;
  HostLookup lookup_;
  SiteRecord site_{};
  bool recordGiven_ = false;
  bool pinged_ = false;
  bool powerup_ = false;
  std::string toldOfHost_;  // the host edit the user was last told of
};

}  // namespace quenderlink
