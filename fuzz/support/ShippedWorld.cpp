#include "support/ShippedWorld.h"

#include "activity/ActivityRoomKinds.h"
#include "engine/Scripts.h"
#include "foundation/Paths.h"
#include "image/HotImage.h"
#include "image/ZQ5Library.h"

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

std::string CorpusFile(const std::string& corpus, const std::string& name) {
    return std::string(VOREL_CORPUS_DIR) + "/" + corpus + "/" + name;
}

namespace {
struct Installed {
    Installed() {
        Folder = fs::temp_directory_path() / ("vorel-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(Folder / "dat");
        fs::create_directories(Folder / "games");
        fs::copy_file(CorpusFile("container", "pyx_init.dat"), Folder / "dat/pyx_init.dat",
                      fs::copy_options::overwrite_existing);
        fs::copy_file(CorpusFile("regionmap", "vorelmap.dat"), Folder / "dat/vorelmap.dat",
                      fs::copy_options::overwrite_existing);
        DatPath = (Folder / "dat").string() + "/";
        GamePath = (Folder / "games").string() + "/";
        Library.Load(CorpusFile("library", "vorel.zq5"), true);
        // Every image stays loaded, so that each input does not decode the
        // whole library again: inputs per second, not what is tested.
        for (const std::string& name : Library.ImageNames())
            Library.GetImage(name);
        THotImage::SetGlobalLibrary(&Library);
        RegisterActivityRoomKinds();
    }
    ~Installed() {
        THotImage::SetGlobalLibrary(nullptr);
        std::error_code ignored;
        fs::remove_all(Folder, ignored);
    }
    fs::path Folder;
    TZQ5Library Library;
};
} // namespace

TZQ5Library& ShippedLibrary() {
    static Installed installed;
    return installed.Library;
}

FuzzWorld::FuzzWorld() : View(PlayAreaWidth, PlayAreaHeight) {
    World = std::make_unique<TWorld>(Platform, Window, View, ShippedLibrary());
}

FuzzWorld::~FuzzWorld() = default;

void FuzzWorld::Initialise(std::function<void(TWorld&)> loader) {
    World->ScriptLoader = loader ? std::move(loader) : LoadScript;
    World->Initialise();
}

void FuzzWorld::ShowEveryRoom() {
    std::vector<std::string> ids;
    for (TRoom* room : World->Rooms)
        ids.push_back(room->GetID());
    for (const std::string& id : ids) {
        World->GoRoom(id);
        World->FlushView();
        if (World->HasFlag(wfQuit)) return;
    }
}
