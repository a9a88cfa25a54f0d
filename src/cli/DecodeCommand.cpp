#include <cctype>
#include <iostream>
#include <optional>
#include <vector>

#include "cli/DeviceCommands.h"
#include "cli/DeviceReplyJson.h"
#include "net/DeviceDatagram.h"

namespace quenderlink::cli {
namespace {

struct DecodeOptions {
  std::string hex;
  std::string from = "0.0.0.0:0";
  std::optional<unsigned> railroad;
  bool json = false;
};

// Hex digits, with any spaces or colons between the bytes.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> BytesFromHex(const std::string& text) {
  std::string digits;
  for (char c : text) {
    if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
    else if (c != ' ' && c != ':' && c != '\t' && c != '\n') return std::nullopt;
  }
  if (digits.empty() || digits.size() % 2 != 0) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < digits.size(); i += 2)
    bytes.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
  return bytes;
}

[[nodiscard]] int Decode(const CommandContext& context, const DecodeOptions& options) {
  const std::optional<std::vector<std::uint8_t>> datagram = BytesFromHex(options.hex);
  if (!datagram) return BadInput("HEX must be an even number of hexadecimal digits");
  const std::size_t colon = options.from.rfind(':');
  if (colon == std::string::npos) return BadInput("--from takes ADDR:PORT");
  int port = 0;
  try {
    port = std::stoi(options.from.substr(colon + 1));
  } catch (const std::exception&) {
    port = -1;
  }
  if (port < 0 || port > 65535) return BadInput("--from: the port is 0 to 65535");
  const unsigned railroad = options.railroad ? *options.railroad : context.LoadProgramState().params.railroadCode;

  DeviceReply reply{};
  if (!DecodeDeviceReply(*datagram, options.from.substr(0, colon), static_cast<std::uint16_t>(port), railroad, reply))
    return Failed("the datagram is not a decodable identification reply");
  const nlohmann::ordered_json fields = DeviceReplyJson(reply);
  if (options.json) {
    std::cout << fields.dump() << '\n';
  } else {
    for (const auto& field : fields.items())
      std::cout << field.key() << ": " << (field.value().is_string() ? field.value().get<std::string>()
                                                                     : field.value().dump())
                << '\n';
  }
  return kExitOk;
}

}  // namespace

void AddDecodeCommand(CLI::App& app, CommandContext& context) {
  auto* decode = app.add_subcommand("decode", "Decode a unit's reply datagram given in hexadecimal");
  auto options = std::make_shared<DecodeOptions>();
  decode->add_option("HEX", options->hex, "The datagram's bytes in hexadecimal (spaces or colons allowed)")
      ->required();
  decode->add_option("--from", options->from, "Sender ADDR:PORT of the datagram")->capture_default_str();
  decode->add_option("--railroad", options->railroad, "Railroad code for the lookups (default: the setting)")
      ->check(CLI::Range(0, 255));
  decode->add_flag("--json", options->json, "Print one JSON object keyed by the reply's field names");
  decode->callback([&context, options] { context.exitCode = Decode(context, *options); });
}

}  // namespace quenderlink::cli
