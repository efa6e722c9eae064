// Benchmarks measure the program's own work: the simulated analyzer of the given model
// (0 = HP 4194A, 1 = HP 4294A) at gpib0,17, with every wait on the virtual clock.
#pragma once

#include "core/Clock.h"
#include "instrument/sicl/SiclConfig.h"
#include "instrument/simulated/SimBus.h"

#include <QString>

namespace ymt::bench {

inline void UseSimulatedAnalyzer(int model) {
    ymt::clock::setVirtual(true);
    ymt::sim::resetBus();
    ymt::sicl::setConfigText(
        QStringLiteral("[gpib0,17]\ndevice = %1\n")
            .arg(model == 0 ? QStringLiteral("HP4194A") : QStringLiteral("HP4294A")));
}

} // namespace ymt::bench
