#include "tests/support/TempFolder.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace stackmason::test {

TempFolder::TempFolder(const std::string& prefix) {
    const std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr)
        throw std::system_error(errno, std::generic_category(), "cannot make a folder like " + pattern);
    path_ = name.data();
    owner_ = ::getpid();
}

TempFolder::~TempFolder() {
    if (::getpid() != owner_)
        return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::File(const std::string& name) const { return (path_ / name).string(); }

namespace {

// Set by the process that made the folder; its death tests' children inherit it.
constexpr const char* kInheritedFolder = "STACKMASON_TEST_PROCESS_FOLDER";

std::filesystem::path MakeProcessFolder() {
    const char* inherited = ::getenv(kInheritedFolder);
    std::error_code error;
    if (inherited != nullptr && std::filesystem::is_directory(inherited, error))
        return inherited;
    static const TempFolder folder("stackmason-process");
    ::setenv(kInheritedFolder, folder.Path().c_str(), 1);
    return folder.Path();
}

}  // namespace

const std::filesystem::path& ProcessTempFolder() {
    static const std::filesystem::path path = MakeProcessFolder();
    return path;
}

std::string ProcessTempFile(const std::string& name) { return (ProcessTempFolder() / name).string(); }

}  // namespace stackmason::test
