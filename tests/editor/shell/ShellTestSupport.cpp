#include "tests/editor/shell/ShellTestSupport.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace stackmason::testing {

namespace fs = std::filesystem;

PackFolder::PackFolder(const std::string& name) : folder_(name), path(folder_.Path()), previous_(fs::current_path()) {
    fs::copy_file(fs::path(STACKMASON_PACK_DIR) / "stackmason.zip", path / "stackmason.zip",
                  fs::copy_options::overwrite_existing);
    fs::current_path(path);
}

PackFolder::~PackFolder() { fs::current_path(previous_); }

std::unique_ptr<MainWindow> StartMainWindow(FakeDialogs*& dialogs) {
    auto fake = std::make_unique<FakeDialogs>();
    dialogs = fake.get();
    auto window = std::make_unique<MainWindow>(std::move(fake));
    window->Start();
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    if (!QTest::qWaitForWindowExposed(window.get()))
        ADD_FAILURE() << "the main window was never shown";
    return window;
}

}  // namespace stackmason::testing
