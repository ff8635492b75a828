#pragma once

#include <QComboBox>

#include "editor/model/SelectorModel.h"

namespace stackmason {

// The block selector: a drop-down list that shows a SelectorModel's items with their
// pictures and keeps the model's selection and the user's choice in step.
class BlockSelectorBox final : public QComboBox {
public:
    BlockSelectorBox(SelectorModel& model, QWidget* parent);

private:
    void FollowModel();

    SelectorModel& model_;
    bool following_ = false;
    // The model's revision whose items the list shows.
    int shownRevision_ = -1;
};

}  // namespace stackmason
