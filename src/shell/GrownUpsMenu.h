#pragma once
// The grown-ups' menu: printing, PNG files and the sound switch, out of a
// child's way. It opens on a right click over a thumbnail and acts on that
// picture; Ctrl+P and Ctrl+S act on the picture shown, M switches the sound.
// Failures (no printer, an unwritable file) are reported in an error box.

#include "shell/PictureImage.h"
#include "shell/PrintModule.h"

#include <QObject>

#include <functional>
#include <vector>

class QAction;
class QMenu;
class QWidget;
class SoundPlayer;

class GrownUpsMenu : public QObject {
public:
    // A picture (1..4) in a form; errors pass on.
    using PictureSource = std::function<QImage(int number, PictureForm form)>;

    // Adds the shortcuts to window; pictures come from source.
    GrownUpsMenu(QWidget& window, PictureSource source, SoundPlayer& sound);
    ~GrownUpsMenu() override;

    // The picture the shortcuts act on (the one shown); 1 when unset.
    std::function<int()> ShownPicture;

    // Opens the menu for picture number at a point of the screen.
    void Popup(int number, const QPoint& globalPosition);
    // The menu as it would open for picture number.
    QMenu& MenuFor(int number);

    // The print dialog with its preview, for the pictures in one form.
    void Print(const std::vector<int>& numbers, PictureForm form);
    // The file dialog; the chosen form and scale are written.
    void Save(int number, PictureForm form);
    void ToggleSound();

    QAction* PrintShortcut() const { return PrintKey; }
    QAction* SaveShortcut() const { return SaveKey; }
    QAction* SoundSwitch() const { return SoundKey; }

    // Stands in for the print dialog in tests: it gets the document's name
    // and the pages.
    std::function<void(const QString& documentName, const std::vector<QImage>&)> PrintDialog;

private:
    int Shown() const;
    std::vector<QImage> Pages(const std::vector<int>& numbers, PictureForm form);
    // Through the print module, opened the first time.
    void RunPrintDialog(const QString& documentName, const std::vector<QImage>& pages);

    QWidget& Window;
    PictureSource Source;
    SoundPlayer& Sound;
    QMenu* Menu;
    QAction* PrintKey;
    QAction* SaveKey;
    QAction* SoundKey;
    RunPrintDialogFunction RunPrint = nullptr;
};
