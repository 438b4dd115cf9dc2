#pragma once

#include <cstdint>

// Cursor kinds: the play area shows ckNone as no cursor, ckDefault as the
// arrow and ckAction..ckLink as the program's own cursors (hand, magnifier,
// grabbing hand, brush, link hand). The script's two dynamic kinds are shown
// by hit boxes as ckExamine.
enum CursorKind : int16_t {
    ckNone = -1,
    ckDefault = 0,
    ckAction = 1,
    ckExamine = 2,
    ckTake = 3,
    ckBrush = 4,
    ckLink = 5,
    ckDynamic1 = 100,
    ckDynamic2 = 101,
};
