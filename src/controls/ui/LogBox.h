#pragma once

#include <QPlainTextEdit>

#include <string>
#include <utility>
#include <vector>

#include "core/LogClass.h"

namespace quenderlink {

// An operation's log: read-only, each text appended at the end in its class's
// colour and scrolled into view. The system's texts carry their own line ends.
class LogBox : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit LogBox(QWidget* parent = nullptr);

  void Append(LogClass logClass, const std::string& text);
  // Many texts in one edit: the text is laid out and scrolled once.
  void AppendAll(const std::vector<std::pair<LogClass, std::string>>& texts);
  // A LogSink writing into this box; valid as long as the box.
  LogSink Sink();
};

}  // namespace quenderlink
