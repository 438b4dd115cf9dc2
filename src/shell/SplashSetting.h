#pragma once
// Whether the about dialog shows when the main window first shows; kept in
// the settings of "KEL! Software"/"Vorel" under "SplashScreen".

extern bool ShowSplash;

// Sets ShowSplash from the settings; a missing or unreadable value keeps true.
void ReadSplashSetting();
// Writes ShowSplash back; a failure to write is ignored.
void WriteSplashSetting();
