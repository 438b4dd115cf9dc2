// The sound module: the cues played with QSoundEffect, so that a click never
// waits for a sound. Built as a module of its own, the only part of the
// program that links Qt Multimedia and, through it, the audio libraries.

#include "shell/SoundOutput.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QObject>
#include <QSoundEffect>
#include <QUrl>

#include <array>
#include <memory>

namespace {
class SoundEffects final : public SoundOutput {
public:
    explicit SoundEffects(QUrl folder) : Folder(std::move(folder)) {}

    bool HasDevice() override { return !QMediaDevices::audioOutputs().isEmpty(); }

    void Preload() override {
        for (int i = 0; i < SoundCueCount; ++i)
            Effect(static_cast<SoundCue>(i));
    }

    void Play(SoundCue cue) override {
        if (QSoundEffect* effect = Effect(cue)) effect->play();
    }

private:
    // Made once; loading and decoding run without blocking the caller, and a
    // play asked for before the sound is loaded starts when it is.
    QSoundEffect* Effect(SoundCue cue) {
        auto index = static_cast<size_t>(cue);
        if (index >= Effects.size()) return nullptr;
        if (!Effects[index]) {
            Effects[index] = std::make_unique<QSoundEffect>();
            Effects[index]->setSource(Folder.resolved(QUrl(SoundFileName(cue))));
        }
        return Effects[index].get();
    }

    QUrl Folder;
    std::array<std::unique_ptr<QSoundEffect>, SoundCueCount> Effects;
};
} // namespace

extern "C" Q_DECL_EXPORT SoundOutput* VorelMakeSoundOutput(const QUrl& folder) {
    return new SoundEffects(folder);
}
