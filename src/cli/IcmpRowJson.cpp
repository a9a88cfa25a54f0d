#include "cli/IcmpRowJson.h"

#include <charconv>

#include "cli/JsonText.h"

namespace quenderlink::cli {
namespace {

nlohmann::ordered_json NumberOrNull(const std::string& column) {
  long value = 0;
  const auto [end, error] = std::from_chars(column.data(), column.data() + column.size(), value);
  if (error != std::errc{} || end != column.data() + column.size()) return nullptr;
  return value;
}

}  // namespace

nlohmann::ordered_json IcmpRowJson(const IcmpRow& row, std::uint32_t status, std::optional<std::uint8_t> hops) {
  nlohmann::ordered_json tries = nlohmann::ordered_json::array();
  for (const std::string& column : row.tries) tries.push_back(NumberOrNull(column));
  nlohmann::ordered_json object{{"cnt", NumberOrNull(row.cnt)},
                                {"address", JsonText(row.address)},
                                {"tries", tries},
                                {"min", NumberOrNull(row.min)},
                                {"max", NumberOrNull(row.max)},
                                {"avg", NumberOrNull(row.avg)},
                                {"comment", JsonText(row.comments)},
                                {"status", status}};
  if (hops) object["hops"] = *hops;
  return object;
}

}  // namespace quenderlink::cli
