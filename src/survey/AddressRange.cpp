#include "survey/AddressRange.h"

#include <cctype>
#include <charconv>

#include "core/Printf.h"
#include "net/HostAddress.h"

namespace quenderlink {
namespace {

[[nodiscard]] std::optional<unsigned> TakeNumber(std::string_view& text, char separator) {
  const std::size_t end = separator ? text.find(separator) : text.size();
  if (end == std::string_view::npos || end == 0 || end > 9) return std::nullopt;
  unsigned value = 0;
  const auto [stop, error] = std::from_chars(text.data(), text.data() + end, value);
  if (error != std::errc() || stop != text.data() + end) return std::nullopt;
  text.remove_prefix(separator ? end + 1 : end);
  return value;
}

}  // namespace

AddressRange AddressRange::FromInputs(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d,
                                      unsigned typedLast) {
  auto last = static_cast<std::uint8_t>(typedLast % 256);
  if (last == 0 || last < d) last = d;
  return {a, b, c, d, last};
}

std::optional<AddressRange> AddressRange::Parse(std::string_view text) {
  unsigned numbers[5];
  const char separators[5] = {'.', '.', '.', '-', '\0'};
  for (int i = 0; i < 5; ++i) {
    const std::optional<unsigned> number = TakeNumber(text, separators[i]);
    if (!number || (i < 4 && *number > 255)) return std::nullopt;
    numbers[i] = *number;
  }
  return FromInputs(static_cast<std::uint8_t>(numbers[0]), static_cast<std::uint8_t>(numbers[1]),
                    static_cast<std::uint8_t>(numbers[2]), static_cast<std::uint8_t>(numbers[3]), numbers[4]);
}

std::string AddressRange::FirstAddress() const { return Printf("%d.%d.%d.%d", a, b, c, d); }

std::vector<std::string> AddressRange::Addresses() const {
  std::vector<std::string> addresses;
  for (int number = d; number <= last; ++number) addresses.push_back(Printf("%d.%d.%d.%d", a, b, c, number));
  return addresses;
}

std::optional<DottedQuad> ParseDottedQuad(std::string_view text) {
  std::string compact;
  bool afterSpace = false;
  for (const char c : text) {
    if (std::isspace(static_cast<unsigned char>(c))) {
      afterSpace = true;
      continue;
    }
    // A space inside a number splits it: "1 27" is not 127.
    if (afterSpace && c != '.' && !compact.empty() && compact.back() != '.') return std::nullopt;
    afterSpace = false;
    compact += c;
  }
  if (!IsDottedQuad(compact)) return std::nullopt;
  std::string_view rest = compact;
  DottedQuad quad{};
  for (std::size_t part = 0; part < quad.size(); ++part) {
    const std::optional<unsigned> number = TakeNumber(rest, part + 1 < quad.size() ? '.' : '\0');
    if (!number || *number > 255) return std::nullopt;
    quad[part] = static_cast<std::uint8_t>(*number);
  }
  return quad;
}

}  // namespace quenderlink
