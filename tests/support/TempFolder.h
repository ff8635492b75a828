#pragma once

#include <filesystem>
#include <string>

namespace stackmason::test {

// A fresh, empty folder of this object's own under TMPDIR (else /tmp), named after prefix
// and made unique by mkdtemp, so that two runs at once, or two users of one machine, never
// meet in it. It goes, with everything in it, when the object does.
class TempFolder {
public:
    explicit TempFolder(const std::string& prefix = "stackmason");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The path of a file or folder of this name in it.
    std::string File(const std::string& name) const;

private:
    std::filesystem::path path_;
    int owner_ = 0;  // the process that made it; a forked child leaves it to its parent
};

// The one TempFolder of this test or benchmark process, for helpers that hand out paths
// across tests; made at first use, removed when the process ends. The child processes of
// death tests, which run the program again, use their parent's instead of making their own,
// since they end without cleaning up.
const std::filesystem::path& ProcessTempFolder();

// The path of a file or folder of this name in ProcessTempFolder().
std::string ProcessTempFile(const std::string& name);

}  // namespace stackmason::test
