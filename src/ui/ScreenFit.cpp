#include "ui/ScreenFit.h"

#include "ui/ListColumns.h"

#include <QAbstractItemView>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTreeView>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <vector>

namespace {

// Growing a window to its lists' content converges within a few steps,
// since each step hands every growing list a share of the extra room.
constexpr int kMaxGrowthSteps = 12;

int ScrollBarExtent(const QWidget* w) { return w->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, w); }

QSize WantedListSize(const QAbstractItemView* list, int maxRows)
{
    const int frame = 2 * list->frameWidth();
    const int bar = ScrollBarExtent(list);
    const QAbstractItemModel* model = list->model();
    const int rows = model ? model->rowCount(list->rootIndex()) : 0;
    int height = frame + bar;
    if (const auto* tree = qobject_cast<const QTreeView*>(list); tree && !tree->isHeaderHidden())
        height += tree->header()->sizeHint().height();
    if (rows > 0) height += std::min(rows, maxRows) * list->sizeHintForRow(0);
    return {WholeColumnsWidth(list) + frame + bar, height};
}

// The position of a window of the given size (frame included) over the
// middle of its parent, or of the area, moved as little as needed to lie
// wholly inside the area.
QPoint PlaceInside(const QRect& area, const QSize& framed, const QWidget* parent)
{
    const QRect over = parent && parent->isVisible() ? parent->window()->frameGeometry() : area;
    QPoint topLeft = over.center() - QPoint(framed.width() / 2, framed.height() / 2);
    topLeft.setX(std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - framed.width())));
    topLeft.setY(std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() + 1 - framed.height())));
    return topLeft;
}

}  // namespace

QMargins WindowFrameMargins(const QWidget* window)
{
    if (const QWindow* handle = window->windowHandle(); handle && !handle->frameMargins().isNull())
        return handle->frameMargins();
    // Not yet framed by the window manager: room for a title bar and borders.
    const int border = 4;
    const int titleBar = std::max(window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window),
                                  window->fontMetrics().height() + 12);
    return {border, titleBar, border, border};
}

QSize WantedContentSize(const QAbstractScrollArea* area, int maxRows)
{
    if (const auto* list = qobject_cast<const QAbstractItemView*>(area)) return WantedListSize(list, maxRows);
    if (const auto* scroll = qobject_cast<const QScrollArea*>(area); scroll && scroll->widget()) {
        const int frame = 2 * scroll->frameWidth();
        return scroll->widget()->sizeHint() + QSize(frame + ScrollBarExtent(scroll), frame);
    }
    return {};  // an editor: its designed size is its want
}

void FitToScreen(QWidget* window)
{
    const QRect area = AvailableScreenArea(window);
    const QMargins frame = WindowFrameMargins(window);
    const QSize room(area.width() - frame.left() - frame.right(), area.height() - frame.top() - frame.bottom());
    if (QLayout* layout = window->layout()) layout->activate();

    QSize size = window->size().expandedTo(window->sizeHint()).boundedTo(room);
    window->resize(size);

    struct Want {
        const QAbstractScrollArea* area;
        QSize size;
    };
    std::vector<Want> wants;
    for (const QAbstractScrollArea* scroll : window->findChildren<QAbstractScrollArea*>())
        if (scroll->isVisibleTo(window))
            if (const QSize wanted = WantedContentSize(scroll); wanted.isValid()) wants.push_back({scroll, wanted});
    for (int step = 0; step < kMaxGrowthSteps && !wants.empty(); ++step) {
        QSize lack(0, 0);
        for (const Want& want : wants) lack = lack.expandedTo(want.size - want.area->size());
        const QSize next = (size + lack).boundedTo(room);
        if (next == size) break;
        size = next;
        window->resize(size);
    }
    const QSize framed = window->size().grownBy(frame);
    window->move(PlaceInside(area, framed, window->parentWidget()));
}
