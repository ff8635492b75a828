#include "editor/shell/MaterialListWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "editor/canvas/CanvasRepaint.h"
#include "editor/commands/ReplaceBlocks.h"
#include "editor/files/LayerPlans.h"
#include "editor/model/Selection.h"
#include "editor/model/UserAction.h"

namespace stackmason {
namespace {

enum Column { kPicture, kBlock, kBlockState, kCount, kStacks, kReplace, kColumns };

QIcon PictureOf(const SelectorModel& selector, BlockCode code) {
    if (!selector.Picture(code))
        return {};
    const Image shown = selector.ShownImage(code);
    const QImage image(reinterpret_cast<const uchar*>(shown.Pixels().data()), shown.Width(), shown.Height(),
                       shown.Width() * 4, QImage::Format_RGBA8888);
    return QIcon(QPixmap::fromImage(image.copy()));
}

QTableWidgetItem* TextItem(const std::string& text, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* item = new QTableWidgetItem(QString::fromStdString(text));
    item->setTextAlignment(alignment);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QString PlaneLabel(const Editor& editor) {
    return QString("%1 %2").arg(editor.InTopView() ? "Layer" : "Slice").arg(editor.CurrentLayer());
}

}  // namespace

MaterialListWindow::MaterialListWindow(Editor& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
    setWindowTitle("Material list");
    resize(640, 480);
    auto* layout = new QVBoxLayout(this);

    auto* scopes = new QHBoxLayout;
    wholeBuilding_ = new QRadioButton("Whole building", this);
    plane_ = new QRadioButton(PlaneLabel(editor), this);
    wholeBuilding_->setChecked(true);
    scopes->addWidget(wholeBuilding_);
    scopes->addWidget(plane_);
    scopes->addStretch();
    layout->addLayout(scopes);
    if (const std::optional<CellBox> box = SelectedBox(editor))
        layout->addWidget(new QLabel(QString("Replace works inside the selected box (%1 x %2 x %3).")
                                         .arg(box->Width())
                                         .arg(box->Length())
                                         .arg(box->Height()),
                                     this));

    table_ = new QTableWidget(0, kColumns, this);
    table_->setHorizontalHeaderLabels({"", "Block", "Block state", "Count", "Stacks of 64", ""});
    table_->setIconSize(QSize(32, 32));
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(36);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->horizontalHeader()->setSectionResizeMode(kBlockState, QHeaderView::Stretch);
    table_->setColumnWidth(kPicture, 40);
    layout->addWidget(table_);

    auto* bottom = new QHBoxLayout;
    total_ = new QLabel(this);
    auto* save = new QPushButton("Save CSV...", this);
    auto* saveTable = new QPushButton("Save layer table...", this);
    auto* close = new QPushButton("Close", this);
    bottom->addWidget(total_);
    bottom->addStretch();
    bottom->addWidget(save);
    bottom->addWidget(saveTable);
    bottom->addWidget(close);
    layout->addLayout(bottom);

    connect(wholeBuilding_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            ShowScope(MaterialScope::Building);
    });
    connect(plane_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            ShowScope(MaterialScope::CurrentPlane);
    });
    connect(save, &QPushButton::clicked, this, [this] { SaveCsv(); });
    connect(saveTable, &QPushButton::clicked, this, [this] { SaveTable(); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    ShowScope(MaterialScope::Building);
}

void MaterialListWindow::ShowScope(MaterialScope scope) {
    scope_ = scope;
    RunUserAction(editor_, "count the materials", [&] {
        MaterialList list = CountMaterials(editor_, scope);
        table_->setRowCount(0);
        table_->setRowCount(static_cast<int>(list.rows.size()));
        for (int row = 0; row < table_->rowCount(); ++row) {
            const MaterialRow& material = list.rows[static_cast<std::size_t>(row)];
            auto* picture = new QTableWidgetItem(PictureOf(editor_.selector, material.code), QString());
            picture->setFlags(Qt::ItemIsEnabled);
            table_->setItem(row, kPicture, picture);
            table_->setItem(row, kBlock, TextItem(material.name));
            table_->setItem(row, kBlockState, TextItem(material.blockState.empty() ? "(none)" : material.blockState));
            table_->setItem(row, kCount, TextItem(std::to_string(material.count), Qt::AlignRight | Qt::AlignVCenter));
            table_->setItem(row, kStacks, TextItem(AsStacks(material.count), Qt::AlignRight | Qt::AlignVCenter));
            table_->setCellWidget(row, kReplace, ReplaceButton(material.code));
        }
        table_->resizeColumnToContents(kBlock);
        table_->resizeColumnToContents(kReplace);
        total_->setText(QString::fromStdString("Total: " + std::to_string(list.total) + " blocks (" +
                                               AsStacks(list.total) + ")"));
        list_ = std::move(list);
    });
}

QPushButton* MaterialListWindow::ReplaceButton(BlockCode code) {
    auto* button = new QPushButton("Replace with selected block");
    connect(button, &QPushButton::clicked, this, [this, code] { ReplaceWithSelected(code); });
    return button;
}

void MaterialListWindow::ReplaceWithSelected(BlockCode code) {
    RunShownAction(editor_, "replace the blocks",
                   [&] { ReplaceBlocks(editor_, code, editor_.SelectedBlock(), ReplaceScope(editor_, scope_)); });
    // The rows are made anew; the button pressed goes once its click has been handled.
    ShowScope(scope_);
}

void MaterialListWindow::SaveCsv() {
    RunUserAction(editor_, "save the material list", [&] { SaveMaterialList(editor_, list_); });
}

void MaterialListWindow::SaveTable() {
    RunUserAction(editor_, "save the layer table", [&] { SaveLayerTable(editor_); });
}

void ShowMaterialListOver(QWidget& parent, Editor& editor) {
    MaterialListWindow window(editor, &parent);
    window.exec();
}

}  // namespace stackmason
