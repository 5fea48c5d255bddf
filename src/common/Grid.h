#pragma once

#include <QColor>
#include <QStringList>
#include <QTableView>

#include <vector>

namespace vorlane {

class GridModel;

// The browsers' list: a spreadsheet-like grid addressed as the host's flex grid is. Row 0 is the
// title row (shown as the column header while there is one fixed row), rows from FixedRows() on
// are data rows; column widths are in twips and a column of width 0 is hidden. Cells are plain
// texts held in a table model, so a grid of a hundred thousand rows stays quick.
class Grid : public QTableView
{
    Q_OBJECT

public:
    explicit Grid(QWidget *parent = nullptr);
    ~Grid() override;

    int Rows() const;
    void setRows(int rows);
    int Cols() const;
    void setCols(int cols);

    // 0 or 1 fixed row (the title row); fixed columns are drawn as row headers.
    int FixedRows() const;
    void setFixedRows(int rows);
    int FixedCols() const;
    void setFixedCols(int cols);

    // Current cell. Row() is FixedRows() when nothing was chosen yet.
    int Row() const;
    void setRow(int row);
    int Col() const;
    void setCol(int col);

    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString &text);
    // All cells of one row at once, from column 0; cheaper than one call per cell.
    void setRowTexts(int row, const QStringList &texts);
    QStringList rowTexts(int row) const;

    int ColWidth(int col) const; // twips
    void setColWidth(int col, int twips);
    // Width given to columns that appear when Cols grows.
    int defaultColWidth() const { return m_defaultColWidth; }
    void setDefaultColWidth(int twips);
    bool isColumnVisible(int col) const { return ColWidth(col) > 0; }

    // Adds a row from tab-separated texts, at the end or before the given row.
    void AddItem(const QString &tabSeparated, int index = -1);
    // Removes one data row. The fixed rows and the last data row cannot be removed (false).
    bool RemoveItem(int row);
    // Empties every cell, keeping rows and columns.
    void Clear();

    // While Redraw is off the grid neither repaints nor tells the view of each change; turning
    // it on again shows everything at once. Use it around bulk fills.
    bool Redraw() const { return m_redraw; }
    void setRedraw(bool on);
    void Refresh();

    QColor BackColor() const;
    void setBackColor(const QColor &color);

    // Selection colours while the grid has the focus and while it has not.
    static QColor focusedSelectionBack();
    static QColor focusedSelectionText();
    static QColor unfocusedSelectionBack();
    static QColor unfocusedSelectionText();
    QColor selectionBackColor() const;
    QColor selectionTextColor() const;

Q_SIGNALS:
    // Double click on a data row, or Enter in the grid.
    void DblClick();
    void RowColChange();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    void applySelectionColors(const QColor &back, const QColor &text);
    void applyColumnWidth(int col);
    void syncViewToCurrent();
    void onSectionResized(int logicalIndex, int oldSize, int newSize);

    GridModel *m_model;
    std::vector<int> m_colWidths; // twips
    int m_defaultColWidth = 1500;
    int m_row = 0;
    int m_col = 0;
    bool m_redraw = true;
    bool m_applyingWidth = false;
};

// Empties every cell of data row 1.
void ClearFirstGridRow(Grid *grid);

} // namespace vorlane
