#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "unitsim/TerminalSession.h"
#include "unitsim/UnitIdentity.h"
#include "unitsim/UnitSimulator.h"

namespace quenderlink::unitsim {

// The telnet terminals of simulated units: a listening socket per unit and any
// number of connections to each, all non-blocking in a poll set of their own,
// which the simulator watches in its set and serves from its one thread. Each
// connection queues what it has to send, so a large answer never blocks the
// thread and loses no byte; the next command is answered once the last answer
// is sent.
class TelnetService {
 public:
  // The identity a unit tells now; a unit re-booted into a new program tells its new version.
  using IdentityOf = std::function<UnitIdentity(std::size_t unit)>;

  explicit TelnetService(IdentityOf identityOf);
  ~TelnetService();
  TelnetService(const TelnetService&) = delete;
  TelnetService& operator=(const TelnetService&) = delete;

  // Opens the poll set; false with the reason.
  [[nodiscard]] bool Open(std::string& error);
  // Listens for a unit's connections on an address (in host byte order) and port.
  [[nodiscard]] bool Listen(std::size_t unit, std::uint32_t address, std::uint16_t port, std::string& error);
  // Readable while a socket of the service is ready.
  int fd() const { return epollFd_; }
  // Serves every socket that is ready, without waiting.
  void ServeReady();
  // Closes every socket; the records stay.
  void Close();

  void KeepRecords(bool keep) { keepRecords_ = keep; }
  TelnetRecord RecordOf(std::size_t unit) const;

 private:
  struct Connection {
    std::size_t unit = 0;
    int fd = -1;
    TerminalSession session;
    std::string outbox;
    std::size_t sent = 0;
    bool inputEnded = false;  // the other side sends no more
    bool broken = false;
    std::uint32_t watched = 0;
  };

  void Accept(std::size_t unit);
  void Serve(std::uint64_t id, std::uint32_t events);
  void Read(Connection& connection);
  void Pump(Connection& connection);
  void Flush(Connection& connection);
  void Drop(std::uint64_t id);
  void Watch(int fd, std::uint64_t tag, std::uint32_t events, int operation);
  void Record(std::size_t unit, std::string_view bytes, bool accepted);

  const IdentityOf identityOf_;
  int epollFd_ = -1;
  std::chrono::steady_clock::time_point openedAt_;
  std::map<std::size_t, int> listeners_;  // by unit
  std::vector<std::size_t> paused_;       // listeners not watched while no descriptor is free
  std::unordered_map<std::uint64_t, Connection> connections_;
  std::uint64_t nextId_ = 0;

  bool keepRecords_ = true;
  mutable std::mutex recordsMutex_;
  std::map<std::size_t, TelnetRecord> records_;
};

}  // namespace quenderlink::unitsim
