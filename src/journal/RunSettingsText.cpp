#include "journal/RunSettingsText.h"

#include "core/Printf.h"

namespace quenderlink {

std::string PingSettingsText(const RuntimeParams& params) {
  return Printf("Max Wait Response=%d; Max Resend=%d; Max in Parallel=%d", params.pingMaxWaitResponse,
                params.pingMaxResend, params.pingMaxInParallel);
}

std::string UploadSettingsText(const RuntimeParams& params) {
  return PingSettingsText(params) + Printf("; Min Wait RAMLoader=%d; Min Wait Sys Reboot=%d; Upload Max in Parallel=%d",
                                           params.uploadMinWaitRamLoader, params.uploadMinWaitSysReboot,
                                           params.uploadMaxInParallel);
}

std::string IcmpSettingsText(const IcmpParams& params, std::string_view method) {
  return Printf("Method=%.*s; Timeout=%u; TTL=%d; Data Size=%d", static_cast<int>(method.size()), method.data(),
                params.timeoutMs, params.ttl, params.dataSize);
}

}  // namespace quenderlink
