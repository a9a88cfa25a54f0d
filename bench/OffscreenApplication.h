#pragma once

#include <QApplication>

namespace quenderlink::bench {

// The one application object of the benchmarks that need widgets, on Qt's
// offscreen platform so that no screen is needed.
inline void EnsureOffscreenApplication() {
  static int argc = 1;
  static char name[] = "quenderlink_bench";
  static char* argv[] = {name, nullptr};
  if (QApplication::instance()) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  new QApplication(argc, argv);
}

}  // namespace quenderlink::bench
