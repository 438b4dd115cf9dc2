#pragma once
// Whether the toy plays its sounds; kept in the settings of
// "KEL! Software"/"Vorel" under "Sound" (on unless switched off).

// The kept choice; a missing or unreadable value counts as on.
bool ReadSoundSetting();
// Keeps the choice (written only when it changed, never in place); a failure
// to write is ignored, the switch still acts.
void WriteSoundSetting(bool on);
