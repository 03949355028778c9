// A UDP relay on 127.0.0.1 between one joiner and one host, for the network tests and the bench: each
// datagram is dropped with probability `loss` or passed on after a delay drawn from minMs..maxMs (so
// datagrams overtake each other when the range is wide). `cut` drops everything from then on. It relays
// only between 127.0.0.1 ports and stops with the object.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <queue>
#include <random>
#include <thread>
#include <vector>

class Relay {
public:
    std::atomic<uint32_t> minMs{0}, maxMs{0};
    std::atomic<double> loss{0.0};
    std::atomic<bool> cut{false};
    std::atomic<uint64_t> passed{0}, dropped{0};

    // Listens on a free 127.0.0.1 port (port()) and relays to 127.0.0.1:hostPort.
    explicit Relay(uint16_t hostPort, uint32_t seed = 1) : random_(seed) {
        outer_ = Bound();
        inner_ = Bound();
        host_ = Local(hostPort);
        thread_ = std::thread([this] { Run(); });
    }
    ~Relay() {
        stop_ = true;
        thread_.join();
        close(outer_);
        close(inner_);
    }
    uint16_t port() const {
        sockaddr_in a{};
        socklen_t n = sizeof a;
        getsockname(outer_, (sockaddr *)&a, &n);
        return ntohs(a.sin_port);
    }

private:
    struct Datagram {
        std::chrono::steady_clock::time_point due;
        bool toHost;
        std::vector<uint8_t> bytes;
        bool operator<(const Datagram &o) const { return due > o.due; }
    };
    static sockaddr_in Local(uint16_t port) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return a;
    }
    static int Bound() {
        int fd = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a = Local(0);
        bind(fd, (sockaddr *)&a, sizeof a);
        return fd;
    }
    void Take(int fd, bool toHost) {
        uint8_t buf[4096];
        sockaddr_in from{};
        socklen_t n = sizeof from;
        ssize_t got = recvfrom(fd, buf, sizeof buf, MSG_DONTWAIT, (sockaddr *)&from, &n);
        if (got < 0) return;
        if (toHost) client_ = from, haveClient_ = true;
        std::uniform_real_distribution<double> u(0.0, 1.0);
        if (cut || u(random_) < loss) {
            dropped++;
            return;
        }
        uint32_t lo = minMs, hi = maxMs;
        if (hi < lo) hi = lo;
        uint32_t ms = std::uniform_int_distribution<uint32_t>(lo, hi)(random_);
        queue_.push({std::chrono::steady_clock::now() + std::chrono::milliseconds(ms), toHost,
                     std::vector<uint8_t>(buf, buf + got)});
    }
    void Run() {
        while (!stop_) {
            auto now = std::chrono::steady_clock::now();
            while (!queue_.empty() && queue_.top().due <= now) {
                const Datagram &d = queue_.top();
                if (d.toHost)
                    sendto(inner_, d.bytes.data(), d.bytes.size(), 0, (sockaddr *)&host_, sizeof host_);
                else if (haveClient_)
                    sendto(outer_, d.bytes.data(), d.bytes.size(), 0, (sockaddr *)&client_, sizeof client_);
                passed++;
                queue_.pop();
            }
            pollfd fds[2] = {{outer_, POLLIN, 0}, {inner_, POLLIN, 0}};
            poll(fds, 2, 1);
            if (fds[0].revents & POLLIN) Take(outer_, true);
            if (fds[1].revents & POLLIN) Take(inner_, false);
        }
    }
    int outer_, inner_;
    sockaddr_in host_{}, client_{};
    bool haveClient_ = false;
    std::mt19937 random_;
    std::priority_queue<Datagram> queue_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
