#pragma once

#include <string>

namespace quenderlink {

// A reply time in tenths of a second as every list, dialog and log shows it: "2.3".
std::string TenthsText(int tenths);

// "2.3 sec": a site's last ping time.
std::string SecondsText(int tenths);

// A ping's success in the ping sites and range scan lists: "SUCCESS:  2.3 sec".
std::string PingSuccessText(int tenths);

}  // namespace quenderlink
