#include "common/Grid.h"
#include "common/Twips.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

namespace vorlane::test {

using namespace Qt::StringLiterals;

class TestGrid : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void titleRowAndDataRows()
    {
        Grid grid;
        QCOMPARE(grid.Rows(), 2);
        QCOMPARE(grid.Cols(), 2);
        // Cells outside the grid are ignored.
        grid.setTextMatrix(7, 0, u"x"_s);
        grid.setTextMatrix(0, 9, u"x"_s);
        QCOMPARE(grid.Rows(), 2);
        QCOMPARE(grid.Cols(), 2);

        // The title row feeds the header, the data rows the view.
        grid.setCols(3);
        grid.setRows(3);
        grid.setTextMatrix(0, 1, u" 信息集代码 "_s);
        grid.setTextMatrix(1, 1, u"HR_HI_PERSON"_s);
        grid.setTextMatrix(2, 2, u"学历"_s);

        QCOMPARE(grid.TextMatrix(0, 1), u" 信息集代码 "_s);
        QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), u"信息集代码"_s);
        QCOMPARE(grid.model()->rowCount(), 2);
        QCOMPARE(grid.model()->index(0, 1).data().toString(), u"HR_HI_PERSON"_s);
        QCOMPARE(grid.model()->index(1, 2).data().toString(), u"学历"_s);
        QCOMPARE(grid.TextMatrix(5, 1), QString()); // outside the grid
    }

    void columnWidthsInTwips_data()
    {
        QTest::addColumn<int>("twips");
        QTest::addColumn<bool>("hidden");
        QTest::newRow("default 1500") << 1500 << false;
        QTest::newRow("hidden at 0") << 0 << true;
    }

    void columnWidthsInTwips()
    {
        QFETCH(int, twips);
        QFETCH(bool, hidden);
        Grid grid;
        grid.setCols(4);
        grid.setColWidth(2, twips);
        QCOMPARE(grid.ColWidth(2), twips);
        QCOMPARE(grid.isColumnHidden(2), hidden);
        QCOMPARE(grid.isColumnVisible(2), !hidden);
        if (!hidden) {
            const int pixels = int(std::lround(twips * grid.logicalDpiX() / 1440.0));
            QCOMPARE(grid.horizontalHeader()->sectionSize(2), pixels);
        }
    }

    // The browsers hide and show columns again per node; the print layout reads dragged widths.
    void widthsAfterHidingAndResizing()
    {
        Grid grid;
        grid.setCols(3);
        grid.setColWidth(1, 0);
        grid.setColWidth(1, 1500);
        QVERIFY(!grid.isColumnHidden(1));
        QCOMPARE(grid.ColWidth(1), 1500);
        grid.horizontalHeader()->resizeSection(2, 50);
        QCOMPARE(grid.ColWidth(2), pixelsToTwipsX(&grid, 50));
    }

    void removeItemShiftsRowsUp()
    {
        Grid grid;
        grid.setRows(4);
        for (int r = 1; r < 4; ++r)
            grid.setTextMatrix(r, 1, u"row%1"_s.arg(r));
        QVERIFY(grid.RemoveItem(2));
        QCOMPARE(grid.Rows(), 3);
        QCOMPARE(grid.TextMatrix(1, 1) + grid.TextMatrix(2, 1), u"row1row3"_s);
        QCOMPARE(grid.model()->rowCount(), 2);
        // The title row and the last data row stay.
        grid.setTextMatrix(0, 1, u"标题"_s);
        QVERIFY(grid.RemoveItem(1));
        QVERIFY(!grid.RemoveItem(0));
        QVERIFY(!grid.RemoveItem(1));
        QVERIFY(!grid.RemoveItem(5));
        QCOMPARE(grid.Rows(), 2);
        QCOMPARE(grid.TextMatrix(0, 1), u"标题"_s);
    }

    void rowFollowsTheViewAndTheViewFollowsRow()
    {
        Grid grid;
        grid.setRows(5);
        QSignalSpy changes(&grid, &Grid::RowColChange);
        grid.setCurrentIndex(grid.model()->index(2, 1));
        QCOMPARE(grid.Row(), 3);
        QCOMPARE(grid.Col(), 1);
        QCOMPARE(changes.count(), 1);

        grid.setRow(4);
        QCOMPARE(grid.currentIndex().row(), 3);
        QVERIFY(grid.selectionModel()->isRowSelected(3, {}));
        grid.setRows(3); // the current row moves inside
        QCOMPARE(grid.Row(), 2);
    }

    void clearFirstGridRowEmptiesOnlyRowOne()
    {
        Grid grid;
        grid.setCols(3);
        grid.setRows(3);
        for (int r = 0; r < 3; ++r)
            grid.setRowTexts(r, {u"%1a"_s.arg(r), u"%1b"_s.arg(r), u"%1c"_s.arg(r)});
        ClearFirstGridRow(&grid);
        QCOMPARE(grid.rowTexts(0).join(u','), u"0a,0b,0c"_s);
        QCOMPARE(grid.rowTexts(1).join(u','), u",,"_s);
        QCOMPARE(grid.rowTexts(2).join(u','), u"2a,2b,2c"_s);
    }

    void selectionColoursFollowTheFocus()
    {
        QWidget window;
        auto *other = new QWidget(&window);
        other->setFocusPolicy(Qt::StrongFocus);
        auto *grid = new Grid(&window);
        grid->move(0, 30);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
        QCOMPARE(grid->selectionBackColor(), QColor(Qt::white));
        QCOMPARE(grid->selectionTextColor(), QColor(Qt::black));

        grid->setFocus();
        QTRY_VERIFY(grid->hasFocus());
        QCOMPARE(grid->selectionBackColor(), Grid::focusedSelectionBack());
        QCOMPARE(grid->selectionTextColor(), QColor(Qt::white));
        QVERIFY(Grid::focusedSelectionBack() != QColor(Qt::white));
    }

    void enterAndDoubleClickActOnDataRows()
    {
        Grid grid;
        grid.setRows(3);
        grid.resize(400, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QSignalSpy spy(&grid, &Grid::DblClick);
        QTest::keyClick(&grid, Qt::Key_Return);
        QCOMPARE(spy.count(), 1);
        QTest::keyClick(&grid, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(spy.count(), 2);

        const QRect cell = grid.visualRect(grid.model()->index(1, 1));
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(spy.count(), 3);
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, QPoint(390, 190)); // below the rows
        QCOMPARE(spy.count(), 3);
    }
};

int runGridTests(int argc, char **argv)
{
    TestGrid test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace vorlane::test

#include "tst_grid.moc"
