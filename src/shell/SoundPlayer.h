#pragma once
// The toy's sounds: one short effect per cue. The sound system (the module
// that plays them, and the audio libraries it brings) is opened at the first
// sound wanted, never at start-up; it then loads every cue at once. Where
// there is no sound device (a build machine, a remote desktop) the player
// stays silent without a word and without trying again; muted, it plays
// nothing and opens nothing.

#include "shell/SoundOutput.h"

#include <QObject>
#include <QUrl>

#include <functional>
#include <memory>

class SoundPlayer : public QObject {
public:
    // Opens the sound system; nullptr when there is none to play on.
    using OutputFactory = std::function<std::unique_ptr<SoundOutput>()>;

    // folder: where the cues' WAV files lie, a URL ending in '/'; the
    // program's own sounds are at "qrc:/sounds/". The sound system is the
    // module found beside the program or where it is installed.
    explicit SoundPlayer(QUrl folder, QObject* parent = nullptr);
    ~SoundPlayer() override;

    // Another way to open the sound system (tests); forgets any opened.
    void SetOutputFactory(OutputFactory make);

    void Play(SoundCue cue);
    void SetMuted(bool muted) { IsMuted = muted; }
    bool Muted() const { return IsMuted; }
    // Whether there is a device to play on; the first call opens the sound system.
    bool HasDevice() { return Output() != nullptr; }
    // Whether the sound system has been asked for yet.
    bool Opened() const { return Tried; }
    // How many times a cue was started (tests; counts also when silent).
    int Started() const { return StartCount; }

private:
    SoundOutput* Output();

    OutputFactory Make;
    std::unique_ptr<SoundOutput> Made;
    bool Tried = false;
    bool IsMuted = false;
    int StartCount = 0;
};
