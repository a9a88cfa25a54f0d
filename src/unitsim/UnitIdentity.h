#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quenderlink::unitsim {

struct BoardVersions {
  std::string comm;    // executive program on RKM-U
  std::string reader;  // boot program on RKM-U
  std::string speech;
};

// What a simulated unit says about itself in its identification reply.
struct UnitIdentity {
  // 1 RKM, 2 Cad-1, 3 collector, 4 RKM-U, 5 Cad/Halvyr, 6 Cad-2; 0 an untagged older unit.
  std::uint8_t productType = 2;
  std::string railroad = "CSX";  // railroad field text
  bool ready = true;             // status "RDY" when ready, "PWRUP" after power-up
  bool statusField = true;       // Cadmarin only: false starts with the railroad field
  int versionMajor = 1;
  int versionMinor = 0;
  std::optional<int> versionBuild;  // written as "-n" after the minor number
  std::string milepost = "0.0";
  std::string track = "M_";
  std::string siteName = "SIM";
  std::string subdivName;  // NS Cadmarin/RKM-U and RKM replies
  std::uint16_t number = 0;  // site id (NS), subdivision number (CPR) or collector number
  std::optional<BoardVersions> boards;
  bool speechError = false;          // "!$FF" after the speech field (Cadmarin)
  std::optional<int> uploadCode;     // "|U_n" (Cadmarin)
  std::uint8_t programKind = 0;      // header byte 1; 3 while the RAM loader runs
  std::uint16_t maxDatagram = 1024;  // header bytes 4-5
  std::uint16_t blockSize = 0;       // header bytes 6-7; 0 stands for 4096
  std::string extraText;             // the optional second text
};

// The reply datagram a unit sends to a ping, in exactly the grammar the decoder
// reads. Every field ends with '|', so texts must hold neither '|' nor NUL.
//   Cad-1, Cad-2  "CAD: " / "C_2: " [status|]railroad|version|milepost|track|number|site|
//                 [subdiv|][U_n|][+|comm|reader|speech|[!$FF]]
//   RKM-U         "RKMU: " status|railroad|version|milepost|track|number|site|[subdiv|][+|comm|reader|speech|]
//   RKM           "RKM: " status|railroad|version|milepost|track|subdiv|site|number|
//   Cad/Halvyr    "CHAL: " status|railroad|version|milepost|track|site|[+|comm|reader|speech|]
//   collector     number|CL|major|minor|
//   untagged      milepost|track|major|minor|site    (type 0 and any type not listed)
// Status is "RDY" or "PWRUP"; version "major.minor" or "major.minor-build".
// A Cadmarin reply whose first field begins with 'C' has no status: that first
// field is the railroad. So the status is left out only when `statusField` is
// false and the railroad begins with 'C' ("CPR", "CSX"), and such a unit reads
// as powered up whatever `ready` says; otherwise the status is written. An RKM
// unit counts as ready when "RDY" appears in any of its fields. The subdivision
// field is written when `subdivName` is set (always for RKM); RKM units carry
// no board versions. The header's text length counts the text and its NUL and,
// with `extraText`, one pad byte, the second text and its NUL.
std::vector<std::uint8_t> EncodeIdentificationReply(const UnitIdentity& identity);

// The reply to a reset command: reply code 6 and the text "WILL RESET".
std::vector<std::uint8_t> EncodeResetConfirmation();

}  // namespace quenderlink::unitsim
