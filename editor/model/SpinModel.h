#pragma once

#include <functional>
#include <string>

namespace stackmason {

// A numeric spin field without its widget: a value kept inside a range and the text the user
// sees. A value set outside the range becomes the nearest bound; a typed text that is no
// number inside the range leaves the value as it was.
class SpinModel {
public:
    SpinModel(int minimum, int maximum, int value);

    int Value() const { return value_; }
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    const std::string& Text() const { return text_; }

    void SetValue(int value);
    // Clamps the value into the new range.
    void SetRange(int minimum, int maximum);
    // What the user typed; taken as the value when it is a plain number inside the range.
    void SetText(std::string text);
    // One arrow step (+1 or -1), kept inside the range.
    void Step(int delta) { SetValue(value_ + delta); }

    // Called after every change of value, range or text, so a widget can follow.
    void SetListener(std::function<void()> listener) { listener_ = std::move(listener); }

private:
    void Changed();

    int minimum_;
    int maximum_;
    int value_;
    std::string text_;
    std::function<void()> listener_;
};

}  // namespace stackmason
