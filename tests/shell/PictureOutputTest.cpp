// Pictures leaving the toy: the two forms of a picture, PNG files written
// through the save dialog's writer, pages printed to a PDF file and read back
// as pixels, the grown-ups' menu and its keys, and what sound costs a click.
// On the real data; skipped when the data files have not been built.

#include "RealData.h"
#include "RecordingSound.h"
#include "activity/VorelRoom.h"
#include "engine/World.h"
#include "foundation/KelException.h"
#include "shell/FormVorel.h"
#include "shell/GrownUpsMenu.h"
#include "shell/PictureFiles.h"
#include "shell/PicturePrinter.h"
#include "shell/PrintModule.h"
#include "shell/PictureSaveDialog.h"
#include "shell/QtPlatform.h"
#include "shell/SoundPlayer.h"
#include "shell/SoundSetting.h"
#include "shell/SplashSetting.h"
#include "shell/ThumbnailBox.h"
#include "support/FakePlatform.h"
#include "support/TestFiles.h"
#include "shell/ColouringRoomPoints.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace {
using Spot = ColouringRoomPoints<QPoint>;

std::set<QRgb> ColoursOf(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours;
}

// The nearest pixel to at whose neighbours all share its colour, so that a
// sample taken from a scaled copy cannot fall on an outline by rounding.
QPoint FlatPointNear(const QImage& image, QPoint at) {
    for (int radius = 0; radius < 40; ++radius)
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx) {
                QPoint p = at + QPoint(dx, dy);
                if (!QRect(1, 1, image.width() - 2, image.height() - 2).contains(p)) continue;
                bool flat = true;
                for (int ny = -1; ny <= 1 && flat; ++ny)
                    for (int nx = -1; nx <= 1 && flat; ++nx)
                        flat = image.pixel(p + QPoint(nx, ny)) == image.pixel(p);
                if (flat) return p;
            }
    return at;
}

bool Near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

std::string Hex(QRgb colour) {
    return QString::number(colour & 0xFFFFFF, 16).toStdString();
}
} // namespace

class PictureOutput : public ::testing::Test {
protected:
    void SetUp() override {
        if (!RealDataBuilt()) GTEST_SKIP() << "the data files are not built in " << RealBinDir();
        ASSERT_TRUE(UseRealData(Desktop, Home));
        ShowSplash = false;
        Form = std::make_unique<TFormVorel>(Platform, 1);
        Form->FormCreate();
        Form->showNormal();
        QTest::qWait(100);
        OpenPicture(1);
    }
    void TearDown() override {
        if (Form) Form->close();
        Form.reset();
        ShowSplash = true;
    }
    void Settle() { QTest::qWait(150); }
    void ClickAt(QPoint at) {
        QTest::mouseClick(Form->View(), Qt::LeftButton, {}, at);
        Settle();
    }
    void OpenPicture(int index) {
        QTest::mouseClick(Form->Thumbnail(index), Qt::LeftButton, {}, QPoint(60, 40));
        Settle();
    }
    // A picture with an object and a filled sky, nothing selected.
    void Colour() {
        ClickAt(Spot::ObjectButton5);
        ClickAt(Spot::ColourButton3);
        ClickAt(Spot::Sky);
    }
    QImage Shown() {
        return Form->View()
            ->grab()
            .toImage()
            .convertToFormat(QImage::Format_RGB32)
            .copy(QRect(Spot::PictureCorner, QSize(376, 225)));
    }
    QImage Picture(int number, PictureForm form) { return PictureOfWorld(*World, number, form); }
    QAction* MenuEntry(int number, const QString& text) {
        for (QAction* action : Form->GrownUps()->MenuFor(number).actions())
            if (action->text().startsWith(text)) return action;
        return nullptr;
    }

    TempDir Home;
    FakePlatform Desktop;
    QtPlatform Platform{{}};
    std::unique_ptr<TFormVorel> Form;
};

TEST_F(PictureOutput, TheColouredFormIsThePictureOnTheScreen) {
    Colour();
    QImage coloured = Picture(1, PictureForm::Coloured);
    EXPECT_EQ(coloured.size(), QSize(376, 225));
    EXPECT_EQ(coloured, Shown());
    EXPECT_NE(Picture(2, PictureForm::Coloured), coloured) << "another picture came out the same";
}

TEST_F(PictureOutput, TheColouringPageBlanksEveryRegionAndLeavesTheScreenAlone) {
    ClickAt(Spot::ObjectButton5);
    ClickAt(Spot::Sky);
    QImage uncoloured = Picture(1, PictureForm::ColouringPage);
    ClickAt(Spot::ColourButton3);
    ClickAt(Spot::Sky);
    ClickAt(Spot::FirstIcon); // a selection, which paper never shows
    QImage before = Shown();
    QImage page = Picture(1, PictureForm::ColouringPage);
    EXPECT_EQ(page, uncoloured) << "colours reached the colouring page";
    EXPECT_EQ(page.pixel(Spot::Sky - Spot::PictureCorner), qRgb(255, 255, 255));
    std::set<QRgb> colours = ColoursOf(page);
    EXPECT_TRUE(colours.count(qRgb(255, 255, 255)));
    EXPECT_LE(colours.size(), 4u) << "more than paper and ink";
    EXPECT_EQ(Shown(), before) << "rendering changed the picture on the screen";
    EXPECT_EQ(dynamic_cast<TVorelRoom*>(World->CurrentRoom())->GetSelectedIcon(), 1);
}

TEST_F(PictureOutput, SavedFilesHoldEveryPixelAsAWholeBlock) {
    Colour();
    for (PictureForm form : {PictureForm::Coloured, PictureForm::ColouringPage}) {
        QImage picture = Picture(1, form);
        QString path = QString::fromStdString(Home.File("saved.png"));
        SavePicturePng(picture, 3, path);
        QImage saved = QImage(path).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(saved.size(), QSize(376 * 3, 225 * 3));
        int wrong = 0;
        for (int y = 0; y < saved.height(); ++y)
            for (int x = 0; x < saved.width(); ++x)
                wrong += saved.pixel(x, y) != picture.pixel(x / 3, y / 3);
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(PictureOutput, AFileThatCannotBeWrittenIsNamedAndNothingIsLeft) {
    std::string path = Home.File("no such folder/picture.png");
    try {
        SavePicturePng(Picture(1, PictureForm::Coloured), 1, QString::fromStdString(path));
        FAIL() << "no error";
    } catch (const KelException& error) {
        EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(PictureOutput, TheSaveDialogProposesThePicturesFolderAndADatedName) {
    QDir(QDir::homePath()).mkpath("Pictures");
    PictureSaveDialog dialog(Form.get(), 3, PictureForm::Coloured);
    EXPECT_EQ(QDir(dialog.directory()).canonicalPath(), QDir(QDir::homePath() + "/Pictures").canonicalPath());
    QString today = QDate::currentDate().toString(Qt::ISODate);
    EXPECT_EQ(QFileInfo(dialog.Path()).fileName(), "picture3-" + today + ".png");
    dialog.FormChoice()->setCurrentIndex(1);
    EXPECT_EQ(dialog.Form(), PictureForm::ColouringPage);
    EXPECT_EQ(QFileInfo(dialog.Path()).fileName(), "picture3-colouring-page-" + today + ".png");
    dialog.ScaleChoice()->setValue(4);
    EXPECT_EQ(dialog.Scale(), 4);
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
}

TEST_F(PictureOutput, PrintedPagesShowEachPictureFillingThePrintableArea) {
    QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
    if (pdftoppm.isEmpty()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    Colour();
    std::vector<QImage> pictures{Picture(1, PictureForm::Coloured), Picture(1, PictureForm::ColouringPage)};
    QString pdf = QString::fromStdString(Home.File("pictures.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    PreparePrinter(printer, "Picture 1");
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(printer.docName(), "Picture 1");
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    PrintPictures(printer, pictures);

    constexpr int Dpi = 100;
    QString prefix = QString::fromStdString(Home.File("page"));
    ASSERT_EQ(QProcess::execute(pdftoppm, {"-r", QString::number(Dpi), "-png", pdf, prefix}), 0);
    QRectF paint = printer.pageLayout().paintRect(QPageLayout::Inch);
    QRect area(qRound(paint.left() * Dpi), qRound(paint.top() * Dpi), qRound(paint.width() * Dpi),
               qRound(paint.height() * Dpi));
    for (size_t page = 0; page < pictures.size(); ++page) {
        SCOPED_TRACE("page " + std::to_string(page + 1));
        QImage raster(prefix + QString("-%1.png").arg(page + 1));
        ASSERT_FALSE(raster.isNull());
        EXPECT_GT(raster.width(), raster.height()) << "not landscape";
        const QImage& picture = pictures[page];
        QRect place = PictureFitRect(picture.size(), area);
        EXPECT_TRUE(place.width() >= area.width() - 2 || place.height() >= area.height() - 2);
        double scale = double(place.width()) / picture.width();
        for (QPoint target :
             {QPoint(188, 112), QPoint(6, 6), QPoint(369, 6), QPoint(6, 218), QPoint(369, 218)}) {
            QPoint p = FlatPointNear(picture, target);
            QPoint onPage(place.left() + int((p.x() + 0.5) * scale),
                          place.top() + int((p.y() + 0.5) * scale));
            EXPECT_TRUE(Near(raster.pixel(onPage), picture.pixel(p), 6))
                << "at picture " << p.x() << "," << p.y() << ": page " << Hex(raster.pixel(onPage))
                << ", picture " << Hex(picture.pixel(p));
        }
        // Paper outside the picture stays blank.
        EXPECT_EQ(raster.pixel(place.left() - 3, place.top() + 3) | 0xFF000000, qRgb(255, 255, 255));
        EXPECT_EQ(raster.pixel(place.right() + 3, place.bottom() - 3) | 0xFF000000, qRgb(255, 255, 255));
    }
    EXPECT_FALSE(QFile::exists(prefix + "-3.png")) << "more pages than pictures";
}

TEST_F(PictureOutput, TheMenuPrintsThePictureOfItsThumbnailOrAllFour) {
    Colour();
    std::vector<std::vector<QImage>> printed;
    std::vector<QString> names;
    Form->GrownUps()->PrintDialog = [&](const QString& name, const std::vector<QImage>& pages) {
        names.push_back(name);
        printed.push_back(pages);
    };
    ASSERT_NE(MenuEntry(3, "Print..."), nullptr);
    MenuEntry(3, "Print...")->trigger();
    MenuEntry(1, "Print all four as colouring pages")->trigger();
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(names[0], "Picture 3");
    EXPECT_EQ(names[1], "All four pictures, colouring page");
    ASSERT_EQ(printed[0].size(), 1u);
    EXPECT_EQ(printed[0][0], Picture(3, PictureForm::Coloured));
    ASSERT_EQ(printed[1].size(), 4u);
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(printed[1][static_cast<size_t>(i - 1)], Picture(i, PictureForm::ColouringPage)) << i;
    EXPECT_NE(MenuEntry(1, "Save as a PNG file"), nullptr);
    EXPECT_NE(MenuEntry(1, "Save the colouring page"), nullptr);

    // The keys act on the picture shown.
    OpenPicture(2);
    Form->activateWindow();
    QTest::keyClick(Form.get(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(printed.size(), 3u);
    EXPECT_EQ(printed[2][0], Picture(2, PictureForm::Coloured));
}

TEST_F(PictureOutput, ARightClickOnAThumbnailOpensTheMenuForItsPicture) {
    ThumbnailBox* thumbnail = Form->Thumbnail(4);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20), thumbnail->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(thumbnail, &event);
    QTest::qWait(50);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->actions().front()->text(), "Picture 4");
    menu->close();
}

TEST_F(PictureOutput, MSwitchesTheSoundAndTheSettingKeepsIt) {
    ASSERT_TRUE(ReadSoundSetting());
    ASSERT_FALSE(Form->Sounds()->Muted());
    Form->activateWindow();
    QTest::keyClick(Form.get(), Qt::Key_M);
    EXPECT_TRUE(Form->Sounds()->Muted());
    EXPECT_FALSE(Form->GrownUps()->SoundSwitch()->isChecked());
    EXPECT_FALSE(ReadSoundSetting());
    EXPECT_EQ(World->CurrentRoom()->GetID(), "VOREL1") << "the key reached the toy";
    MenuEntry(1, "Sound")->trigger();
    EXPECT_FALSE(Form->Sounds()->Muted());
    EXPECT_TRUE(ReadSoundSetting());
}

// A fill costs the same screen copies (blits into the play area's buffer and
// paints of the play area) whether the sound is on or off. Where there is no
// sound server the sound is only asked for; with one (PULSE_SERVER set for
// the test) it really plays.
TEST_F(PictureOutput, SoundAddsNoScreenCopiesToAClick) {
    struct Counter : QObject {
        int Paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            Paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    Form->View()->installEventFilter(&counter);
    int blits = 0;
    auto forward = Form->View()->Target().OnBlitted;
    Form->View()->Target().OnBlitted = [&](const TRect& rect) {
        ++blits;
        if (forward) forward(rect);
    };
    // The same region each time, in another colour, so that each fill
    // repaints the same pixels.
    auto cost = [&](bool muted, QPoint colourButton) {
        Form->Sounds()->SetMuted(muted);
        ClickAt(colourButton);
        int startBlits = blits;
        int startPaints = counter.Paints;
        int started = Form->Sounds()->Started();
        ClickAt(Spot::Sky);
        EXPECT_EQ(Form->Sounds()->Started(), started + 1) << "the fill asked for no sound";
        return std::make_pair(blits - startBlits, counter.Paints - startPaints);
    };
    auto silent = cost(true, Spot::ColourButton3);
    auto sounding = cost(false, Spot::ColourButton5);
    EXPECT_GT(silent.first, 0);
    EXPECT_EQ(sounding.first, silent.first) << "blits";
    EXPECT_EQ(sounding.second, silent.second) << "paints";
    Form->View()->removeEventFilter(&counter);
}

// Nothing of the sound system is opened to start the toy; the first sound a
// child makes opens it, and that sound itself is played.
TEST_F(PictureOutput, TheFirstSoundOpensTheSoundSystemAndIsPlayed) {
    EXPECT_FALSE(Form->Sounds()->Opened()) << "the sound system was opened at start";
    SoundLog log;
    Form->Sounds()->SetOutputFactory(RecordingSound::Factory(log));
    ClickAt(Spot::ColourButton3);
    EXPECT_EQ(log.Opened, 0) << "choosing a colour opened the sound system";
    ClickAt(Spot::Sky);
    EXPECT_EQ(log.Opened, 1);
    EXPECT_EQ(log.Preloads, 1);
    EXPECT_THAT(log.Played, ::testing::ElementsAre(SoundCue::Fill));
    ClickAt(Spot::ColourButton5);
    ClickAt(Spot::Sky);
    EXPECT_EQ(log.Opened, 1) << "opened again";
    EXPECT_THAT(log.Played, ::testing::ElementsAre(SoundCue::Fill, SoundCue::Fill));
}

TEST(ProgramSounds, EveryCueHasItsSoundInTheProgram) {
    for (int i = 0; i < SoundCueCount; ++i) {
        QFile file(QString(":/sounds/") + SoundFileName(static_cast<SoundCue>(i)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        QByteArray head = file.read(44);
        EXPECT_TRUE(head.startsWith("RIFF") && head.mid(8, 4) == "WAVE") << file.fileName().toStdString();
        EXPECT_GT(file.size(), 1000) << file.fileName().toStdString();
    }
}

// The test programs lie beside the module, as the program does in a build.
TEST(PrintModule, OpensThePrintDialogWithItsPreviewAndReportsNothingWhenAllIsWell) {
    QString problem;
    RunPrintDialogFunction run = LoadPrintModule(PrintModuleCandidates(QCoreApplication::applicationDirPath()), &problem);
    ASSERT_NE(run, nullptr) << problem.toStdString();
    QImage page(376, 225, QImage::Format_RGB32);
    page.fill(Qt::yellow);
    QString title;
    QTimer::singleShot(200, [&title] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            title = dialog->windowTitle();
            dialog->close();
        }
    });
    std::vector<std::string> reported;
    run(nullptr, "Picture 2", {page}, [&reported](const std::string& message) { reported.push_back(message); });
    EXPECT_EQ(title, "Print Picture 2");
    EXPECT_TRUE(reported.empty()) << reported.front();
}

TEST(PrintModule, AMissingModuleIsNamedAndPrintingSaysSo) {
    QTemporaryDir dir;
    const QString missing = dir.filePath("libvorelprint.so");
    QString problem;
    EXPECT_EQ(LoadPrintModule({missing}, &problem), nullptr);
    EXPECT_THAT(problem.toStdString(), ::testing::HasSubstr(missing.toStdString() + ": not found"));
    const QStringList installed = PrintModuleCandidates("/usr/bin");
    ASSERT_EQ(installed.size(), 2);
    EXPECT_TRUE(installed[1].endsWith("/vorel/modules/libvorelprint.so")) << installed[1].toStdString();
}
