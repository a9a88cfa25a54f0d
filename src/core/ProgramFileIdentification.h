#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "core/RuntimeParams.h"
#include "core/SiteTable.h"
#include "core/UserPrompts.h"

namespace quenderlink {

// True when both texts occur in the file, compared without regard to case and
// with the file's NUL bytes removed. An empty first text counts as found; an
// empty second text, an unreadable file, one that is not a regular file or a
// missing text give false. The file is streamed, so its size does not matter.
bool FileContainsBoth(std::string_view first, std::string_view second, const std::filesystem::path& file);

// The product type (1..6) a program file is meant for, from its characteristic
// texts and, for S-record files, its path; 0 when nothing matches.
std::uint8_t IdentifyProgramFile(const std::filesystem::path& file);

// The quick check made when a program file is chosen: a plausible first byte for
// an S-record or binary file. False after telling the user why.
[[nodiscard]] bool CheckProgramFile(const std::filesystem::path& file, UserPrompts& prompts);

// Whether the program file may be uploaded to the highlighted sites; the user
// may override an unknown unit or a mismatching file. False after the messages.
[[nodiscard]] bool CheckProgramForSites(const std::filesystem::path& file, const SiteTable& sites,
                                        const RuntimeParams& params, UserPrompts& prompts);

}  // namespace quenderlink
