#pragma once

#include "BrowserFrame.h"
#include "frmFind.h"

#include <QList>
#include <QStringList>

namespace vorlane {

// What the demonstration window shows: a header and rows for the grid; with a group column the
// tree gets one node per distinct value of that column, and a click on it lists its rows.
struct FrameDemoData
{
    QString caption = QStringLiteral("框架演示");
    QString rootText = QStringLiteral("全部");
    QStringList header;
    QList<QStringList> rows;
    int groupColumn = -1;
};

// A browser window built on the frame alone: tree, grid, toolbar styles, split bar, export,
// print preview, find (F3), help.
class frmFrameDemo : public BrowserFrame
{
    Q_OBJECT

public:
    explicit frmFrameDemo(FrameDemoData data, QWidget *parent = nullptr);

    const FindState &findState() const { return m_find; }
    // Finds the next node after the given index whose text matches the find state.
    void RunFind(int startAfter);

protected:
    void buildToolbarAndMenus() override;
    void loadData() override;
    void nodeClick() override;
    void findNext() override;
    void toolbarButtonClick(const QString &key) override;

private:
    void openFind();

    FrameDemoData m_data;
    FindState m_find;
};

QWidget *createFrameDemoWindow(QWidget *parent, const FrameDemoData &data);
// The demonstration window with a small built-in sample.
QWidget *createFrameDemoWindow(QWidget *parent);

} // namespace vorlane
