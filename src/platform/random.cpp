#include "platform/random.h"

namespace orvanel {

double SystemRandom::Next() {
    // 53 random bits: uniform in [0, 1), never 1.
    std::uniform_real_distribution<double> dist(0.0, 1.0);
    double r = dist(engine_);
    return r >= 1.0 ? 0.0 : r;
}

} // namespace orvanel
