#include <arpa/inet.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "LoopbackTestSocket.h"
#include "core/Lookups.h"
#include "core/Printf.h"
#include "net/EngineRecorder.h"
#include "unitsim/TerminalPages.h"
#include "unitsim/TerminalSession.h"
#include "unitsim/UnitSimulator.h"

namespace quenderlink::unitsim {
namespace {

using namespace std::string_literals;
using testing::kTelnetPort;
using testing::StartUnits;

// A plain blocking TCP connection, as a maintainer's terminal opens one, that
// stops waiting for bytes after a few seconds.
class TelnetClient {
 public:
  // A receive buffer, where given, is set before connecting, so that the unit sees a small window.
  TelnetClient(const std::string& address, std::uint16_t port, std::optional<int> receiveBuffer = std::nullopt)
      : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    const timeval timeout{5, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    if (receiveBuffer) ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &*receiveBuffer, sizeof *receiveBuffer);
    const sockaddr_in to = SocketAddress(address, port);
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) connectError_ = errno;
  }
  ~TelnetClient() { ::close(fd_); }
  TelnetClient(const TelnetClient&) = delete;
  TelnetClient& operator=(const TelnetClient&) = delete;

  // 0 when connected, else the errno of the refusal.
  int connectError() const { return connectError_; }

  void Send(std::string_view text) const { ::send(fd_, text.data(), text.size(), MSG_NOSIGNAL); }

  // What arrived up to and including `end`; all that arrived when the wait or the connection ends first.
  std::string ReadThrough(std::string_view end) {
    std::size_t searched = 0;
    std::size_t found = std::string::npos;
    while ((found = buffer_.find(end, searched)) == std::string::npos) {
      searched = buffer_.size() < end.size() ? 0 : buffer_.size() - end.size() + 1;
      if (!ReadMore()) return std::exchange(buffer_, {});
    }
    std::string taken = buffer_.substr(0, found + end.size());
    buffer_.erase(0, taken.size());
    return taken;
  }

  // True once the unit closed the connection, rather than the wait running out.
  bool closed() const { return closed_; }

 private:
  bool ReadMore() {
    char chunk[65536];
    const ssize_t size = ::recv(fd_, chunk, sizeof chunk, 0);
    if (size <= 0) {
      closed_ = size == 0;
      return false;
    }
    buffer_.append(chunk, static_cast<std::size_t>(size));
    return true;
  }

  int fd_;
  int connectError_ = 0;
  bool closed_ = false;
  std::string buffer_;
};

const std::string kMenu = "1 - Status\r\0" "2 - Version\r\0" "3 - Event Log\r\0" "BYE - End Session\r\0"s;

// A Cad-2 unit with a terminal, whose banner tells all of its identity.
UnitConfig TelnetUnit(const std::string& address) {
  UnitConfig unit = testing::TelnetUnit(address);
  unit.identity.productType = kProductCad2;
  unit.identity.siteName = "EAST YARD";
  unit.identity.milepost = "12.5";
  unit.identity.versionMajor = 4;
  unit.identity.versionMinor = 12;
  unit.identity.versionBuild = 3;
  return unit;
}

TEST(UnitTelnet, GreetsWithBannerAndMenuAndAnswersEachCommandInCrNulLinesWithoutEcho) {
  const auto simulator = StartUnits({TelnetUnit("127.92.0.1")});
  TelnetClient client("127.92.0.1", kTelnetPort);
  std::string transcript = client.ReadThrough(kPrompt);
  EXPECT_EQ(transcript, "*** EAST YARD  MP 12.5  Cad-2 4.12-3 ***\r\0"s + kMenu + "> ");

  // Any line end is taken; a CR's LF arriving apart from it ends no second line.
  const std::pair<std::string, std::string> exchanges[] = {
      {"2\r\n", "Cad-2 VERSION 4.12-3\r\0> "s},
      {" version \r\0"s, "Cad-2 VERSION 4.12-3\r\0> "s},
      {"\n", "> "},
      {"frob it\r", "?? UNKNOWN COMMAND: frob it\r\0> "s},
      {"\n*MENU*\r\n", kMenu + "> "},
  };
  for (const auto& [command, answer] : exchanges) {
    client.Send(command);
    const std::string received = client.ReadThrough(kPrompt);
    EXPECT_EQ(received, answer) << command;
    transcript += received;
  }

  client.Send("1\r\n");
  const std::string status = client.ReadThrough(kPrompt);
  transcript += status;
  EXPECT_TRUE(status.starts_with("STATUS  EAST YARD  MP 12.5  TRACK M_\r\0"s)) << status;
  EXPECT_TRUE(status.ends_with(std::string(kLineEnd) + "> ")) << status;
  EXPECT_EQ(std::count(status.begin(), status.end(), '\r'), 10) << status;

  EXPECT_EQ(transcript.find('\n'), std::string::npos);
}

// The burst is larger than the socket buffers hold, so a blocking send would
// hold up every other unit until its reader woke.
TEST(UnitTelnet, ServesOtherConnectionsWhileABurstWaitsForItsReaderAndSendsItWhole) {
  const UnitConfig east = TelnetUnit("127.92.1.1");
  const auto simulator = StartUnits({east});
  TelnetClient slow(east.address, kTelnetPort, 4096);
  slow.ReadThrough(kPrompt);
  slow.Send(Printf("DUMP %zu\r\n", kLargestDump));

  TelnetClient other(east.address, kTelnetPort);
  other.ReadThrough(kPrompt);
  other.Send("LOG\r\n");
  EXPECT_EQ(other.ReadThrough(kPrompt), EventLogLines(east.identity) + std::string(kPrompt));
  TestSocket socket;
  socket.SendCommand(east, kCommandPing);
  EXPECT_TRUE(socket.Receive());

  // Whole and in order; compared as a flag, since the burst is too long to print.
  const std::string dump = slow.ReadThrough(kPrompt);
  EXPECT_TRUE(dump == DumpLines(kLargestDump) + std::string(kPrompt)) << dump.size() << " bytes";
}

TEST(UnitTelnet, ByeSaysGoodbyeAndClosesAndTheUnitTakesNewConnectionsAfterARestart) {
  const UnitConfig unit = TelnetUnit("127.92.2.1");
  const auto simulator = StartUnits({unit});
  {
    TelnetClient client(unit.address, kTelnetPort);
    client.ReadThrough(kPrompt);
    // More than the unit reads at once follows the goodbye; the close must still deliver it.
    client.Send("bye\r\n1\r\n" + std::string(50000, 'x'));
    EXPECT_EQ(client.ReadThrough("until the close"), "GOODBYE\r\0"s);
    EXPECT_TRUE(client.closed());
  }
  // The connection the unit closed lingers on its side, and must not keep the port from a new start.
  simulator->Stop();
  std::string error;
  ASSERT_TRUE(simulator->Start(error)) << error;
  TelnetClient again(unit.address, kTelnetPort);
  EXPECT_TRUE(again.ReadThrough(kPrompt).starts_with("*** EAST YARD"));
}

TEST(UnitTelnet, SilentUnitsAndUnitsWithoutATelnetPortRefuseTheConnectionAndStartRefusesATelnetPortItCannotHave) {
  UnitConfig silent = TelnetUnit("127.92.3.1");
  silent.faults.silent = true;
  UnitConfig without = TelnetUnit("127.92.3.2");
  without.telnetPort = 0;
  const auto simulator = StartUnits({silent, without});
  EXPECT_EQ(TelnetClient(silent.address, kTelnetPort).connectError(), ECONNREFUSED);
  EXPECT_EQ(TelnetClient(without.address, kTelnetPort).connectError(), ECONNREFUSED);

  std::string error;
  UnitConfig second = TelnetUnit("127.92.4.1");
  second.port = 9002;
  EXPECT_FALSE(UnitSimulator({TelnetUnit("127.92.4.1"), second}).Start(error));
  EXPECT_NE(error.find("unit 1: telnet 127.92.4.1:10001 is given to an earlier unit too"), std::string::npos) << error;

  const int holder = ListeningSocket("127.92.4.2", kTelnetPort);
  ASSERT_GE(holder, 0);
  EXPECT_FALSE(UnitSimulator({TelnetUnit("127.92.4.2")}).Start(error));
  EXPECT_NE(error.find("cannot bind telnet 127.92.4.2:10001: Address already in use"), std::string::npos) << error;
  ::close(holder);
}

TEST(TerminalPages, ADumpIsExactlyTheBytesAskedInWholeShortLines) {
  for (const std::size_t bytes : {2u, 3u, 63u, 64u, 65u, 66u, 129u, 1000u}) {
    const std::string dump = DumpLines(bytes);
    EXPECT_EQ(dump.size(), bytes);
    EXPECT_TRUE(dump.ends_with(kLineEnd)) << bytes;
    for (std::size_t from = 0, end; (end = dump.find(kLineEnd, from)) != std::string::npos; from = end + 2)
      EXPECT_LE(end + 2 - from, 64u) << bytes << ": a line with its CR NUL";
  }
}

}  // namespace
}  // namespace quenderlink::unitsim
