#pragma once

#include <arpa/inet.h>

#include <atomic>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "net/IcmpJob.h"
#include "unitsim/LoopbackAddress.h"

namespace quenderlink::testing {

// Records an ICMP engine's notifications, each as one short line, with the
// results kept beside them.
class IcmpRecorder : public IcmpListener {
 public:
  std::vector<std::string> lines;
  std::vector<IcmpTryResult> results;  // of the notifications that carry one, in order
  std::vector<std::string> messages;

  void OnIcmpReply(std::uint16_t index, const IcmpTryResult& result) override { Add("reply", index, result); }
  void OnIcmpErrorText(std::uint16_t index, const std::string& text) override { Add("error", index, text); }
  void OnIcmpTryFailed(std::uint16_t index, const IcmpTryResult& result) override { Add("failed", index, result); }
  void OnIcmpTry(std::uint16_t index, const std::string& text) override { Add("try", index, text); }
  void OnIcmpStatus(std::uint16_t index, const IcmpTryResult& result) override { Add("status", index, result); }
  void OnIcmpDone(std::uint16_t index, bool complete) override {
    lines.push_back("done " + std::to_string(index) + (complete ? " complete" : " ended"));
  }
  void OnIcmpRawText(std::uint16_t index, const std::string& text) override { Add("raw", index, text); }
  void OnIcmpRawReply(std::uint16_t index, const IcmpTryResult& result) override { Add("raw reply", index, result); }
  void OnIcmpRawTryFailed(std::uint16_t index, const IcmpTryResult& result) override {
    Add("raw failed", index, result);
  }
  void OnIcmpMessage(const std::string& text) override { messages.push_back(text); }

  // The lines joined, e.g. "try 3 Try # 1, reply 3 #0 127.97.0.1, done 3 complete".
  std::string Script() const {
    std::string script;
    for (const std::string& line : lines) script += (script.empty() ? "" : ", ") + line;
    return script;
  }

 private:
  void Add(const char* what, std::uint16_t index, const std::string& text) {
    lines.push_back(std::string(what) + " " + std::to_string(index) + " " + text);
  }
  void Add(const char* what, std::uint16_t index, const IcmpTryResult& result) {
    std::string line = std::string(what) + " " + std::to_string(index) + " #" + std::to_string(result.tryIndex);
    if (result.replyAddress != 0) line += " " + unitsim::AddressText(ntohl(result.replyAddress));
    if (result.ipStatus != 0) line += " status " + std::to_string(result.ipStatus);
    if (result.hopCount != 0) line += " hops " + std::to_string(result.hopCount);
    if (result.errorCode != 0) line += " error " + std::to_string(result.errorCode);
    lines.push_back(line);
    results.push_back(result);
  }
};

// Five steps, "{n}" the 1-based try number and "{i}" the try index, then the last.
inline std::string FiveTimes(const std::string& step, const std::string& last) {
  std::string script;
  for (int i = 0; i < kIcmpTries; ++i) {
    std::string line = step;
    for (const auto& [from, to] : {std::pair{"{n}", i + 1}, std::pair{"{i}", i}})
      for (std::size_t at = line.find(from); at != std::string::npos; at = line.find(from))
        line.replace(at, 3, std::to_string(to));
    script += line + ", ";
  }
  return script + last;
}

// Settings for a test's pings: packets not to be fragmented.
inline IcmpParams IcmpSettings(std::uint32_t timeoutMs, std::uint8_t ttl = 10, std::uint16_t dataSize = 32) {
  IcmpParams params;
  params.timeoutMs = timeoutMs;
  params.ttl = ttl;
  params.dataSize = dataSize;
  params.dontFragment = 1;
  return params;
}

// A job for the recorder; the settings a test gives are read at every try.
inline IcmpJob MakeIcmpJob(IcmpRecorder& recorder, const std::string& address, const std::atomic<bool>& abort,
                           IcmpParams params = {}) {
  IcmpJob job;
  job.listener = &recorder;
  job.index = 3;
  job.address = address;
  job.sequence = 40;
  job.params = [params] { return params; };
  job.abort = &abort;
  return job;
}

}  // namespace quenderlink::testing
