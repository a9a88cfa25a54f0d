#include <gtest/gtest.h>

#include <thread>

#include "LoopbackTestSocket.h"
#include "net/EngineRecorder.h"
#include "support/TempDir.h"
#include "unitsim/UnitSimulator.h"

namespace quenderlink::unitsim {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kAck = 6;
constexpr std::uint8_t kNak = 7;

Bytes Packet(const Bytes& file, std::size_t offset, std::size_t size) {
  Bytes packet{kCommandProgramPacket, 0, static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size >> 8)};
  for (int shift = 0; shift < 32; shift += 8) packet.push_back(static_cast<std::uint8_t>(offset >> shift));
  packet.insert(packet.end(), file.begin() + static_cast<std::ptrdiff_t>(offset),
                file.begin() + static_cast<std::ptrdiff_t>(offset + size));
  return packet;
}

class RamLoader : public ::testing::Test {
 protected:
  // The answer's second byte (program kind, or the packet verdict); -1 for no answer.
  int Ask(const UnitConfig& unit, std::span<const std::uint8_t> bytes, std::chrono::milliseconds wait = 2000ms) {
    socket_.Send(unit, bytes);
    const auto arrival = socket_.Receive(wait);
    return arrival && arrival->bytes.size() > 1 ? arrival->bytes[1] : -1;
  }
  int Ping(const UnitConfig& unit, std::chrono::milliseconds wait = 2000ms) {
    return Ask(unit, BuildShortCommand(kCommandPing), wait);
  }

  std::unique_ptr<UnitSimulator> simulator_;
  TestSocket socket_;
};

// A refused and a fragmented packet, a loader that never starts, a new program that stays silent
// and the new program's version are played through the upload engine's, windows' and command's tests.
TEST_F(RamLoader, RestartsSilentlyRefusesBrokenPacketsTakesTheImageByOffsetAndRebootsIntoTheNewProgram) {
  UnitConfig unit = testing::Unit("127.52.0.1");
  unit.upload = {.ramLoaderDelayMs = 600, .rebootDelayMs = 600, .newVersionMajor = 3, .newVersionMinor = 8};
  simulator_ = testing::StartUnits({unit});
  Bytes file(2500);
  for (std::size_t index = 0; index < file.size(); ++index)
    file[index] = static_cast<std::uint8_t>(index * 7 + index / 251);
  testing::TempDir folder;
  testing::WriteFileBytes(folder / "image.bin", std::string(file.begin(), file.end()));

  socket_.SendCommand(unit, kCommandRunRamLoader);
  EXPECT_EQ(Ping(unit, 150ms), -1) << "a restarting unit answered";
  std::this_thread::sleep_for(600ms);
  UnitIdentity loader = unit.identity;
  loader.programKind = kProgramKindRamLoader;
  socket_.SendCommand(unit, kCommandPing);
  EXPECT_EQ(socket_.Receive().value_or(Arrival{}).bytes, EncodeIdentificationReply(loader));

  // A packet cut on the way or reaching past any program store is refused and stores nothing.
  Bytes cut = Packet(file, 0, 1000);
  cut.resize(500);
  EXPECT_EQ(Ask(unit, cut), kNak);
  EXPECT_EQ(Ask(unit, Bytes{kCommandProgramPacket, 0, 1, 0, 0xFF, 0xFF, 0xFF, 0xFF, 42}), kNak);
  EXPECT_TRUE(simulator_->ReceivedImage(unit.address, unit.port).empty());

  // The last packet first and the middle one twice: the image is written by offset.
  for (const std::size_t offset : {2000u, 0u, 1000u, 1000u})
    EXPECT_EQ(Ask(unit, Packet(file, offset, std::min<std::size_t>(1000, file.size() - offset))), kAck) << offset;
  EXPECT_TRUE(simulator_->ImageMatches(unit.address, unit.port, folder / "image.bin"));
  EXPECT_FALSE(simulator_->ImageMatches(unit.address, unit.port, folder / "missing.bin"));

  socket_.SendCommand(unit, kCommandReboot);
  EXPECT_EQ(Ping(unit, 150ms), -1) << "a re-booting unit answered";
  std::this_thread::sleep_for(600ms);
  EXPECT_EQ(Ping(unit), 0);
}

}  // namespace
}  // namespace quenderlink::unitsim
