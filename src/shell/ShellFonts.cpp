#include "shell/ShellFonts.h"

#include <QStringList>

QFont ShellFont(FontFace face, int pixelHeight, bool bold) {
    QFont font;
    if (face == FontFace::Serif) {
        font.setFamilies(QStringList() << "Liberation Serif"
                                       << "Times New Roman");
        font.setStyleHint(QFont::Serif);
    } else {
        font.setFamilies(QStringList() << "Liberation Sans"
                                       << "Arial");
        font.setStyleHint(QFont::SansSerif);
    }
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}
