#pragma once

#include <array>
#include <string>
#include <string_view>

#include "upload/UploadListRun.h"

namespace quenderlink {

// The columns of the multi-site upload list, in the order they are made.
enum UploadListColumn : int {
  kUploadColIndex = 0,
  kUploadColSiteName,
  kUploadColMilepost,
  kUploadColTrack,
  kUploadColIpAddr,
  kUploadColPort,
  kUploadColTime,
  kUploadColStatus,
};

inline constexpr int kUploadListColumnCount = 8;

std::string_view UploadListColumnHeader(int column);
// Widths in pixels.
const std::array<int, kUploadListColumnCount>& UploadListColumnWidths();
std::string UploadListCellText(const UploadListRow& row, int column);

}  // namespace quenderlink
