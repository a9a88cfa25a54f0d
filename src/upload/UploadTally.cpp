#include "upload/UploadTally.h"

#include "core/Printf.h"

namespace quenderlink {

void UploadTally::Count(UploadOutcome before, UploadOutcome after) {
  if (after == before) return;
  if (after == UploadOutcome::Loaded) ++successful;
  if (IsFailed(after)) ++failed;
}

std::string UploadTally::RunningHeadline() const {
  return Printf("Uploading Program to %u sites.  Successful = %u    Failed = %u.    Please Wait ...", total, successful,
                failed);
}

std::string UploadTally::ListEndHeadline() const {
  return Printf("  Upload is Complete!   Total Sites = %u,  Successful = %u,  Failed = %u", total, successful, failed);
}

std::string UploadTally::BoxesEndHeadline() const {
  return Printf("          Upload is Complete!\r\n          Total Sites = %u,  Successful = %u,  Failed = %u", total,
                successful, failed);
}

}  // namespace quenderlink
