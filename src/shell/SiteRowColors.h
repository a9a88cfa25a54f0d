#pragma once

#include <cstdint>
#include <optional>

#include "core/RuntimeParams.h"

namespace quenderlink {

struct CellColors {
  ColorRef text;
  ColorRef back;

  friend bool operator==(const CellColors&, const CellColors&) = default;
};

// The colours a row takes when it is written from its record.
CellColors RowColors(std::uint8_t productType, const DeviceColors& colors);

// The colours the recolouring pass (after the runtime parameters change) gives a row:
// its table differs from the one above for product types 4 and 6.
CellColors RecolourRowColors(std::uint8_t productType, const DeviceColors& colors);

// The Last Ping cell's own colours, or nullopt when the cell shows the row's colours.
[[nodiscard]] std::optional<CellColors> LastPingCellColors(std::uint8_t lastPing);

// How a row is painted: one pair of colours for the row, and whether the Last
// Ping cell keeps its own pair over it.
struct RowPaint {
  CellColors row;
  bool lastPingOwnColors;

  friend bool operator==(const RowPaint&, const RowPaint&) = default;
};

// A row as written from its record: the Last Ping cell keeps its own colours.
RowPaint WrittenRowPaint(std::uint8_t productType, const DeviceColors& colors);

// A row after the recolouring pass: RKM rows are coloured cell by cell, which
// paints over the Last Ping cell's own colours; other rows leave that cell alone.
RowPaint RecolouredRowPaint(std::uint8_t productType, const DeviceColors& colors);

// The colours of the Last Ping cell of a row painted so.
CellColors LastPingCellPaint(const RowPaint& paint, std::uint8_t lastPing);

}  // namespace quenderlink
