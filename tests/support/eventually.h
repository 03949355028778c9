// Waiting in a test for what another thread (the window thread) does: polls until a condition holds.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

// Polls until `done` holds; FALSE after five seconds.
inline bool Eventually(const std::function<bool()> &done) {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
