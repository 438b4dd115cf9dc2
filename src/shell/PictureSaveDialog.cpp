#include "shell/PictureSaveDialog.h"

#include "activity/ObjectTable.h"
#include "shell/PictureFiles.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>

namespace {
constexpr int DefaultScale = 2;

// The desktop's own dialog would leave no room for the two choices.
void AddRow(QFileDialog& dialog, const QString& caption, QWidget* field) {
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (!grid) return;
    int row = grid->rowCount();
    auto* label = new QLabel(caption, &dialog);
    label->setBuddy(field);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
}
} // namespace

PictureSaveDialog::PictureSaveDialog(QWidget* parent, int pictureNumber, PictureForm form)
    : QFileDialog(parent), Number(pictureNumber), FormBox(new QComboBox(this)), ScaleBox(new QSpinBox(this)) {
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setNameFilter(tr("PNG pictures (*.png)"));
    setDefaultSuffix("png");
    setWindowTitle(tr("Save picture %1 as a PNG file").arg(pictureNumber));
    setDirectory(DefaultPictureFolder());

    FormBox->addItem(tr("The picture as coloured"));
    FormBox->addItem(tr("An empty colouring page"));
    FormBox->setCurrentIndex(form == PictureForm::ColouringPage ? 1 : 0);
    ScaleBox->setRange(1, MaxScale);
    ScaleBox->setValue(DefaultScale);
    AddRow(*this, tr("Picture:"), FormBox);
    AddRow(*this, tr("Size:"), ScaleBox);
    connect(FormBox, &QComboBox::currentIndexChanged, this, [this] { ProposeName(); });
    connect(ScaleBox, &QSpinBox::valueChanged, this, [this] { ShowSize(); });
    ShowSize();
    ProposeName();
}

PictureForm PictureSaveDialog::Form() const {
    return FormBox->currentIndex() == 1 ? PictureForm::ColouringPage : PictureForm::Coloured;
}

int PictureSaveDialog::Scale() const {
    return ScaleBox->value();
}

QString PictureSaveDialog::Path() const {
    QStringList files = selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

void PictureSaveDialog::ShowSize() {
    int scale = ScaleBox->value();
    ScaleBox->setSuffix(tr(" times (%1 x %2 pixels)").arg(PictureWidth * scale).arg(PictureHeight * scale));
}

void PictureSaveDialog::ProposeName() {
    selectFile(DefaultPictureFileName(Number, Form(), QDate::currentDate()));
}
