#include "core/SettingsKeys.h"

#include <array>

namespace quenderlink {

namespace {

using namespace settings;

constexpr std::array kAllKeys{
    kWho,
    kRoad,
    kPingMaxWaitResponse, kPingMaxResend, kPingMaxInParallel,
    kUploadMinWaitRamLoader, kUploadMinWaitSysReboot, kUploadMaxInParallel,
    kAllowChangeSiteName, kShowTwd, kDefaultPortNum, kTelnetPortTrk1, kTelnetPortTrk2, kShowIpColumn,
    kDeleteManyRows, kAllowUploadUnknown, kCollectS918, kShowHidden, kReduceHeight, kJournalDays,
    kShowCmndButtons, kShowFilterCombos, kCmndsOnRight,
    kTextCadmarin, kBackCadmarin, kTextRkm, kBackRkm, kTextZenthi, kBackZenthi,
    kTextTelnet, kBackTelnet, kTextLineNums, kBackLineNums,
    kIcmpTimeout, kIcmpTtl, kIcmpDataSize, kIcmpTos, kIcmpDontFragment, kIcmpMaxHops,
};

constexpr std::array kCreationDefaults{
    kWho,
    SettingKey{kShowFilterCombos.section, kShowFilterCombos.key, "0"},
    SettingKey{kShowCmndButtons.section, kShowCmndButtons.key, "1"},
    SettingKey{kCmndsOnRight.section, kCmndsOnRight.key, "1"},
    SettingKey{kReduceHeight.section, kReduceHeight.key, "0"},
    SettingKey{kCollectS918.section, kCollectS918.key, "0"},
};

}  // namespace

std::span<const SettingKey> AllSettingKeys() { return kAllKeys; }

std::span<const SettingKey> CreationDefaults() { return kCreationDefaults; }

}  // namespace quenderlink
