#include "shell/GrownUpsMenu.h"

#include "foundation/KelException.h"
#include "shell/EventBoundary.h"
#include "shell/PictureFiles.h"
#include "shell/PictureSaveDialog.h"
#include "shell/SoundPlayer.h"
#include "shell/SoundSetting.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QWidget>

namespace {
constexpr int PictureCount = 4;

QString DocumentName(const std::vector<int>& numbers, PictureForm form) {
    QString what = numbers.size() == 1 ? QObject::tr("Picture %1").arg(numbers.front())
                                       : QObject::tr("All four pictures");
    return form == PictureForm::ColouringPage ? QObject::tr("%1, colouring page").arg(what) : what;
}
} // namespace

GrownUpsMenu::GrownUpsMenu(QWidget& window, PictureSource source, SoundPlayer& sound)
    : QObject(&window), Window(window), Source(std::move(source)), Sound(sound), Menu(new QMenu(&window)),
      PrintKey(new QAction(tr("Print the picture shown..."), &window)),
      SaveKey(new QAction(tr("Save the picture shown as a PNG file..."), &window)),
      SoundKey(new QAction(tr("Sound"), &window)) {
    PrintKey->setShortcut(QKeySequence::Print);
    SaveKey->setShortcut(QKeySequence::Save);
    SoundKey->setShortcut(Qt::Key_M);
    SoundKey->setCheckable(true);
    SoundKey->setChecked(!Sound.Muted());
    for (QAction* action : {PrintKey, SaveKey, SoundKey})
        window.addAction(action);
    connect(PrintKey, &QAction::triggered, this,
            [this] { Guarded([this] { Print({Shown()}, PictureForm::Coloured); }); });
    connect(SaveKey, &QAction::triggered, this,
            [this] { Guarded([this] { Save(Shown(), PictureForm::Coloured); }); });
    connect(SoundKey, &QAction::triggered, this, [this] { ToggleSound(); });
}

GrownUpsMenu::~GrownUpsMenu() = default;

int GrownUpsMenu::Shown() const {
    int number = ShownPicture ? ShownPicture() : 0;
    return number >= 1 && number <= PictureCount ? number : 1;
}

QMenu& GrownUpsMenu::MenuFor(int number) {
    Menu->clear();
    Menu->addSection(tr("Picture %1").arg(number));
    // The shortcut after the tab is only shown: the keys belong to the
    // window's actions, which act on the picture shown.
    auto add = [this](const QString& text, std::function<void()> act) {
        QAction* action = Menu->addAction(text);
        connect(action, &QAction::triggered, this, [act = std::move(act)] { Guarded(act); });
    };
    const std::vector<int> all{1, 2, 3, 4};
    add(tr("Print...") + "\t" + PrintKey->shortcut().toString(QKeySequence::NativeText),
        [this, number] { Print({number}, PictureForm::Coloured); });
    add(tr("Print as a colouring page..."), [this, number] { Print({number}, PictureForm::ColouringPage); });
    add(tr("Print all four pictures..."), [this, all] { Print(all, PictureForm::Coloured); });
    add(tr("Print all four as colouring pages..."), [this, all] { Print(all, PictureForm::ColouringPage); });
    Menu->addSeparator();
    add(tr("Save as a PNG file...") + "\t" + SaveKey->shortcut().toString(QKeySequence::NativeText),
        [this, number] { Save(number, PictureForm::Coloured); });
    add(tr("Save the colouring page as a PNG file..."),
        [this, number] { Save(number, PictureForm::ColouringPage); });
    Menu->addSeparator();
    Menu->addAction(SoundKey);
    return *Menu;
}

void GrownUpsMenu::Popup(int number, const QPoint& globalPosition) {
    MenuFor(number).popup(globalPosition);
}

std::vector<QImage> GrownUpsMenu::Pages(const std::vector<int>& numbers, PictureForm form) {
    std::vector<QImage> pages;
    for (int number : numbers)
        pages.push_back(Source(number, form));
    return pages;
}

void GrownUpsMenu::Print(const std::vector<int>& numbers, PictureForm form) {
    std::vector<QImage> pages = Pages(numbers, form);
    const QString name = DocumentName(numbers, form);
    if (PrintDialog)
        PrintDialog(name, pages);
    else
        RunPrintDialog(name, pages);
}

void GrownUpsMenu::RunPrintDialog(const QString& documentName, const std::vector<QImage>& pages) {
    if (!RunPrint) {
        QString problem;
        RunPrint = LoadPrintModule(PrintModuleCandidates(QCoreApplication::applicationDirPath()), &problem);
        if (!RunPrint) throw KelException("Printing is not available: " + problem.toStdString());
    }
    RunPrint(&Window, documentName, pages, [](const std::string& message) { ReportEscapedError(message); });
}

void GrownUpsMenu::Save(int number, PictureForm form) {
    PictureSaveDialog dialog(&Window, number, form);
    if (dialog.exec() != QDialog::Accepted || dialog.Path().isEmpty()) return;
    SavePicturePng(Source(number, dialog.Form()), dialog.Scale(), dialog.Path());
}

void GrownUpsMenu::ToggleSound() {
    bool on = Sound.Muted();
    Sound.SetMuted(!on);
    SoundKey->setChecked(on);
    WriteSoundSetting(on);
}
