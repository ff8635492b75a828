#include "editor/shell/SpinField.h"

#include <QLineEdit>

namespace stackmason {

SpinField::SpinField(SpinModel& model, QWidget* parent) : QSpinBox(parent), model_(model) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setGroupSeparatorShown(false);
    setKeyboardTracking(true);
    model_.SetListener([this] { FollowModel(); });
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!following_)
            model_.SetText(text.toStdString());
    });
    FollowModel();
}

void SpinField::stepBy(int steps) {
    model_.Step(steps);
    if (stepListener_)
        stepListener_();
}

void SpinField::FollowModel() {
    following_ = true;
    const QSignalBlocker blocker(this);
    if (minimum() != model_.Minimum() || maximum() != model_.Maximum())
        setRange(model_.Minimum(), model_.Maximum());
    if (value() != model_.Value())
        setValue(model_.Value());
    const QString text = QString::fromStdString(model_.Text());
    if (lineEdit()->text() != text)
        lineEdit()->setText(text);
    following_ = false;
}

}  // namespace stackmason
