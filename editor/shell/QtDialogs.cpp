#include "editor/shell/QtDialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>

#include "editor/shell/StackDialog.h"

namespace stackmason {

QString NameFilter(const std::string& label, const std::string& pattern) {
    const std::string shown = "(" + pattern + ")";
    const bool showsPattern =
        label.size() >= shown.size() && label.compare(label.size() - shown.size(), shown.size(), shown) == 0;
    return QString::fromStdString(showsPattern ? label : label + " " + shown);
}

void QtDialogs::ShowError(const std::string& text) {
    QMessageBox::critical(parent_, "Error", QString::fromStdString(text), QMessageBox::Ok);
}

void QtDialogs::ShowInfo(const std::string& text) {
    QMessageBox::information(parent_, "Info", QString::fromStdString(text), QMessageBox::Ok);
}

bool QtDialogs::AskYesNo(const std::string& text) {
    return QMessageBox::question(parent_, "Info", QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

bool QtDialogs::AskToReplace(const std::string& title, const std::string& text) {
    return QMessageBox::warning(parent_, QString::fromStdString(title), QString::fromStdString(text),
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

std::optional<FileChoice> QtDialogs::AskOpenFile(const FileRequest& request) { return AskFile(request, false); }
std::optional<FileChoice> QtDialogs::AskSaveFile(const FileRequest& request) { return AskFile(request, true); }

namespace {

// The request's choice as a row of its own under the file type row of Qt's own requester,
// the label in the label column; null when the request offers none.
QComboBox* AddChoiceRow(QFileDialog& dialog, const FileRequest& request) {
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (request.choices.empty() || !grid)
        return nullptr;
    auto* box = new QComboBox(&dialog);
    for (const std::string& entry : request.choices)
        box->addItem(QString::fromStdString(entry));
    box->setCurrentIndex(request.selectedChoice);
    box->setMaxVisibleItems(12);
    auto* label = new QLabel(QString::fromStdString(request.choiceLabel), &dialog);
    label->setBuddy(box);
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1);
    return box;
}

}  // namespace

std::optional<FileChoice> QtDialogs::AskFile(const FileRequest& request, bool save) {
    QFileDialog dialog(parent_, QString::fromStdString(request.title), QDir::currentPath());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The editor appends the extension after the requester closed and asks itself before it
    // replaces a file, about the name it really writes; Qt's question would see only the
    // typed name.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    QStringList filters;
    for (const auto& [label, pattern] : request.filters)
        filters << NameFilter(label, pattern);
    dialog.setNameFilters(filters);
    if (request.selectedFilter >= 0 && request.selectedFilter < filters.size())
        dialog.selectNameFilter(filters[request.selectedFilter]);
    // A start name that is a folder is where the requester opens; any other is a file name.
    const QString start = QString::fromStdString(request.startName);
    if (!start.isEmpty() && QFileInfo(start).isDir())
        dialog.setDirectory(start);
    else if (!start.isEmpty())
        dialog.selectFile(start);
    const QComboBox* choice = AddChoiceRow(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FileChoice{dialog.selectedFiles().first().toStdString(),
                      static_cast<int>(filters.indexOf(dialog.selectedNameFilter())),
                      choice ? choice->currentIndex() : -1};
}

bool QtDialogs::RunAndWait(const std::string& program, const std::string& argument,
                           const std::string& workingDirectory) {
    QProcess process;
    process.setWorkingDirectory(QString::fromStdString(workingDirectory));
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(QString::fromStdString(program), {QString::fromStdString(argument)});
    if (!process.waitForStarted(-1))
        return false;
    process.waitForFinished(-1);
    return true;
}

std::optional<StackRequest> QtDialogs::AskStack() { return AskStackOver(parent_); }

std::optional<std::string> QtDialogs::AskFolder(const std::string& title) {
    // Qt's own requester, as the file requesters use, so that every platform asks alike.
    const QString folder = QFileDialog::getExistingDirectory(parent_, QString::fromStdString(title), QDir::currentPath(),
                                                             QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (folder.isEmpty())
        return std::nullopt;
    return folder.toStdString();
}

void QtDialogs::ShowInfoWindow() {
    if (showInfo_)
        showInfo_();
}

}  // namespace stackmason
