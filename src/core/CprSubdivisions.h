#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quenderlink {

struct CprSubdivision {
  std::uint16_t number;
  std::string_view name;
};

// The CPR subdivisions in their fixed order. Several numbers repeat: a lookup
// by number takes the first entry, so positions matter as much as numbers.
std::span<const CprSubdivision> CprSubdivisions();

}  // namespace quenderlink
