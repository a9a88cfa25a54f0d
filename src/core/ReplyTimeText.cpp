#include "core/ReplyTimeText.h"

#include "core/Printf.h"

namespace quenderlink {

std::string TenthsText(int tenths) { return Printf("%d.%d", tenths / 10, tenths % 10); }

std::string SecondsText(int tenths) { return TenthsText(tenths) + " sec"; }

std::string PingSuccessText(int tenths) { return "SUCCESS:  " + SecondsText(tenths); }

}  // namespace quenderlink
