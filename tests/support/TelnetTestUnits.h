#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace quenderlink::testing {

// A port on that loopback address where nothing listens: a connect there is refused.
inline std::uint16_t RefusingPort(const char* address) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in at{AF_INET, 0, {}, {}};
  ::inet_pton(AF_INET, address, &at.sin_addr);
  socklen_t length = sizeof at;
  ::bind(fd, reinterpret_cast<sockaddr*>(&at), length);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&at), &length);
  ::close(fd);
  return ntohs(at.sin_port);
}

// Units that answer a terminal session on loopback, a thread each. A unit
// greets with CR NUL line ends, its second line ending only with its first
// answer (so a client that breaks lines where blocks end shows it), answers
// every line with "<line> DONE" and "BYE" with "GOODBYE", then closes.
class TelnetTestUnits {
 public:
  using Clock = std::chrono::steady_clock;

  // One connection as the unit saw it.
  struct Session {
    std::vector<std::pair<std::string, Clock::time_point>> lines;
    std::string sent;
    std::string received;  // every byte, typed keys included
  };

  explicit TelnetTestUnits(const std::vector<std::string>& addresses) {
    for (const std::string& address : addresses) {
      Unit& unit = units_.emplace_back();
      unit.address = address;
      unit.listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
      sockaddr_in at{AF_INET, 0, {}, {}};
      ::inet_pton(AF_INET, address.c_str(), &at.sin_addr);
      socklen_t length = sizeof at;
      if (::bind(unit.listener, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 || ::listen(unit.listener, 8) != 0 ||
          ::getsockname(unit.listener, reinterpret_cast<sockaddr*>(&at), &length) != 0)
        throw std::runtime_error("cannot listen on " + address);
      unit.port = ntohs(at.sin_port);
      unit.thread = std::thread([this, &unit] { Serve(unit); });
    }
  }

  ~TelnetTestUnits() {
    for (Unit& unit : units_) {
      {
        std::lock_guard lock(mutex_);
        ::shutdown(unit.listener, SHUT_RDWR);  // ends the wait in accept
        if (unit.connection >= 0) ::shutdown(unit.connection, SHUT_RDWR);  // and in recv
      }
      unit.thread.join();
      ::close(unit.listener);
    }
  }

  std::uint16_t port(std::size_t unit) const { return units_[unit].port; }

  std::vector<Session> sessions(std::size_t unit) const {
    std::lock_guard lock(mutex_);
    return units_[unit].sessions;
  }

  // Every byte the unit received, over all its connections.
  std::string received(std::size_t unit) const {
    std::lock_guard lock(mutex_);
    std::string bytes;
    for (const Session& session : units_[unit].sessions) bytes += session.received;
    return bytes;
  }

  int mostAtOnce() const {
    std::lock_guard lock(mutex_);
    return mostAtOnce_;
  }

  // False when nothing connected to the unit within 5 s.
  bool WaitForConnection(std::size_t unit) const {
    std::unique_lock lock(mutex_);
    return connected_.wait_for(lock, std::chrono::seconds(5), [&] { return !units_[unit].sessions.empty(); });
  }

 private:
  struct Unit {
    std::string address;
    int listener = -1;
    int connection = -1;
    std::uint16_t port = 0;
    std::vector<Session> sessions;
    std::thread thread;
  };

  void Send(int fd, Session& session, const std::string& bytes) {
    ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    session.sent += bytes;
  }

  // Answers the whole lines of `pending`; false once "BYE" came.
  bool Answer(int fd, Session& session, std::string& pending, const char* block, std::size_t size) {
    std::lock_guard lock(mutex_);
    session.received.append(block, size);
    pending.append(block, size);
    for (std::size_t end; (end = pending.find("\r\n")) != std::string::npos; pending.erase(0, end + 2)) {
      const std::string line = pending.substr(0, end);
      session.lines.emplace_back(line, Clock::now());
      if (line == "BYE") {
        Send(fd, session, std::string("GOODBYE\r\0", 9));
        return false;
      }
      Send(fd, session, (session.lines.size() == 1 ? std::string(" READY\r\0", 8) : "") + line + " DONE\r" + '\0');
    }
    return true;
  }

  void Serve(Unit& unit) {
    for (int fd; (fd = ::accept4(unit.listener, nullptr, nullptr, SOCK_CLOEXEC)) >= 0; ::close(fd)) {
      Session* session = nullptr;
      {
        std::lock_guard lock(mutex_);
        session = &unit.sessions.emplace_back();  // only this thread adds to the unit's sessions
        unit.connection = fd;
        mostAtOnce_ = std::max(mostAtOnce_, ++open_);
        Send(fd, *session, std::string("WELCOME\r\0UNIT ", 14) + unit.address);
      }
      connected_.notify_all();
      std::string pending;
      char block[4096];
      for (ssize_t got; (got = ::recv(fd, block, sizeof block, 0)) > 0;)
        if (!Answer(fd, *session, pending, block, static_cast<std::size_t>(got))) break;
      std::lock_guard lock(mutex_);
      unit.connection = -1;
      --open_;
    }
  }

  std::deque<Unit> units_;  // a deque: the threads keep pointers to their units
  mutable std::mutex mutex_;
  mutable std::condition_variable connected_;
  int open_ = 0;
  int mostAtOnce_ = 0;
};

// What a client shows of the bytes a test unit sent: its CR NUL line ends as '\n'.
inline std::string ShownText(std::string sent) {
  for (std::size_t at; (at = sent.find(std::string("\r\0", 2))) != std::string::npos;) sent.replace(at, 2, "\n");
  return sent;
}

}  // namespace quenderlink::testing
