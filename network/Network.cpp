// Network: the session (ENet host, the one peer, the handshake, the round trip), the packets and their
// checks, and the lockstep of the players' words.
#include "network/Network.h"

#include <enet/enet.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace Network {

// ---- types ---------------------------------------------------------------------------------------------

// Why a side ended the connection, in ENet's disconnect data.
enum ReasonEn : uint32_t { R_NONE = 0, R_LEAVE = 1, R_BUSY = 2, R_VERSIONS = 3, R_FLOOD = 4, R_DIFFERENT = 5 };

// The connect data that marks our program (anything else is refused): "KWBL".
static const uint32_t MAGIC = CONNECT_MAGIC;
// Steps kept per side; more than a packet can reach ahead of or behind the current step.
static const uint32_t RING = 2 * STEP_WINDOW;
static const uint32_t HASH_RING = 16;
// Round trip: pings sent this often, this many answers wanted, at most this many pings.
static const uint32_t PING_EVERY_MS = 25, PONGS_WANTED = 5, MAX_PINGS = 40;
// Words not yet confirmed by the other side are sent again this often while this side waits (thrice that else).
static const uint32_t RESEND_MS = 30;
// A flood: more packets than this in one second (a game sends well under a hundred), or more bad ones.
static const uint32_t FLOOD_PACKETS = 1500, FLOOD_BAD = 100;
// ENet: channel 0 reliable and ordered (all but words), channel 1 the words (unsequenced, sent again).
static const uint8_t CH_RELIABLE = 0, CH_WORDS = 1;
static const size_t MAX_PACKET = 2048;

struct Session {
    ENetHost *host = nullptr;
    ENetPeer *peer = nullptr;
    bool isHost = false;
    VersionsRec own{};
    StatusEn status = WAITING;
    std::string problem;
    uint32_t openedAt = 0;
    bool helloCame = false;
    // the round trip (host)
    uint32_t pingsSent = 0, lastPing = 0, pongs = 0, rtt = 0;
    uint32_t samples[PONGS_WANTED] = {};
    StartRec start{};
    // the lockstep: words of both sides by step, each slot marked with its step + 1
    uint32_t player = 0, delay = 0, step = 0;
    uint16_t mine[RING] = {}, theirs[RING] = {};
    uint32_t theirStep[RING] = {};
    uint32_t mineNext = 0;   // my words < mineNext are kept
    uint32_t theirNext = 0;  // their words < theirNext are all here
    uint32_t peerNext = 0;   // they have my words < peerNext
    uint32_t lastSend = 0;
    uint64_t myHash[HASH_RING] = {}, theirHash[HASH_RING] = {};
    uint32_t myHashStep[HASH_RING] = {}, theirHashStep[HASH_RING] = {};
    uint32_t goStep = 0;  // the step + 1 of the last pause the other side ended
    // counting
    CountsRec counts{};
    uint32_t windowStart = 0, windowPackets = 0, windowBad = 0;
};

// ---- internal --------------------------------------------------------------------------------------------

static uint32_t NowMs() {
    using namespace std::chrono;
    return (uint32_t)duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

static void Put32(uint8_t *p, uint32_t v) {
    for (int i = 0; i < 4; i++) p[i] = (uint8_t)(v >> (8 * i));
}
static void Put64(uint8_t *p, uint64_t v) {
    for (int i = 0; i < 8; i++) p[i] = (uint8_t)(v >> (8 * i));
}
static uint32_t Get32(const uint8_t *p) {
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}
static uint64_t Get64(const uint8_t *p) { return (uint64_t)Get32(p) | (uint64_t)Get32(p + 4) << 32; }

static bool Ended(StatusEn s) { return s != WAITING && s != READY && s != PLAYING; }

static void Send(Session *s, const uint8_t *data, uint32_t size, bool reliable) {
    if (!s->peer) return;
    ENetPacket *p = enet_packet_create(data, size, reliable ? ENET_PACKET_FLAG_RELIABLE : ENET_PACKET_FLAG_UNSEQUENCED);
    if (p && enet_peer_send(s->peer, reliable ? CH_RELIABLE : CH_WORDS, p) != 0) enet_packet_destroy(p);
}

// Ends the session with status `status` and the line `problem`, telling the other side why.
static void End(Session *s, StatusEn status, const std::string &problem, ReasonEn reason) {
    if (Ended(s->status)) return;
    s->status = status;
    s->problem = problem;
    if (s->peer) {
        enet_peer_disconnect_later(s->peer, reason);
        enet_host_flush(s->host);
    }
}

static void SendHello(Session *s) {
    uint8_t b[HELLO_SIZE];
    EncodeHello(s->own, b);
    Send(s, b, HELLO_SIZE, true);
}

static std::string VersionText(const char *program, uint32_t protocol, uint32_t rules) {
    char line[96];
    std::snprintf(line, sizeof line, "Kwibbel %s (rules %u, network %u)", program, rules, protocol);
    return line;
}

// The other side's hello: FALSE for no hello at all; a hello of other versions ends the session.
static bool TakeHello(Session *s, const uint8_t *b, uint32_t size) {
    if (size != HELLO_SIZE || Get32(b + 1) != MAGIC || s->helloCame) return false;
    char program[16];
    std::memcpy(program, b + 13, sizeof program);
    if (program[15] != 0) return false;
    for (const char *c = program; *c; c++)
        if (*c < 0x20 || *c > 0x7E) return false;
    s->helloCame = true;
    uint32_t protocol = Get32(b + 5), rules = Get32(b + 9);
    if (protocol != PROTOCOL_VERSION || rules != s->own.rules || std::strcmp(program, s->own.program) != 0) {
        End(s, VERSIONS,
            "This machine runs " + VersionText(s->own.program, PROTOCOL_VERSION, s->own.rules) + ", the other " +
                VersionText(program, protocol, rules) + ": both need the same version.",
            R_VERSIONS);
        return true;
    }
    return true;
}

static void SendPing(Session *s) {
    uint8_t b[PING_SIZE] = {K_PING};
    Put32(b + 1, NowMs());
    Send(s, b, PING_SIZE, false);
    s->pingsSent++;
    s->lastPing = NowMs();
}

// The host has measured enough: the round trip is the middle of the answers' times.
static void Measured(Session *s) {
    std::sort(s->samples, s->samples + s->pongs);
    s->rtt = s->pongs ? s->samples[s->pongs / 2] : 200;
    s->status = READY;
}

// Both sides begin the lockstep: the words of the first `delay` steps are empty on both.
static void BeginSteps(Session *s, uint32_t player, uint32_t delay) {
    s->player = player;
    s->delay = delay;
    s->step = 0;
    for (uint32_t k = 0; k < delay; k++) {
        s->mine[k] = 0;
        s->theirs[k] = 0;
        s->theirStep[k] = k + 1;
    }
    s->mineNext = s->theirNext = s->peerNext = delay;
    s->status = PLAYING;
}

static void SendWords(Session *s) {
    uint32_t from = std::max(s->peerNext, s->mineNext > MAX_WORDS ? s->mineNext - MAX_WORDS : 0);
    uint32_t count = s->mineNext > from ? s->mineNext - from : 0;
    uint16_t words[MAX_WORDS];
    for (uint32_t k = 0; k < count; k++) words[k] = s->mine[(from + k) % RING];
    uint8_t b[INPUT_HEADER + 2 * MAX_WORDS];
    uint32_t size = EncodeInput(s->theirNext, from, words, count, b);
    Send(s, b, size, false);
    s->lastSend = NowMs();
}

// Their words for steps first..: FALSE for a packet that cannot be theirs (a step outside the window, a
// word that is none, a word that differs from the one they sent for that step before).
static bool TakeWords(Session *s, const uint8_t *b, uint32_t size) {
    if (size < INPUT_HEADER) return false;
    uint32_t next = Get32(b + 1), first = Get32(b + 5), count = b[9];
    if (count > MAX_WORDS || size != INPUT_HEADER + 2 * count) return false;
    if (next > s->mineNext || (uint64_t)first + count > (uint64_t)s->step + STEP_WINDOW) return false;
    for (uint32_t k = 0; k < count; k++) {
        uint32_t w = (uint32_t)b[10 + 2 * k] | (uint32_t)b[11 + 2 * k] << 8;
        if (!IsWord(w)) return false;
        uint32_t st = first + k, i = st % RING;
        if (st + STEP_WINDOW < s->step) continue;  // long played
        if (s->theirStep[i] == st + 1 && s->theirs[i] != w) return false;
    }
    for (uint32_t k = 0; k < count; k++) {
        uint32_t st = first + k, i = st % RING;
        if (st + STEP_WINDOW < s->step) continue;
        s->theirs[i] = (uint16_t)(b[10 + 2 * k] | b[11 + 2 * k] << 8);
        s->theirStep[i] = st + 1;
    }
    while (s->theirStep[s->theirNext % RING] == s->theirNext + 1) s->theirNext++;
    s->peerNext = std::max(s->peerNext, next);
    return true;
}

static void CompareHash(Session *s, uint32_t i) {
    if (s->myHashStep[i] != 0 && s->myHashStep[i] == s->theirHashStep[i] && s->myHash[i] != s->theirHash[i])
        End(s, DIFFERENT,
            "The two games went apart after step " + std::to_string(s->myHashStep[i]) + ": both keep the replay.",
            R_DIFFERENT);
}

static bool TakeHash(Session *s, const uint8_t *b, uint32_t size) {
    if (size != HASH_SIZE) return false;
    uint32_t st = Get32(b + 1);
    if (st == 0 || st % HASH_STEPS != 0 || st > s->step + STEP_WINDOW) return false;
    // A hash that came late (sent again and again on a bad line) is of a step no longer kept.
    if (st + HASH_STEPS * (HASH_RING - 1) <= s->step) return true;
    uint32_t i = (st / HASH_STEPS) % HASH_RING;
    s->theirHashStep[i] = st;
    s->theirHash[i] = Get64(b + 5);
    CompareHash(s, i);
    return true;
}

// One packet from the peer: checked by kind and phase, used, or counted as bad.
static void TakePacket(Session *s, const uint8_t *b, uint32_t size) {
    uint32_t now = NowMs();
    if (now - s->windowStart >= 1000) {
        s->windowStart = now;
        s->windowPackets = s->windowBad = 0;
    }
    s->counts.packetsReceived++;
    s->windowPackets++;
    bool good = false;
    uint8_t kind = size > 0 ? b[0] : 0;
    bool playing = s->status == PLAYING;
    switch (kind) {
    case K_HELLO: good = TakeHello(s, b, size); break;
    case K_PING:
        good = size == PING_SIZE && !s->isHost && s->helloCame;
        if (good) {
            uint8_t r[PING_SIZE];
            std::memcpy(r, b, PING_SIZE);
            r[0] = K_PONG;
            Send(s, r, PING_SIZE, false);
        }
        break;
    case K_PONG:
        good = size == PING_SIZE && s->isHost && s->helloCame;
        if (good && s->status == WAITING) {
            uint32_t sent = Get32(b + 1);
            good = now - sent <= now - s->openedAt;
            if (good && s->pongs < PONGS_WANTED) s->samples[s->pongs++] = now - sent;
            if (s->pongs == PONGS_WANTED) Measured(s);
        }
        break;
    case K_START:
        good = !s->isHost && s->helloCame && s->status == WAITING && DecodeStart(b, size, s->start);
        if (good) BeginSteps(s, 2, s->start.delay);
        break;
    case K_INPUT:
        // The host's first words may overtake its start (they travel unordered): the joiner gets them again.
        good = playing ? TakeWords(s, b, size) : !s->isHost && s->helloCame && s->status == WAITING;
        break;
    case K_HASH: good = playing && TakeHash(s, b, size); break;
    case K_GO:
        good = playing && size == GO_SIZE && Get32(b + 1) <= s->step + STEP_WINDOW;
        if (good) s->goStep = Get32(b + 1) + 1;
        break;
    case K_LEAVE:
        good = size == LEAVE_SIZE && s->helloCame;
        if (good) End(s, LEFT, "The other player left.", R_NONE);
        break;
    default: break;
    }
    if (!good) {
        s->counts.badPackets++;
        s->windowBad++;
    }
    if (s->windowPackets > FLOOD_PACKETS || s->windowBad > FLOOD_BAD)
        End(s, FLOOD,
            "The other side sent too much (" + std::to_string(s->counts.badPackets) +
                " bad packets): the connection was ended.",
            R_FLOOD);
}

static void TakeDisconnect(Session *s, uint32_t data) {
    s->peer = nullptr;
    if (Ended(s->status)) return;
    if (s->isHost && s->status == WAITING) {
        // The player went before the game began: wait for another.
        s->helloCame = false;
        s->pongs = s->pingsSent = 0;
        return;
    }
    switch (data) {
    case R_LEAVE: End(s, LEFT, "The other player left.", R_NONE); break;
    case R_BUSY: End(s, BUSY, "That game has a player already.", R_NONE); break;
    case R_VERSIONS: End(s, VERSIONS, "The other side runs another version of Kwibbel.", R_NONE); break;
    case R_FLOOD: End(s, LOST, "The other side ended the connection: it got too many bad packets.", R_NONE); break;
    case R_DIFFERENT: End(s, DIFFERENT, "The two games went apart: both keep the replay.", R_NONE); break;
    default: End(s, LOST, "Connection lost.", R_NONE); break;
    }
}

static void TakeEvent(Session *s, ENetEvent &e) {
    switch (e.type) {
    case ENET_EVENT_TYPE_CONNECT:
        if (s->isHost && (s->peer != nullptr || s->status != WAITING || e.data != MAGIC)) {
            enet_peer_disconnect_now(e.peer, e.data != MAGIC ? R_VERSIONS : R_BUSY);
            break;
        }
        s->peer = e.peer;
        enet_peer_timeout(e.peer, 0, SILENCE_TIMEOUT_MS, SILENCE_TIMEOUT_MS);
        // ENet would drop unreliable packets when the round trip varies; the words are few and wanted.
        enet_peer_throttle_configure(e.peer, ENET_PEER_PACKET_THROTTLE_INTERVAL, ENET_PEER_PACKET_THROTTLE_SCALE, 0);
        SendHello(s);
        break;
    case ENET_EVENT_TYPE_RECEIVE:
        if (e.peer == s->peer && !Ended(s->status)) TakePacket(s, e.packet->data, (uint32_t)e.packet->dataLength);
        enet_packet_destroy(e.packet);
        break;
    case ENET_EVENT_TYPE_DISCONNECT:
        if (e.peer == s->peer) TakeDisconnect(s, e.data);
        break;
    default: break;
    }
}

// What is due by the clock: the joiner's patience, the host's pings, words sent again.
static void Timers(Session *s) {
    uint32_t now = NowMs();
    if (!s->isHost && s->status == WAITING && !s->helloCame && now - s->openedAt > JOIN_TIMEOUT_MS) {
        s->status = NO_ANSWER;
        s->problem = "Nobody answered within 5 seconds.";
        if (s->peer) enet_peer_reset(s->peer);
        s->peer = nullptr;
    }
    if (s->isHost && s->status == WAITING && s->helloCame && s->peer && now - s->lastPing >= PING_EVERY_MS) {
        if (s->pingsSent < MAX_PINGS)
            SendPing(s);
        else
            Measured(s);
    }
    // ENet's own timeout waits for its next resend, which backs off: the silence is measured here too.
    if (s->peer && s->peer->state == ENET_PEER_STATE_CONNECTED && (s->status == READY || s->status == PLAYING) &&
        enet_time_get() - s->peer->lastReceiveTime > SILENCE_TIMEOUT_MS) {
        End(s, LOST, "Connection lost.", R_NONE);
        enet_peer_reset(s->peer);
        s->peer = nullptr;
        return;
    }
    // Words go out with every step; sent again sooner when this side waits (the other may wait for them).
    bool waiting = s->theirNext <= s->step;
    if (s->status == PLAYING && s->mineNext > s->peerNext && now - s->lastSend >= (waiting ? RESEND_MS : 3 * RESEND_MS))
        SendWords(s);
}

// ---- exported ----------------------------------------------------------------------------------------------

bool IsWord(uint32_t word) {
    // The player's nine bits as the replay packs them: no third turn, no bits of a turn or a held direction
    // that is not there.
    uint32_t speler = word & 0x1FFu, aantal = speler & 3u;
    if (word >= (1u << 11) || aantal == 3) return false;
    if (((speler >> (2 + 2 * aantal)) & ((1u << (4 - 2 * aantal)) - 1)) != 0) return false;
    return (speler & (1u << 6)) != 0 || (speler >> 7) == 0;
}

VersionsRec OwnVersions(uint32_t rules) {
    VersionsRec v{};
    std::snprintf(v.program, sizeof v.program, "%s", KWIBBEL_VERSION);
    v.rules = rules;
    return v;
}

static Session *Open(bool isHost, const ENetAddress *bind, const VersionsRec &versions, std::string &problem) {
    static bool started = false;
    if (!started) {
        if (enet_initialize() != 0) {
            problem = "The network library could not start.";
            return nullptr;
        }
        started = true;
    }
    // The host has room for one player and one more, who is told the game is taken.
    ENetHost *h = enet_host_create(bind, isHost ? 2 : 1, 2, 0, 0);
    if (!h) {
        problem = isHost ? "The port cannot be opened (is another game using it?)." : "No network socket.";
        return nullptr;
    }
    h->maximumPacketSize = MAX_PACKET;
    h->maximumWaitingData = 64 * MAX_PACKET;
    Session *s = new Session;
    s->host = h;
    s->isHost = isHost;
    s->own = versions;
    s->own.program[sizeof s->own.program - 1] = 0;
    s->openedAt = NowMs();
    s->windowStart = s->openedAt;
    return s;
}

Session *Host(uint16_t port, const VersionsRec &versions, std::string &problem, const char *address) {
    ENetAddress a{};
    a.host = ENET_HOST_ANY;
    if (address && enet_address_set_host_ip(&a, address) != 0) {
        problem = std::string("No such address: ") + address;
        return nullptr;
    }
    a.port = port;
    return Open(true, &a, versions, problem);
}

Session *Join(const char *address, uint16_t port, const VersionsRec &versions, std::string &problem) {
    ENetAddress a{};
    if (enet_initialize() != 0 || enet_address_set_host(&a, address) != 0) {
        problem = std::string("No machine is known by the name ") + address + ".";
        return nullptr;
    }
    a.port = port;
    Session *s = Open(false, nullptr, versions, problem);
    if (!s) return nullptr;
    s->peer = enet_host_connect(s->host, &a, 2, MAGIC);
    if (!s->peer) {
        problem = "No network socket.";
        Close(s);
        return nullptr;
    }
    return s;
}

void Close(Session *s) {
    if (!s) return;
    if (s->peer && s->helloCame && !Ended(s->status)) {
        uint8_t b[LEAVE_SIZE] = {K_LEAVE, 0};
        Send(s, b, LEAVE_SIZE, true);
        enet_peer_disconnect_later(s->peer, R_LEAVE);
    } else if (s->peer) {
        enet_peer_disconnect(s->peer, R_NONE);
    }
    uint32_t begin = NowMs();
    ENetEvent e;
    while (s->peer && NowMs() - begin < 200) {
        int r = enet_host_service(s->host, &e, 10);
        if (r < 0) break;
        if (r > 0 && e.type == ENET_EVENT_TYPE_DISCONNECT && e.peer == s->peer) s->peer = nullptr;
        if (r > 0 && e.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(e.packet);
    }
    if (s->peer) enet_peer_reset(s->peer);
    enet_host_destroy(s->host);
    delete s;
}

StatusEn Service(Session *s, uint32_t ms) {
    uint32_t begin = NowMs();
    StatusEn before = s->status;
    uint32_t theirNext = s->theirNext, goStep = s->goStep;
    for (;;) {
        Timers(s);
        uint32_t spent = NowMs() - begin;
        ENetEvent e;
        int r = enet_host_service(s->host, &e, spent >= ms ? 0 : std::min<uint32_t>(ms - spent, 5));
        if (r < 0) {
            End(s, LOST, "Connection lost (the network failed).", R_NONE);
            break;
        }
        if (r > 0) {
            TakeEvent(s, e);
            while (enet_host_check_events(s->host, &e) > 0) TakeEvent(s, e);
        }
        if (s->status != before || s->theirNext != theirNext || s->goStep != goStep) break;
        if (NowMs() - begin >= ms && r == 0) break;
    }
    s->counts.bytesSent = s->counts.bytesSent + s->host->totalSentData;
    s->counts.bytesReceived = s->counts.bytesReceived + s->host->totalReceivedData;
    s->host->totalSentData = s->host->totalReceivedData = 0;
    return s->status;
}

uint16_t Port(const Session *s) { return s->host->address.port; }
StatusEn Status(const Session *s) { return s->status; }
const std::string &Problem(const Session *s) { return s->problem; }
uint32_t RoundTrip(const Session *s) { return s->rtt; }

uint32_t DelayFor(uint32_t rtt, uint32_t stepMs) {
    if (rtt < 3) return 0;
    uint32_t d = rtt / std::max<uint32_t>(stepMs, 1) + 1;
    return std::min(d, MAX_DELAY);
}

bool SendStart(Session *s, const StartRec &start) {
    if (s->status != READY || !s->isHost) return false;
    StartRec st = start;
    st.delay = (uint8_t)std::min<uint32_t>(st.delay, MAX_DELAY);
    uint8_t b[START_SIZE];
    EncodeStart(st, b);
    if (!DecodeStart(b, START_SIZE, s->start)) return false;
    Send(s, b, START_SIZE, true);
    BeginSteps(s, 1, st.delay);
    enet_host_flush(s->host);
    return true;
}

const StartRec &Start(const Session *s) { return s->start; }
uint32_t OwnPlayer(const Session *s) { return s->player; }
uint32_t NextStep(const Session *s) { return s->step; }

void PutWord(Session *s, uint16_t word) {
    if (s->status != PLAYING || s->mineNext > s->step + s->delay) return;
    s->mine[s->mineNext % RING] = IsWord(word) ? word : 0;
    s->mineNext++;
    SendWords(s);
    enet_host_flush(s->host);
}

bool StepReady(const Session *s, uint16_t words[3]) {
    if (s->status != PLAYING || s->theirNext <= s->step || s->mineNext <= s->step) return false;
    uint32_t i = s->step % RING;
    words[0] = 0;
    words[s->player] = s->mine[i];
    words[3 - s->player] = s->theirs[i];
    return true;
}

void StepDone(Session *s, uint64_t hash) {
    if (s->status != PLAYING) return;
    s->step++;
    if (s->step % HASH_STEPS != 0) return;
    uint32_t i = (s->step / HASH_STEPS) % HASH_RING;
    s->myHashStep[i] = s->step;
    s->myHash[i] = hash;
    uint8_t b[HASH_SIZE] = {K_HASH};
    Put32(b + 1, s->step);
    Put64(b + 5, hash);
    Send(s, b, HASH_SIZE, true);
    CompareHash(s, i);
}

void SendGo(Session *s, uint32_t step) {
    uint8_t b[GO_SIZE] = {K_GO};
    Put32(b + 1, step);
    Send(s, b, GO_SIZE, true);
    enet_host_flush(s->host);
}

bool GoCame(const Session *s, uint32_t step) { return s->goStep == step + 1; }

CountsRec Counts(const Session *s) { return s->counts; }

void EncodeHello(const VersionsRec &versions, uint8_t *out) {
    out[0] = K_HELLO;
    Put32(out + 1, MAGIC);
    Put32(out + 5, PROTOCOL_VERSION);
    Put32(out + 9, versions.rules);
    std::memcpy(out + 13, versions.program, sizeof versions.program);
    out[HELLO_SIZE - 1] = 0;
}

void EncodeStart(const StartRec &start, uint8_t *out) {
    out[0] = K_START;
    std::memcpy(out + 1, start.level, sizeof start.level);
    uint8_t *p = out + 1 + sizeof start.level;
    p[0] = start.levelNumber;
    p[1] = start.mode;
    p[2] = start.diff;
    Put32(p + 3, start.seed);
    p[7] = start.delay;
}

bool DecodeStart(const uint8_t *data, uint32_t size, StartRec &start) {
    if (size != START_SIZE || data[0] != K_START) return false;
    StartRec st{};
    std::memcpy(st.level, data + 1, sizeof st.level);
    for (const auto &row : st.level)
        for (char c : row)
            if (c != 'M' && c != '-' && c != 'S' && c != 'T') return false;
    const uint8_t *p = data + 1 + sizeof st.level;
    st.levelNumber = p[0];
    st.mode = p[1];
    st.diff = p[2];
    st.seed = Get32(p + 3);
    st.delay = p[7];
    if (st.levelNumber > 4 || st.mode >= MODE_LIMIT || st.diff < 1 || st.diff > 3 || st.delay > MAX_DELAY) return false;
    start = st;
    return true;
}

uint32_t EncodeInput(uint32_t next, uint32_t first, const uint16_t *words, uint32_t count, uint8_t *out) {
    count = std::min(count, MAX_WORDS);
    out[0] = K_INPUT;
    Put32(out + 1, next);
    Put32(out + 5, first);
    out[9] = (uint8_t)count;
    for (uint32_t k = 0; k < count; k++) {
        out[10 + 2 * k] = (uint8_t)words[k];
        out[11 + 2 * k] = (uint8_t)(words[k] >> 8);
    }
    return INPUT_HEADER + 2 * count;
}

}  // namespace Network
