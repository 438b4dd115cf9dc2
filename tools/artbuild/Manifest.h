#pragma once
// The list of the interface drawings in art/images.txt, one per line ('#' comments):
//   image NAME FILE WIDTH HEIGHT [transparent INDEX]   a library image
//   cursor INDEX FILE HOTX HOTY                          a 32 x 32 cursor with alpha (1..5)
//   picture NAME FILE WIDTH HEIGHT                       a PNG with alpha for the program
// FILE is relative to the art folder.

#include <string>
#include <vector>

struct ManifestEntry {
    enum class Kind { Image, Cursor, Picture };
    Kind What = Kind::Image;
    std::string Name;
    std::string File;
    int Width = 0, Height = 0;
    int Transparent = -1;
    int HotX = 0, HotY = 0;
};

// Raises ArtError naming origin and the line that cannot be read.
std::vector<ManifestEntry> ParseManifest(const std::string& text, const std::string& origin);
