#pragma once

#include <string>

#include "core/SiteRecord.h"
#include "journal/JournalReader.h"

namespace quenderlink {

// A listed site as the history and availability views ask the journal for it:
// its name to show, in UTF-8, and the key its units are found by.
struct ListedSite {
  std::string name;
  SiteKey key;
};

// "IRON BRIDGE Main 2": the track tells a site's units apart; a single track is left unsaid.
std::string SiteWithTrack(const std::string& name, int track);

ListedSite ListedSiteOf(const SiteRecord& record);

}  // namespace quenderlink
