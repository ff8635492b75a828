#include "editor/shell/BlockSelectorBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleFactory>

#include "common/Constants.h"

namespace stackmason {
namespace {

constexpr int kVisibleItems = 8;

// Opens the list directly under the field, kVisibleItems rows high with a scroll bar, under
// every style. Styles that open it as a menu over the field (Fusion among them) ignore the
// number of visible rows and make it as tall as the screen.
class ListBelowFieldStyle final : public QProxyStyle {
public:
    // Based on the application's style, so that the field looks like every other control.
    ListBelowFieldStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QIcon IconOf(const Image& picture) {
    const QImage image(reinterpret_cast<const uchar*>(picture.Pixels().data()), picture.Width(), picture.Height(),
                       picture.Width() * 4, QImage::Format_RGBA8888);
    return QIcon(QPixmap::fromImage(image.copy()));
}

}  // namespace

BlockSelectorBox::BlockSelectorBox(SelectorModel& model, QWidget* parent) : QComboBox(parent), model_(model) {
    setEditable(false);
    setIconSize(QSize(kTileSize, kTileSize));
    auto* style = new ListBelowFieldStyle;
    style->setParent(this);
    setStyle(style);
    // Under a menu-like style the list would have no scroll bar; whatever style it was made
    // under, it scrolls.
    view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setMaxVisibleItems(kVisibleItems);
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
        addItem(IconOf(model_.ShownImage(i)), QString::fromStdString(model_.ItemAt(i).text), model_.ItemAt(i).data);
    if (currentIndex() != model_.Selected())
        setCurrentIndex(model_.Selected());
    following_ = false;
}

}  // namespace stackmason
