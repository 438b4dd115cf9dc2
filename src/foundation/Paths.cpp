#include "foundation/Paths.h"

#include "foundation/KelException.h"
#include "foundation/Text.h"

std::string ProgramPath;
std::string CommonPath;
std::string ProductPath;
std::string GamePath;
std::string DatPath;

const char* const DeveloperSwitch = "mordanthe";
const char* const DeveloperTreeFragment = "/build/bin/";

std::string IncludeTrailingDelimiter(const std::string& folder) {
    if (!folder.empty() && folder.back() == '/') return folder;
    return folder + "/";
}

void SetPaths(const PathFacts& facts, const std::string& productOverride) {
    const std::optional<std::string>& common = facts.CommonDataFolder;
    if (!common || common->empty()) throw KelException("SetPaths: Unable to get public documents path");
    CommonPath = IncludeTrailingDelimiter(*common);
    ProductPath =
        productOverride.empty() ? CommonPath + "Tamblin Games/Vimo's Quilo Vorel/" : productOverride;
    ProgramPath = IncludeTrailingDelimiter(facts.ProgramFolder);

    const std::vector<std::string>& args = facts.Arguments;
    bool inBuildTree = ContainsText(DeveloperTreeFragment, LowerCase(ProgramPath));
    if (inBuildTree && !args.empty() && args[0] == DeveloperSwitch) {
        GamePath = ProgramPath + "game/";
        DatPath = ProgramPath + "dat/";
        return;
    }
    GamePath = ProductPath;
    DatPath = GamePath + "dat/";
}

void EnsurePaths(const PathFacts& facts, bool force, const std::string& productOverride) {
    if (force || ProgramPath.empty()) SetPaths(facts, productOverride);
}
