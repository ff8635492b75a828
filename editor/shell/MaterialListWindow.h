#pragma once

#include <QDialog>

#include "editor/files/MaterialList.h"
#include "editor/model/Editor.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace stackmason {

// The material list: every block type of the building, or of the current layer (TopView) or
// slice (FrontView), with its picture, item text, block state, count and the count in stacks
// of 64, the most used first, and the total; a button saves it as CSV, another the whole
// building's layer-by-block table. Each row's button replaces its block type by the selected
// block in the cells the list counts, as one step, and the list is counted again. Modal over
// the main window.
class MaterialListWindow final : public QDialog {
public:
    MaterialListWindow(Editor& editor, QWidget* parent);

    QTableWidget& Table() { return *table_; }
    QRadioButton& WholeBuildingChoice() { return *wholeBuilding_; }
    QRadioButton& PlaneChoice() { return *plane_; }
    const QLabel& TotalLabel() const { return *total_; }
    const MaterialList& List() const { return list_; }

private:
    void ShowScope(MaterialScope scope);
    QPushButton* ReplaceButton(BlockCode code);
    void ReplaceWithSelected(BlockCode code);
    void SaveCsv();
    void SaveTable();

    Editor& editor_;
    MaterialList list_;
    MaterialScope scope_ = MaterialScope::Building;
    QRadioButton* wholeBuilding_ = nullptr;
    QRadioButton* plane_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* total_ = nullptr;
};

// Opens the window over parent and returns once it is closed.
void ShowMaterialListOver(QWidget& parent, Editor& editor);

}  // namespace stackmason
