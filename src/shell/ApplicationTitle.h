#pragma once
// The application's title: message boxes carry it, and the main window shows
// it while the world gives no caption.

constexpr const char* ApplicationTitle = "Vimo's Quilo Vorel";
