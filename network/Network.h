// Network: one game on two machines in lockstep, over ENet (reliable and unreliable UDP packets with their
// own connection handshake and timeouts). Each machine runs the same rules from the same start; each step
// each sends its own player's input for a later step (the input delay), and a step runs when both inputs
// are there: never skipped, never guessed. Every few steps both send the state's hash, so a game that went
// apart is told at once.
//
// A session is one connection: the host listens (one other player at a time; a third is refused), the
// joiner connects; both say their program and rules versions (a mismatch is refused on both sides, the
// line naming both), the host measures the round trip and sends the game's start, then both play.
//
// What crosses the wire is checked before it is used: size, kind, values, step numbers within a small
// window of the current step. A bad packet is counted and dropped; a flood ends the session. Nothing read
// from the network becomes a file name, a format string or a size to allocate.
//
// Thread rules: none of its own; a session belongs to the thread that opened it. Every call returns
// within the time it is given; none waits longer.
// Words: one player's input for one step is a word of 11 bits, the player's 9 bits as the replay packs
// player 1 (bits 0..1 the number of typed turns, 0..2), bit 9 for a pause asked before that step and bit 10
// for leaving the game before it (so both machines stop after the same step).
#pragma once

#include <cstdint>
#include <string>

namespace Network {

// The UDP port a host listens on unless told otherwise.
const uint16_t DEFAULT_PORT = 24893;
// The version of what crosses the wire.
const uint32_t PROTOCOL_VERSION = 1;
// A joiner gives up when no host answered within this many ms.
const uint32_t JOIN_TIMEOUT_MS = 5000;
// A session ends when nothing came from the other side for this many ms.
const uint32_t SILENCE_TIMEOUT_MS = 10000;
// The hash of the state is exchanged after every this many steps.
const uint32_t HASH_STEPS = 16;
// The input delay at most, in steps.
const uint32_t MAX_DELAY = 24;
// Steps an input packet carries at most, and how far beyond the current step a word may be.
const uint32_t MAX_WORDS = 32;
const uint32_t STEP_WINDOW = 64;
// The pause and leave bits of a word; words with a bit above them, or nine bits the replay would not make
// (a turn count above 2, bits of a turn or direction that is not there), are no words.
const uint16_t WORD_PAUSE = 1u << 9, WORD_LEAVE = 1u << 10;
bool IsWord(uint32_t word);

// ---- sessions ----------------------------------------------------------------------------------------

struct Session;

// Where a session stands.
enum StatusEn : uint8_t {
    WAITING,    // the host waits for a player, the joiner for an answer or the start
    READY,      // the host: a player is there, versions agree, round trip measured; SendStart may go
    PLAYING,    // the start is known on both sides: steps may be exchanged
    NO_ANSWER,  // the joiner: nobody answered within JOIN_TIMEOUT_MS
    BUSY,       // the joiner: that host has a player already
    VERSIONS,   // the versions differ (Problem names both)
    LEFT,       // the other player left
    LOST,       // nothing came for SILENCE_TIMEOUT_MS, or the connection broke
    DIFFERENT,  // the two games are no longer the same (the hashes differ)
    FLOOD,      // the other side sent too much, or too much nonsense
};

// The versions a side says in its handshake: the program's ("1.1.0") and the rules'.
struct VersionsRec {
    char program[16];
    uint32_t rules;
};
// This program's versions with rules version `rules`.
VersionsRec OwnVersions(uint32_t rules);

// What the host sends the joiner to start a game: the level as 30 rows of 40 cells ('M' wall, '-' free,
// 'S' snake 1's start, 'T' snake 2's or the knurf block's), the slot it came from, the mode (a number of
// the game's mode table), difficulty 1..3, the number the game's draws follow from, the input delay in steps.
struct StartRec {
    char level[30][40];
    uint8_t levelNumber;
    uint8_t mode;
    uint8_t diff;
    uint32_t seed;
    uint8_t delay;
};

// A host listening on UDP port `port` on every address of this machine (address "127.0.0.1" when given:
// on that one only); null with `problem` set when the port cannot be opened.
Session *Host(uint16_t port, const VersionsRec &versions, std::string &problem, const char *address = nullptr);
// A joiner connecting to address (a name or a dotted address) and port; null with `problem` set when the
// name is unknown or no socket can be opened.
Session *Join(const char *address, uint16_t port, const VersionsRec &versions, std::string &problem);
// The UDP port a host listens on (the one the system chose for a port of 0).
uint16_t Port(const Session *s);
// Tells the other side this player leaves (when connected), waits up to 200 ms for it to go out, frees all.
void Close(Session *s);
// Serves the network: sends what waits, handles what came, for up to `ms` milliseconds (0: what is there
// now), returning early when something came that changed what a caller may wait for. The status after it.
StatusEn Service(Session *s, uint32_t ms);
StatusEn Status(const Session *s);
// What went wrong, in a player's words (VERSIONS, FLOOD, LOST...); "" while all is well.
const std::string &Problem(const Session *s);
// The measured round trip in ms (READY on; 0 before).
uint32_t RoundTrip(const Session *s);
// The input delay, in steps, for round trip `rtt` ms at a step of `stepMs` ms: 0 on a LAN, else enough
// that an input is there before its step.
uint32_t DelayFor(uint32_t rtt, uint32_t stepMs);
// The host (READY): sends the start and begins playing as player 1. FALSE when the session is not READY.
bool SendStart(Session *s, const StartRec &start);
// The start as the host sent it (PLAYING on).
const StartRec &Start(const Session *s);
// The player this machine steers: 1 the host, 2 the joiner.
uint32_t OwnPlayer(const Session *s);

// ---- the steps ---------------------------------------------------------------------------------------

// The number of the step that runs next (from 0).
uint32_t NextStep(const Session *s);
// This player's word for step NextStep + delay: kept and sent (with the words the other side has not
// confirmed). Once per step, before waiting for the step; a word that is no word is sent as 0.
void PutWord(Session *s, uint16_t word);
// TRUE when both words of step NextStep are there: words[1], words[2] by player.
bool StepReady(const Session *s, uint16_t words[3]);
// The step ran, leaving a state whose hash is `hash`: NextStep goes up; every HASH_STEPS steps the hash is
// sent and compared with the other side's (DIFFERENT when they differ).
void StepDone(Session *s, uint64_t hash);
// A pause that began before step `step` ends: tells the other side to go on.
void SendGo(Session *s, uint32_t step);
// TRUE when the other side ended the pause before step `step`.
bool GoCame(const Session *s, uint32_t step);

// ---- counting ----------------------------------------------------------------------------------------

struct CountsRec {
    uint64_t bytesSent, bytesReceived;  // UDP payload, ENet's headers included
    uint32_t packetsReceived;           // packets that reached the session
    uint32_t badPackets;                // of those: dropped as bad
};
CountsRec Counts(const Session *s);

// ---- the wire (tests and the fuzzing use it; the session does all of it itself) ---------------------

enum KindEn : uint8_t { K_HELLO = 1, K_PING, K_PONG, K_START, K_INPUT, K_HASH, K_GO, K_LEAVE, K_COUNT };
// The bytes of a packet of each kind (an input packet: its header plus two bytes per word).
const uint32_t HELLO_SIZE = 1 + 4 + 4 + 4 + 16, PING_SIZE = 5, START_SIZE = 1 + 1200 + 1 + 1 + 1 + 4 + 1;
const uint32_t INPUT_HEADER = 1 + 4 + 4 + 1, HASH_SIZE = 1 + 4 + 8, GO_SIZE = 5, LEAVE_SIZE = 2;
// A hello as it crosses (HELLO_SIZE bytes into out); the connect data ENet carries with a connection.
void EncodeHello(const VersionsRec &versions, uint8_t *out);
const uint32_t CONNECT_MAGIC = 0x4B57424Cu;
// A start's content as it crosses (START_SIZE bytes into out), and back: FALSE for a packet that is no
// start (size, kind, a cell, mode, difficulty or delay out of range).
void EncodeStart(const StartRec &start, uint8_t *out);
bool DecodeStart(const uint8_t *data, uint32_t size, StartRec &start);
// An input packet: words for steps first..first+count-1 (count 1..MAX_WORDS) and `next`, the first step whose
// word from the other side is still missing. The packet's size.
uint32_t EncodeInput(uint32_t next, uint32_t first, const uint16_t *words, uint32_t count, uint8_t *out);
// A mode number a start may carry (below this; the game checks that it offers that mode over the network).
const uint8_t MODE_LIMIT = 8;

}  // namespace Network
