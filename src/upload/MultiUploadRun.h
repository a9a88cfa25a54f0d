#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "net/DeviceReply.h"
#include "upload/UploadTally.h"

namespace quenderlink {

// What a view of an upload to many sites does with each engine event: the
// list and the boxes show the same events their own way. Each handler returns
// the place (list row or box) it changed; none when the event's row is not shown.
class MultiUploadRun {
 public:
  virtual ~MultiUploadRun() = default;

  virtual std::optional<std::size_t> OnUploadEvent(int event, std::uint16_t row, int value) = 0;
  virtual std::optional<std::size_t> OnPacketText(std::uint16_t row, const std::string& text) = 0;
  virtual std::optional<std::size_t> OnNewProgramAnswered(std::uint16_t row, const DeviceReply& reply) = 0;
  // A job the engine could not serve: it failed before its first step.
  virtual std::optional<std::size_t> OnJobFailed(std::uint16_t row, const std::string& text) = 0;

  virtual const UploadTally& tally() const = 0;
  // The headline once the engine has ended.
  virtual std::string EndHeadline() const = 0;
};

}  // namespace quenderlink
