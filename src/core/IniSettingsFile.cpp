#include "core/IniSettingsFile.h"

#include <algorithm>
#include <system_error>

#include "core/AtomicFileWriter.h"
#include "core/DecimalText.h"
#include "core/Printf.h"

namespace quenderlink {
namespace {

using namespace settings;

const char* KindWord(HistoryKind kind) { return kind == HistoryKind::SiteFiles ? "IP" : "Pgm"; }

std::string HistorySection(HistoryKind kind) { return Printf("%s Files", KindWord(kind)); }

std::string HistoryKey(HistoryKind kind, std::size_t number) {
  return Printf("%s File %02d", KindWord(kind), static_cast<int>(number));
}

std::string Cut(std::string text, std::size_t length) {
  if (text.size() > length) text.resize(length);
  return text;
}

template <std::size_t N>
int CountNonEmpty(const std::array<std::string, N>& slots) {
  return static_cast<int>(std::count_if(slots.begin(), slots.end(), [](const std::string& s) { return !s.empty(); }));
}

std::uint32_t ReadSetting(const IniDocument& document, const SettingKey& setting) {
  return document.ReadInt(setting.section, setting.key, LeadingDecimal(setting.defaultText));
}

void SetInt(IniDocument& document, const SettingKey& setting, std::int64_t value) {
  document.Set(setting.section, setting.key, std::to_string(value));
}

void SetDefaultText(IniDocument& document, const SettingKey& setting) {
  document.Set(setting.section, setting.key, setting.defaultText);
}

}  // namespace

IniSettingsFile::IniSettingsFile(std::filesystem::path programFolder)
    : programFolder_(std::move(programFolder)), path_(programFolder_ / kIniFileName) {}

std::filesystem::path IniSettingsFile::GetIpHistoryPath() const { return programFolder_ / kIpHistoryFileName; }

IniDocument IniSettingsFile::Load() const {
  IniDocument document;
  // A file that is missing or cannot be read reads as empty: every key falls back to its default.
  (void)document.Load(path_);
  return document;
}

bool IniSettingsFile::Update(const std::function<void(IniDocument&)>& change) {
  IniDocument document;
  // Replacing a file we could not read would lose every key in it.
  if (document.Load(path_) == IniDocument::LoadResult::Unreadable) return false;
  change(document);
  return WriteFileAtomically(path_, document.Text());
}

bool IniSettingsFile::EnsureIniFile() {
  history_.fill({});
  std::error_code error;
  if (std::filesystem::exists(path_, error)) return true;
  return !error && WriteIniDefaults(false);
}

void IniSettingsFile::OpenIniInEditor(DesktopActions& desktop) const { desktop.OpenInEditor(path_); }

bool IniSettingsFile::WriteIniDefaults(bool erase) {
  // Erasing starts from an empty document: the file is replaced in one step
  // instead of being deleted first.
  IniDocument document;
  if (!erase && document.Load(path_) == IniDocument::LoadResult::Unreadable) return false;
  for (const SettingKey& setting : CreationDefaults()) SetDefaultText(document, setting);
  return WriteFileAtomically(path_, document.Text());
}

std::string IniSettingsFile::FactoryResetQuestion() const {
  return Printf("Confirm to delete both\r\n%s\r\n%s\r\n\"ini\" (config) files!", path_.c_str(),
                GetIpHistoryPath().c_str());
}

bool IniSettingsFile::EraseFactorySettings() {
  const bool settingsWritten = WriteIniDefaults(true);
  IniDocument addressHistory;
  SetDefaultText(addressHistory, kWho);
  const bool historyWritten = WriteFileAtomically(GetIpHistoryPath(), addressHistory.Text());
  return settingsWritten && historyWritten;
}

int IniSettingsFile::ReadFileHistory(HistoryKind kind) {
  const IniDocument document = Load();
  const std::string section = HistorySection(kind);
  for (std::size_t slot = 0; slot < kFileHistorySize; ++slot) {
    history_[slot] = Cut(document.ReadString(section, HistoryKey(kind, slot + 1), ""), kFileHistoryEntryLength);
  }
  return CountNonEmpty(history_);
}

bool IniSettingsFile::WriteFileHistory(HistoryKind kind) {
  return Update([&](IniDocument& document) {
    const std::string section = HistorySection(kind);
    for (std::size_t slot = 0; slot < kFileHistorySize; ++slot) {
      document.Set(section, HistoryKey(kind, slot + 1), history_[slot]);
    }
  });
}

bool IniSettingsFile::PushFile(HistoryKind kind, std::string_view path) {
  // An empty path is contained in every entry and would wipe the history.
  if (path.empty()) return false;
  ReadFileHistory(kind);
  for (std::string& entry : history_) {
    if (entry.find(path) != std::string::npos) entry.clear();
  }
  // Emptied entries keep their places: the list is shifted, not compacted.
  std::shift_right(history_.begin(), history_.end(), 1);
  history_[0] = std::string(path);
  return WriteFileHistory(kind);
}

bool IniSettingsFile::PushProgramFile(std::string_view path) { return PushFile(HistoryKind::ProgramFiles, path); }

bool IniSettingsFile::PushSiteFile(std::string_view path) { return PushFile(HistoryKind::SiteFiles, path); }

bool IniSettingsFile::DropFirstSiteFile() {
  ReadFileHistory(HistoryKind::SiteFiles);
  history_[0].clear();
  return WriteFileHistory(HistoryKind::SiteFiles);
}

int IniSettingsFile::ReadIpHistory() {
  IniDocument document;
  // A history that is missing or cannot be read is an empty one.
  (void)document.Load(GetIpHistoryPath());
  for (std::size_t slot = 0; slot < kIpHistorySize; ++slot) {
    const std::string key = Printf("IP %02d", static_cast<int>(slot + 1));
    ipHistory_[slot] = Cut(document.ReadString(kSectionIpHistory, key, ""), kIpHistoryEntryLength);
  }
  return CountNonEmpty(ipHistory_);
}

bool IniSettingsFile::SavePingSiteParams(const RuntimeParams& params) {
  return Update([&](IniDocument& document) {
    SetInt(document, kPingMaxWaitResponse, params.pingMaxWaitResponse);
    SetInt(document, kPingMaxResend, params.pingMaxResend);
    SetInt(document, kPingMaxInParallel, params.pingMaxInParallel);
  });
}

bool IniSettingsFile::SaveUploadParams(const RuntimeParams& params) {
  return Update([&](IniDocument& document) {
    SetInt(document, kUploadMinWaitRamLoader, params.uploadMinWaitRamLoader);
    SetInt(document, kUploadMinWaitSysReboot, params.uploadMinWaitSysReboot);
    SetInt(document, kUploadMaxInParallel, params.uploadMaxInParallel);
  });
}

bool IniSettingsFile::SavePorts(std::uint16_t defaultPort, std::uint16_t telnetPortTrk1,
                                std::uint16_t telnetPortTrk2) {
  return Update([&](IniDocument& document) {
    SetInt(document, kDefaultPortNum, defaultPort);
    SetInt(document, kTelnetPortTrk1, telnetPortTrk1);
    SetInt(document, kTelnetPortTrk2, telnetPortTrk2);
  });
}

DeviceColors IniSettingsFile::LoadDeviceColors() const {
  const IniDocument document = Load();
  DeviceColors colors;
  colors.textCadmarin = ReadSetting(document, kTextCadmarin);
  colors.backCadmarin = ReadSetting(document, kBackCadmarin);
  colors.textRkm = ReadSetting(document, kTextRkm);
  colors.backRkm = ReadSetting(document, kBackRkm);
  colors.textZenthi = ReadSetting(document, kTextZenthi);
  colors.backZenthi = ReadSetting(document, kBackZenthi);
  return colors;
}

bool IniSettingsFile::SaveDeviceColors(const DeviceColors& colors) {
  return Update([&](IniDocument& document) {
    SetInt(document, kTextCadmarin, colors.textCadmarin);
    SetInt(document, kBackCadmarin, colors.backCadmarin);
    SetInt(document, kTextRkm, colors.textRkm);
    SetInt(document, kBackRkm, colors.backRkm);
    SetInt(document, kTextZenthi, colors.textZenthi);
    SetInt(document, kBackZenthi, colors.backZenthi);
  });
}

TelnetColors IniSettingsFile::LoadTelnetColors() const {
  const IniDocument document = Load();
  TelnetColors colors;
  colors.textTelnet = ReadSetting(document, kTextTelnet);
  colors.backTelnet = ReadSetting(document, kBackTelnet);
  colors.textLineNums = ReadSetting(document, kTextLineNums);
  colors.backLineNums = ReadSetting(document, kBackLineNums);
  return colors;
}

bool IniSettingsFile::SaveTelnetColors(const TelnetColors& colors) {
  return Update([&](IniDocument& document) {
    SetInt(document, kTextTelnet, colors.textTelnet);
    SetInt(document, kBackTelnet, colors.backTelnet);
    SetInt(document, kTextLineNums, colors.textLineNums);
    SetInt(document, kBackLineNums, colors.backLineNums);
  });
}

void IniSettingsFile::LoadIcmpParams(IcmpParams& icmp) {
  const IniDocument document = Load();
  if (ReadSetting(document, kIcmpTimeout) != 0) {
    icmp.timeoutMs = ReadSetting(document, kIcmpTimeout);
    icmp.ttl = static_cast<std::uint8_t>(ReadSetting(document, kIcmpTtl));
    icmp.dataSize = static_cast<std::uint16_t>(ReadSetting(document, kIcmpDataSize));
    icmp.typeOfService = static_cast<std::uint8_t>(ReadSetting(document, kIcmpTos));
    icmp.dontFragment = static_cast<std::uint8_t>(ReadSetting(document, kIcmpDontFragment));
    icmp.maxHops = static_cast<std::uint8_t>(ReadSetting(document, kIcmpMaxHops));
    return;
  }
  const IcmpParams defaults;
  icmp.timeoutMs = defaults.timeoutMs;
  icmp.ttl = defaults.ttl;
  icmp.dataSize = defaults.dataSize;
  icmp.typeOfService = defaults.typeOfService;
  icmp.dontFragment = defaults.dontFragment;
  // The defaults are in effect for this run even when the file cannot take them.
  (void)Update([](IniDocument& document) {
    for (const SettingKey& setting :
         {kIcmpTimeout, kIcmpTtl, kIcmpDataSize, kIcmpTos, kIcmpDontFragment, kIcmpMaxHops}) {
      SetDefaultText(document, setting);
    }
  });
}

std::uint32_t IniSettingsFile::ReadInt(std::string_view section, std::string_view key,
                                       std::uint32_t fallback) const {
  return Load().ReadInt(section, key, fallback);
}

std::uint32_t IniSettingsFile::ReadInt(const SettingKey& setting) const { return ReadSetting(Load(), setting); }

std::string IniSettingsFile::ReadString(std::string_view section, std::string_view key,
                                        std::string_view fallback) const {
  return Load().ReadString(section, key, fallback);
}

bool IniSettingsFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  return Update([&](IniDocument& document) { document.Set(section, key, value); });
}

bool IniSettingsFile::WriteStrings(std::string_view section,
                                   const std::vector<std::pair<std::string, std::string>>& keyValues) {
  return Update([&](IniDocument& document) {
    for (const auto& [key, value] : keyValues) document.Set(section, key, value);
  });
}

bool IniSettingsFile::WriteInt(std::string_view section, std::string_view key, std::int64_t value) {
  return WriteString(section, key, std::to_string(value));
}

bool IniSettingsFile::WriteInt(const SettingKey& setting, std::int64_t value) {
  return WriteInt(setting.section, setting.key, value);
}

std::vector<IniEntry> IniSettingsFile::ListEntries() const { return Load().Entries(); }

}  // namespace quenderlink
