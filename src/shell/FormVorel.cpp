#include "shell/FormVorel.h"

#include "engine/Scripts.h"
#include "engine/World.h"
#include "foundation/KelException.h"
#include "foundation/Paths.h"
#include "image/HotImage.h"
#include "image/ZQ5ImageData.h"
#include "image/ZQ5Library.h"
#include "shell/ApplicationTitle.h"
#include "shell/BlockLayout.h"
#include "shell/DlgAbout.h"
#include "shell/EventBoundary.h"
#include "shell/FormHelp.h"
#include "shell/PanelButton.h"
#include "shell/QtConvert.h"
#include "shell/QtPlatform.h"
#include "shell/ShellFonts.h"
#include "shell/SplashSetting.h"
#include "shell/ThumbnailBox.h"
#include "shell/TileBG.h"

#include <QAbstractEventDispatcher>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>

TZQ5Library* ImageLibrary = nullptr;

namespace {
const QColor Teal(0, 128, 128);
const QColor Yellow(255, 255, 0);

void Place(QWidget* widget, const TRect& rect, int scale, TPoint offset) {
    widget->setGeometry(ToQRect(RectAddPt(ScaleRect(rect, scale), offset)));
}
} // namespace

TFormVorel::TFormVorel(QtPlatform& platform, int forcedScale)
    : ScriptLoader(LoadScript), Plat(platform), ForcedScale(forcedScale) {
    setWindowTitle("Game");
    setMinimumSize(layout::ClientWidth, layout::ClientHeight);
    resize(layout::ClientWidth, layout::ClientHeight);
    setFocusPolicy(Qt::StrongFocus);
    BuildComponents();
}

TFormVorel::~TFormVorel() {
    // The world and the images go back to the library before it closes.
    tmrTick->stop();
    TheWorld.reset();
    for (size_t i = 1; i <= 4; ++i)
        PictureThumbs[i] = nullptr;
    for (auto& thumb : Thumbs)
        thumb.reset();
    ThumbFrameUp.reset();
    ThumbFrameDown.reset();
    BG->SetLibrary(nullptr);
    TTileBG::SetGlobalImageLibrary(nullptr);
    THotImage::SetGlobalLibrary(nullptr);
    Library.reset();
}

void TFormVorel::BuildComponents() {
    BG = new TTileBG(this);
    BG->SetImageName("tile");
    bvlBorder = new QFrame(this);
    bvlBorder->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bvlBorder->setAttribute(Qt::WA_TransparentForMouseEvents);

    lblVersion = new QLabel(QString("V%1 (%2)").arg(VersionText, VersionDate), this);
    lblVersion->hide();
    for (int i = 1; i <= 4; ++i) {
        auto* box = new ThumbnailBox(i, this);
        box->OnPaint = [this](int tag, const TRect& clip) { pbxPicPaint(tag, clip); };
        box->OnClick = [this](int tag) { pbxPicClick(tag); };
        pbxPic[static_cast<size_t>(i)] = box;
    }
    lblHelpPrompt = new QLabel("Press F1 for instructions", this);
    lblHelpPrompt->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    pnlFrame = new QFrame(this);
    pnlFrame->setAutoFillBackground(true);
    QPalette framePalette = pnlFrame->palette();
    framePalette.setColor(QPalette::Window, Teal);
    pnlFrame->setPalette(framePalette);
    pnlFrame->setFrameStyle(QFrame::Box | QFrame::Plain);
    PlayView = new PlayArea(*this, pnlFrame);
    Plat.SetPlayArea(PlayView);

    pnlAbout = new PanelButton("About...", this);
    pnlAbout->SetBackground(Yellow);
    pnlAbout->setFrameStyle(QFrame::NoFrame);
    pnlAbout->OnClick = [this] { pnlAboutClick(); };

    tmrTick = new QTimer(this);
    tmrTick->setInterval(55);
    tmrTick->setTimerType(Qt::PreciseTimer);
    connect(tmrTick, &QTimer::timeout, this, [this] { Guarded([this] { tmrTickTimer(); }); });
    FormResize();
}

void TFormVorel::SetCompanions(TDlgAbout* about, TFormHelp* help) {
    About = about;
    Help = help;
}

void TFormVorel::FormCreate() {
    // The event loop is about to wait: the application is idle.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this, [] {
        if (World) World->Flags |= wfIdle;
    });
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this] { RealizeLibraryPalette(*this, Library.get()); });
    LoadLibraryAndThumbnails();
    Plat.ProcessPendingMessages();
    pnlAbout->setCursor(Plat.Cursors().Cursor(1));
    ThumbFrameUp = THotImage::Create("picon_up");
    ThumbFrameDown = THotImage::Create("picon_dn");
    setWindowState(windowState() | Qt::WindowMaximized);
    CreateWorld();
}

void TFormVorel::LoadLibraryAndThumbnails() {
    Library = std::make_unique<TZQ5Library>();
    Library->Load(ProgramPath + "vorel.zq5", true);
    ImageLibrary = Library.get();
    Library->AddReference(&ImageLibrary);
    THotImage::SetGlobalLibrary(Library.get());
    TTileBG::SetGlobalImageLibrary(Library.get());
    BG->SetLibrary(Library.get());
    Current = 0;

    std::unique_ptr<THotImage> frame = THotImage::Create("picon_up");
    for (size_t i = 1; i <= 4; ++i) {
        Thumbs[i] = THotImage::CreateCopy(frame->ImageData());
        Thumbs[i]->ImageData().SetTransparent(0, false);
        PictureThumbs[i] = Thumbs[i].get();
    }
}

void TFormVorel::CreateWorld() {
    TheWorld = std::make_unique<TWorld>(Plat, *this, PlayView->Target(), *Library);
    TheWorld->ScriptLoader = ScriptLoader;
    Plat.ProcessPendingMessages();
    TheWorld->Initialise();
    tmrTick->start();
    TheWorld->Start();
}

void TFormVorel::SetTitle(const std::string& title) {
    setWindowTitle(title.empty() ? QString(ApplicationTitle) : ToQString(title));
}

bool TFormVorel::IsMainWindowActive() const {
    return isActiveWindow();
}

void TFormVorel::DrawThumbnail(int index) {
    if (index < 1 || index > 4 || !PictureThumbs[static_cast<size_t>(index)] || !Library)
        throw AssertionFailure("source\\frm\\Main", 356);
    DisplayTarget& target = pbxPic[static_cast<size_t>(index)]->Target();
    const auto palette = target.ShowThrough(&Library->GetHPal());
    PictureThumbs[static_cast<size_t>(index)]->ImageData().DisplayDamage(target, {0, 0});
}

void TFormVorel::FrameThumbnail(int index, THotImage& frame) {
    TZQ5ImageData& source = frame.ImageData();
    PictureThumbs[static_cast<size_t>(index)]->ImageData().CopyFrom({0, 0}, source, source.BoundsRect());
    DrawThumbnail(index);
}

void TFormVorel::HighlightThumbnail(int index, bool on) {
    if (Current != 0 && (!on || index != Current)) {
        if (ThumbFrameUp) FrameThumbnail(Current, *ThumbFrameUp);
        Current = 0;
    }
    if (on && index >= 1 && index <= 4) {
        Current = static_cast<uint8_t>(index);
        if (ThumbFrameDown) FrameThumbnail(index, *ThumbFrameDown);
    }
}

void TFormVorel::pbxPicPaint(int index, const TRect& clip) {
    if (!PictureThumbs[static_cast<size_t>(index)] || !Library) return;
    PictureThumbs[static_cast<size_t>(index)]->ImageData().AddDamage(clip);
    DrawThumbnail(index);
}

void TFormVorel::pbxPicClick(int index) {
    if (index == Current || !TheWorld) return;
    HighlightThumbnail(Current, false);
    HighlightThumbnail(index, true);
    Current = static_cast<uint8_t>(index);
    TheWorld->GoRoom("VOREL" + std::to_string(index));
}

void TFormVorel::tmrTickTimer() {
    if (!TheWorld) return;
    bool wanted = isMaximized() && Plat.IsCapsLockOn();
    if (lblVersion->isVisible() != wanted) lblVersion->setVisible(wanted);
    uint32_t count = Clock.Advance(Plat.Milliseconds());
    TheWorld->Tick(static_cast<int32_t>(count));
    if (TheWorld->HasFlag(wfQuit)) close();
}

void TFormVorel::pnlAboutClick() {
    if (About && !About->isVisible()) About->exec();
}

void TFormVorel::BringToFront() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
    setFocus();
}

void TFormVorel::ViewMouseDown(int button, uint8_t shiftState, int32_t x, int32_t y) {
    if (TheWorld) TheWorld->ViewMouseDown(button, shiftState, x, y);
}

void TFormVorel::ViewMouseMove(uint8_t shiftState, int32_t x, int32_t y) {
    if (TheWorld) TheWorld->ViewMouseMove(shiftState, x, y);
}

void TFormVorel::ViewMouseUp(int button, uint8_t shiftState, int32_t x, int32_t y) {
    if (TheWorld) TheWorld->ViewMouseUp(button, shiftState, x, y);
}

void TFormVorel::ViewPaint(const TRect& clip) {
    if (TheWorld) TheWorld->ViewPaint(clip);
}

void TFormVorel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

// Centres the block of play area and thumbnails at the largest whole scale
// that fits, with the raised frame around it.
void TFormVorel::FormResize() {
    Scale = ChooseScale(width(), height(), ForcedScale);
    const int s = Scale;
    BG->setGeometry(rect());
    BG->SetScale(s);
    const TRect frame = ScaleRect(layout::Frame, s);
    const int thumbsBottom = layout::Thumbs[0].Bottom * s;
    const TPoint offset = CentringOffset(width(), height(), frame, thumbsBottom);

    Place(pnlFrame, layout::Frame, s, offset);
    pnlFrame->setLineWidth(layout::FrameBorder * s);
    PlayView->setGeometry(layout::FrameBorder * s, layout::FrameBorder * s, layout::PlayWidth * s,
                          layout::PlayHeight * s);
    PlayView->SetScale(s);
    Place(pnlAbout, layout::About, s, offset);
    Place(lblVersion, layout::Version, s, offset);
    Place(lblHelpPrompt, layout::HelpPrompt, s, offset);
    for (int i = 1; i <= 4; ++i) {
        ThumbnailBox* box = pbxPic[static_cast<size_t>(i)];
        Place(box, layout::Thumbs[static_cast<size_t>(i - 1)], s, offset);
        box->SetScale(s);
    }
    bvlBorder->setGeometry(ToQRect(BevelAround(RectAddPt(frame, offset), thumbsBottom + offset.Y, s)));
    bvlBorder->setLineWidth(s);
    bvlBorder->lower();
    BG->lower();

    pnlAbout->setFont(ShellFont(FontFace::Sans, 12 * s, true));
    lblVersion->setFont(ShellFont(FontFace::Sans, 12 * s));
    lblHelpPrompt->setFont(ShellFont(FontFace::Sans, 12 * s));
}

void TFormVorel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    RealizeLibraryPalette(*this, Library.get());
    if (Shown) return;
    Shown = true;
    // After the window has come up, as the dialog is modal.
    QTimer::singleShot(0, this, [this] { Guarded([this] { FormShow(); }); });
}

void TFormVorel::FormShow() {
    if (ShowSplash && About && !About->isVisible()) About->exec();
    if (Help) {
        QRect screen = this->screen() ? this->screen()->geometry() : QRect(0, 0, 800, 600);
        Help->move(screen.width() - Help->frameGeometry().width() - 20, 20);
    }
}

void TFormVorel::closeEvent(QCloseEvent* event) {
    if (!Closed) {
        Closed = true;
        tmrTick->stop();
        // The pictures are kept even when saving fails: the previous file
        // stays intact, and the failure is shown before the window goes.
        Guarded([this] {
            if (TheWorld) TheWorld->SaveGame('1');
        });
    }
    // The companions go with the main window, also a modal about box that a
    // quit signal interrupted, so that the program ends.
    if (Help) Help->hide();
    if (About && About->isVisible()) About->reject();
    event->accept();
}

void TFormVorel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        if (Help && !Help->isVisible()) Help->show();
        return;
    }
    if (event->key() == Qt::Key_F11) {
        setWindowState(windowState() ^ Qt::WindowFullScreen);
        return;
    }
    QWidget::keyPressEvent(event);
}

void TFormVorel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        RealizeLibraryPalette(*this, Library.get());
}
