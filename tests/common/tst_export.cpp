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

using namespace Qt::StringLiterals;

namespace {

const QString Title = u"人员类"_s;

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

QString today()
{
    return QDate::currentDate().toString(u"yyyy.MM.dd"_s);
}

QString footerLine()
{
    return u"单位,星桥示范企业,制表人,李四,打印日期,"_s + today();
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
    QStringList lines = QString::fromUtf8(bytes.mid(3)).split(u"\r\n"_s);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

const QStringList SampleHeader{u"信息集代码"_s, u"信息集名称"_s, u"用户自定义标志"_s};

const QList<QStringList> SampleRows{{u"HR_HI_PERSON"_s, u"人员基本信息"_s, u"1-用户"_s},
                                    {u"HR_HI_EDU"_s, u"学历, 学位"_s, u"0-系统"_s},
                                    {u"HR_HI_\"Q\""_s, u" 前后空格 "_s, QString()}};

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
        QTest::newRow("xlsx, hidden column") << u"out.xlsx"_s;
        QTest::newRow("no suffix: workbook") << u"名单"_s;
        QTest::newRow("csv replacing a file") << u"out.csv"_s;
        QTest::newRow("pdf") << u"out.pdf"_s;
    }

    void exportWritesTheChosenFormat()
    {
        QFETCH(QString, answer);
        const QString written = answer.contains(u'.') ? answer : answer + u".xlsx"_s;
        ExportRun run;
        const QString path = run.dir.filePath(written);
        const bool csv = written.endsWith(u".csv");
        if (csv) // replaced, not appended to
            QVERIFY(writeFile(path, "old contents"));
        const bool hide = answer == u"out.xlsx";
        auto frame = run.frame(SampleRows, SampleHeader, hide ? QSet<int>{2} : QSet<int>{});
        QCOMPARE(run.exportTo(*frame, run.dir.filePath(answer)), u"成功输出到文件。"_s);
        QCOMPARE(filesIn(run.dir.path()), QStringList{written});
        const QByteArray bytes = readAll(path);

        if (written.endsWith(u".pdf")) {
            QVERIFY(bytes.startsWith("%PDF") && bytes.size() > 1000);
            QVERIFY(bytes.contains("/Type /Page") || bytes.contains("/Type/Page"));
        } else if (csv) {
            QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
            QCOMPARE(csvLines(bytes),
                     (QStringList{Title,
                                  u"序号,信息集代码,信息集名称,用户自定义标志"_s,
                                  u"1,HR_HI_PERSON,人员基本信息,1-用户"_s,
                                  u"2,HR_HI_EDU,\"学历, 学位\",0-系统"_s,
                                  u"3,\"HR_HI_\"\"Q\"\"\",\" 前后空格 \","_s,
                                  QString(),
                                  footerLine()}));
        } else {
            const QMap<QString, QString> cells = readXlsxCells(path);
            QCOMPARE(QStringList({cells.value(u"A1"_s),
                                  cells.value(u"B2"_s),
                                  cells.value(u"B3"_s),
                                  cells.value(u"B5"_s)}),
                     QStringList({Title, u"信息集代码"_s, u"HR_HI_PERSON"_s, u"HR_HI_\"Q\""_s}));
            if (hide) { // 名称 left out
                QCOMPARE(frame->ColumnTitles.join(u','), u"序号,信息集代码,用户自定义标志"_s);
                QCOMPARE(cells.value(u"C3"_s), u"1-用户"_s);
                QVERIFY(!cells.values().contains(u"信息集名称"_s));
                QStringList footer; // after one blank row
                for (int c = 0; c < 6; ++c)
                    footer << cells.value(cellRef(6, c));
                QCOMPARE(footer.join(u','), footerLine());
            }
        }
    }

    void nothingIsWritten()
    {
        ExportRun run;
        auto frame = run.frame();
        run.exportTo(*frame, {}); // the file choice cancelled
        QCOMPARE(run.chooser->calls, 1);
        QVERIFY(run.chooser->suggested.first().endsWith(Title + u".xlsx"_s));
        QVERIFY(run.messages->shown.isEmpty());
        frame->grid()->setRows(1); // the title row only: no file is asked for
        QCOMPARE(run.exportTo(*frame, {}), u"没有数据！"_s);
        QCOMPARE(run.chooser->calls, 1);
        QVERIFY(filesIn(run.dir.path()).isEmpty());
    }

    void failedWriteLeavesNothing_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("kind");
        // Each stage for workbooks (the library reports no write errors), one for the others. A
        // missing folder fails where a read-only one does, on the temporary file.
        for (const char *kind : {"read-only folder", "read-only file", "full disk"})
            QTest::addRow("xlsx, %s", kind) << u"xlsx"_s << QString::fromLatin1(kind);
        QTest::newRow("csv, full disk") << u"csv"_s << u"full disk"_s;
        QTest::newRow("pdf, read-only file") << u"pdf"_s << u"read-only file"_s;
    }

    void failedWriteLeavesNothing()
    {
        QFETCH(QString, suffix);
        QFETCH(QString, kind);
        ExportRun run;
        const QString name = u"out."_s + suffix;
        QString target = run.dir.filePath(name);
        QString watched = run.dir.path(); // the folder that must stay as it was
        QByteArray oldContents;
        QList<QStringList> rows = SampleRows;

        if (kind == u"read-only folder") {
            watched = run.dir.filePath(u"locked"_s);
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
        } else { // big enough to run into the limit mid-write
            for (int i = 0; i < 3000; ++i)
                rows << QStringList{
                    u"CODE%1"_s.arg(i), u"名称%1"_s.arg(i), u"说明文字%1"_s.arg(i * 7919)};
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
        QCOMPARE(message, u"输出到文件失败！"_s);
        QCOMPARE(filesIn(watched), before);
        if (!oldContents.isEmpty())
            QCOMPARE(readAll(target), oldContents);
        QFile::setPermissions(watched, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Workbooks past the old sheet limits; CSV has none, its flushes are the full-disk row's.
    void longAndWideGridsExportCompletely_data()
    {
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<int>("columnCount");
        QTest::newRow("long") << 100000 << 4;
        QTest::newRow("wide") << 50 << 200;
    }

    void longAndWideGridsExportCompletely()
    {
        QFETCH(int, rowCount);
        QFETCH(int, columnCount);
        ExportRun run;
        const QString path = run.dir.filePath(u"data.xlsx"_s);
        QStringList header;
        for (int c = 0; c < columnCount; ++c)
            header << u"列%1"_s.arg(c + 1);
        QList<QStringList> rows(rowCount);
        for (int r = 0; r < rowCount; ++r)
            for (int c = 0; c < columnCount; ++c)
                rows[r] << u"%1-%2"_s.arg(r + 1).arg(c + 1);
        auto frame = run.frame(rows, header);
        QCOMPARE(run.exportTo(*frame, path), u"成功输出到文件。"_s);
        const QMap<QString, QString> cells = readXlsxCells(path);
        QCOMPARE(cells.value(cellRef(1, columnCount)), u"列%1"_s.arg(columnCount));
        QCOMPARE(cells.value(cellRef(rowCount + 1, columnCount)),
                 u"%1-%2"_s.arg(rowCount).arg(columnCount));
        QCOMPARE(cells.value(cellRef(rowCount + 3, 0)), u"单位"_s);
        QCOMPARE(cells.value(cellRef(rowCount + 1, 0)), QString::number(rowCount));
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
            QCOMPARE(prt->row(1).value(2), u"学历, 学位"_s);
            QCOMPARE(prt->footer()[1].value, u"李四"_s);
            QCOMPARE(prt->footer()[2].value, today());
            if (installed) {
                QVERIFY(prt->EnableSave() && prt->isClosed());
                QCOMPARE(prt->style().orientation, QPageLayout::Landscape);
                QCOMPARE(prt->style().alignmentOf(0), Qt::AlignHCenter);
                QCOMPARE(prt->footer()[1].place, u"600,0"_s);
            } else {
                QCOMPARE(prt->style().columnLayout, u"0,260"_s);
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
        const QString path = dir.filePath(u"BudgetStyle.xml"_s);
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
        control.SetColumnLayout(
            u"0,260"_s, {800, 1500, 1500, 1500}, {u"序号"_s, u"名称"_s, u"名称"_s, u"备注"_s}, 3);
        control.AddRow({u"1"_s, u"甲"_s, u"乙"_s, u"丙"_s}, 4);
        control.CloseLayout(u"Default"_s);
        QCOMPARE(control.SaveToFile({}, {}, {}, {}, 0), PrintControl::SaveNotEnabled);
        QCOMPARE(chooser->calls, 0);
        control.setEnableSave(true);
        QCOMPARE(control.SaveToFile({}, {}, {}, {}, 0), PrintControl::Cancelled);
        QCOMPARE(chooser->calls, 1);

        const GridDocument doc = control.document(u"名称,备注,名称,缺少,"_s);
        QCOMPARE(doc.columns.size(), 3);
        QCOMPARE(doc.cell(0, 0) + doc.cell(0, 1) + doc.cell(0, 2), u"甲丙乙"_s);
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
