#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/PopupItem.h"
#include "core/Result.h"
#include "survey/IcmpScanRun.h"

namespace quenderlink {

enum class IcmpListFormat { Text, Csv };

// The Save button's pop-up.
enum IcmpSaveCommand { kIcmpSaveTickedCsv = 1, kIcmpSaveAllCsv, kIcmpSaveTickedText, kIcmpSaveAllText };
std::vector<PopupItem> IcmpSaveMenu();

// The chosen rows (list positions) under a heading; the numbers are read back
// from the row's texts, 0 where a column holds none ("---", empty).
std::string FormatIcmpRows(std::span<const IcmpRow> rows, std::span<const std::size_t> chosen, IcmpListFormat format);

// Every position of a list of `count` rows, for the "Save All Rows" commands.
std::vector<std::size_t> AllIcmpRows(std::size_t count);

// Writes the chosen rows to the file. A failure's reason is what the user is
// told: the file and why.
Result SaveIcmpRows(const std::filesystem::path& file, std::span<const IcmpRow> rows,
                      std::span<const std::size_t> chosen, IcmpListFormat format);

}  // namespace quenderlink
