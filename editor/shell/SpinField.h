#pragma once

#include <QSpinBox>
#include <functional>

#include "editor/model/SpinModel.h"

namespace stackmason {

// A spin field showing a SpinModel: the model holds the value, the widget follows it. Arrow
// steps change the model and are reported; typed text is handed to the model, which takes
// it only when it is a number inside the range.
class SpinField final : public QSpinBox {
public:
    SpinField(SpinModel& model, QWidget* parent);

    void SetStepListener(std::function<void()> listener) { stepListener_ = std::move(listener); }
    void stepBy(int steps) override;

private:
    void FollowModel();

    SpinModel& model_;
    std::function<void()> stepListener_;
    bool following_ = false;
};

}  // namespace stackmason
