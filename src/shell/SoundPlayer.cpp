#include "shell/SoundPlayer.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>

namespace {
// Qt Multimedia plays through a PulseAudio server here (PipeWire offers the
// same socket). Asking Qt for devices where there is no server makes it
// print a warning, so a missing server is recognised first, by the places
// its socket can be.
bool SoundServerPresent() {
    if (!qEnvironmentVariableIsEmpty("PULSE_SERVER")) return true;
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo::exists(runtime + "/pulse/native")) return true;
    return QFileInfo::exists("/run/pulse/native");
}
} // namespace

const char* SoundFileName(SoundCue cue) {
    switch (cue) {
    case SoundCue::Fill:
        return "fill.wav";
    case SoundCue::RandomFill:
        return "random-fill.wav";
    case SoundCue::AddObject:
        return "add-object.wav";
    case SoundCue::Delete:
        return "delete.wav";
    case SoundCue::DeleteAll:
        return "delete-all.wav";
    case SoundCue::BankPage:
        return "bank-page.wav";
    case SoundCue::TitleArrival:
        return "title-arrival.wav";
    }
    return "fill.wav";
}

SoundPlayer::SoundPlayer(QUrl folder, QObject* parent) : QObject(parent), Folder(std::move(folder)) {}

bool SoundPlayer::HasDevice() {
    if (!DeviceFound) DeviceFound = SoundServerPresent() && !QMediaDevices::audioOutputs().isEmpty();
    return *DeviceFound;
}

void SoundPlayer::Play(SoundCue cue) {
    ++StartCount;
    if (IsMuted || !HasDevice()) return;
    if (QSoundEffect* effect = Effect(cue)) effect->play();
}

void SoundPlayer::Preload() {
    if (!HasDevice()) return;
    for (int i = 0; i < SoundCueCount; ++i)
        Effect(static_cast<SoundCue>(i));
}

// Made once, on first use or by Preload; loading and decoding run
// without blocking the caller.
QSoundEffect* SoundPlayer::Effect(SoundCue cue) {
    auto index = static_cast<size_t>(cue);
    if (index >= Effects.size()) return nullptr;
    if (!Effects[index]) {
        Effects[index] = new QSoundEffect(this);
        Effects[index]->setSource(Folder.resolved(QUrl(SoundFileName(cue))));
    }
    return Effects[index];
}
