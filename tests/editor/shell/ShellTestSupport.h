#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "editor/shell/MainWindow.h"
#include "tests/editor/support/FakePorts.h"
#include "tests/support/TempFolder.h"

namespace stackmason::testing {

// A fresh folder made the current directory for the object's life, holding a copy of the
// default texture pack, as the editor finds it at start-up.
class PackFolder {
    test::TempFolder folder_;

public:
    explicit PackFolder(const std::string& name);
    ~PackFolder();
    PackFolder(const PackFolder&) = delete;
    PackFolder& operator=(const PackFolder&) = delete;

    const std::filesystem::path path;

private:
    std::filesystem::path previous_;
};

// A main window started (pack loaded, first building made), shown and active, with scripted
// dialogs; dialogs is set to them.
std::unique_ptr<MainWindow> StartMainWindow(FakeDialogs*& dialogs);

}  // namespace stackmason::testing
