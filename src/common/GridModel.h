#pragma once

// The cells behind Grid; only Grid.cpp includes this.

#include <QAbstractTableModel>

#include <algorithm>
#include <vector>

namespace vorlane {

// Cells of the grid, grid-addressed (row 0 is the title row). The view sees the data rows only;
// the title row feeds the horizontal header.
class GridModel : public QAbstractTableModel
{
public:
    explicit GridModel(QObject *parent)
        : QAbstractTableModel(parent)
    {
        m_cells.resize(m_rows);
    }

    int gridRows() const { return m_rows; }
    int gridCols() const { return m_cols; }
    int fixedRows() const { return m_fixedRows; }
    int fixedCols() const { return m_fixedCols; }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_rows - m_fixedRows;
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_cols;
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid())
            return {};
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return text(index.row() + m_fixedRows, index.column());
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
            if (m_fixedRows > 0)
                return text(0, section).trimmed();
            return QString();
        }
        if (orientation == Qt::Vertical && role == Qt::DisplayRole)
            return section + m_fixedRows;
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    }

    QString text(int row, int col) const
    {
        if (row < 0 || row >= m_rows || col < 0 || col >= m_cols)
            return {};
        const QStringList &cells = m_cells[size_t(row)];
        return col < cells.size() ? cells.at(col) : QString();
    }

    QStringList rowTexts(int row) const
    {
        QStringList result;
        result.reserve(m_cols);
        for (int c = 0; c < m_cols; ++c)
            result.append(text(row, c));
        return result;
    }

    void setText(int row, int col, const QString &value)
    {
        if (row < 0 || row >= m_rows || col < 0 || col >= m_cols)
            return;
        QStringList &cells = m_cells[size_t(row)];
        if (col >= cells.size()) {
            if (value.isEmpty())
                return;
            cells.resize(col + 1);
        }
        cells[col] = value;
        notifyRow(row, col, col);
    }

    void setRowTexts(int row, const QStringList &values)
    {
        if (row < 0 || row >= m_rows)
            return;
        QStringList cells = values.mid(0, m_cols);
        m_cells[size_t(row)] = cells;
        notifyRow(row, 0, m_cols - 1);
    }

    void setGridRows(int rows)
    {
        rows = std::max(rows, m_fixedRows);
        if (rows == m_rows)
            return;
        if (rows > m_rows) {
            begin([&] { beginInsertRows({}, m_rows - m_fixedRows, rows - m_fixedRows - 1); });
            m_cells.resize(size_t(rows));
            m_rows = rows;
            end([&] { endInsertRows(); });
        } else {
            begin([&] { beginRemoveRows({}, rows - m_fixedRows, m_rows - m_fixedRows - 1); });
            m_cells.resize(size_t(rows));
            m_rows = rows;
            end([&] { endRemoveRows(); });
        }
    }

    void setGridCols(int cols)
    {
        cols = std::max(cols, m_fixedCols);
        if (cols == m_cols)
            return;
        if (cols > m_cols) {
            begin([&] { beginInsertColumns({}, m_cols, cols - 1); });
            m_cols = cols;
            end([&] { endInsertColumns(); });
        } else {
            begin([&] { beginRemoveColumns({}, cols, m_cols - 1); });
            m_cols = cols;
            for (QStringList &cells : m_cells) {
                if (cells.size() > cols)
                    cells.resize(cols);
            }
            end([&] { endRemoveColumns(); });
        }
    }

    void setFixedRows(int rows)
    {
        rows = std::clamp(rows, 0, 1);
        if (rows == m_fixedRows)
            return;
        begin([&] { beginResetModel(); });
        m_fixedRows = rows;
        if (m_rows < m_fixedRows) {
            m_rows = m_fixedRows;
            m_cells.resize(size_t(m_rows));
        }
        end([&] { endResetModel(); });
    }

    void setFixedCols(int cols)
    {
        m_fixedCols = std::max(0, cols);
        if (m_cols < m_fixedCols)
            setGridCols(m_fixedCols);
        else if (!m_quiet && rowCount() > 0 && m_cols > 0)
            Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, m_cols - 1));
    }

    void insertGridRow(int row, const QStringList &values)
    {
        row = std::clamp(row, m_fixedRows, m_rows);
        begin([&] { beginInsertRows({}, row - m_fixedRows, row - m_fixedRows); });
        m_cells.insert(m_cells.begin() + row, values.mid(0, m_cols));
        ++m_rows;
        end([&] { endInsertRows(); });
    }

    void removeGridRow(int row)
    {
        begin([&] { beginRemoveRows({}, row - m_fixedRows, row - m_fixedRows); });
        m_cells.erase(m_cells.begin() + row);
        --m_rows;
        end([&] { endRemoveRows(); });
    }

    void clearTexts()
    {
        begin([&] { beginResetModel(); });
        for (QStringList &cells : m_cells)
            cells.clear();
        end([&] { endResetModel(); });
    }

    // Redraw off: the view is told once, when it comes back on.
    void setQuiet(bool quiet)
    {
        if (quiet == m_quiet)
            return;
        if (quiet) {
            beginResetModel();
            m_quiet = true;
        } else {
            m_quiet = false;
            endResetModel();
        }
    }

private:
    template<typename F>
    void begin(F f)
    {
        if (!m_quiet)
            f();
    }
    template<typename F>
    void end(F f)
    {
        if (!m_quiet)
            f();
    }

    void notifyRow(int row, int firstCol, int lastCol)
    {
        if (m_quiet || lastCol < firstCol)
            return;
        if (row < m_fixedRows) {
            Q_EMIT headerDataChanged(Qt::Horizontal, firstCol, lastCol);
            return;
        }
        Q_EMIT dataChanged(index(row - m_fixedRows, firstCol), index(row - m_fixedRows, lastCol));
    }

    std::vector<QStringList> m_cells;
    int m_rows = 2;
    int m_cols = 2;
    int m_fixedRows = 1;
    int m_fixedCols = 1;
    bool m_quiet = false;
};

} // namespace vorlane
