#include "editor/model/SpinModel.h"

#include <algorithm>
#include <charconv>

namespace stackmason {

SpinModel::SpinModel(int minimum, int maximum, int value)
    : minimum_(minimum), maximum_(std::max(minimum, maximum)), value_(std::clamp(value, minimum_, maximum_)),
      text_(std::to_string(value_)) {}

void SpinModel::SetValue(int value) {
    value_ = std::clamp(value, minimum_, maximum_);
    text_ = std::to_string(value_);
    Changed();
}

void SpinModel::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    SetValue(value_);
}

void SpinModel::SetText(std::string text) {
    text_ = std::move(text);
    int number = 0;
    const char* first = text_.data();
    const char* last = first + text_.size();
    const auto [end, error] = std::from_chars(first, last, number);
    if (error == std::errc() && end == last && !text_.empty() && number >= minimum_ && number <= maximum_)
        value_ = number;
    Changed();
}

void SpinModel::Changed() {
    if (listener_)
        listener_();
}

}  // namespace stackmason
