#pragma once
// The Qt side of the platform seam. Key states come from the modifiers of the
// last input event the application saw (the desktop's own query misses keys
// sent by test drivers); message boxes go through a replaceable question
// function so that tests can answer them.

#include "platform/Platform.h"
#include "shell/CapsLock.h"
#include "shell/ProgramCursors.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class SoundPlayer;

class QtPlatform : public QObject, public Platform {
public:
    using QuestionFunction = std::function<MessageResult(const std::string&, MessageKind, MessageButtons)>;

    // arguments: the command line after the program's name, without the
    // shell's own options.
    explicit QtPlatform(QStringList arguments);
    ~QtPlatform() override;

    // Answers every question in place of a message box; empty: message boxes.
    void SetQuestionFunction(QuestionFunction question) { Question = std::move(question); }
    // The widget whose cursor the play-area cursor calls set.
    void SetPlayArea(QWidget* playArea) { PlayArea = playArea; }
    const ProgramCursors& Cursors() const;
    // Called on every key, mouse and wheel event the application sees, before
    // it is delivered, and when Caps Lock changes; nullptr for none.
    void SetInputObserver(std::function<void()> observer);
    // For tests and for desktops where it cannot be read: the Caps Lock state.
    void SetCapsLockOverride(std::optional<bool> on) { CapsLockOverride = on; }

    std::optional<std::string> CommonDataFolder() const override;
    std::string ProgramFolder() const override;
    std::vector<std::string> Arguments() const override;
    MessageResult ShowMessage(const std::string& text, MessageKind kind, MessageButtons buttons) override;
    bool IsShiftDown() const override { return Modifiers & Qt::ShiftModifier; }
    bool IsCtrlDown() const override { return Modifiers & Qt::ControlModifier; }
    bool IsCapsLockOn() const override;
    uint32_t Milliseconds() const override;
    void ProcessPendingMessages() override;
    void SetScreenCursor(ScreenCursor cursor) override;
    void SetPlayAreaCursor(CursorKind kind) override;
    void RefreshPointer() override;
    bool OpenUrl(const std::string& url) override;
    void PlaySound(SoundCue cue) override;
    // Where the core's sounds go; silence without one.
    void SetSoundPlayer(SoundPlayer* player);

    // The default question: a modal message box with the application's title.
    // A modal box, centred on parent when there is one.
    static MessageResult AskWithMessageBox(const std::string& text, MessageKind kind, MessageButtons buttons,
                                           QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BoxParent() const;
    void ShowHourglassIfWanted();
    QStringList Args;
    QuestionFunction Question;
    QPointer<QWidget> PlayArea;
    QPointer<SoundPlayer> Sounds;
    mutable std::unique_ptr<ProgramCursors> CursorSet;
    Qt::KeyboardModifiers Modifiers;
    CapsLockTracker CapsLock;
    std::function<void()> InputObserver;
    std::optional<bool> CapsLockOverride;
    bool Hourglass = false;      // wanted by the core
    bool HourglassShown = false; // the application's override cursor
};
