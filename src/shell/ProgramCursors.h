#pragma once
// The program's five cursors (ckAction..ckLink: hand, magnifier, grabbing
// hand, brush, link hand), read from the pictures embedded in the program, with
// the arrow for ckDefault and a hidden cursor for ckNone. A picture that is missing or
// unreadable falls back to the nearest standard shape. Each picture is read
// the first time its cursor is wanted, so that start-up reads only those the
// first window shows.

#include "platform/CursorKind.h"

#include <QCursor>
#include <QString>

#include <array>
#include <map>
#include <optional>
#include <utility>

class ProgramCursors {
public:
    // Reads cursorN.png and the hot spots of cursors.txt ("index hotx hoty"
    // per line) from folder (a resource path such as ":/art").
    explicit ProgramCursors(QString folder = QStringLiteral(":/art"));
    QCursor Cursor(CursorKind kind) const;
    bool Loaded(CursorKind kind) const;
    // How many of the five pictures have been read so far.
    int PicturesRead() const;

private:
    const QCursor& Custom(int index) const;

    QString Folder;
    mutable std::optional<std::map<int, std::pair<int, int>>> HotSpots;
    mutable std::array<std::optional<QCursor>, 5> Made;
    mutable std::array<bool, 5> FromPicture{};
};
