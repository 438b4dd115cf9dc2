#include "shell/ProgramCursors.h"

#include <QFile>
#include <QPixmap>
#include <QTextStream>

#include <map>
#include <utility>

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
} // namespace

ProgramCursors::ProgramCursors(const QString& folder) {
    std::map<int, std::pair<int, int>> spots = ReadHotSpots(folder + "/cursors.txt");
    for (int i = 0; i < 5; ++i) {
        QPixmap picture(folder + QString("/cursor%1.png").arg(i + 1));
        if (picture.isNull()) {
            Custom[i] = QCursor(Fallbacks[i]);
            continue;
        }
        auto spot = spots.find(i + 1);
        int x = spot == spots.end() ? 0 : std::clamp(spot->second.first, 0, picture.width() - 1);
        int y = spot == spots.end() ? 0 : std::clamp(spot->second.second, 0, picture.height() - 1);
        Custom[i] = QCursor(picture, x, y);
        FromPicture[i] = true;
    }
}

QCursor ProgramCursors::Cursor(CursorKind kind) const {
    if (kind >= 1 && kind <= 5) return Custom[kind - 1];
    if (kind == crNone) return QCursor(Qt::BlankCursor);
    return QCursor(Qt::ArrowCursor);
}

bool ProgramCursors::Loaded(CursorKind kind) const {
    return kind >= 1 && kind <= 5 && FromPicture[kind - 1];
}
