#pragma once

#include <QTemporaryDir>

#include <memory>

#include "unitsim/UnitSimulator.h"

namespace quenderlink::unitsim {

// The demonstration: a fresh temporary home holding the demo fleet's site list
// and sample programs, and the fleet's units answering on loopback, both alive
// as long as the session.
struct DemoSession {
  QTemporaryDir home;
  std::unique_ptr<UnitSimulator> units;
};

// Starts one for the program running now (its sample programs are looked for
// beside it); nullptr, said on stderr, when the home or the units cannot be made.
std::unique_ptr<DemoSession> StartDemoSession();

}  // namespace quenderlink::unitsim
