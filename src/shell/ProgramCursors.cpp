#include "shell/ProgramCursors.h"

#include "shell/PngFile.h"

#include <QFile>
#include <QPixmap>
#include <QTextStream>

#include <algorithm>

namespace {
constexpr std::array<Qt::CursorShape, 5> Fallbacks = {
    Qt::PointingHandCursor, Qt::CrossCursor, Qt::ClosedHandCursor, Qt::CrossCursor, Qt::PointingHandCursor};

std::map<int, std::pair<int, int>> ReadHotSpots(const QString& fileName) {
    std::map<int, std::pair<int, int>> spots;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return spots;
    QTextStream in(&file);
    while (!in.atEnd()) {
        QStringList words = in.readLine().simplified().split(' ', Qt::SkipEmptyParts);
        if (words.size() != 3) continue;
        bool ok[3];
        int index = words[0].toInt(&ok[0]);
        int x = words[1].toInt(&ok[1]);
        int y = words[2].toInt(&ok[2]);
        if (ok[0] && ok[1] && ok[2]) spots[index] = {x, y};
    }
    return spots;
}
bool IsProgramCursor(CursorKind kind) { return kind >= ckAction && kind <= ckLink; }
} // namespace

ProgramCursors::ProgramCursors(QString folder) : Folder(std::move(folder)) {}

const QCursor& ProgramCursors::Custom(int index) const {
    std::optional<QCursor>& cursor = Made[static_cast<size_t>(index)];
    if (cursor) return *cursor;
    if (!HotSpots) HotSpots = ReadHotSpots(Folder + "/cursors.txt");
    const QPixmap picture = QPixmap::fromImage(ReadPng(Folder + QString("/cursor%1.png").arg(index + 1)));
    if (picture.isNull()) {
        cursor = QCursor(Fallbacks[static_cast<size_t>(index)]);
        return *cursor;
    }
    auto spot = HotSpots->find(index + 1);
    int x = spot == HotSpots->end() ? 0 : std::clamp(spot->second.first, 0, picture.width() - 1);
    int y = spot == HotSpots->end() ? 0 : std::clamp(spot->second.second, 0, picture.height() - 1);
    cursor = QCursor(picture, x, y);
    FromPicture[static_cast<size_t>(index)] = true;
    return *cursor;
}

QCursor ProgramCursors::Cursor(CursorKind kind) const {
    if (IsProgramCursor(kind)) return Custom(kind - ckAction);
    if (kind == ckNone) return QCursor(Qt::BlankCursor);
    return QCursor(Qt::ArrowCursor);
}

bool ProgramCursors::Loaded(CursorKind kind) const {
    if (!IsProgramCursor(kind)) return false;
    Custom(kind - ckAction);
    return FromPicture[static_cast<size_t>(kind - ckAction)];
}

int ProgramCursors::PicturesRead() const {
    int count = 0;
    for (const std::optional<QCursor>& cursor : Made)
        count += cursor ? 1 : 0;
    return count;
}
