#pragma once

#include "FakeLogin.h"
#include "ScriptedFileChooser.h"

#include "common/BrowserFrame.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <QStringList>

#include <memory>

namespace vorlane::test {

// The source tree (share/ holds the help pages and the print style).
QString sourceDir();

// Puts a login context in place for one test and resets it afterwards.
class LoginScope
{
public:
    explicit LoginScope(int toolbarStyle = 2);
    ~LoginScope();
    FakeLogin &login() { return *m_login; }

private:
    std::shared_ptr<FakeLogin> m_login;
};

// A browser on the frame that records what the frame calls, with a tree of one group node
// ("R1") and set nodes ("C1", "C2", ...) and a grid filled from header and rows.
class ProbeFrame : public BrowserFrame
{
    Q_OBJECT

public:
    explicit ProbeFrame(QWidget *parent = nullptr);

    QStringList log;
    QStringList setNodes{QStringLiteral("人员基本信息"), QStringLiteral("学历学位")};
    QStringList header{QStringLiteral("信息集代码"), QStringLiteral("信息集名称")};
    QList<QStringList> rows;
    QSet<int> hiddenColumns;
    // Disables this toolbar button during the next button click.
    QString disableOnClick;
    // Handlers that throw a database error ("click", "button", "menu", "findNext").
    QSet<QString> failing;
    // Buttons the window keeps inert.
    QSet<QString> inert;

    void clearLog() { log.clear(); }

protected:
    void storeGridConstants() override;
    void buildToolbarAndMenus() override;
    void loadData() override;
    void nodeClick() override;
    void treeDblClick() override { log << QStringLiteral("treeDbl"); }
    void findNext() override;
    bool acceptsButton(const QString &key) override { return !inert.contains(key); }
    void toolbarButtonClick(const QString &key) override;
    void toolbarButtonMenuClick(const QString &buttonKey, const QString &menuKey) override;
    void formUnload() override;

private:
    void failIf(const QString &handler);
};

} // namespace vorlane::test
