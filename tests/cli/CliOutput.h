#pragma once

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace quenderlink::testing {

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Each line of --json output as its object, keys in the order printed.
inline std::vector<nlohmann::ordered_json> JsonLines(const std::string& out) {
  std::vector<nlohmann::ordered_json> objects;
  for (const std::string& line : Lines(out)) objects.push_back(nlohmann::ordered_json::parse(line));
  return objects;
}

}  // namespace quenderlink::testing
