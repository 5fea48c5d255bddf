#include "Grid.h"
#include "GridModel.h"

#include "Twips.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace vorlane {

namespace {

// Fixed columns look like row headers and keep that look when their row is selected.
class GridDelegate : public QStyledItemDelegate
{
public:
    GridDelegate(const GridModel *model, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_model(model)
    {}

    void paint(QPainter *painter,
               const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        if (index.column() >= m_model->fixedCols()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        opt.state &= ~QStyle::State_Selected;
        opt.state &= ~QStyle::State_HasFocus;
        painter->fillRect(opt.rect, opt.palette.color(QPalette::Button));
        opt.palette.setColor(QPalette::Text, opt.palette.color(QPalette::ButtonText));
        opt.backgroundBrush = Qt::NoBrush;
        QStyledItemDelegate::paint(painter, opt, index);
    }

private:
    const GridModel *m_model;
};

} // namespace

Grid::Grid(QWidget *parent)
    : QTableView(parent)
    , m_model(new GridModel(this))
{
    setModel(m_model);
    setItemDelegate(new GridDelegate(m_model, this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    QHeaderView *vertical = verticalHeader();
    vertical->hide();
    vertical->setSectionResizeMode(QHeaderView::Fixed);
    vertical->setDefaultSectionSize(fontMetrics().height() + 8);

    QHeaderView *horizontal = horizontalHeader();
    horizontal->setSectionResizeMode(QHeaderView::Interactive);
    horizontal->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontal->setHighlightSections(false);
    horizontal->setStretchLastSection(false);
    horizontal->setSectionsClickable(false);
    horizontal->setMinimumSectionSize(1);
    connect(horizontal, &QHeaderView::sectionResized, this, &Grid::onSectionResized);

    setBackColor(Qt::white);
    applySelectionColors(unfocusedSelectionBack(), unfocusedSelectionText());

    m_colWidths.assign(size_t(m_model->gridCols()), m_defaultColWidth);
    for (int c = 0; c < Cols(); ++c)
        applyColumnWidth(c);
    m_row = FixedRows();
}

Grid::~Grid() = default;

int Grid::Rows() const
{
    return m_model->gridRows();
}

void Grid::setRows(int rows)
{
    m_model->setGridRows(rows);
    if (m_row >= Rows())
        m_row = std::max(Rows() - 1, 0);
    if (m_row < FixedRows() && Rows() > FixedRows())
        m_row = FixedRows();
    if (m_redraw)
        syncViewToCurrent();
}

int Grid::Cols() const
{
    return m_model->gridCols();
}

void Grid::setCols(int cols)
{
    const int before = Cols();
    m_model->setGridCols(cols);
    m_colWidths.resize(size_t(Cols()), m_defaultColWidth);
    if (m_redraw) {
        for (int c = before; c < Cols(); ++c)
            applyColumnWidth(c);
    }
    if (m_col >= Cols())
        m_col = std::max(Cols() - 1, 0);
}

int Grid::FixedRows() const
{
    return m_model->fixedRows();
}

void Grid::setFixedRows(int rows)
{
    m_model->setFixedRows(rows);
    horizontalHeader()->setVisible(FixedRows() > 0);
    if (m_redraw) {
        for (int c = 0; c < Cols(); ++c)
            applyColumnWidth(c);
        syncViewToCurrent();
    }
}

int Grid::FixedCols() const
{
    return m_model->fixedCols();
}

void Grid::setFixedCols(int cols)
{
    m_model->setFixedCols(cols);
    m_colWidths.resize(size_t(Cols()), m_defaultColWidth);
    if (m_col < FixedCols() && FixedCols() < Cols())
        m_col = FixedCols();
    viewport()->update();
}

int Grid::Row() const
{
    return m_row;
}

void Grid::setRow(int row)
{
    if (row < 0 || row >= Rows())
        return;
    m_row = row;
    if (m_redraw)
        syncViewToCurrent();
}

int Grid::Col() const
{
    return m_col;
}

void Grid::setCol(int col)
{
    if (col < 0 || col >= Cols())
        return;
    m_col = col;
    if (m_redraw)
        syncViewToCurrent();
}

QString Grid::TextMatrix(int row, int col) const
{
    return m_model->text(row, col);
}

void Grid::setTextMatrix(int row, int col, const QString &text)
{
    m_model->setText(row, col, text);
}

void Grid::setRowTexts(int row, const QStringList &texts)
{
    m_model->setRowTexts(row, texts);
}

QStringList Grid::rowTexts(int row) const
{
    return m_model->rowTexts(row);
}

int Grid::ColWidth(int col) const
{
    if (col < 0 || col >= int(m_colWidths.size()))
        return 0;
    return m_colWidths[size_t(col)];
}

void Grid::setColWidth(int col, int twips)
{
    if (col < 0 || col >= Cols())
        return;
    m_colWidths[size_t(col)] = std::max(0, twips);
    if (m_redraw)
        applyColumnWidth(col);
}

void Grid::setDefaultColWidth(int twips)
{
    m_defaultColWidth = std::max(0, twips);
}

void Grid::AddItem(const QString &tabSeparated, int index)
{
    const int row = index < 0 ? Rows() : index;
    m_model->insertGridRow(row, tabSeparated.split(u'\t'));
}

bool Grid::RemoveItem(int row)
{
    if (row < FixedRows() || row >= Rows() || Rows() - FixedRows() <= 1)
        return false;
    m_model->removeGridRow(row);
    if (m_row >= Rows())
        m_row = Rows() - 1;
    if (m_redraw)
        syncViewToCurrent();
    return true;
}

void Grid::Clear()
{
    m_model->clearTexts();
    if (m_redraw) {
        for (int c = 0; c < Cols(); ++c)
            applyColumnWidth(c);
        syncViewToCurrent();
    }
}

void Grid::setRedraw(bool on)
{
    if (on == m_redraw)
        return;
    m_redraw = on;
    m_model->setQuiet(!on);
    setUpdatesEnabled(on);
    if (on) {
        for (int c = 0; c < Cols(); ++c)
            applyColumnWidth(c);
        syncViewToCurrent();
    }
}

void Grid::Refresh()
{
    viewport()->update();
    horizontalHeader()->viewport()->update();
}

QColor Grid::BackColor() const
{
    return palette().color(QPalette::Base);
}

void Grid::setBackColor(const QColor &color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Base, color);
    setPalette(pal);
}

QColor Grid::focusedSelectionBack()
{
    return QColor(0x80, 0x80, 0x80); // the system's grey-text colour
}

QColor Grid::focusedSelectionText()
{
    return QColor(0xFF, 0xFF, 0xFF);
}

QColor Grid::unfocusedSelectionBack()
{
    return QColor(0xFF, 0xFF, 0xFF);
}

QColor Grid::unfocusedSelectionText()
{
    return QColor(0, 0, 0);
}

QColor Grid::selectionBackColor() const
{
    return palette().color(QPalette::Active, QPalette::Highlight);
}

QColor Grid::selectionTextColor() const
{
    return palette().color(QPalette::Active, QPalette::HighlightedText);
}

void Grid::focusInEvent(QFocusEvent *event)
{
    applySelectionColors(focusedSelectionBack(), focusedSelectionText());
    QTableView::focusInEvent(event);
}

void Grid::focusOutEvent(QFocusEvent *event)
{
    applySelectionColors(unfocusedSelectionBack(), unfocusedSelectionText());
    QTableView::focusOutEvent(event);
}

void Grid::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            Q_EMIT DblClick();
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void Grid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        Q_EMIT DblClick();
}

void Grid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (!current.isValid())
        return;
    const int row = current.row() + FixedRows();
    const int col = current.column();
    if (row == m_row && col == m_col)
        return;
    m_row = row;
    m_col = col;
    Q_EMIT RowColChange();
}

void Grid::applySelectionColors(const QColor &back, const QColor &text)
{
    QPalette pal = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::Highlight, back);
        pal.setColor(group, QPalette::HighlightedText, text);
    }
    setPalette(pal);
}

void Grid::applyColumnWidth(int col)
{
    const int twips = ColWidth(col);
    m_applyingWidth = true;
    if (twips <= 0) {
        setColumnHidden(col, true);
    } else {
        setColumnHidden(col, false);
        horizontalHeader()->resizeSection(col, std::max(1, twipsToPixelsX(this, twips)));
    }
    m_applyingWidth = false;
}

void Grid::syncViewToCurrent()
{
    if (!selectionModel())
        return;
    if (m_row < FixedRows() || m_row >= Rows()) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex index = m_model->index(m_row - FixedRows(), std::clamp(m_col, 0, Cols() - 1));
    if (!index.isValid())
        return;
    selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void Grid::onSectionResized(int logicalIndex, int /*oldSize*/, int newSize)
{
    if (m_applyingWidth || logicalIndex < 0 || logicalIndex >= int(m_colWidths.size()))
        return;
    if (newSize > 0)
        m_colWidths[size_t(logicalIndex)] = pixelsToTwipsX(this, newSize);
}

void ClearFirstGridRow(Grid *grid)
{
    if (!grid || grid->Rows() < 2)
        return;
    for (int c = 0; c < grid->Cols(); ++c)
        grid->setTextMatrix(1, c, QString());
}

} // namespace vorlane
