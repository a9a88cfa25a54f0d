#include "upload/UploadEngine.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/FixedText.h"
#include "core/RegularFile.h"
#include "net/HostAddress.h"
#include "net/StoppableLookup.h"
#include "upload/CProgramUploader.h"
#include "upload/PacketPlan.h"
#include "upload/UploadJob.h"

namespace quenderlink {

namespace {

constexpr std::size_t kSocketCount = 4;
// Taken per socket and pass, so that time-outs are seen even under a stream of replies.
constexpr int kDatagramsPerPass = 9;
// The longest the loop sleeps, so that a stop is seen promptly.
constexpr std::uint32_t kLongestWaitMs = 50;

struct RunFailure {
  UploadFailure failure;
  std::string text;
};

[[nodiscard]] std::optional<RunFailure> ReadWholeFile(RegularFile& file, const std::string& path,
                                                      std::vector<std::uint8_t>& image) {
  if (file.size() == 0) return RunFailure{UploadFailure::FileNotLoadable, "PROGRAM FILE IS EMPTY " + path};
  // Packet offsets are 32-bit.
  if (file.size() > UINT32_MAX)
    return RunFailure{UploadFailure::FileNotLoadable, "PROGRAM FILE TOO LARGE " + path};
  try {
    image.resize(static_cast<std::size_t>(file.size()));
  } catch (const std::bad_alloc&) {
    return RunFailure{UploadFailure::NoMemory, "OUT OF MEMORY FOR PROGRAM FILE " + path};
  }
  if (file.Read(image.data(), image.size()) != image.size())
    return RunFailure{UploadFailure::FileNotLoadable, "CANNOT READ PROGRAM FILE " + path};
  return std::nullopt;
}

// The whole file, or why it cannot be sent: a file starting with 0, or holding
// nothing but erased or zeroed words, has no program for a unit to take.
[[nodiscard]] std::optional<RunFailure> LoadProgramImage(const std::string& path, std::vector<std::uint8_t>& image) {
  RegularFile file = RegularFile::Open(path);
  switch (file.failure()) {
    case RegularFile::Failure::None: break;
    case RegularFile::Failure::CannotOpen:
    case RegularFile::Failure::CannotRead:
      return RunFailure{UploadFailure::FileNotLoadable, "CANNOT OPEN PROGRAM FILE " + path};
    case RegularFile::Failure::NotRegular:
      return RunFailure{UploadFailure::FileNotLoadable, "PROGRAM FILE IS NOT A REGULAR FILE " + path};
  }
  if (std::optional<RunFailure> failure = ReadWholeFile(file, path, image)) return failure;
  if (image[0] == 0 || !UsedEnd(image, 0))
    return RunFailure{UploadFailure::FileNotLoadable, "PROGRAM FILE HOLDS NO PROGRAM " + path};
  return std::nullopt;
}

std::string JobAddress(const std::string& host, const UploadRequest& request) {
  if (IsDottedQuadNotAllZero(host)) return host;
  return AddressOfHostUnlessStopped(host, request.stop, request.lookup).value_or(std::string());
}

// One run's context, on the worker thread's stack; its sockets close with it.
class UploadRun {
 public:
  UploadRun(UploadRequest& request, UploadEngineListener& listener, const RuntimeParams& params,
            std::span<const std::uint8_t> image)
      : request_(request), listener_(listener), params_(params), image_(image) {}

  // False when the job array cannot be had.
  [[nodiscard]] bool BuildJobs();
  void AssignSockets();
  void Run();

 private:
  bool Stopped() const { return request_.stop.load() != 0; }
  CProgramUploader* SocketFor(std::uint16_t port);
  void FailWithoutSocket(UploadJob& job, const std::string& text);
  std::size_t Activate();
  void TimerPass();
  void ReceivePass();
  UploadJob* JobFor(const CProgramUploader& socket);
  void WaitForWork();

  UploadRequest& request_;
  UploadEngineListener& listener_;
  const RuntimeParams& params_;
  std::span<const std::uint8_t> image_;
  std::array<CProgramUploader, kSocketCount> sockets_;
  std::vector<UploadJob> jobs_;
  std::size_t unfinished_ = 0;
};

// Resolves one name at a time and stops between names, so that an abort is not
// held up by a name server that does not answer.
bool UploadRun::BuildJobs() {
  const std::vector<RunSite>& sites = request_.sites;
  try {
    jobs_.resize(sites.size());
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (std::size_t i = 0; i < sites.size() && !Stopped(); ++i) {
    UploadJob& job = jobs_[i];
    SetFieldText(job.hostText, FieldText(sites[i].host));
    job.port = sites[i].port;
    job.row = sites[i].row;
    job.productType = sites[i].productType;
    const std::string address = JobAddress(std::string(FieldText(job.hostText)), request_);
    if (Stopped()) break;
    SetFieldText(job.ipText, address);
    listener_.OnJobAddress(job.row, address);
  }
  return true;
}

void UploadRun::AssignSockets() {
  for (UploadJob& job : jobs_) {
    // Port 0 marks a free socket, so it can serve no unit.
    if (job.port == 0) {
      FailWithoutSocket(job, "NO DEVICE PORT");
      continue;
    }
    job.socket = SocketFor(job.port);
    if (!job.socket) FailWithoutSocket(job, "OUT OF ASYNC SOCKETS");
  }
}

CProgramUploader* UploadRun::SocketFor(std::uint16_t port) {
  for (CProgramUploader& socket : sockets_) {
    if (socket.port == port) return &socket;
  }
  for (CProgramUploader& socket : sockets_) {
    if (socket.port != 0) continue;
    // A socket that cannot be bound keeps its port: its jobs' sends fail and their waits give them up.
    (void)socket.Create(port);
    socket.Attach(image_, listener_, params_);
    return &socket;
  }
  return nullptr;
}

void UploadRun::FailWithoutSocket(UploadJob& job, const std::string& text) {
  job.state = JobState::Failed;
  job.done = 1;
  listener_.OnUploadFailed(UploadFailure::NoSocket, job.row, text);
}

void UploadRun::Run() {
  unfinished_ = Activate();
  while (unfinished_ != 0 && !Stopped()) {
    TimerPass();
    ReceivePass();
    if (unfinished_ != 0 && !Stopped()) WaitForWork();
  }
}

// Activates waiting jobs in table order until "Max in Parallel" are active;
// the number active.
std::size_t UploadRun::Activate() {
  // A limit of 0 would leave every job waiting for ever.
  const std::size_t limit = std::max<std::size_t>(params_.uploadMaxInParallel, 1);
  std::size_t count = 0;
  for (UploadJob& job : jobs_) {
    if (count >= limit) break;
    if (job.active) {
      ++count;
    } else if (!job.done && !Stopped()) {
      job.active = 1;
      ++count;
    }
  }
  return count;
}

void UploadRun::TimerPass() {
  for (UploadJob& job : jobs_) {
    if (Stopped()) return;
    if (!job.active || !job.socket || job.socket->port == 0) continue;
    if (!job.socket->StepJob(job, false)) continue;
    job.active = 0;
    job.done = 1;
    Activate();
    unfinished_ =
        static_cast<std::size_t>(std::count_if(jobs_.begin(), jobs_.end(), [](const UploadJob& j) { return !j.done; }));
  }
}

void UploadRun::ReceivePass() {
  for (CProgramUploader& socket : sockets_) {
    if (Stopped()) return;
    if (socket.port == 0) continue;
    for (int taken = 0; taken < kDatagramsPerPass && !Stopped(); ++taken) {
      if (!socket.ReceiveAndDecode(params_.railroadCode)) break;
      if (UploadJob* job = JobFor(socket)) socket.StepJob(*job, true);
    }
  }
}

// The first job of the socket whose address and port are exactly the datagram's source.
UploadJob* UploadRun::JobFor(const CProgramUploader& socket) {
  const std::string_view source = FieldText(socket.sourceAddress);
  for (UploadJob& job : jobs_) {
    if (job.socket == &socket && job.port == socket.sourcePort && FieldText(job.ipText) == source) return &job;
  }
  return nullptr;
}

// Sleeps until a datagram comes, the next job is due, or the longest wait is over.
void UploadRun::WaitForWork() {
  std::uint32_t waitMs = kLongestWaitMs;
  for (const UploadJob& job : jobs_) {
    if (job.active && job.socket && job.socket->port != 0)
      waitMs = std::min(waitMs, job.socket->MillisecondsUntilDue(job));
  }
  if (waitMs == 0) return;
  std::array<pollfd, kSocketCount> waiting{};
  nfds_t count = 0;
  for (const CProgramUploader& socket : sockets_) {
    if (socket.port != 0 && socket.fd() >= 0) waiting[count++] = {socket.fd(), POLLIN, 0};
  }
  ::poll(waiting.data(), count, static_cast<int>(waitMs));
}

void RunUpload(UploadRequest& request, UploadEngineListener& listener, const RuntimeParams& params) {
  std::vector<std::uint8_t> image;
  if (const std::optional<RunFailure> failure = LoadProgramImage(request.filePath, image)) {
    listener.OnUploadFailed(failure->failure, 0, failure->text);
    return;
  }
  UploadRun run(request, listener, params, image);
  if (!run.BuildJobs()) {
    listener.OnUploadFailed(UploadFailure::NoMemory, 0, "OUT OF MEMORY FOR THE UPLOAD JOBS");
    return;
  }
  if (request.stop.load() != 0) return;
  run.AssignSockets();
  run.Run();
}

}  // namespace

void UploadEngine(UploadRequest& request) {
  UploadEngineListener* listener = request.listener;
  if (listener) {
    const RuntimeParams defaults;
    RunUpload(request, *listener, request.params ? *request.params : defaults);
  }
  request.finished = 1;
  if (listener) listener->OnUploadDone();
}

}  // namespace quenderlink
