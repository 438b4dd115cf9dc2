#include "shell/PictureFiles.h"

#include "foundation/KelException.h"
#include "shell/QtConvert.h"
#include "shell/ScaledCrisp.h"

#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>

void SavePicturePng(const QImage& image, int scale, const QString& path) {
    // A half-written file never replaces a good one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !ScaledCrisp(image, scale).save(&file, "PNG") || !file.commit())
        throw KelException("Cannot write the picture file \"" + ToStdPath(path) + "\"");
}

QString DefaultPictureFileName(int pictureNumber, PictureForm form, const QDate& day) {
    const char* kind = form == PictureForm::ColouringPage ? "-colouring-page" : "";
    return QString("picture%1%2-%3.png").arg(pictureNumber).arg(kind).arg(day.toString(Qt::ISODate));
}

QString DefaultPictureFolder() {
    QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QDir(pictures).exists()) return pictures;
    return QDir::homePath();
}
