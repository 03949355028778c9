// The game's waits made instant for a test: every wait is counted and its length recorded, and the test's
// script runs at each one in its place. A screen that never ends fails the test instead of hanging it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

#include "wimdows/Wimdows.h"

namespace Waits {

struct Script {
    int count = 0;                                   // waits so far; the first is wait 1
    std::vector<uint32_t> lengths;                   // every wait's length in milliseconds, in order
    std::function<void(int wait, uint32_t ms)> run;  // the test's script, called at each wait
    int limit = 20000;                               // more waits than this: a screen did not end
};

inline Script &Current() {
    static Script script;
    return script;
}

inline void Wait(uint32_t ms) {
    Script &s = Current();
    s.count++;
    s.lengths.push_back(ms);
    if (s.run) s.run(s.count, ms);
    if (s.count > s.limit) {
        ADD_FAILURE() << "still waiting after " << s.limit << " waits: a screen did not end";
        std::exit(1);
    }
}

// Every wait from now on goes through a fresh script (no steps yet) until Stop.
inline Script &Start(int limit = 20000) {
    Current() = Script();
    Current().limit = limit;
    Wimdows::SetWaitProc(Wait);
    return Current();
}

inline void Stop() {
    Wimdows::SetWaitProc(nullptr);
    Current().run = nullptr;
}

}  // namespace Waits
