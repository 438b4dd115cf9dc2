#include "shell/SoundPlayer.h"

#include "shell/SoundModule.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
// Qt Multimedia plays through a PulseAudio server here (PipeWire offers the
// same socket). Asking Qt for devices where there is no server makes it
// print a warning, so a missing server is recognised first, by the places
// its socket can be, before the module is even loaded.
bool SoundServerPresent() {
    if (!qEnvironmentVariableIsEmpty("PULSE_SERVER")) return true;
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo::exists(runtime + "/pulse/native")) return true;
    return QFileInfo::exists("/run/pulse/native");
}

std::unique_ptr<SoundOutput> OpenSoundModule(const QUrl& folder) {
    if (!SoundServerPresent()) return nullptr;
    std::unique_ptr<SoundOutput> output =
        LoadSoundModule(SoundModuleCandidates(QCoreApplication::applicationDirPath()), folder);
    if (!output || !output->HasDevice()) return nullptr;
    return output;
}
} // namespace

SoundPlayer::SoundPlayer(QUrl folder, QObject* parent)
    : QObject(parent), Make([folder = std::move(folder)] { return OpenSoundModule(folder); }) {}

SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::SetOutputFactory(OutputFactory make) {
    Make = std::move(make);
    Made.reset();
    Tried = false;
}

void SoundPlayer::Play(SoundCue cue) {
    ++StartCount;
    if (IsMuted) return;
    if (SoundOutput* output = Output()) output->Play(cue);
}

// Opened once, whatever the answer. Every cue is loaded at once, so that only
// the first sound of a session waits for loading.
SoundOutput* SoundPlayer::Output() {
    if (!Tried) {
        Tried = true;
        Made = Make ? Make() : nullptr;
        if (Made) Made->Preload();
    }
    return Made.get();
}
