#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/Image.h"

namespace stackmason {

// The block selector's items without the widget: item i stands for block code i, item 0 is
// "Air". Each item has a text, a 32 x 32 picture without transparency and one integer (the
// block id the schematic files use). An item of a pack entry that holds no block picture (a
// folder, bytes that do not decode) keeps its place but is no block: schematic files never
// name it.
class SelectorModel {
public:
    struct Item {
        std::string text;
        Image image;
        std::int32_t data = 0;
        bool isBlockPicture = true;
    };

    int Count() const { return static_cast<int>(items_.size()); }
    const Item& ItemAt(int index) const { return items_[static_cast<std::size_t>(index)]; }
    // -1 when nothing is selected (right after Clear).
    int Selected() const { return selected_; }
    // Counts the times the items were replaced as a whole (Clear, TakeItemsOf), so that a
    // widget showing them knows to start afresh rather than append.
    int Revision() const { return revision_; }

    void Clear();
    // Takes over the items of a selector filled off to the side, leaving it those it had;
    // nothing is selected afterwards. The swap cannot fail; then the listener is told.
    void TakeItemsOf(SelectorModel& other);
    // Appends an item; its picture is flattened onto white, as the selector shows no alpha.
    void Add(std::string text, const Image& image, bool isBlockPicture = true);
    // Selecting an index that has no item leaves the selection as it is.
    void Select(int index);
    void SetData(int index, std::int32_t data);
    std::int32_t Data(int index) const;
    // False for an item without a block picture and for an index that has no item.
    bool IsBlockPicture(int index) const;

    void SetListener(std::function<void()> listener) { listener_ = std::move(listener); }

private:
    void Changed();

    std::vector<Item> items_;
    int selected_ = -1;
    int revision_ = 0;
    std::function<void()> listener_;
};

}  // namespace stackmason
