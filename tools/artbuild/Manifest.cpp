#include "Manifest.h"

#include "ArtError.h"
#include "common/CommandLines.h"

#include <sstream>

std::vector<ManifestEntry> ParseManifest(const std::string& text, const std::string& origin) {
    std::vector<ManifestEntry> entries;
    ForEachCommandLine(text, [&](std::istringstream& words, const std::string& kind, const std::string& line,
                                 int number) {
        const std::string where = origin + " line " + std::to_string(number);
        ManifestEntry e;
        bool ok = false;
        if (kind == "image" || kind == "picture") {
            e.What = kind == "image" ? ManifestEntry::Kind::Image : ManifestEntry::Kind::Picture;
            ok = static_cast<bool>(words >> e.Name >> e.File >> e.Width >> e.Height);
            std::string option;
            if (ok && words >> option)
                ok = option == "transparent" && words >> e.Transparent && e.Transparent >= 0 &&
                     e.Transparent < 256 && e.What == ManifestEntry::Kind::Image;
        } else if (kind == "cursor") {
            e.What = ManifestEntry::Kind::Cursor;
            int index = 0;
            ok = static_cast<bool>(words >> index >> e.File >> e.HotX >> e.HotY) && index >= 1 && index <= 5;
            e.Name = std::to_string(index);
            e.Width = e.Height = 32;
        }
        std::string extra;
        if (!ok || words >> extra) throw ArtError(where + ": cannot read \"" + line + "\"");
        if (e.What == ManifestEntry::Kind::Image && e.Name.size() > 8)
            throw ArtError(where + ": image name " + e.Name + " is longer than 8 characters");
        entries.push_back(e);
    });
    return entries;
}
