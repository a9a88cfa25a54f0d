#include "core/IniSettingsFile.h"

#include <gtest/gtest.h>

#include <string>

#include "support/TempDir.h"

namespace quenderlink::testing {
namespace {

constexpr char kCreationDefaultsBytes[] =
    "[OEM]\nWho=Brindlemar\n\n\n"
    "[Main View Options]\nShow Filter Combos=0\nShow Cmnd Buttons=1\nCmnds on Right=1\n\n\n"
    "[MISC]\nReduce Height=0\nCollect S918=0\n";

class IniSettingsFileTest : public ::testing::Test {
 protected:
  void WriteIni(const std::string& bytes) { WriteFileBytes(ini.Path(), bytes); }
  std::string IniBytes() const { return ReadFileBytes(ini.Path()); }

  TempDir folder;
  IniSettingsFile ini{folder.path()};
};

TEST_F(IniSettingsFileTest, CreationDefaultsAreWrittenWhenMissingOrErasedAndAnExistingFileKept) {
  ASSERT_TRUE(ini.EnsureIniFile());
  EXPECT_EQ(IniBytes(), kCreationDefaultsBytes);

  WriteIni("\xEF\xBB\xBF[MISC]\nCollect S918=1\nShowTWD=1\n");
  ASSERT_TRUE(ini.EnsureIniFile());
  EXPECT_EQ(IniBytes(), "\xEF\xBB\xBF[MISC]\nCollect S918=1\nShowTWD=1\n");
  ASSERT_TRUE(ini.WriteIniDefaults(false));
  EXPECT_EQ(IniBytes().rfind("[MISC]\nCollect S918=0\nShowTWD=1\n", 0), 0u);  // no byte-order mark
  ASSERT_TRUE(ini.WriteIniDefaults(true));
  EXPECT_EQ(IniBytes(), kCreationDefaultsBytes);

  WriteIni("[MISC]\nShowTWD=1\n");
  WriteFileBytes(ini.GetIpHistoryPath(), "[IP_History.ini]\nIP 01=10.0.0.1\n");
  EXPECT_EQ(ini.FactoryResetQuestion(), "Confirm to delete both\r\n" + ini.Path().string() + "\r\n" +
                                            (folder / "IP_History.ini").string() + "\r\n\"ini\" (config) files!");
  ASSERT_TRUE(ini.EraseFactorySettings());
  EXPECT_EQ(IniBytes(), kCreationDefaultsBytes);
  EXPECT_EQ(ReadFileBytes(ini.GetIpHistoryPath()), "[OEM]\nWho=Brindlemar\n");
}

TEST_F(IniSettingsFileTest, KeysMatchWithoutRegardToCaseAndAnEmptyIntegerIsTheFallback) {
  WriteIni("[Ping Sites]\nMax Resend=3\n[T]\nEmpty=\n");
  EXPECT_EQ(ini.ReadInt("PING SITES", "max resend", 6), 3u);
  EXPECT_EQ(ini.ReadInt("T", "Empty", 99), 99u);
  ASSERT_TRUE(ini.WriteInt("ping SITES", "MAX resend", 4));
  EXPECT_EQ(IniBytes(), "[Ping Sites]\nMax Resend=4\n\n\n[T]\nEmpty=\n");
}

TEST_F(IniSettingsFileTest, HandEditedFileKeepsItsValuesAndLeadingCommentsOnWrite) {
  WriteIni("; depot laptop\n\n[Ping Sites]\n; slow radio links\n  Max Wait Response = 20  \n\n[misc]\nShowTWD = 1\n");
  ASSERT_TRUE(ini.WriteInt(settings::kDefaultPortNum, 9002));

  EXPECT_EQ(IniBytes(), "; depot laptop\n\n\n[Ping Sites]\n\n; slow radio links\nMax Wait Response=20\n\n\n"
                        "[misc]\nShowTWD=1\nDefault Port Num=9002\n");
}

TEST_F(IniSettingsFileTest, PushEmptiesEntriesContainingThePathWithoutCompactingAndEntriesAreCut) {
  std::string bytes = "[IP Files]\n";
  for (int number = 1; number <= 16; ++number)
    bytes += "IP File " + std::string(number < 10 ? "0" : "") + std::to_string(number) + "=/s/old" +
             std::to_string(number) + "\n";
  WriteIni(bytes);
  ASSERT_TRUE(ini.WriteString("IP Files", "IP File 05", "/s/P.bin.bak"));

  ASSERT_TRUE(ini.PushSiteFile("/s/P.bin"));
  ASSERT_EQ(ini.ReadFileHistory(HistoryKind::SiteFiles), 15);
  const auto& history = ini.FileHistory();
  EXPECT_EQ(history[0], "/s/P.bin");
  EXPECT_EQ(history[4], "/s/old4");
  EXPECT_EQ(history[5], "");
  EXPECT_EQ(history[15], "/s/old15");  // the old entry 16 dropped off
  EXPECT_FALSE(ini.PushSiteFile(""));
  EXPECT_EQ(ini.ReadFileHistory(HistoryKind::SiteFiles), 15);

  // Pushing entry 01 again leaves entry 02 empty.
  ASSERT_TRUE(ini.PushProgramFile("/p/one.s19"));
  ASSERT_TRUE(ini.PushProgramFile("/p/one.s19"));
  EXPECT_EQ(ini.ReadFileHistory(HistoryKind::ProgramFiles), 1);
  EXPECT_EQ(ini.FileHistory()[0], "/p/one.s19");
  EXPECT_EQ(ini.ReadString("Pgm Files", "Pgm File 02", "missing"), "");

  // Entries are cut; dropping the first empties entry 01 only.
  ASSERT_TRUE(ini.PushProgramFile("/p/" + std::string(300, 'x')));
  ASSERT_TRUE(ini.PushProgramFile("/p/b.s19"));
  ASSERT_TRUE(ini.DropFirstSiteFile());
  EXPECT_EQ(ini.ReadFileHistory(HistoryKind::SiteFiles), 14);
  ASSERT_EQ(ini.ReadFileHistory(HistoryKind::ProgramFiles), 3);
  EXPECT_EQ(ini.FileHistory()[1].size(), 259u);
}

TEST_F(IniSettingsFileTest, ZeroIcmpTimeoutRestoresDefaultsInMemoryAndFile) {
  WriteIni("[Ping Range]\nICMP Timeout=0\nICMP TTL=99\nICMP Max Hops=30\nFrom IP=10.1.1.1\n");
  IcmpParams icmp;
  icmp.ttl = 1;
  icmp.maxHops = 12;
  ini.LoadIcmpParams(icmp);

  EXPECT_EQ(icmp.timeoutMs, 5000u);
  EXPECT_EQ(icmp.ttl, 10);
  EXPECT_EQ(icmp.maxHops, 12);  // the hop limit keeps its value in memory
  EXPECT_EQ(IniBytes(), "[Ping Range]\nICMP Timeout=5000\nICMP TTL=10\nICMP Max Hops=5\nFrom IP=10.1.1.1\n"
                        "ICMP DataSize=32\nICMP TOS=0\nICMP Don't Fragment=0\n");

  ASSERT_TRUE(ini.WriteInt(settings::kIcmpTtl, 300));
  ini.LoadIcmpParams(icmp);
  EXPECT_EQ(icmp.ttl, 44);
  EXPECT_EQ(icmp.maxHops, 5);
}

TEST_F(IniSettingsFileTest, IpHistoryEntriesAreCutTo46Characters) {
  WriteFileBytes(ini.GetIpHistoryPath(), "[IP_History.ini]\nIP 20=" + std::string(60, 'h') + "\n");
  ASSERT_EQ(ini.ReadIpHistory(), 1);
  EXPECT_EQ(ini.IpHistory()[19], std::string(46, 'h'));
}

}  // namespace
}  // namespace quenderlink::testing
