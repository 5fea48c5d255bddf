#pragma once

#include "common/BrowserFrame.h"
#include "common/FileChooser.h"
#include "host/VexaLogin.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <QStringList>

#include <memory>

namespace vorlane::test {

// The source tree (share/ holds the help pages and the print style).
QString sourceDir();

// A host login object with fixed answers; every right is granted.
class TestLogin : public VexaLogin
{
public:
    QString installPath = sourceDir();
    QString accountCode = QStringLiteral("001");
    QString accountName = QStringLiteral("星桥示范企业");
    QString operatorName = QStringLiteral("李四");
    QDate businessDate{2024, 3, 5};

    QString ConnectionString() const override { return {}; }
    QString InstallPath() const override { return installPath; }
    QString AccountCode() const override { return accountCode; }
    QString AccountName() const override { return accountName; }
    QDate BusinessDate() const override { return businessDate; }
    QString OperatorName() const override { return operatorName; }
    bool RequestTask(const QString &, bool, int) override { return true; }
    long LastErrorNumber() const override { return 0; }
    QString LastErrorText() const override { return {}; }
    void ClearError() override {}
};

// Puts a login context in place for one test and resets it afterwards.
class LoginScope
{
public:
    explicit LoginScope(int toolbarStyle = 2);
    ~LoginScope();
    TestLogin &login() { return *m_login; }

private:
    std::shared_ptr<TestLogin> m_login;
};

// Answers file choices from a script and records the questions.
class ScriptedFileChooser : public FileChooser
{
public:
    QString chooseSaveFile(QWidget *parent,
                           const QString &caption,
                           const QString &suggestedPath,
                           const QStringList &filters) override;

    QStringList answers; // an empty answer (or none left) cancels
    QStringList suggested;
    int calls = 0;
};

class FileChooserScope
{
public:
    FileChooserScope();
    ~FileChooserScope();
    ScriptedFileChooser *operator->() { return m_chooser.get(); }

private:
    std::shared_ptr<ScriptedFileChooser> m_chooser;
    std::shared_ptr<FileChooser> m_previous;
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
    void treeDblClick() override;
    void gridDblClick() override;
    void findNext() override;
    bool acceptsButton(const QString &key) override;
    void toolbarButtonClick(const QString &key) override;
    void toolbarButtonMenuClick(const QString &buttonKey, const QString &menuKey) override;
    bool prepareOperationMenu(QWidget *source) override;
    void formUnload() override;

private:
    void failIf(const QString &handler);
};

} // namespace vorlane::test
