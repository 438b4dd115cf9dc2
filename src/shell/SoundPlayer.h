#pragma once
// The toy's sounds: one short effect per cue, played with QSoundEffect so
// that a click never waits for the sound. Where there is no sound device (a
// build machine, a remote desktop) the player stays silent without a word
// and without trying again; muted, it plays nothing.

#include "platform/SoundCue.h"

#include <QObject>
#include <QUrl>

#include <array>
#include <optional>

class QSoundEffect;

constexpr int SoundCueCount = 7;

// The file name (without folder) of a cue's sound: "fill.wav" and so on.
const char* SoundFileName(SoundCue cue);

class SoundPlayer : public QObject {
public:
    // folder: where the cues' WAV files lie, a URL ending in '/'; the
    // program's own sounds are at "qrc:/sounds/".
    explicit SoundPlayer(QUrl folder, QObject* parent = nullptr);

    void Play(SoundCue cue);
    // Loads every cue's sound now, so that none waits for loading when first
    // played; without a device it does nothing.
    void Preload();
    void SetMuted(bool muted) { IsMuted = muted; }
    bool Muted() const { return IsMuted; }
    // Whether the desktop offers a sound device; asked once, on first need.
    bool HasDevice();
    // How many times a cue was started (tests; counts also when silent).
    int Started() const { return StartCount; }

private:
    QSoundEffect* Effect(SoundCue cue);

    QUrl Folder;
    std::optional<bool> DeviceFound;
    bool IsMuted = false;
    int StartCount = 0;
    std::array<QSoundEffect*, SoundCueCount> Effects{};
};
