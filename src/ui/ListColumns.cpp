#include "ui/ListColumns.h"

#include "ui/TextFit.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QHelpEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QTreeView>

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

// The room a cell leaves on either side of its text.
int TextMargin(const QWidget* list) { return list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1; }

// Paints a name elided in the middle, asks for no width of its own so that a
// long name never makes its list scroll sideways, and tells the whole name
// when it is elided.
class NameDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setWidth(1);
        return size;
    }

    bool helpEvent(QHelpEvent* event, QAbstractItemView* list, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        if (event->type() != QEvent::ToolTip || !list) return QStyledItemDelegate::helpEvent(event, list, option, index);
        const QString tip = ElidedCellToolTip(list, index);
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(event->globalPos(), tip, list->viewport(), option.rect);
        return true;
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->textElideMode = Qt::ElideMiddle;
    }
};

// The width each column of the list needs to show its cells and its heading
// whole (0 for a hidden column).
std::vector<int> WholeColumnWidths(const QAbstractItemView* list)
{
    const QAbstractItemModel* model = list->model();
    if (!model) return {};
    const QModelIndex root = list->rootIndex();
    const auto* tree = qobject_cast<const QTreeView*>(list);
    std::vector<int> widths(size_t(model->columnCount(root)), 0);
    for (int c = 0; c < int(widths.size()); ++c) {
        if (tree && tree->isColumnHidden(c)) continue;
        int width = tree && !tree->isHeaderHidden() ? tree->header()->sectionSizeHint(c) : 0;
        for (int r = 0; r < model->rowCount(root); ++r)
            width = std::max(width, CellTextWidth(list, model->index(r, c, root).data().toString()));
        widths[size_t(c)] = width;
    }
    if (tree && tree->rootIsDecorated() && !widths.empty()) widths.front() += tree->indentation();
    return widths;
}

// Keeps a list's number columns at their whole width and shares the rest of
// the list's width among its name columns, in proportion to what each needs,
// whenever the list is resized or its content changes.
class ColumnSharer : public QObject {
public:
    ColumnSharer(QTreeView* list, const QList<int>& nameColumns)
        : QObject(list), m_list(list), m_viewport(list->viewport()), m_nameColumns(nameColumns)
    {
        list->header()->setStretchLastSection(false);
        m_viewport->installEventFilter(this);
        const QAbstractItemModel* model = list->model();
        for (auto changed : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved,
                             &QAbstractItemModel::columnsInserted, &QAbstractItemModel::columnsRemoved})
            connect(model, changed, this, &ColumnSharer::ContentChanged);
        connect(model, &QAbstractItemModel::modelReset, this, &ColumnSharer::ContentChanged);
        connect(model, &QAbstractItemModel::layoutChanged, this, &ColumnSharer::ContentChanged);
        connect(model, &QAbstractItemModel::dataChanged, this, &ColumnSharer::ContentChanged);
        connect(model, &QAbstractItemModel::headerDataChanged, this, &ColumnSharer::ContentChanged);
        Share();
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Compared with the viewport as it was: while the list is destroyed
        // its viewport still has events, but the list is no longer a list.
        if (watched == m_viewport && event->type() == QEvent::Resize) Share();
        return QObject::eventFilter(watched, event);
    }

private:
    // Shared again once the changes of one action are all in.
    void ContentChanged()
    {
        m_changed = true;
        if (m_queued) return;
        m_queued = true;
        QMetaObject::invokeMethod(this, [this] { Share(); }, Qt::QueuedConnection);
    }

    void Share()
    {
        m_queued = false;
        if (m_changed || m_widths.empty()) m_widths = WholeColumnWidths(m_list);
        m_changed = false;
        QHeaderView* header = m_list->header();
        int room = m_list->viewport()->width();
        int wanted = 0;
        for (int c = 0; c < header->count() && size_t(c) < m_widths.size(); ++c) {
            if (m_nameColumns.contains(c))
                wanted += m_widths[size_t(c)];
            else
                room -= m_widths[size_t(c)];
        }
        int lastName = -1;
        int given = 0;
        for (int c = 0; c < header->count() && size_t(c) < m_widths.size(); ++c) {
            int width = m_widths[size_t(c)];
            if (m_nameColumns.contains(c)) {
                width = wanted > 0 ? int(qint64(width) * std::max(room, 0) / wanted) : 0;
                width = std::max(width, header->minimumSectionSize());
                given += width;
                lastName = c;
            }
            header->setSectionResizeMode(c, QHeaderView::Interactive);
            header->resizeSection(c, width);
        }
        // What rounding left over goes to the last name column.
        if (lastName >= 0 && room > given) header->resizeSection(lastName, header->sectionSize(lastName) + room - given);
    }

    QTreeView* m_list;
    QWidget* m_viewport;
    QList<int> m_nameColumns;
    std::vector<int> m_widths;
    bool m_changed = true;
    bool m_queued = false;
};

}  // namespace

void LayOutListColumns(QTreeView* list, const QList<int>& nameColumns)
{
    new ColumnSharer(list, nameColumns);
    ShowNamesElided(list, nameColumns);
}

void ShowNamesElided(QAbstractItemView* list, const QList<int>& nameColumns)
{
    auto* names = new NameDelegate(list);
    for (int c : nameColumns) list->setItemDelegateForColumn(c, names);
}

int CellTextWidth(const QAbstractItemView* list, const QString& text)
{
    return WholeTextWidth(list->font(), text) + 2 * TextMargin(list);
}

int WholeColumnsWidth(const QAbstractItemView* list)
{
    const std::vector<int> widths = WholeColumnWidths(list);
    return std::accumulate(widths.begin(), widths.end(), 0);
}

QString ElidedCellToolTip(const QAbstractItemView* list, const QModelIndex& index)
{
    const QString own = index.data(Qt::ToolTipRole).toString();
    if (!own.isEmpty()) return own;
    const QString text = index.data(Qt::DisplayRole).toString();
    const QRect cell = list->visualRect(index);
    if (text.isEmpty() || cell.isEmpty()) return {};
    return CellTextWidth(list, text) > cell.width() ? text : QString();
}
