#pragma once

#include <QWidget>
#include <functional>

#include "editor/model/EditorPorts.h"

namespace stackmason {

// The name filter a Qt file requester shows for a label and its pattern: the label as it
// stands when it ends in "(pattern)", as "txt(*.txt)" does (Qt reads the pattern from there),
// otherwise the label followed by " (pattern)".
QString NameFilter(const std::string& label, const std::string& pattern);

// Message boxes, file requesters and the start of other programs, with Qt.
class QtDialogs final : public DialogPort {
public:
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}

    void SetInfoWindow(std::function<void()> show) { showInfo_ = std::move(show); }

    void ShowError(const std::string& text) override;
    void ShowInfo(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    bool AskToReplace(const std::string& title, const std::string& text) override;
    std::optional<FileChoice> AskOpenFile(const FileRequest& request) override;
    std::optional<FileChoice> AskSaveFile(const FileRequest& request) override;
    bool RunAndWait(const std::string& program, const std::string& argument,
                    const std::string& workingDirectory) override;
    void ShowInfoWindow() override;
    std::optional<StackRequest> AskStack() override;
    std::optional<std::string> AskFolder(const std::string& title) override;

private:
    std::optional<FileChoice> AskFile(const FileRequest& request, bool save);

    QWidget* parent_;
    std::function<void()> showInfo_;
};

}  // namespace stackmason
