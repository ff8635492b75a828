#include "editor/model/SelectorModel.h"

namespace stackmason {
namespace {

Image FlattenOntoWhite(const Image& image) {
    Image flat = image;
    for (Rgba& p : flat.Pixels()) {
        const int a = p.a;
        auto over = [a](int c) { return static_cast<std::uint8_t>((c * a + 255 * (255 - a) + 127) / 255); };
        p = {over(p.r), over(p.g), over(p.b), 255};
    }
    return flat;
}

}  // namespace

void SelectorModel::Clear() {
    items_.clear();
    selected_ = -1;
    ++revision_;
    Changed();
}

void SelectorModel::TakeItemsOf(SelectorModel& other) {
    items_.swap(other.items_);
    selected_ = -1;
    ++revision_;
    Changed();
}

void SelectorModel::Add(std::string text, const Image& image, bool isBlockPicture) {
    items_.push_back({std::move(text), image, 0, isBlockPicture});
    Changed();
}

void SelectorModel::Select(int index) {
    if (index < 0 || index >= Count())
        return;
    selected_ = index;
    Changed();
}

void SelectorModel::SetData(int index, std::int32_t data) {
    if (index >= 0 && index < Count())
        items_[static_cast<std::size_t>(index)].data = data;
}

std::int32_t SelectorModel::Data(int index) const {
    return index >= 0 && index < Count() ? items_[static_cast<std::size_t>(index)].data : 0;
}

Image SelectorModel::ShownImage(int index) const { return FlattenOntoWhite(ItemAt(index).image); }

bool SelectorModel::IsBlockPicture(int index) const {
    return index >= 0 && index < Count() && items_[static_cast<std::size_t>(index)].isBlockPicture;
}

void SelectorModel::Changed() {
    if (listener_)
        listener_();
}

}  // namespace stackmason
