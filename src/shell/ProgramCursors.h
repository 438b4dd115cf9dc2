#pragma once
// The program's five cursors (kinds 1..5: hand, magnifier, grabbing hand,
// brush, link hand), read from the pictures embedded in the program, with
// the arrow for 0 and a hidden cursor for -1. A picture that is missing or
// unreadable falls back to the nearest standard shape.

#include "platform/Platform.h"

#include <QCursor>
#include <QString>

#include <array>

class ProgramCursors {
public:
    // Reads cursorN.png and the hot spots of cursors.txt ("index hotx hoty"
    // per line) from folder (a resource path such as ":/art").
    explicit ProgramCursors(const QString& folder = QStringLiteral(":/art"));
    QCursor Cursor(CursorKind kind) const;
    bool Loaded(CursorKind kind) const;

private:
    std::array<QCursor, 5> Custom;
    std::array<bool, 5> FromPicture{};
};
