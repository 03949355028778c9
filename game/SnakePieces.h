// Snake pieces: the ten 20 by 20 pictures each player's snake is drawn with (straight pieces, corners and
// heads), their files, and which one a segment takes by the directions in which the snake entered and left
// its cell. The game's drawing and asset tables, the picture generator and the tests all use this table.
#pragma once

#include <cstdint>
#include <string>

namespace SnakePieces {

// Directions in the game's own order (its PijlEn): left, right, up, down.
enum Direction : uint32_t { LEFT = 0, RIGHT = 1, UP = 2, DOWN = 3 };

// The pieces of one player's set, by their index in it.
enum Piece : uint32_t {
    HORIZONTAL = 0,  // straight, entered and left to the left or the right
    LEFT_DOWN = 1,   // corner joining the left and the lower neighbour
    RIGHT_DOWN = 2,  // corner joining the right and the lower neighbour
    HEAD_UP = 3,     // a head moving up, joined below
    HEAD_RIGHT = 4,  // a head moving right, joined on the left
    HEAD_LEFT = 5,   // a head moving left, joined on the right
    HEAD_DOWN = 6,   // a head moving down, joined above
    TOP_LEFT = 7,    // corner joining the left and the upper neighbour
    TOP_RIGHT = 8,   // corner joining the right and the upper neighbour
    VERTICAL = 9,    // straight, entered and left up or down
    COUNT = 10,
    NONE = 10,  // a reversal, which a snake never makes: nothing is drawn
};

// Each piece's name in its file name.
const char *const NAMES[COUNT] = {"hor",        "left_down", "right_down", "tail_down", "tail_left",
                                  "tail_right", "tail_up",   "top_left",   "top_right", "vert"};

// The file of `piece` in player `player`'s set (1 or 2) inside the picture folder: player 1's files end in
// "_player2" (the red snake), player 2's have no ending.
inline std::string FileName(uint32_t player, uint32_t piece) {
    return std::string("snakeskinbody_") + NAMES[piece] + (player == 1 ? "_player2" : "") + ".bmp";
}

// The corner for a turn, by [entered][left]; NONE for a straight run or a reversal.
const uint32_t CORNERS[4][4] = {
    /* LEFT  */ {NONE, NONE, TOP_RIGHT, RIGHT_DOWN},
    /* RIGHT */ {NONE, NONE, TOP_LEFT, LEFT_DOWN},
    /* UP    */ {LEFT_DOWN, RIGHT_DOWN, NONE, NONE},
    /* DOWN  */ {TOP_LEFT, TOP_RIGHT, NONE, NONE},
};
const uint32_t HEADS[4] = {HEAD_LEFT, HEAD_RIGHT, HEAD_UP, HEAD_DOWN};

// The piece for a segment whose cell the snake entered moving `entered` and left moving `left`; a head
// (head TRUE, entered == left) faces `left`. NONE for a reversal.
inline uint32_t For(uint32_t entered, uint32_t left, bool head) {
    entered &= 3;
    left &= 3;
    if (entered == left) {
        if (head) return HEADS[left];
        return (left == LEFT || left == RIGHT) ? HORIZONTAL : VERTICAL;
    }
    return CORNERS[entered][left];
}

inline bool IsHead(uint32_t piece) { return piece >= HEAD_UP && piece <= HEAD_DOWN; }

}  // namespace SnakePieces
