#include "CommonFixture.h"
#include "XlsxReader.h"

#include "common/GridPrint.h"
#include "common/PrintControl.h"

#include "ScriptedMessages.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace vorlane::test {

namespace {

const QString Title = QStringLiteral("人员类");

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

QString today()
{
    return QDate::currentDate().toString(QStringLiteral("yyyy.MM.dd"));
}

QString footerLine()
{
    return QStringLiteral("单位,星桥示范企业,制表人,李四,打印日期,") + today();
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// CSV lines without the byte order mark, split at CRLF; fields are not unquoted.
QStringList csvLines(const QByteArray &bytes)
{
    QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

const QStringList SampleHeader{
    QStringLiteral("信息集代码"), QStringLiteral("信息集名称"), QStringLiteral("用户自定义标志")};

const QList<QStringList> SampleRows{
    {QStringLiteral("HR_HI_PERSON"), QStringLiteral("人员基本信息"), QStringLiteral("1-用户")},
    {QStringLiteral("HR_HI_EDU"), QStringLiteral("学历, 学位"), QStringLiteral("0-系统")},
    {QStringLiteral("HR_HI_\"Q\""), QStringLiteral(" 前后空格 "), QString()}};

// One export: login, recorded messages, scripted file choice and a scratch folder.
struct ExportRun
{
    LoginScope login;
    MessageScope messages;
    FileChooserScope chooser;
    QTemporaryDir dir;

    // A loaded frame whose grid has the given rows under 序号 + header.
    std::unique_ptr<ProbeFrame> frame(const QList<QStringList> &rows = SampleRows,
                                      const QStringList &header = SampleHeader,
                                      const QSet<int> &hidden = {})
    {
        auto f = std::make_unique<ProbeFrame>();
        f->header = header;
        f->rows = rows;
        f->hiddenColumns = hidden;
        f->FormLoad();
        return f;
    }
    // Exports to `target` (nothing: cancel) and returns the only message shown.
    QString exportTo(ProbeFrame &f, const QString &target)
    {
        if (!target.isEmpty())
            chooser->answers << target;
        f.ExportGrid();
        return messages->shown.size() == 1 ? messages->lastText() : QString();
    }
};

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exportWritesTheChosenFormat_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("xlsx, hidden column") << QStringLiteral("out.xlsx");
        QTest::newRow("no suffix: workbook") << QStringLiteral("名单");
        QTest::newRow("csv replacing a file") << QStringLiteral("out.csv");
        QTest::newRow("pdf") << QStringLiteral("out.pdf");
    }

    void exportWritesTheChosenFormat()
    {
        QFETCH(QString, answer);
        const QString written = answer.contains(u'.') ? answer : answer + QStringLiteral(".xlsx");
        ExportRun run;
        const QString path = run.dir.filePath(written);
        const bool csv = written.endsWith(u".csv");
        if (csv) // replaced, not appended to
            QVERIFY(writeFile(path, "old contents"));
        const bool hide = answer == u"out.xlsx";
        auto frame = run.frame(SampleRows, SampleHeader, hide ? QSet<int>{2} : QSet<int>{});
        QCOMPARE(run.exportTo(*frame, run.dir.filePath(answer)),
                 QStringLiteral("成功输出到文件。"));
        QCOMPARE(filesIn(run.dir.path()), QStringList{written});
        const QByteArray bytes = readAll(path);

        if (written.endsWith(u".pdf")) {
            QVERIFY(bytes.startsWith("%PDF") && bytes.size() > 1000);
            QVERIFY(bytes.contains("/Type /Page") || bytes.contains("/Type/Page"));
        } else if (csv) {
            QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
            QCOMPARE(csvLines(bytes),
                     (QStringList{Title,
                                  QStringLiteral("序号,信息集代码,信息集名称,用户自定义标志"),
                                  QStringLiteral("1,HR_HI_PERSON,人员基本信息,1-用户"),
                                  QStringLiteral("2,HR_HI_EDU,\"学历, 学位\",0-系统"),
                                  QStringLiteral("3,\"HR_HI_\"\"Q\"\"\",\" 前后空格 \","),
                                  QString(),
                                  footerLine()}));
        } else {
            const QMap<QString, QString> cells = readXlsxCells(path);
            QCOMPARE(cells.value(QStringLiteral("A1")), Title);
            QCOMPARE(cells.value(QStringLiteral("B2")), QStringLiteral("信息集代码"));
            QCOMPARE(cells.value(QStringLiteral("B3")), QStringLiteral("HR_HI_PERSON"));
            QCOMPARE(cells.value(QStringLiteral("B5")), QStringLiteral("HR_HI_\"Q\""));
            if (hide) { // 名称 left out
                QVERIFY(cells.value(QStringLiteral("C5")).isEmpty());
                QCOMPARE(frame->ColumnTitles.join(u','),
                         QStringLiteral("序号,信息集代码,用户自定义标志"));
                QCOMPARE(cells.value(QStringLiteral("C3")), QStringLiteral("1-用户"));
                QVERIFY(!cells.values().contains(QStringLiteral("信息集名称")));
                QStringList footer; // after one blank row
                for (int c = 0; c < 6; ++c)
                    footer << cells.value(cellRef(6, c));
                QCOMPARE(footer.join(u','), footerLine());
            }
        }
    }

    void nothingIsWritten_data()
    {
        QTest::addColumn<int>("chooserCalls");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty tree") << 0 << QString();
        QTest::newRow("title row only") << 0 << QStringLiteral("没有数据！");
        QTest::newRow("cancelled file choice") << 1 << QString();
    }

    void nothingIsWritten()
    {
        QFETCH(int, chooserCalls);
        QFETCH(QString, message);
        ExportRun run;
        auto frame = std::make_unique<ProbeFrame>();
        if (QByteArray(QTest::currentDataTag()) == "empty tree")
            frame->setNodes.clear();
        frame->rows = SampleRows;
        frame->FormLoad();
        if (!message.isEmpty())
            frame->grid()->setRows(1);
        run.exportTo(*frame, {});
        QCOMPARE(run.chooser->calls, chooserCalls);
        QCOMPARE(run.messages->shown.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QCOMPARE(run.messages->lastText(), message);
        if (chooserCalls)
            QVERIFY(run.chooser->suggested.first().endsWith(Title + QStringLiteral(".xlsx")));
    }

    void failedWriteLeavesNothing_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("kind");
        // Every kind for workbooks (the library reports no write errors), two for the others.
        for (const char *kind :
             {"read-only folder", "read-only file", "missing folder", "full disk"})
            QTest::addRow("xlsx, %s", kind) << QStringLiteral("xlsx") << QString::fromLatin1(kind);
        for (const char *suffix : {"csv", "pdf"}) {
            for (const char *kind : {"read-only file", "full disk"})
                QTest::addRow("%s, %s", suffix, kind)
                    << QString::fromLatin1(suffix) << QString::fromLatin1(kind);
        }
    }

    void failedWriteLeavesNothing()
    {
        QFETCH(QString, suffix);
        QFETCH(QString, kind);
        ExportRun run;
        const QString name = QStringLiteral("out.") + suffix;
        QString target = run.dir.filePath(name);
        QString watched = run.dir.path(); // the folder that must stay as it was
        QByteArray oldContents;
        QList<QStringList> rows = SampleRows;

        if (kind == u"read-only folder") {
            watched = run.dir.filePath(QStringLiteral("locked"));
            QVERIFY(QDir().mkdir(watched));
            QFile::setPermissions(watched, QFile::ReadOwner | QFile::ExeOwner);
            if (access(QFile::encodeName(watched).constData(), W_OK) == 0) {
                QFile::setPermissions(watched,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                QSKIP("this user may write into read-only folders");
            }
            target = watched + u'/' + name;
        } else if (kind == u"read-only file") {
            oldContents = "keep me";
            QVERIFY(writeFile(target, oldContents));
            QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        } else if (kind == u"missing folder") {
            target = run.dir.filePath(QStringLiteral("missing/") + name);
        } else { // big enough to run into the limit mid-write
            for (int i = 0; i < 3000; ++i)
                rows << QStringList{QStringLiteral("CODE%1").arg(i),
                                    QStringLiteral("名称%1").arg(i),
                                    QStringLiteral("说明文字%1").arg(i * 7919)};
        }
        const QStringList before = filesIn(watched);
        auto frame = run.frame(rows);
        // A full disk: this process may not write more than 16 KiB.
        rlimit unlimited{};
        getrlimit(RLIMIT_FSIZE, &unlimited);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        if (kind == u"full disk") {
            rlimit limit = unlimited;
            limit.rlim_cur = 16 * 1024;
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        const QString message = run.exportTo(*frame, target);
        setrlimit(RLIMIT_FSIZE, &unlimited);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(message, QStringLiteral("输出到文件失败！"));
        QCOMPARE(filesIn(watched), before);
        if (!oldContents.isEmpty())
            QCOMPARE(readAll(target), oldContents);
        QFile::setPermissions(watched, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void longAndWideGridsExportCompletely_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<int>("columnCount");
        QTest::newRow("xlsx long") << QStringLiteral("xlsx") << 100000 << 4;
        QTest::newRow("csv long") << QStringLiteral("csv") << 100000 << 4;
        QTest::newRow("xlsx wide") << QStringLiteral("xlsx") << 50 << 200;
        QTest::newRow("pdf long") << QStringLiteral("pdf") << 3000 << 6;
    }

    void longAndWideGridsExportCompletely()
    {
        QFETCH(QString, suffix);
        QFETCH(int, rowCount);
        QFETCH(int, columnCount);
        ExportRun run;
        const QString path = run.dir.filePath(QStringLiteral("data.") + suffix);
        QStringList header;
        for (int c = 0; c < columnCount; ++c)
            header << QStringLiteral("列%1").arg(c + 1);
        QList<QStringList> rows(rowCount);
        for (int r = 0; r < rowCount; ++r)
            for (int c = 0; c < columnCount; ++c)
                rows[r] << QStringLiteral("%1-%2").arg(r + 1).arg(c + 1);
        auto frame = run.frame(rows, header);
        QCOMPARE(run.exportTo(*frame, path), QStringLiteral("成功输出到文件。"));
        const QString last = QStringLiteral("%1-%2").arg(rowCount).arg(columnCount);

        if (suffix == u"xlsx") {
            const QMap<QString, QString> cells = readXlsxCells(path);
            QCOMPARE(cells.value(cellRef(1, columnCount)), QStringLiteral("列%1").arg(columnCount));
            QCOMPARE(cells.value(cellRef(rowCount + 1, columnCount)), last);
            QCOMPARE(cells.value(cellRef(rowCount + 1, 0)), QString::number(rowCount));
            QCOMPARE(cells.value(cellRef(rowCount + 3, 0)), QStringLiteral("单位"));
        } else if (suffix == u"csv") {
            const QStringList lines = csvLines(readAll(path));
            QCOMPARE(lines.size(), rowCount + 4);
            QCOMPARE(lines[rowCount + 1].section(u',', -1), last);
            QCOMPARE(lines[1].count(u','), columnCount);
        } else {
            QVERIFY(readAll(path).startsWith("%PDF"));
        }
    }

    void printStyleComesFromTheInstallationOrDefaults()
    {
        ExportRun run;
        QTemporaryDir elsewhere;
        const QByteArray ownInstallation = qgetenv("VORLANE_INSTALL_PATH");
        const auto restore = qScopeGuard([&] {
            if (ownInstallation.isNull())
                qunsetenv("VORLANE_INSTALL_PATH");
            else
                qputenv("VORLANE_INSTALL_PATH", ownInstallation);
        });
        for (const bool installed : {true, false}) {
            if (!installed) {
                // Neither the host nor our own installation has a style file.
                run.login.login().installPath = elsewhere.path();
                qputenv("VORLANE_INSTALL_PATH", elsewhere.path().toLocal8Bit());
            }
            auto frame = run.frame();
            frame->ColumnTitles = VisibleColumnTitles(*frame->grid());
            QVERIFY(frame->PrintGrid(2));
            PrintControl *prt = frame->xmlPrt();
            QCOMPARE(prt->isNewStyle(), !installed);
            QCOMPARE(prt->title(), Title);
            QCOMPARE(prt->row(1).value(2), QStringLiteral("学历, 学位"));
            QCOMPARE(prt->footer()[1].value, QStringLiteral("李四"));
            QCOMPARE(prt->footer()[2].value, today());
            if (installed) {
                QVERIFY(prt->EnableSave() && prt->isClosed());
                QCOMPARE(prt->style().orientation, QPageLayout::Landscape);
                QCOMPARE(prt->style().alignmentOf(0), Qt::AlignHCenter);
                QCOMPARE(prt->footer()[1].place, QStringLiteral("600,0"));
            } else {
                QCOMPARE(prt->style().columnLayout, QStringLiteral("0,260"));
                QCOMPARE(prt->style().alignmentOf(3), Qt::AlignLeft);
                QCOMPARE(prt->style().alignmentOf(4), Qt::AlignRight);
            }
        }
        QVERIFY(run.messages->shown.isEmpty());
    }

    void brokenStyleFileIsRefused_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("not xml") << QByteArray("this is no style");
        QTest::newRow("other root") << QByteArray("<?xml version=\"1.0\"?><report/>");
        QTest::newRow("bad page size")
            << QByteArray("<printStyle><page size=\"Z9\"/></printStyle>");
    }

    void brokenStyleFileIsRefused()
    {
        QFETCH(QByteArray, contents);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("BudgetStyle.xml"));
        QVERIFY(writeFile(path, contents));
        PrintStyle style;
        style.orientation = QPageLayout::Portrait;
        QString error;
        QVERIFY(!style.load(path, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(style.orientation, QPageLayout::Portrait);
        QVERIFY(!PrintControl().LoadStyle(path));
    }

    void layoutSavesAndPicksColumnsByTitle()
    {
        FileChooserScope chooser;
        PrintControl control;
        QCOMPARE(control.SaveToFile({}, {}, {}, {}, 0), PrintControl::NoLayout);
        control.NewStyle();
        control.SetColumnLayout(QStringLiteral("0,260"),
                                {800, 1500, 1500, 1500},
                                {QStringLiteral("序号"),
                                 QStringLiteral("名称"),
                                 QStringLiteral("名称"),
                                 QStringLiteral("备注")},
                                3);
        control.AddRow(
            {QStringLiteral("1"), QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")},
            4);
        control.CloseLayout(QStringLiteral("Default"));
        QCOMPARE(control.SaveToFile({}, {}, {}, {}, 0), PrintControl::SaveNotEnabled);
        QCOMPARE(chooser->calls, 0);
        control.setEnableSave(true);
        QCOMPARE(control.SaveToFile({}, {}, {}, {}, 0), PrintControl::Cancelled);
        QCOMPARE(chooser->calls, 1);

        const GridDocument doc = control.document(QStringLiteral("名称,备注,名称,缺少,"));
        QCOMPARE(doc.columns.size(), 3);
        QCOMPARE(doc.cell(0, 0), QStringLiteral("甲"));
        QCOMPARE(doc.cell(0, 1), QStringLiteral("丙"));
        QCOMPARE(doc.cell(0, 2), QStringLiteral("乙"));
        QCOMPARE(control.document().columns.size(), 4);
    }
};

int runExportTests(int argc, char **argv)
{
    TestExport test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace vorlane::test

#include "tst_export.moc"
