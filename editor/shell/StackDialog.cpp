#include "editor/shell/StackDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <algorithm>
#include <iterator>

namespace stackmason {
namespace {

// The choices in the order they are listed; east and south follow the canvas's x and y.
constexpr struct {
    const char* label;
    StackDirection direction;
} kDirections[] = {
    {"east", StackDirection::East}, {"west", StackDirection::West}, {"north", StackDirection::North},
    {"south", StackDirection::South}, {"up", StackDirection::Up},   {"down", StackDirection::Down},
};

// As many copies as the widest building has cells along an axis.
constexpr int kMostCopies = 512;

}  // namespace

StackDialog::StackDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Stack box");
    auto* form = new QFormLayout(this);
    count_ = new QSpinBox(this);
    count_->setRange(1, kMostCopies);
    count_->setValue(1);
    direction_ = new QComboBox(this);
    for (const auto& choice : kDirections)
        direction_->addItem(choice.label);
    direction_->setCurrentIndex(4);  // up: the pillar, the storey
    form->addRow("Copies:", count_);
    form->addRow("Direction:", direction_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

// The count is typed over at once, as in any dialog that asks for one number.
void StackDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    count_->setFocus(Qt::OtherFocusReason);
    count_->selectAll();
}

StackRequest StackDialog::Request() const {
    const int index = std::clamp(direction_->currentIndex(), 0, static_cast<int>(std::size(kDirections)) - 1);
    return {count_->value(), kDirections[index].direction};
}

std::optional<StackRequest> AskStackOver(QWidget* parent) {
    StackDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Request();
}

}  // namespace stackmason
