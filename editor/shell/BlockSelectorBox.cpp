#include "editor/shell/BlockSelectorBox.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "common/Constants.h"

namespace stackmason {
namespace {

QIcon IconOf(const Image& picture) {
    const QImage image(reinterpret_cast<const uchar*>(picture.Pixels().data()), picture.Width(), picture.Height(),
                       picture.Width() * 4, QImage::Format_RGBA8888);
    return QIcon(QPixmap::fromImage(image.copy()));
}

}  // namespace

BlockSelectorBox::BlockSelectorBox(SelectorModel& model, QWidget* parent) : QComboBox(parent), model_(model) {
    setEditable(false);
    setIconSize(QSize(kTileSize, kTileSize));
    setMaxVisibleItems(8);
    model_.SetListener([this] { FollowModel(); });
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!following_)
            model_.Select(index);
    });
    FollowModel();
}

void BlockSelectorBox::FollowModel() {
    following_ = true;
    if (count() > model_.Count() || shownRevision_ != model_.Revision()) {
        clear();
        shownRevision_ = model_.Revision();
    }
    for (int i = count(); i < model_.Count(); ++i)
        addItem(IconOf(model_.ItemAt(i).image), QString::fromStdString(model_.ItemAt(i).text), model_.ItemAt(i).data);
    if (currentIndex() != model_.Selected())
        setCurrentIndex(model_.Selected());
    following_ = false;
}

}  // namespace stackmason
