#pragma once

#include "core/SiteRecord.h"

namespace quenderlink {

// The window the add / modify site dialog reports to. The record lives in the
// dialog: the owner copies what it needs before returning.
class SiteEditOwner {
 public:
  virtual ~SiteEditOwner() = default;

  // The record carries fresh data from a successful ping; `powerup` when the
  // unit reported no ready state and no identity.
  virtual void OnSitePinged(bool powerup, const SiteRecord& site) = 0;
  // The user saved the record without a successful ping in the dialog.
  virtual void OnSiteSaved(const SiteRecord& site) = 0;
};

}  // namespace quenderlink
