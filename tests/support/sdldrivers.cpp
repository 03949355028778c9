// Every test program starts on SDL's dummy video and audio drivers unless the environment or the test
// itself asks for another; set before any test runs, so no test can reach a real display or sound card.
#include <cstdlib>

namespace {
struct DummyDrivers {
    DummyDrivers() {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
    }
} dummyDrivers;
}  // namespace
