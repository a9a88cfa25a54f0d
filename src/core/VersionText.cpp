#include "core/VersionText.h"

#include "core/Printf.h"

namespace quenderlink {

std::string VersionText(int major, int minor, int hiddenBuild, bool showHidden) {
  return showHidden ? Printf("%d.%d-%d", major, minor, hiddenBuild) : Printf("%d.%d", major, minor);
}

}  // namespace quenderlink
