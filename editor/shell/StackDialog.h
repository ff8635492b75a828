#pragma once

#include <QDialog>
#include <optional>

#include "editor/model/EditorPorts.h"

class QComboBox;
class QSpinBox;

namespace stackmason {

// "Stack box": how many copies of the selected box to put next to it, and which way.
class StackDialog final : public QDialog {
public:
    explicit StackDialog(QWidget* parent);

    QSpinBox& CountField() { return *count_; }
    QComboBox& DirectionChoice() { return *direction_; }
    StackRequest Request() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QSpinBox* count_ = nullptr;
    QComboBox* direction_ = nullptr;
};

// Shows the dialog modally; none when it is cancelled.
std::optional<StackRequest> AskStackOver(QWidget* parent);

}  // namespace stackmason
