#pragma once
// What plays the cues' sounds. The real one lives in a module of its own
// (SoundEffects), loaded the first time a sound is wanted, so that a start
// without sound, or before the first sound, never loads the audio libraries.

#include "platform/SoundCue.h"

class QUrl;

constexpr int SoundCueCount = 7;

// The file name (without folder) of a cue's sound: "fill.wav" and so on.
const char* SoundFileName(SoundCue cue);

class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Whether the desktop offers a device to play on.
    virtual bool HasDevice() = 0;
    // Loads every cue's sound, so that none waits for loading when first played.
    virtual void Preload() = 0;
    virtual void Play(SoundCue cue) = 0;
};

// The module's one entry point, a C function of this name and type: the
// output for the sounds in folder (a URL ending in '/'), owned by the caller.
using MakeSoundOutputFunction = SoundOutput* (*)(const QUrl& folder);
constexpr const char* MakeSoundOutputName = "VorelMakeSoundOutput";
