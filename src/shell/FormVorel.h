#pragma once
// The main window: the tiled backdrop, the play area showing the world, the
// four picture thumbnails, the 55 ms tick that drives the world, F1 for the
// instructions, and the about panel. The block of play area and thumbnails
// is centred and shown at the largest whole scale that fits the window.

#include "foundation/ScopeGuard.h"
#include "platform/MainWindowServices.h"
#include "shell/DlgAbout.h"
#include "shell/FormHelp.h"
#include "shell/LazyWindow.h"
#include "shell/PlayArea.h"
#include "shell/TickClock.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class ArtButton;
class GrownUpsMenu;
class PanelButton;
class QFrame;
class QLabel;
class QTimer;
class QtPlatform;
class SoundPlayer;
class THotImage;
class ThumbnailBox;
class TTileBG;
class TWorld;
class TZQ5Library;

// The program's image library while the main window holds it.
extern TZQ5Library* ImageLibrary;

constexpr const char* VersionText = "1.7.5.0";
constexpr const char* VersionDate = "2011-06-21";

class TFormVorel : public QWidget, public MainWindowServices, private PlayAreaClient {
public:
    // forcedScale above 0 fixes the scale of the block.
    TFormVorel(QtPlatform& platform, int forcedScale);
    ~TFormVorel() override;

    // The window's start-up: library, thumbnails, cursors, world. Errors pass
    // on to the entry sequence, which then does not run the event loop.
    void FormCreate();
    // The about box and the instructions window, owned elsewhere (nullptr: none).
    void SetCompanions(TDlgAbout* about, TFormHelp* help);
    // Or built, and then owned, the first time they are wanted.
    void SetCompanionFactories(LazyWindow<TDlgAbout>::Factory about, LazyWindow<TFormHelp>::Factory help);
    TDlgAbout* AboutIfMade() const { return About.IfMade(); }
    TFormHelp* HelpIfMade() const { return Help.IfMade(); }
    // Builds the rooms when the world starts; the start-up script by default.
    std::function<void(TWorld&)> ScriptLoader;

    // MainWindowServices.
    void SetTitle(const std::string& title) override;
    bool IsMainWindowActive() const override;
    void DrawThumbnail(int index) override;
    void HighlightThumbnail(int index, bool on) override;
    void ShowHistory(bool canUndo, bool canRedo) override;

    void tmrTickTimer();
    void pbxPicClick(int index);
    void pnlAboutClick();
    // F1: the instructions, beside the toy.
    void ShowHelp();
    // A later instance asked for the window.
    void BringToFront();

    int BlockScale() const { return Scale; }
    int CurrentPicture() const { return Current; }
    TWorld* GameWorld() const { return TheWorld.get(); }
    PlayArea* View() const { return PlayView; }
    ThumbnailBox* Thumbnail(int index) const { return pbxPic[static_cast<size_t>(index)]; }
    QLabel* VersionLabel() const { return lblVersion; }
    QTimer* TickTimer() const { return tmrTick; }
    // Off: the damage of mouse input waits for the next tick, as the timing
    // of the original program had it (kept to compare both timings).
    void SetInputShownAtOnce(bool on) { InputShownAtOnce = on; }
    ArtButton* UndoButton() const { return cmdUndo; }
    ArtButton* RedoButton() const { return cmdRedo; }
    GrownUpsMenu* GrownUps() const { return Grownups; }
    SoundPlayer* Sounds() const { return Sound; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void CloseWaitingBoxes();
    void BuildComponents();
    void BuildGrownUpsMenu();
    void LoadLibraryAndThumbnails();
    void CreateWorld();
    void SizeToScreen();
    void FormResize();
    void FormShow();
    void pbxPicPaint(int index, const TRect& clip);
    void FrameThumbnail(int index, THotImage& frame);
    void ShowAbout();
    TFormHelp* HelpWindow();
    void PlaceHelp(TFormHelp& help);
    // "UNDO" or "REDO", from the buttons and the keys alike.
    void SendKeyCommand(const char* command);

    void ViewMouseDown(int button, TShiftState shiftState, int32_t x, int32_t y) override;
    void ViewMouseMove(TShiftState shiftState, int32_t x, int32_t y) override;
    void ViewMouseUp(int button, TShiftState shiftState, int32_t x, int32_t y) override;
    void ViewPaint(const TRect& clip) override;
    void ShowInputDamage();
    // On any input: starts the resting tick again, counting no ticks for the
    // rest, and shows the version label when it is wanted.
    void WakeTick();
    void ShowVersionIfWanted();
    static void ForgetPictureThumbs();

    QtPlatform& Plat;
    int ForcedScale;
    int Scale = 1;
    bool Shown = false;
    bool Closed = false;
    bool InputShownAtOnce = true;

    TTileBG* BG;
    QFrame* bvlBorder;
    QLabel* lblVersion;
    std::array<ThumbnailBox*, 5> pbxPic{};
    QLabel* lblHelpPrompt;
    QFrame* pnlFrame;
    PanelButton* pnlAbout;
    ArtButton* cmdUndo;
    ArtButton* cmdRedo;
    QTimer* tmrTick;
    PlayArea* PlayView;
    SoundPlayer* Sound;
    GrownUpsMenu* Grownups;
    LazyWindow<TDlgAbout> About;
    LazyWindow<TFormHelp> Help;

    // They go world first and library last: the rooms still draw into the
    // thumbnails while they go, and every image goes back before the library
    // closes. The library itself clears the variables registered with it
    // (ImageLibrary, the class-wide libraries, the backdrop's), so the
    // widgets that go after it find none.
    std::unique_ptr<TZQ5Library> Library;
    std::array<std::unique_ptr<THotImage>, 5> Thumbs;
    ScopeGuard<void (*)()> ForgetThumbs{&TFormVorel::ForgetPictureThumbs};
    std::unique_ptr<THotImage> ThumbFrameUp;
    std::unique_ptr<THotImage> ThumbFrameDown;
    uint8_t Current = 0;
    std::unique_ptr<TWorld> TheWorld;
    TickClock Clock{55};
};
