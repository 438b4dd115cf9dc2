#include "shell/QtPlatform.h"

#include "shell/ApplicationTitle.h"
#include "shell/DesktopFacts.h"
#include "shell/QtConvert.h"
#include "shell/SoundPlayer.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QInputEvent>
#include <QKeyEvent>
#include <QUrl>
#include <QWidget>

#include <algorithm>

QtPlatform::QtPlatform(QStringList arguments) : Args(std::move(arguments)) {
    if (QCoreApplication::instance()) QCoreApplication::instance()->installEventFilter(this);
}

QtPlatform::~QtPlatform() {
    if (HourglassShown) QGuiApplication::restoreOverrideCursor();
}

const ProgramCursors& QtPlatform::Cursors() const {
    if (!CursorSet) CursorSet = std::make_unique<ProgramCursors>();
    return *CursorSet;
}

std::optional<std::string> QtPlatform::CommonDataFolder() const {
    return DesktopDataFolder();
}

std::string QtPlatform::ProgramFolder() const {
    return ProgramDataFolder();
}

std::vector<std::string> QtPlatform::Arguments() const {
    std::vector<std::string> result;
    for (const QString& a : Args)
        result.push_back(ToStd(a));
    return result;
}

MessageResult QtPlatform::ShowMessage(const std::string& text, MessageKind kind, MessageButtons buttons) {
    return Question ? Question(text, kind, buttons) : AskWithMessageBox(text, kind, buttons, BoxParent());
}

MessageResult QtPlatform::AskWithMessageBox(const std::string& text, MessageKind kind, MessageButtons buttons,
                                            QWidget* parent) {
    QMessageBox box(IconOf(kind), ApplicationTitle, ToQString(text), QMessageBox::NoButton, parent);
    if (buttons == MessageButtons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return MessageResult::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? MessageResult::Yes : MessageResult::No;
}

void QtPlatform::SetInputObserver(std::function<void()> observer) {
    InputObserver = std::move(observer);
    CapsLock.OnChange = InputObserver;
}

// A box opened over the shown main window is centred on it; before the
// window shows, the box stands alone in the middle of the screen.
QWidget* QtPlatform::BoxParent() const {
    QWidget* main = PlayArea ? PlayArea->window() : nullptr;
    return main && main->isVisible() ? main : nullptr;
}

bool QtPlatform::IsCapsLockOn() const {
    if (CapsLockOverride) return *CapsLockOverride;
    return CapsLock.On();
}

uint32_t QtPlatform::Milliseconds() const {
    return MonotonicMilliseconds();
}

void QtPlatform::ProcessPendingMessages() {
    QCoreApplication::processEvents();
}

void QtPlatform::SetScreenCursor(ScreenCursor cursor) {
    Hourglass = cursor == ScreenCursor::Hourglass;
    ShowHourglassIfWanted();
}

// The hourglass is shown over the program's windows. While none is on the
// screen (the loading at start) there is nothing to show it on, and the
// theme's animated hourglass would cost the start a few milliseconds to
// load: it waits for a window to be shown.
void QtPlatform::ShowHourglassIfWanted() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    const bool show = Hourglass && std::any_of(windows.begin(), windows.end(), [](QWidget* w) { return w->isVisible(); });
    if (show == HourglassShown) return;
    HourglassShown = show;
    if (show)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
}

void QtPlatform::SetPlayAreaCursor(CursorKind kind) {
    if (PlayArea) PlayArea->setCursor(Cursors().Cursor(kind));
}

void QtPlatform::RefreshPointer() {
    QCursor::setPos(QCursor::pos());
}

bool QtPlatform::OpenUrl(const std::string& url) {
    return QDesktopServices::openUrl(QUrl(ToQString(url)));
}

bool QtPlatform::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        Modifiers = key->modifiers();
        // The press and release of a modifier key itself may carry the state
        // from before the key; the key tells what it is now.
        bool down = event->type() == QEvent::KeyPress;
        if (key->key() == Qt::Key_Shift) Modifiers.setFlag(Qt::ShiftModifier, down);
        if (key->key() == Qt::Key_Control) Modifiers.setFlag(Qt::ControlModifier, down);
        CapsLock.NoticeKey(*key);
        if (InputObserver) InputObserver();
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::HoverMove:
        Modifiers = static_cast<QInputEvent*>(event)->modifiers();
        if (InputObserver) InputObserver();
        break;
    case QEvent::Show:
        if (Hourglass && !HourglassShown && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow())
            ShowHourglassIfWanted();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void QtPlatform::PlaySound(SoundCue cue) {
    if (Sounds) Sounds->Play(cue);
}

void QtPlatform::SetSoundPlayer(SoundPlayer* player) {
    Sounds = player;
}
