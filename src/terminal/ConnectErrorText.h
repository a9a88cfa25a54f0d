#pragma once

#include <string>

namespace quenderlink {

// What the terminal says of a connect that failed, from the system's error
// number: the wording maintainers know for the common errors, else
// "OnConnect error: %d" with the error's conventional socket error code.
std::string ConnectErrorText(int systemError);

}  // namespace quenderlink
