#include "shell/ShippedData.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {
bool NeedsCopy(const fs::path& source, const fs::path& target) {
    std::error_code error;
    if (!fs::exists(target, error)) return true;
    return fs::last_write_time(target, error) < fs::last_write_time(source, error);
}

void CopyOne(const fs::path& source, const fs::path& target) {
    fs::path temporary = target;
    temporary += ".new";
    try {
        fs::copy_file(source, temporary, fs::copy_options::overwrite_existing);
        // The copy keeps the shipped file's time, so that it is not older than
        // its source and is not copied again at every start.
        fs::last_write_time(temporary, fs::last_write_time(source));
        fs::rename(temporary, target);
    } catch (...) {
        // Nothing half copied stays behind to be mistaken for data.
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw;
    }
}
} // namespace

ShippedDataResult InstallShippedData(const std::string& shippedFolder, const std::string& datFolder) {
    ShippedDataResult result;
    std::error_code error;
    fs::path from(shippedFolder);
    fs::path to(datFolder);
    if (!fs::is_directory(from, error)) return result;
    if (fs::equivalent(from, to, error)) return result;
    try {
        fs::create_directories(to);
        for (const fs::directory_entry& entry : fs::directory_iterator(from)) {
            if (!entry.is_regular_file()) continue;
            fs::path target = to / entry.path().filename();
            if (!NeedsCopy(entry.path(), target)) continue;
            CopyOne(entry.path(), target);
            result.Copied.push_back(entry.path().filename().string());
        }
    } catch (const fs::filesystem_error& e) {
        result.Error = "The toy could not put a fresh copy of its own files into the folder \"" + datFolder +
                       "\" (" + e.what() + "). It goes on with the copies already there.";
    }
    return result;
}

std::string ShippedDataFolder(const std::string& programFolder, const std::string& fromProgram) {
    std::error_code error;
    const fs::path installed = (fs::path(programFolder) / fromProgram).lexically_normal();
    if (fs::is_regular_file(installed / "vorel.zq5", error)) {
        std::string folder = installed.string();
        if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
        return folder;
    }
    return programFolder;
}
