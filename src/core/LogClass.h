#pragma once

#include <functional>
#include <string>

namespace quenderlink {

// The colour class of a line in an operation's log box.
enum class LogClass { Progress, Response, Caution, Error, Success };

// Where an operation writes its log lines.
using LogSink = std::function<void(LogClass, const std::string&)>;

}  // namespace quenderlink
