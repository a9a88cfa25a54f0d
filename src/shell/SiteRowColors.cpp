#include "shell/SiteRowColors.h"

#include "core/Lookups.h"
#include "core/SiteRecord.h"

namespace quenderlink {
namespace {

constexpr ColorRef kWhite = 0xFFFFFF;
constexpr ColorRef kBlack = 0x000000;
constexpr ColorRef kDarkRed = 0x000080;  // 0x00BBGGRR: red 0x80
constexpr CellColors kUnknownProductColors{kDarkRed, kWhite};

}  // namespace

CellColors RowColors(std::uint8_t productType, const DeviceColors& colors) {
  switch (productType) {
    case kProductRkm: return {colors.textRkm, colors.backRkm};
    case kProductCad1:
    case kProductCad2: return {colors.textCadmarin, colors.backCadmarin};
    case kProductCollector: return {colors.textZenthi, colors.backZenthi};
    case kProductRkmMicro: return {colors.textZenthi, colors.backRkm};
    default: return kUnknownProductColors;
  }
}

CellColors RecolourRowColors(std::uint8_t productType, const DeviceColors& colors) {
  switch (productType) {
    case kProductRkm:
    case kProductRkmMicro: return {colors.textRkm, colors.backRkm};
    case kProductCad1: return {colors.textCadmarin, colors.backCadmarin};
    case kProductCollector: return {colors.textZenthi, colors.backZenthi};
    default: return kUnknownProductColors;
  }
}

std::optional<CellColors> LastPingCellColors(std::uint8_t lastPing) {
  if (lastPing == kLastPingNever) return std::nullopt;
  if (lastPing >= kLastPingBadAddress) return CellColors{kWhite, kDarkRed};
  return CellColors{kBlack, kWhite};
}

RowPaint WrittenRowPaint(std::uint8_t productType, const DeviceColors& colors) {
  return {RowColors(productType, colors), true};
}

RowPaint RecolouredRowPaint(std::uint8_t productType, const DeviceColors& colors) {
  return {RecolourRowColors(productType, colors), productType != kProductRkm};
}

CellColors LastPingCellPaint(const RowPaint& paint, std::uint8_t lastPing) {
  if (!paint.lastPingOwnColors) return paint.row;
  return LastPingCellColors(lastPing).value_or(paint.row);
}

}  // namespace quenderlink
