// Two machines in lockstep over ENet, both in this process on 127.0.0.1: the handshake and its refusals,
// the game's steps through a relay that delays, reorders and drops, the hash check, and hostile packets.
// Linked with the network and rules libraries only.
#include <gtest/gtest.h>

#include <enet/enet.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <random>

#include "game/rules/Replay.h"
#include "network/Network.h"
#include "support/relay.h"

using namespace Network;
using namespace SnakeProcedures;

namespace {

const VersionsRec V1 = OwnVersions(1);

uint32_t Ms() {
    using namespace std::chrono;
    return (uint32_t)duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Serves both sides until done() or `ms` passed; TRUE when done() came.
template <class F> bool Until(Session *a, Session *b, uint32_t ms, F done) {
    for (uint32_t begin = Ms(); Ms() - begin < ms;) {
        if (done()) return true;
        if (a) Service(a, 1);
        if (b) Service(b, 1);
    }
    return done();
}

StartRec AStart(uint8_t delay) {
    StartRec st{};
    std::memset(st.level, '-', sizeof st.level);
    std::memset(st.level[0], 'M', 40);
    std::memset(&st.level[5][2], 'S', 4);
    std::memset(&st.level[20][2], 'T', 4);
    st.mode = 1;
    st.diff = 2;
    st.seed = 1234;
    st.delay = delay;
    return st;
}

// A host on a free 127.0.0.1 port and a joiner, through `relay` when given, both PLAYING.
struct Pair {
    Session *host = nullptr, *join = nullptr;
    std::unique_ptr<Relay> relay;
    explicit Pair(bool relayed, uint8_t delay = 2, VersionsRec joinVersions = V1) {
        std::string problem;
        host = Host(0, V1, problem, "127.0.0.1");
        uint16_t port = Port(host);
        if (relayed) {
            relay.reset(new Relay(port));
            port = relay->port();
        }
        join = Join("127.0.0.1", port, joinVersions, problem);
        Until(host, join, 3000, [&] { return Status(host) != WAITING; });
        if (Status(host) == READY) SendStart(host, AStart(delay));
        Until(host, join, 3000, [&] { return Status(join) != WAITING; });
    }
    ~Pair() {
        Close(join);
        Close(host);
    }
};

TEST(NetworkSession, HandshakeMeasuresTheRoundTripAndCarriesTheStart) {
    Pair p(true, 3);
    p.relay->minMs = p.relay->maxMs = 40;  // the pings' round trip: 80 ms
    ASSERT_EQ(Status(p.host), PLAYING);
    ASSERT_EQ(Status(p.join), PLAYING) << Problem(p.join);
    EXPECT_EQ(OwnPlayer(p.host), 1u);
    EXPECT_EQ(OwnPlayer(p.join), 2u);
    const StartRec sent = AStart(3);
    EXPECT_EQ(std::memcmp(Start(p.join).level, sent.level, sizeof sent.level), 0);
    EXPECT_EQ(Start(p.join).seed, 1234u);
    EXPECT_EQ(Start(p.join).delay, 3);
    EXPECT_EQ(DelayFor(0, 150), 0u);
    EXPECT_EQ(DelayFor(150, 150), 2u) << "a round trip of one step needs no stall";
    EXPECT_EQ(DelayFor(5000, 40), MAX_DELAY);
}

TEST(NetworkSession, RefusalsNameTheirReason) {
    VersionsRec other = V1;
    std::strcpy(other.program, "9.9.9");
    Pair versions(false, 2, other);
    EXPECT_EQ(Status(versions.host), VERSIONS);
    EXPECT_EQ(Status(versions.join), VERSIONS);
    for (Session *s : {versions.host, versions.join}) {
        EXPECT_NE(Problem(s).find(V1.program), std::string::npos) << Problem(s);
        EXPECT_NE(Problem(s).find("9.9.9"), std::string::npos) << Problem(s);
    }

    Pair game(false);
    std::string problem;
    Session *third = Join("127.0.0.1", Port(game.host), V1, problem);
    Until(game.host, third, 3000, [&] { return Status(third) != WAITING; });
    EXPECT_EQ(Status(third), BUSY);
    EXPECT_EQ(Status(game.host), PLAYING) << "a third player leaves the game as it is";
    Close(third);

    Close(game.join);
    game.join = nullptr;
    Until(game.host, nullptr, 3000, [&] { return Status(game.host) != PLAYING; });
    EXPECT_EQ(Status(game.host), LEFT);
}

TEST(NetworkSession, SilenceEndsAGameAndNobodyAnsweringEndsAJoin) {
    Pair p(true);
    ASSERT_EQ(Status(p.join), PLAYING);
    p.relay->cut = true;
    Until(p.host, p.join, SILENCE_TIMEOUT_MS + 3000, [&] { return Status(p.host) == LOST && Status(p.join) == LOST; });
    EXPECT_EQ(Status(p.host), LOST);
    EXPECT_EQ(Status(p.join), LOST);

    Relay nobody(1);  // answers nothing: everything is cut
    nobody.cut = true;
    std::string problem;
    Session *join = Join("127.0.0.1", nobody.port(), V1, problem);
    Until(nullptr, join, JOIN_TIMEOUT_MS + 2000, [&] { return Status(join) != WAITING; });
    EXPECT_EQ(Status(join), NO_ANSWER);
    Close(join);
}

TEST(NetworkSession, DifferentHashesEndTheGameOnBothSides) {
    Pair p(false, 0);
    for (uint32_t k = 0; k < HASH_STEPS; k++) {
        for (Session *s : {p.host, p.join}) PutWord(s, 0);
        uint16_t words[3];
        ASSERT_TRUE(Until(p.host, p.join, 2000, [&] { return StepReady(p.host, words) && StepReady(p.join, words); }));
        StepDone(p.host, 7);
        StepDone(p.join, k + 1 == HASH_STEPS ? 8 : 7);
    }
    Until(p.host, p.join, 2000, [&] { return Status(p.host) == DIFFERENT && Status(p.join) == DIFFERENT; });
    EXPECT_EQ(Status(p.host), DIFFERENT);
    EXPECT_EQ(Status(p.join), DIFFERENT);
}

// One machine of a lockstep game: its state, and the games it began (a crash begins the next).
struct Machine {
    Session *s;
    ToestandRec t;
    uint32_t games = 0;
    bool put = false;
};

void Begin(Machine &m, const StartRec &st) {
    SpelStartRec start{};
    std::memcpy(start.level.rijen, st.level, sizeof st.level);
    start.mode = ModeSettings((GameModeEn)st.mode);
    start.diff = st.diff;
    start.zaad = st.seed + m.games++;
    ASSERT_TRUE(BeginSpel(m.t, start, nullptr));
}

class Lockstep : public testing::TestWithParam<GameModeEn> {};

// Random input on both machines (turns, held keys, pauses) through a relay that delays each packet by 0 to
// 200 ms (so they overtake each other) and drops some: after 2,000 steps both games are the same.
TEST_P(Lockstep, RandomInputThroughABadLineEndsInTheSameStateOnBoth) {
    Pair p(true, (uint8_t)MAX_DELAY);
    p.relay->maxMs = 200;
    p.relay->loss = GetParam() == MODE_SNAKE_VS_SNAKE ? 0.10 : 0.03;
    ASSERT_EQ(Status(p.join), PLAYING);
    StartRec st = Start(p.join);
    st.mode = (uint8_t)GetParam();
    static Machine a, b;
    a = Machine{p.host, {}, 0, false};
    b = Machine{p.join, {}, 0, false};
    std::mt19937 r(GetParam());
    for (Machine *m : {&a, &b}) Begin(*m, st);
    const uint32_t steps = 2000;
    for (uint32_t begin = Ms(); (NextStep(a.s) < steps || NextStep(b.s) < steps) && Ms() - begin < 100000;) {
        for (Machine *m : {&a, &b}) {
            Service(m->s, 1);
            if (NextStep(m->s) >= steps) continue;
            if (!m->put) {
                InvoerRec in{};
                uint32_t p = OwnPlayer(m->s);
                in.beurten[p].aantal = r() % 3;
                for (PijlEn &b : in.beurten[p].beurt) b = (PijlEn)(r() % 4);
                in.vast[p] = r() % 2;
                in.vastRichting[p] = (PijlEn)(r() % 4);
                uint32_t w = (PakInvoer(in, false) >> (9 * (p - 1))) | (r() % 50 == 0 ? WORD_PAUSE : 0);
                PutWord(m->s, (uint16_t)w);
                m->put = true;
            }
            uint16_t words[3];
            if (!StepReady(m->s, words)) continue;
            InvoerRec invoer;
            bool pauze;
            ASSERT_TRUE(PakUit((words[1] & 0x1FFu) | (uint32_t)(words[2] & 0x1FFu) << 9, invoer, pauze));
            GameEndRec end;
            if (!Stap(m->t, invoer, end, nullptr)) Begin(*m, st);
            StepDone(m->s, ToestandHash(m->t));
            m->put = false;
        }
    }
    EXPECT_EQ(NextStep(a.s), steps);
    EXPECT_EQ(NextStep(b.s), steps);
    EXPECT_EQ(Status(a.s), PLAYING) << Problem(a.s);
    EXPECT_EQ(Status(b.s), PLAYING) << Problem(b.s);
    EXPECT_EQ(a.games, b.games);
    EXPECT_EQ(ToestandHash(a.t), ToestandHash(b.t));
    EXPECT_GT(p.relay->dropped, 0u);
}

INSTANTIATE_TEST_SUITE_P(EveryModeOffered, Lockstep, testing::Values(MODE_SNAKE_VS_SNAKE, MODE_SNAKE_VS_KNURF));

// Packets a hostile peer sends: random bytes of any size, and every kind with sizes and values out of line
// (repeated, contradicting and far-future steps, words that are none).
std::vector<uint8_t> Hostile(std::mt19937 &r, uint32_t step) {
    std::vector<uint8_t> b(r() % 2 ? r() % 40 : r() % 1500);
    for (auto &x : b) x = (uint8_t)r();
    if (!b.empty() && r() % 2) b[0] = (uint8_t)(r() % (K_COUNT + 1));
    if (b.size() == LEAVE_SIZE && b[0] == K_LEAVE) b[0] = K_COUNT;  // a true leave is the peer's right
    if (r() % 3 == 0) {
        uint16_t words[MAX_WORDS];
        for (auto &w : words) w = (uint16_t)(r() % 4 ? r() % 1024 : r());
        uint32_t first = r() % 2 ? step + r() % 8 : r();
        b.resize(INPUT_HEADER + 2 * MAX_WORDS);
        b.resize(EncodeInput(r() % 2 ? step : r(), first, words, 1 + r() % MAX_WORDS, b.data()));
    }
    return b;
}

// A joiner that does the handshake by hand and then sends what it likes.
struct HostileJoiner {
    ENetHost *h = enet_host_create(nullptr, 1, 2, 0, 0);
    ENetPeer *peer = nullptr;
    explicit HostileJoiner(uint16_t port) {
        ENetAddress a{};
        enet_address_set_host_ip(&a, "127.0.0.1");
        a.port = port;
        peer = enet_host_connect(h, &a, 2, CONNECT_MAGIC);
    }
    ~HostileJoiner() { enet_host_destroy(h); }
    void Send(const uint8_t *b, size_t n, bool reliable) {
        ENetPacket *p = enet_packet_create(b, n, reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
        if (enet_peer_send(peer, reliable ? 0 : 1, p) != 0) enet_packet_destroy(p);
    }
    // Answers the hello and the pings as a joiner would.
    void Serve() {
        ENetEvent e;
        while (enet_host_service(h, &e, 0) > 0) {
            if (e.type != ENET_EVENT_TYPE_RECEIVE) continue;
            std::vector<uint8_t> b(e.packet->data, e.packet->data + e.packet->dataLength);
            enet_packet_destroy(e.packet);
            if (b[0] == K_HELLO) {
                uint8_t hello[HELLO_SIZE];
                EncodeHello(V1, hello);
                Send(hello, HELLO_SIZE, true);
            } else if (b[0] == K_PING) {
                b[0] = K_PONG;
                Send(b.data(), b.size(), false);
            }
        }
    }
};

TEST(NetworkSession, HostilePacketsAreCountedAndDroppedAndAFloodEndsTheGame) {
    std::mt19937 r(24);
    uint32_t sent = 0;
    int raw = socket(AF_INET, SOCK_DGRAM, 0);
    while (sent < 10000) {
        std::string problem;
        Session *host = Host(0, V1, problem, "127.0.0.1");
        HostileJoiner j(Port(host));
        for (uint32_t begin = Ms(); Status(host) != PLAYING && Ms() - begin < 3000;) {
            if (Status(host) == READY) SendStart(host, AStart(2));
            Service(host, 1);
            j.Serve();
        }
        ASSERT_EQ(Status(host), PLAYING);
        // Below the flood's bar each packet is dropped and counted, and the game waits as it was; then a
        // flood ends it. Bytes straight at the port go to ENet, which drops what is no packet of its own.
        const uint32_t below = 90, flood = 500;
        for (uint32_t k = 0; k < below + flood; k++, sent++) {
            std::vector<uint8_t> b = Hostile(r, NextStep(host));
            j.Send(b.data(), b.size(), k % 2);
            sockaddr_in a{AF_INET, htons(Port(host)), {htonl(INADDR_LOOPBACK)}, {}};
            if (k % 10 == 0) sendto(raw, b.data(), b.size(), 0, (sockaddr *)&a, sizeof a);
            j.Serve();
            Service(host, 0);
            if (k + 1 == below) {
                Service(host, 20);
                EXPECT_EQ(Status(host), PLAYING) << Problem(host);
                EXPECT_GE(Counts(host).badPackets, below * 3 / 4);
                EXPECT_EQ(NextStep(host), 0u);
            }
        }
        for (uint32_t begin = Ms(); Status(host) == PLAYING && Ms() - begin < 2000;) Service(host, 1);
        EXPECT_EQ(Status(host), FLOOD);
        Close(host);
    }
    close(raw);
}

}  // namespace
