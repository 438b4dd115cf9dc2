#pragma once
// Qt's own file dialog for saving a picture as a PNG file, with two choices
// added under the file name: the form (as coloured, or an empty colouring
// page) and a whole scale. It opens in the user's Pictures folder with a
// name made from the picture's number and the day.

#include "shell/PictureImage.h"

#include <QFileDialog>

class QComboBox;
class QSpinBox;

class PictureSaveDialog : public QFileDialog {
public:
    static constexpr int MaxScale = 8;

    PictureSaveDialog(QWidget* parent, int pictureNumber, PictureForm form);

    PictureForm Form() const;
    int Scale() const;
    QString Path() const;

    QComboBox* FormChoice() const { return FormBox; }
    QSpinBox* ScaleChoice() const { return ScaleBox; }

private:
    void ProposeName();
    void ShowSize();

    int Number;
    QComboBox* FormBox;
    QSpinBox* ScaleBox;
};
