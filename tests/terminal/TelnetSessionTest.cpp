#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "core/Lookups.h"
#include "support/TempDir.h"
#include "terminal/TelnetSession.h"
#include "unitsim/LoopbackTestSocket.h"

namespace quenderlink {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using unitsim::ListeningSocket;
using unitsim::PortOf;

// Records what the session tells its terminal.
struct Terminal : TelnetSessionListener {
  std::string text;
  int changes = 0;
  bool connected = false;
  void OnTerminalText(const std::string& shown) override { text += shown; }
  void OnConnectionChanged(bool now) override {
    ++changes;
    connected = now;
  }
};

// Serves the session's events as a window's loop would, until `done` or 10 s.
bool Drive(TelnetSession& session, const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    if (session.fd() < 0) {
      std::this_thread::sleep_for(1ms);
      continue;
    }
    const bool connecting = session.state() == TelnetSession::State::Connecting;
    pollfd watched{session.fd(), static_cast<short>(connecting ? POLLOUT : POLLIN), 0};
    if (::poll(&watched, 1, 20) <= 0) {
      if (connecting && std::chrono::steady_clock::now() >= session.connectDeadline()) session.OnConnectTimeout();
      continue;
    }
    if (connecting)
      session.OnConnectReady();
    else
      session.OnReadable();
  }
  return done();
}

TEST(TelnetSession, ShowsAndCapturesEverythingTheUnitSendsWithoutItsNulBytes) {
  const int listener = ListeningSocket("127.94.0.1");
  ASSERT_GE(listener, 0);
  // A mebibyte of log lines as the unit sends them, and as they are shown.
  std::string burst;
  std::string shownBurst;
  for (int line = 0; burst.size() < (1u << 20); ++line) {
    burst += "LOG LINE " + std::to_string(line) + "\r\0"s;
    shownBurst += "LOG LINE " + std::to_string(line) + "\n";
  }
  std::thread unit([&] {
    const int connection = ::accept(listener, nullptr, nullptr);
    const std::string blocks[] = {"BANNER\r\0MENU\r"s, "\n1 - Sta\0tus\r\0"s, burst};
    for (const std::string& block : blocks) {
      ::send(connection, block.data(), block.size(), MSG_NOSIGNAL);
      std::this_thread::sleep_for(20ms);
    }
    ::close(connection);
  });
  const std::string port = std::to_string(PortOf(listener));
  testing::TempDir home;
  Terminal terminal;
  TelnetSession session({"unit one", "127.94.0.1", PortOf(listener)}, kRailroadCpr, terminal);
  session.Connect();
  ASSERT_TRUE(Drive(session, [&] { return session.connected(); })) << terminal.text;
  ASSERT_TRUE(session.CaptureTo(home / "Capture" / "session.txt"));
  const std::size_t shownBefore = terminal.text.size();

  EXPECT_TRUE(Drive(session, [&] { return !terminal.connected; }));
  unit.join();
  ::close(listener);

  const std::string shown = "BANNER\nMENU\n1 - Status\n" + shownBurst;
  EXPECT_EQ(terminal.text.substr(0, shownBefore),
            "\nConnecting to unit one (127.94.0.1) Port " + port +
                "\nPlease Wait .. .. ..\n\n**************\n***** Success: Connected to 127.94.0.1 Port " + port +
                "\n**************\n");
  // Compared as booleans: a failed comparison's diff of a megabyte would exhaust the memory.
  EXPECT_TRUE(terminal.text.substr(shownBefore) == shown + "\n**************\n***** OFF-LINE!\n**************\n");
  EXPECT_TRUE(testing::ReadFileBytes(home / "Capture" / "session.txt") == shown);
  EXPECT_EQ(session.bytesReceived(), 13u + 14u + burst.size());
  EXPECT_EQ(session.fd(), -1);
}

TEST(TelnetSession, AsksForTheMenuOnNsSendsTypedKeysAndSaysByeBeforeClosing) {
  const int listener = ListeningSocket("127.94.0.2");
  ASSERT_GE(listener, 0);
  Terminal terminal;
  TelnetSession session({"unit two", "127.94.0.2", PortOf(listener)}, kRailroadNs, terminal);
  session.Connect();
  ASSERT_TRUE(Drive(session, [&] { return session.connected(); }));
  const int unit = ::accept(listener, nullptr, nullptr);

  EXPECT_TRUE(session.SendTyped('k', 300));
  session.SendBye();
  // The three sends may arrive apart: wait for all of them.
  std::string received(8 + 250 + 5, '\0');
  const ssize_t got = ::recv(unit, received.data(), received.size(), MSG_WAITALL);
  received.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  EXPECT_EQ(received, "*MENU*\r\n" + std::string(250, 'k') + "BYE\r\n");
  ::send(unit, "GOODBYE\r\0", 9, MSG_NOSIGNAL);
  ::close(unit);
  EXPECT_TRUE(Drive(session, [&] { return !terminal.connected; }));
  session.Close();
  EXPECT_TRUE(terminal.text.ends_with("**************\nGOODBYE\n")) << "no off-line message for a goodbye";
  ::close(listener);
}

// A unit that stops reading (after the stop byte, say) must not hold the
// window: what it does not take waits, up to a cap, and goes out in order
// once it reads again.
TEST(TelnetSession, BytesAUnitDoesNotTakeWaitUpToACapAndGoOutInOrderOnceItReads) {
  const int listener = ListeningSocket("127.94.0.5");
  ASSERT_GE(listener, 0);
  const int small = 4096;
  ::setsockopt(listener, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
  Terminal terminal;
  TelnetSession session({"unit five", "127.94.0.5", PortOf(listener)}, kRailroadCpr, terminal);
  session.Connect();
  ASSERT_TRUE(Drive(session, [&] { return session.connected(); }));
  ::setsockopt(session.fd(), SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
  const int unit = ::accept(listener, nullptr, nullptr);

  std::string accepted;
  for (int chunk = 0; chunk < 64; ++chunk) {
    const std::string bytes(64 * 1024, static_cast<char>('a' + chunk % 26));
    if (!session.Send(bytes)) break;
    accepted += bytes;
  }
  ASSERT_TRUE(session.hasUnsent());
  EXPECT_GE(accepted.size(), kMaxUnsentBytes);
  EXPECT_LT(accepted.size(), 4 * kMaxUnsentBytes) << "the cap was not kept";
  EXPECT_FALSE(session.Send(std::string(64 * 1024, 'x')));
  const std::string refusal = "***** NOT SENT: the unit has not taken the last ";
  EXPECT_EQ(terminal.text.find(refusal), terminal.text.rfind(refusal)) << "said once";
  ASSERT_NE(terminal.text.find(refusal), std::string::npos) << terminal.text;

  std::string received;
  std::thread reader([&] {
    char block[65536];
    while (received.size() < accepted.size()) {
      const ssize_t got = ::recv(unit, block, sizeof block, 0);
      if (got <= 0) return;
      received.append(block, static_cast<std::size_t>(got));
    }
  });
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (session.hasUnsent() && std::chrono::steady_clock::now() < deadline) {
    pollfd room{session.fd(), POLLOUT, 0};
    if (::poll(&room, 1, 100) > 0) session.OnWritable();
  }
  reader.join();
  EXPECT_FALSE(session.hasUnsent());
  EXPECT_TRUE(received == accepted) << "every byte taken, in order";
  EXPECT_TRUE(session.SendTyped('y', 1)) << "room again";
  ::close(unit);
  ::close(listener);
}

TEST(TelnetSession, AConnectThatFailsSaysWhyInTheUnitsOwnWords) {
  const int closedPort = ListeningSocket("127.94.0.3");
  const std::uint16_t port = PortOf(closedPort);
  ::close(closedPort);  // nothing listens there now: the connect is refused
  Terminal refused;
  TelnetSession session({"gone", "127.94.0.3", port}, kRailroadCpr, refused);
  session.Connect();
  EXPECT_TRUE(Drive(session, [&] { return refused.changes > 0; }));
  EXPECT_TRUE(refused.text.ends_with("\n************\n***** ERROR: FAILED TO CONNECT TO 127.94.0.3 Port " +
                                     std::to_string(port) +
                                     "\n***** Msg:   The attempt to connect was forcefully rejected.\n"
                                     "************\n"))
      << refused.text;
  EXPECT_EQ(session.connectError(), ECONNREFUSED);

  // A listener whose queue is full drops further connects: no answer by the deadline.
  const int full = ListeningSocket("127.94.0.4", 0, 0);
  std::vector<int> queued;
  for (int i = 0; i < 3; ++i) {
    queued.push_back(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
    sockaddr_in at = unitsim::SocketAddress("127.94.0.4", PortOf(full));
    ::connect(queued.back(), reinterpret_cast<sockaddr*>(&at), sizeof at);
  }
  Terminal silent;
  TelnetSession waiting({"busy", "127.94.0.4", PortOf(full)}, kRailroadCpr, silent, 300ms);
  waiting.Connect();
  EXPECT_TRUE(Drive(waiting, [&] { return silent.changes > 0; }));
  EXPECT_NE(silent.text.find("***** Msg:   The attempt to connect timed out without establishing a connection.\n"),
            std::string::npos)
      << silent.text;
  for (const int fd : queued) ::close(fd);
  ::close(full);
}

// A network namespace of its own has no route anywhere: the connect fails at once.
TEST(TelnetSession, AnUnreachableNetworkIsNamedAsSuch) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (::unshare(CLONE_NEWNET) != 0) std::_Exit(77);
    Terminal terminal;
    TelnetSession session({"far", "10.99.0.1", 23}, kRailroadCpr, terminal);
    session.Connect();
    std::_Exit(terminal.text.ends_with(
                   "***** Msg:   The network cannot be reached from this host at this time.\n************\n")
                   ? 0
                   : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 77) GTEST_SKIP() << "no network namespace can be made here";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace quenderlink
