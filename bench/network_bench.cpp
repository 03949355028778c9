// network_bench: what a network game costs on the wire and how often a step has to wait, on this machine.
//
// Two sessions in one process, the joiner's packets through a relay on 127.0.0.1 that delays each one by
// half the round trip (and drops some); each side steps at the medium pace (150 ms), sends a random word per
// step and waits for the other's, as the game does. The input delay is the one the game would choose from
// the round trip the handshake measured.
//
// Prints per round trip and loss: the delay chosen, the steps played, bytes per second each way per player
// (ENet's UDP payload, headers included), steps that waited more than 20 ms and more than 0.3 s (the sign
// "waiting for the other player") per minute.
//
//   cmake --build build --target network_bench && build/bench/network_bench [seconds per row]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "network/Network.h"
#include "tests/support/relay.h"

using namespace Network;
using Clock = std::chrono::steady_clock;

namespace {

const uint32_t PACE_MS = 150;

double Since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

// One side's timeline: when its pace wait ends, whether its word for the step is out, how long steps waited.
struct Side {
    Session *s;
    Clock::time_point due;
    bool put = false;
    uint32_t steps = 0, waits = 0, signs = 0;
};

void Row(uint32_t rtt, double loss, double seconds) {
    std::string problem;
    Session *host = Host(0, OwnVersions(1), problem, "127.0.0.1");
    Relay relay(Port(host), rtt + 7);
    relay.minMs = relay.maxMs = rtt / 2;
    relay.loss = loss;
    Session *join = Join("127.0.0.1", relay.port(), OwnVersions(1), problem);
    for (auto begin = Clock::now(); Status(join) != PLAYING && Since(begin) < 10;) {
        if (Status(host) == READY) {
            StartRec st{};
            for (auto &row : st.level)
                for (char &c : row) c = '-';
            st.diff = 2;
            st.mode = 1;
            st.delay = (uint8_t)DelayFor(RoundTrip(host), PACE_MS);
            SendStart(host, st);
        }
        Service(host, 1);
        Service(join, 1);
    }
    if (Status(join) != PLAYING) {
        std::printf("%5u ms %4.0f %%: no game (%s)\n", rtt, loss * 100, Problem(join).c_str());
        Close(join);
        Close(host);
        return;
    }
    std::mt19937 r(rtt);
    Side sides[2] = {{host, Clock::now()}, {join, Clock::now()}};
    CountsRec before[2] = {Counts(host), Counts(join)};
    auto begin = Clock::now();
    while (Since(begin) < seconds && Status(host) == PLAYING && Status(join) == PLAYING) {
        for (Side &d : sides) {
            Service(d.s, 0);
            if (Clock::now() < d.due) continue;
            if (!d.put) {
                PutWord(d.s, (uint16_t)(r() % 3 | (r() % 4) << 2));
                d.put = true;
            }
            uint16_t words[3];
            if (!StepReady(d.s, words)) continue;
            double waited = Since(d.due);
            d.waits += waited > 0.020;
            d.signs += waited > 0.300;
            StepDone(d.s, 0);
            d.steps++;
            d.put = false;
            d.due = Clock::now() + std::chrono::milliseconds(PACE_MS);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    double t = Since(begin), minutes = t / 60;
    CountsRec h = Counts(host), j = Counts(join);
    std::printf("%5u ms %4.0f %%   delay %2u   steps %4u   host sends %5.0f B/s, joiner sends %5.0f B/s   "
                "waits >20 ms: %5.1f / %5.1f per min   >0.3 s: %4.1f / %4.1f per min\n",
                rtt, loss * 100, (unsigned)Start(join).delay, sides[0].steps, (h.bytesSent - before[0].bytesSent) / t,
                (j.bytesSent - before[1].bytesSent) / t, sides[0].waits / minutes, sides[1].waits / minutes,
                sides[0].signs / minutes, sides[1].signs / minutes);
    Close(join);
    Close(host);
}

}  // namespace

int main(int argc, char **argv) {
    double seconds = argc > 1 ? std::atof(argv[1]) : 20;
    std::printf("network game at a %u ms step, %.0f s per row (host / joiner)\n", PACE_MS, seconds);
    for (double loss : {0.0, 0.05})
        for (uint32_t rtt : {0u, 50u, 100u, 200u}) Row(rtt, loss, seconds);
    return 0;
}
