#include "unitsim/UnitSimulator.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/prctl.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <mutex>
#include <queue>
#include <random>
#include <set>
#include <span>
#include <system_error>
#include <thread>
#include <tuple>
#include <utility>

#include "core/RegularFile.h"
#include "net/DeviceDatagram.h"
#include "unitsim/LoopbackAddress.h"
#include "unitsim/TelnetService.h"
#include "unitsim/UnitLifecycle.h"

namespace quenderlink::unitsim {
namespace {

using Clock = std::chrono::steady_clock;

// epoll tags of the wake-up eventfd and of the telnet service's poll set; unit
// sockets are tagged with their index.
constexpr std::uint64_t kWakeTag = ~std::uint64_t{0};
constexpr std::uint64_t kTelnetTag = kWakeTag - 1;
// Datagrams taken from one socket per wake-up, so that one flooded unit cannot starve the others.
constexpr int kReadsPerWake = 64;
constexpr std::size_t kLargestDatagram = 65536;
constexpr int kEventsPerWait = 256;

std::string ErrnoText(int error) {
  std::string text = std::system_category().message(error);
  if (error == EMFILE || error == ENFILE) text += " (raise the open-file limit)";
  return text;
}

std::string Endpoint(const UnitConfig& unit) { return unit.address + ":" + std::to_string(unit.port); }
std::string TelnetEndpoint(const UnitConfig& unit) { return unit.address + ":" + std::to_string(unit.telnetPort); }

sockaddr_in SocketAddress(std::uint32_t address, std::uint16_t port) {
  sockaddr_in socketAddress{};
  socketAddress.sin_family = AF_INET;
  socketAddress.sin_addr.s_addr = htonl(address);
  socketAddress.sin_port = htons(port);
  return socketAddress;
}

struct PendingReply {
  Clock::time_point due;
  std::uint64_t sequence;  // keeps replies due at the same time in the order they were made
  std::size_t unit;
  sockaddr_in to;
  std::vector<std::uint8_t> bytes;
};

struct DueLater {
  bool operator()(const PendingReply& a, const PendingReply& b) const {
    return std::tie(a.due, a.sequence) > std::tie(b.due, b.sequence);
  }
};

// Random, but never what would pass for a RAM loader's answer (program kind 3)
// or a packet's ACK, NAK or "fragmented".
std::uint8_t GarbageSecondByte(std::mt19937_64& random) {
  constexpr std::uint8_t kMeaningful[] = {3, 6, 7, 10};
  std::uint8_t value = 0;
  do value = static_cast<std::uint8_t>(random());
  while (std::find(std::begin(kMeaningful), std::end(kMeaningful), value) != std::end(kMeaningful));
  return value;
}

// Reply-shaped bytes that no decoder may accept: the text holds no '|' and,
// being lower case, cannot hold "WILL RESET" either.
std::vector<std::uint8_t> GarbageReply(std::uint8_t replyCode, std::mt19937_64& random) {
  constexpr std::string_view kAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789";
  const std::size_t textLength = 8 + random() % 40;
  std::vector<std::uint8_t> bytes(kReplyHeaderSize + textLength + 1, 0);
  bytes[0] = replyCode;
  bytes[1] = GarbageSecondByte(random);
  bytes[2] = static_cast<std::uint8_t>((textLength + 1) & 0xFF);
  bytes[3] = static_cast<std::uint8_t>((textLength + 1) >> 8);
  for (std::size_t index = 0; index < textLength; ++index)
    bytes[kReplyHeaderSize + index] = static_cast<std::uint8_t>(kAlphabet[random() % kAlphabet.size()]);
  return bytes;
}

bool Dropped(double probability, std::mt19937_64& random) {
  const double draw = static_cast<double>(random() >> 11) * 0x1.0p-53;
  return draw < probability;
}

// Deterministic per unit, so that a faulty fleet misbehaves the same way on every run.
std::uint64_t UnitSeed(std::uint32_t address, std::uint16_t port) { return (std::uint64_t{address} << 16) | port; }

}  // namespace

struct UnitSimulator::Impl {
  struct ServedUnit {
    std::uint32_t address = 0;
    int fd = -1;
    std::mt19937_64 random;
  };

  explicit Impl(std::vector<UnitConfig> units)
      : configs(std::move(units)),
        served(configs.size()),
        telnet([this](std::size_t unit) { return IdentityOf(unit); }) {
    lifecycles.reserve(configs.size());
    for (const UnitConfig& unit : configs) lifecycles.emplace_back(unit.identity, unit.upload);
  }

  bool CheckUnits(std::string& error);
  bool Open(std::string& error);
  bool BindUnit(std::size_t unit, std::string& error);
  bool OpenTelnet(std::string& error);
  UnitIdentity IdentityOf(std::size_t unit) const;
  void Close();
  void Serve();
  int WaitForEvents(std::vector<epoll_event>& events) const;
  void ReadFrom(std::size_t unit, std::vector<std::uint8_t>& buffer);
  void Record(std::size_t unit, const sockaddr_in& from, std::span<const std::uint8_t> bytes);
  void Answer(std::size_t unit, const sockaddr_in& from, std::span<const std::uint8_t> command);
  void SendDue();
  std::optional<std::size_t> UnitAt(const std::string& address, std::uint16_t port) const;

  const std::vector<UnitConfig> configs;

  // Touched by Start and Stop, and by the serving thread while it runs.
  std::vector<ServedUnit> served;
  TelnetService telnet;
  int epollFd = -1;
  int wakeFd = -1;
  std::priority_queue<PendingReply, std::vector<PendingReply>, DueLater> pending;
  std::uint64_t nextSequence = 0;
  std::atomic<bool> stopping{false};
  std::thread thread;

  bool keepRecords = true;
  mutable std::mutex receivedMutex;
  std::vector<ReceivedDatagram> received;

  // Changed by the serving thread, read by anyone.
  mutable std::mutex lifecycleMutex;
  std::vector<UnitLifecycle> lifecycles;
};

bool UnitSimulator::Impl::CheckUnits(std::string& error) {
  std::set<std::pair<std::uint32_t, std::uint16_t>> endpoints;
  std::set<std::pair<std::uint32_t, std::uint16_t>> telnetEndpoints;
  for (std::size_t index = 0; index < configs.size(); ++index) {
    const UnitConfig& unit = configs[index];
    const auto address = ParseLoopbackAddress(unit.address);
    if (!address) {
      error = "unit " + std::to_string(index) + ": \"" + unit.address + "\" is not an address in 127.0.0.0/8";
      return false;
    }
    if (unit.port == 0) {
      error = "unit " + std::to_string(index) + ": " + unit.address + " has port 0";
      return false;
    }
    if (!endpoints.emplace(*address, unit.port).second) {
      error = "unit " + std::to_string(index) + ": " + Endpoint(unit) + " is given to an earlier unit too";
      return false;
    }
    if (unit.telnetPort != 0 && !telnetEndpoints.emplace(*address, unit.telnetPort).second) {
      error = "unit " + std::to_string(index) + ": telnet " + TelnetEndpoint(unit) + " is given to an earlier unit too";
      return false;
    }
    served[index].address = *address;
    served[index].random.seed(UnitSeed(*address, unit.port));
  }
  return true;
}

bool UnitSimulator::Impl::Open(std::string& error) {
  if (!CheckUnits(error)) return false;
  epollFd = ::epoll_create1(EPOLL_CLOEXEC);
  if (epollFd < 0) {
    error = "cannot create the poll set: " + ErrnoText(errno);
    return false;
  }
  wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  epoll_event wake{};
  wake.events = EPOLLIN;
  wake.data.u64 = kWakeTag;
  if (wakeFd < 0 || ::epoll_ctl(epollFd, EPOLL_CTL_ADD, wakeFd, &wake) != 0) {
    error = "cannot create the wake-up event: " + ErrnoText(errno);
    return false;
  }
  for (std::size_t unit = 0; unit < configs.size(); ++unit)
    if (!BindUnit(unit, error)) return false;
  return OpenTelnet(error);
}

bool UnitSimulator::Impl::BindUnit(std::size_t unit, std::string& error) {
  const UnitConfig& config = configs[unit];
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    error = "cannot open a socket for " + Endpoint(config) + ": " + ErrnoText(errno);
    return false;
  }
  served[unit].fd = fd;
  // Lets simulators and engines share a port number on other addresses, even
  // when one of them holds the wildcard address.
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  const sockaddr_in address = SocketAddress(served[unit].address, config.port);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    error = "cannot bind " + Endpoint(config) + ": " + ErrnoText(errno);
    return false;
  }
  epoll_event readable{};
  readable.events = EPOLLIN;
  readable.data.u64 = unit;
  if (::epoll_ctl(epollFd, EPOLL_CTL_ADD, fd, &readable) != 0) {
    error = "cannot watch " + Endpoint(config) + ": " + ErrnoText(errno);
    return false;
  }
  return true;
}

// A silent unit does not listen, so that a connection is refused as by a dead unit.
bool UnitSimulator::Impl::OpenTelnet(std::string& error) {
  if (!telnet.Open(error)) return false;
  epoll_event ready{};
  ready.events = EPOLLIN;
  ready.data.u64 = kTelnetTag;
  if (::epoll_ctl(epollFd, EPOLL_CTL_ADD, telnet.fd(), &ready) != 0) {
    error = "cannot watch the telnet poll set: " + ErrnoText(errno);
    return false;
  }
  for (std::size_t unit = 0; unit < configs.size(); ++unit) {
    const UnitConfig& config = configs[unit];
    if (config.telnetPort != 0 && !config.faults.silent &&
        !telnet.Listen(unit, served[unit].address, config.telnetPort, error))
      return false;
  }
  return true;
}

UnitIdentity UnitSimulator::Impl::IdentityOf(std::size_t unit) const {
  const std::lock_guard lock(lifecycleMutex);
  return lifecycles[unit].identity();
}

void UnitSimulator::Impl::Close() {
  for (ServedUnit& unit : served) {
    if (unit.fd >= 0) ::close(unit.fd);
    unit.fd = -1;
  }
  telnet.Close();
  for (int* fd : {&wakeFd, &epollFd}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
  pending = {};
}

void UnitSimulator::Impl::Serve() {
  // The kernel may otherwise end each wait up to 50 µs late, and a unit answering
  // every packet of an upload would add that up.
  ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  std::vector<epoll_event> events(kEventsPerWait);
  std::vector<std::uint8_t> buffer(kLargestDatagram);
  while (!stopping.load()) {
    const int count = WaitForEvents(events);
    for (int index = 0; index < count; ++index) {
      const std::uint64_t tag = events[index].data.u64;
      if (tag == kTelnetTag) telnet.ServeReady();
      else if (tag != kWakeTag) ReadFrom(tag, buffer);
    }
    SendDue();
  }
}

// Sleeps until a datagram comes or the next reply is due, to the microsecond: a
// wait in whole milliseconds would make every delayed reply half a millisecond
// late on average, which a unit answering each packet of an upload adds up.
int UnitSimulator::Impl::WaitForEvents(std::vector<epoll_event>& events) const {
  if (pending.empty()) return ::epoll_wait(epollFd, events.data(), kEventsPerWait, -1);
  const auto left = std::max(Clock::duration::zero(), pending.top().due - Clock::now());
  const auto whole = std::chrono::floor<std::chrono::seconds>(left);
  const timespec timeout{static_cast<time_t>(whole.count()),
                         static_cast<long>(std::chrono::nanoseconds(left - whole).count())};
  const int count = ::epoll_pwait2(epollFd, events.data(), kEventsPerWait, &timeout, nullptr);
  if (count >= 0 || errno != ENOSYS) return count;
  // Kernels before 5.11: whole milliseconds, rounded up, since waking early would only spin.
  const auto milliseconds = std::chrono::ceil<std::chrono::milliseconds>(left).count();
  return ::epoll_wait(epollFd, events.data(), kEventsPerWait, static_cast<int>(milliseconds));
}

void UnitSimulator::Impl::ReadFrom(std::size_t unit, std::vector<std::uint8_t>& buffer) {
  for (int read = 0; read < kReadsPerWake; ++read) {
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    const ssize_t size = ::recvfrom(served[unit].fd, buffer.data(), buffer.size(), 0,
                                    reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (size < 0) return;
    const std::span<const std::uint8_t> bytes(buffer.data(), static_cast<std::size_t>(size));
    Record(unit, from, bytes);
    Answer(unit, from, bytes);
  }
}

void UnitSimulator::Impl::Record(std::size_t unit, const sockaddr_in& from, std::span<const std::uint8_t> bytes) {
  if (!keepRecords) return;
  ReceivedDatagram datagram{Clock::now(),
                            configs[unit].address,
                            configs[unit].port,
                            AddressText(ntohl(from.sin_addr.s_addr)),
                            ntohs(from.sin_port),
                            {bytes.begin(), bytes.end()}};
  const std::lock_guard lock(receivedMutex);
  received.push_back(std::move(datagram));
}

void UnitSimulator::Impl::Answer(std::size_t unit, const sockaddr_in& from, std::span<const std::uint8_t> command) {
  const UnitConfig& config = configs[unit];
  if (command.empty()) return;
  std::vector<std::uint8_t> reply;
  {
    // A silent unit still follows the commands it is sent; it only never answers.
    const std::lock_guard lock(lifecycleMutex);
    reply = lifecycles[unit].Answer(command, Clock::now());
  }
  if (config.faults.silent || reply.empty()) return;
  std::mt19937_64& random = served[unit].random;
  if (config.faults.garbageReplies) reply = GarbageReply(command[0], random);
  const auto due = Clock::now() + std::chrono::milliseconds(std::max(0, config.faults.replyDelayMs));
  const int copies = 1 + std::max(0, config.faults.duplicateReplies);
  for (int copy = 0; copy < copies; ++copy)
    if (!Dropped(config.faults.dropProbability, random)) pending.push({due, nextSequence++, unit, from, reply});
}

void UnitSimulator::Impl::SendDue() {
  const auto now = Clock::now();
  while (!pending.empty() && pending.top().due <= now) {
    const PendingReply& reply = pending.top();
    // A full send buffer loses the reply, as a busy network would.
    ::sendto(served[reply.unit].fd, reply.bytes.data(), reply.bytes.size(), MSG_NOSIGNAL,
             reinterpret_cast<const sockaddr*>(&reply.to), sizeof reply.to);
    pending.pop();
  }
}

std::optional<std::size_t> UnitSimulator::Impl::UnitAt(const std::string& address, std::uint16_t port) const {
  const auto found = std::find_if(configs.begin(), configs.end(), [&](const UnitConfig& unit) {
    return unit.address == address && unit.port == port;
  });
  if (found == configs.end()) return std::nullopt;
  return static_cast<std::size_t>(found - configs.begin());
}

UnitSimulator::UnitSimulator(std::vector<UnitConfig> units) : impl_(std::make_unique<Impl>(std::move(units))) {}

UnitSimulator::~UnitSimulator() { Stop(); }

void UnitSimulator::KeepRecords(bool keep) {
  impl_->keepRecords = keep;
  impl_->telnet.KeepRecords(keep);
}

bool UnitSimulator::Start(std::string& error) {
  if (impl_->thread.joinable()) {
    error = "the simulator is already running";
    return false;
  }
  if (!impl_->Open(error)) {
    impl_->Close();
    return false;
  }
  impl_->stopping.store(false);
  impl_->thread = std::thread([impl = impl_.get()] { impl->Serve(); });
  return true;
}

void UnitSimulator::Stop() {
  if (!impl_->thread.joinable()) return;
  impl_->stopping.store(true);
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(impl_->wakeFd, &one, sizeof one);
  impl_->thread.join();
  impl_->Close();
}

const std::vector<UnitConfig>& UnitSimulator::units() const { return impl_->configs; }

std::vector<ReceivedDatagram> UnitSimulator::Received() const {
  const std::lock_guard lock(impl_->receivedMutex);
  return impl_->received;
}

std::vector<ReceivedDatagram> UnitSimulator::ReceivedBy(const std::string& unitAddress, std::uint16_t unitPort) const {
  const std::lock_guard lock(impl_->receivedMutex);
  std::vector<ReceivedDatagram> matching;
  std::copy_if(impl_->received.begin(), impl_->received.end(), std::back_inserter(matching),
               [&](const ReceivedDatagram& datagram) {
                 return datagram.unitAddress == unitAddress && datagram.unitPort == unitPort;
               });
  return matching;
}

std::vector<std::uint8_t> UnitSimulator::ReceivedImage(const std::string& unitAddress, std::uint16_t unitPort) const {
  const auto unit = impl_->UnitAt(unitAddress, unitPort);
  if (!unit) return {};
  const std::lock_guard lock(impl_->lifecycleMutex);
  return impl_->lifecycles[*unit].image();
}

bool UnitSimulator::ImageMatches(const std::string& unitAddress, std::uint16_t unitPort,
                                 const std::filesystem::path& expected) const {
  const RegularFileBytes file = ReadRegularFile(expected, UINT32_MAX);
  const std::vector<std::uint8_t> image = ReceivedImage(unitAddress, unitPort);
  return file.ok() && std::equal(file.bytes.begin(), file.bytes.end(), image.begin(), image.end(),
                                 [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

TelnetRecord UnitSimulator::TelnetReceived(const std::string& unitAddress, std::uint16_t telnetPort) const {
  const auto& configs = impl_->configs;
  const auto found = std::find_if(configs.begin(), configs.end(), [&](const UnitConfig& unit) {
    return unit.address == unitAddress && unit.telnetPort == telnetPort && telnetPort != 0;
  });
  if (found == configs.end()) return {};
  return impl_->telnet.RecordOf(static_cast<std::size_t>(found - configs.begin()));
}

std::optional<UnitMode> UnitSimulator::Mode(const std::string& unitAddress, std::uint16_t unitPort) const {
  const auto unit = impl_->UnitAt(unitAddress, unitPort);
  if (!unit) return std::nullopt;
  const std::lock_guard lock(impl_->lifecycleMutex);
  return impl_->lifecycles[*unit].Mode(Clock::now());
}

}  // namespace quenderlink::unitsim
