#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/Image.h"

namespace stackmason {

// The block selector's items without the widget: item i stands for block code i, item 0 is
// "Air". Each item has a text, the 32 x 32 picture of its block and one integer (the block id
// the schematic files use). The items are the one owner of the block pictures: the canvas draws
// them as they are, transparency included; the selector shows them flattened onto white
// (ShownImage), as it shows no alpha. An item of a pack entry that holds no block picture (a
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
    // Appends an item with its block picture.
    void Add(std::string text, const Image& image, bool isBlockPicture = true);
    // Selecting an index that has no item leaves the selection as it is.
    void Select(int index);
    void SetData(int index, std::int32_t data);
    std::int32_t Data(int index) const;
    // The picture as the selector shows it: flattened onto white.
    Image ShownImage(int index) const;
    // The picture of block code `code`; nullptr for a code that has no item.
    const Image* Picture(int code) const {
        return code >= 0 && code < Count() ? &items_[static_cast<std::size_t>(code)].image : nullptr;
    }
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
