#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/CSiteinfoClass.h"
#include "core/FixedText.h"
#include "core/SiteListLoader.h"

namespace quenderlink::testing {

// Saves the records as a site list file and returns its path.
inline std::string WriteSiteList(const std::filesystem::path& path, std::vector<SiteRecord> records) {
  SiteTable table;
  table.Replace(std::move(records));
  EXPECT_TRUE(CSiteinfoClass().SaveAll(path, table)) << path;
  return path.string();
}

// The site list file as a load gives it, records without a telnet port on 10001.
inline SiteTable LoadedSiteList(const std::filesystem::path& path) {
  SiteTable table;
  EXPECT_EQ(LoadSiteTable(path.string(), table, 10001), 0) << path;
  return table;
}

inline std::vector<std::string> SiteNames(const SiteTable& table) {
  std::vector<std::string> names;
  for (const SiteRecord& site : table.records()) names.emplace_back(FieldText(site.SiteName));
  return names;
}

}  // namespace quenderlink::testing
