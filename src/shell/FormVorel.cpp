#include "shell/FormVorel.h"

#include "activity/DataFiles.h"
#include "engine/World.h"
#include "foundation/KelException.h"
#include "foundation/Paths.h"
#include "image/HotImage.h"
#include "image/ZQ5ImageData.h"
#include "image/ZQ5Library.h"
#include "shell/ApplicationTitle.h"
#include "shell/ArtButton.h"
#include "shell/BlockLayout.h"
#include "shell/CompanionPlacement.h"
#include "shell/EventBoundary.h"
#include "shell/FirstPaint.h"
#include "shell/FlatFrame.h"
#include "shell/GrownUpsMenu.h"
#include "shell/PanelButton.h"
#include "shell/QtConvert.h"
#include "shell/QtPlatform.h"
#include "shell/ShellFonts.h"
#include "shell/SoundPlayer.h"
#include "shell/SoundSetting.h"
#include "shell/SplashSetting.h"
#include "shell/ThumbnailBox.h"
#include "shell/TileBG.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <initializer_list>

TZQ5Library* ImageLibrary = nullptr;

namespace {
const QColor Teal(0, 128, 128);
const QColor Yellow(255, 255, 0);

// Ctrl+Z undoes; Ctrl+Shift+Z and Ctrl+Y redo. Other modifiers (Alt, the
// keypad flag aside) make another key.
const char* HistoryCommandOf(int key, Qt::KeyboardModifiers modifiers) {
    modifiers &= ~Qt::KeypadModifier;
    if (key == Qt::Key_Z && modifiers == Qt::ControlModifier) return "UNDO";
    if (key == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) return "REDO";
    if (key == Qt::Key_Y && modifiers == Qt::ControlModifier) return "REDO";
    return nullptr;
}

void Place(QWidget* widget, const TRect& rect, int scale, TPoint offset) {
    widget->setGeometry(ToQRect(RectAddPt(ScaleRect(rect, scale), offset)));
}
} // namespace

TFormVorel::TFormVorel(QtPlatform& platform, int forcedScale)
    : ScriptLoader(LoadCheckedScript), Plat(platform), ForcedScale(forcedScale) {
    setWindowTitle("Game");
    setMinimumSize(layout::ClientWidth, layout::ClientHeight);
    resize(layout::ClientWidth, layout::ClientHeight);
    setFocusPolicy(Qt::StrongFocus);
    BuildComponents();
}

TFormVorel::~TFormVorel() {
    // No input or tick may reach the world while the members go (in the
    // order the header gives).
    Plat.SetInputObserver(nullptr);
    tmrTick->stop();
}

void TFormVorel::BuildComponents() {
    BG = new TTileBG(this);
    BG->SetImageName("tile");
    bvlBorder = new FlatFrame(this);
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

    pnlFrame = new FlatFrame(this);
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

    cmdUndo = new ArtButton(":/art/undo.png", "Undo", this);
    cmdUndo->setToolTip("Undo (Ctrl+Z)");
    cmdUndo->OnClick = [this] { SendKeyCommand("UNDO"); };
    cmdRedo = new ArtButton(":/art/redo.png", "Redo", this);
    cmdRedo->setToolTip("Redo (Ctrl+Shift+Z or Ctrl+Y)");
    cmdRedo->OnClick = [this] { SendKeyCommand("REDO"); };

    tmrTick = new QTimer(this);
    tmrTick->setInterval(55);
    tmrTick->setTimerType(Qt::PreciseTimer);
    connect(tmrTick, &QTimer::timeout, this, [this] { Guarded([this] { tmrTickTimer(); }); });
    BuildGrownUpsMenu();
    FormResize();
}

void TFormVorel::BuildGrownUpsMenu() {
    Sound = new SoundPlayer(QUrl("qrc:/sounds/"), this);
    Sound->SetMuted(!ReadSoundSetting());
    Plat.SetSoundPlayer(Sound);
    Grownups = new GrownUpsMenu(
        *this,
        [this](int number, PictureForm form) {
            if (!TheWorld) throw KelException("The pictures are not ready yet");
            return PictureOfWorld(*TheWorld, number, form);
        },
        *Sound);
    Grownups->ShownPicture = [this] { return static_cast<int>(Current); };
    for (int i = 1; i <= 4; ++i)
        pbxPic[static_cast<size_t>(i)]->OnMenu = [this](int tag, const QPoint& at) {
            Grownups->Popup(tag, at);
        };
}

void TFormVorel::SetCompanions(TDlgAbout* about, TFormHelp* help) {
    About.SetExisting(about);
    Help.SetExisting(help);
}

void TFormVorel::SetCompanionFactories(LazyWindow<TDlgAbout>::Factory about,
                                       LazyWindow<TFormHelp>::Factory help) {
    About.SetFactory(std::move(about));
    Help.SetFactory(std::move(help));
}

void TFormVorel::ShowAbout() {
    TDlgAbout* about = About.Get();
    if (about && !about->isVisible()) about->exec();
}

TFormHelp* TFormVorel::HelpWindow() {
    const bool fresh = !Help.IfMade();
    TFormHelp* help = Help.Get();
    if (help && fresh && Shown) PlaceHelp(*help);
    return help;
}

// Beside the toy where the screen has room, else where it hides the least
// of the play area; placed at every showing, as the window may have moved.
void TFormVorel::PlaceHelp(TFormHelp& help) {
    help.SetScale(Scale);
    const QRect screenArea = screen() ? screen()->availableGeometry() : QRect(0, 0, 800, 600);
    const QRect play(PlayView->mapToGlobal(QPoint(0, 0)), PlayView->size());
    // The frame's extra width and height: nothing without a window manager.
    const QSize extra = help.frameGeometry().size() - help.size();
    const int width = help.width() + extra.width();
    const int height = help.height() + extra.height();
    TPoint at = PlaceCompanion(ToTRect(screenArea), ToTRect(frameGeometry()), ToTRect(play), width, height);
    help.move(at.X, at.Y);
}

void TFormVorel::FormCreate() {
    // The event loop is about to wait: the application is idle.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this, [] {
        if (World) World->Flags |= wfIdle;
    });
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this] { RealizeLibraryPalette(*this, Library.get()); });
    Plat.SetInputObserver([this] { WakeTick(); });
    LoadLibraryAndThumbnails();
    Plat.ProcessPendingMessages();
    ThumbFrameUp = THotImage::Create("picon_up");
    ThumbFrameDown = THotImage::Create("picon_dn");
    SizeToScreen();
    CreateWorld();
}

// The window is sized to the block at its scale itself, since a bare X server
// maximises nothing; a window manager may still maximise it when no scale was
// asked for, and the block is then centred in the larger window.
void TFormVorel::SizeToScreen() {
    const QRect available = screen() ? screen()->availableGeometry() : QRect(0, 0, BlockWidth, BlockHeight);
    const ClientSize size = OpeningSize(available.width(), available.height(), ForcedScale);
    resize(size.Width, size.Height);
    // Centred; a window larger than the screen keeps its top-left corner on it.
    move(std::max(available.left(), available.center().x() - size.Width / 2),
         std::max(available.top(), available.center().y() - size.Height / 2));
    if (ForcedScale == 0) setWindowState(windowState() | Qt::WindowMaximized);
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

void TFormVorel::ForgetPictureThumbs() {
    PictureThumbs.fill(nullptr);
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
    WakeTick();
    HighlightThumbnail(Current, false);
    HighlightThumbnail(index, true);
    Current = static_cast<uint8_t>(index);
    TheWorld->GoRoom("VOREL" + std::to_string(index));
}

void TFormVorel::tmrTickTimer() {
    if (!TheWorld) return;
    ShowVersionIfWanted();
    uint32_t count = Clock.Advance(Plat.Milliseconds());
    TheWorld->Tick(static_cast<int32_t>(count));
    if (TheWorld->HasFlag(wfQuit)) {
        close();
        return;
    }
    // An idle program wakes no one: the tick rests until input comes.
    if (TheWorld && TheWorld->IsQuiet()) tmrTick->stop();
}

void TFormVorel::WakeTick() {
    if (Closed || !TheWorld) return;
    ShowVersionIfWanted(); // Caps Lock may be what changed
    if (tmrTick->isActive()) return;
    Clock.Restart(Plat.Milliseconds());
    tmrTick->start();
}

void TFormVorel::ShowVersionIfWanted() {
    bool wanted = isMaximized() && Plat.IsCapsLockOn();
    if (lblVersion->isVisible() != wanted) lblVersion->setVisible(wanted);
}

void TFormVorel::pnlAboutClick() {
    ShowAbout();
}

void TFormVorel::BringToFront() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
    setFocus();
}

void TFormVorel::ViewMouseDown(int button, TShiftState shiftState, int32_t x, int32_t y) {
    if (!TheWorld) return;
    TheWorld->ViewMouseDown(button, shiftState, x, y);
    ShowInputDamage();
}

void TFormVorel::ViewMouseMove(TShiftState shiftState, int32_t x, int32_t y) {
    if (!TheWorld) return;
    TheWorld->ViewMouseMove(shiftState, x, y);
    ShowInputDamage();
}

void TFormVorel::ViewMouseUp(int button, TShiftState shiftState, int32_t x, int32_t y) {
    if (!TheWorld) return;
    TheWorld->ViewMouseUp(button, shiftState, x, y);
    ShowInputDamage();
}

// Waiting for the tick would show a click up to 55 ms late and a drag at the
// tick's rate; the pixels are the ones the tick would show, only sooner. The
// blit only marks its rectangle for repainting, and Qt paints what is marked
// once per pass of the event loop, so a burst of moves costs one paint.
void TFormVorel::ShowInputDamage() {
    if (!InputShownAtOnce || !TheWorld) return;
    const TZQ5ImageData* screen = TheWorld->Screen();
    if (screen && screen->IsDirty()) TheWorld->FlushView();
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
    Place(cmdUndo, layout::Undo, s, offset);
    Place(cmdRedo, layout::Redo, s, offset);
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
    // After the window's first frame, as the dialog is modal and would
    // otherwise be built and shown before the toy itself is seen.
    AfterFirstPaint(*PlayView, [this] { Guarded([this] { FormShow(); }); });
}

void TFormVorel::FormShow() {
    // Read only now: no pointer is over these before the window is seen.
    for (QWidget* button : std::initializer_list<QWidget*>{pnlAbout, cmdUndo, cmdRedo})
        button->setCursor(Plat.Cursors().Cursor(ckAction));
    if (ShowSplash) ShowAbout();
    if (TFormHelp* help = Help.IfMade()) PlaceHelp(*help);
}

void TFormVorel::ShowHelp() {
    TFormHelp* help = HelpWindow();
    if (!help || help->isVisible()) return;
    PlaceHelp(*help);
    help->show();
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
    if (TFormHelp* help = Help.IfMade()) help->hide();
    if (TDlgAbout* about = About.IfMade(); about && about->isVisible()) about->reject();
    CloseWaitingBoxes();
    event->accept();
}

void TFormVorel::CloseWaitingBoxes() {
    // A quit signal can come while a message box waits for an answer; the box
    // goes with the window (a question closed so answers No), or the program
    // would live on behind it until someone answered.
    for (int guard = 0; guard < 16; ++guard) {
        QWidget* modal = QApplication::activeModalWidget();
        auto* box = qobject_cast<QDialog*>(modal);
        if (!box || !box->isVisible()) return;
        box->reject();
    }
}

void TFormVorel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        ShowHelp();
        return;
    }
    if (event->key() == Qt::Key_F11) {
        setWindowState(windowState() ^ Qt::WindowFullScreen);
        return;
    }
    if (const char* command = HistoryCommandOf(event->key(), event->modifiers())) {
        SendKeyCommand(command);
        return;
    }
    QWidget::keyPressEvent(event);
}

void TFormVorel::SendKeyCommand(const char* command) {
    if (TheWorld) TheWorld->KeyCommand(command);
}

void TFormVorel::ShowHistory(bool canUndo, bool canRedo) {
    cmdUndo->SetAvailable(canUndo);
    cmdRedo->SetAvailable(canRedo);
}

void TFormVorel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        RealizeLibraryPalette(*this, Library.get());
    if (event->type() == QEvent::WindowStateChange) WakeTick();
}
