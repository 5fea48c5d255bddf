#include "CommonFixture.h"
#include "XlsxReader.h"

#include "common/GridPrint.h"
#include "common/PrintControl.h"

#include "ScriptedMessages.h"

#include <QDate>
#include <QDir>
#include <QFile>
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

// CSV lines without the byte order mark, split at CRLF; fields are not unquoted.
QStringList csvLines(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes.mid(3));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Limits the size of files this process writes, as a full disk would.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

private:
    // A loaded frame whose grid has the given rows under 序号 + header; column 2 of the probe
    // header can be hidden.
    std::unique_ptr<ProbeFrame> makeFrame(const QList<QStringList> &rows,
                                          const QStringList &header = {},
                                          const QSet<int> &hidden = {})
    {
        auto frame = std::make_unique<ProbeFrame>();
        if (!header.isEmpty())
            frame->header = header;
        frame->rows = rows;
        frame->hiddenColumns = hidden;
        frame->FormLoad();
        return frame;
    }

    QList<QStringList> sampleRows()
    {
        return {
            {QStringLiteral("HR_HI_PERSON"),
             QStringLiteral("人员基本信息"),
             QStringLiteral("1-用户")},
            {QStringLiteral("HR_HI_EDU"), QStringLiteral("学历, 学位"), QStringLiteral("0-系统")},
            {QStringLiteral("HR_HI_\"Q\""), QStringLiteral(" 前后空格 "), QString()}};
    }

    QStringList sampleHeader()
    {
        return {QStringLiteral("信息集代码"),
                QStringLiteral("信息集名称"),
                QStringLiteral("用户自定义标志")};
    }

private Q_SLOTS:
    void xlsxHoldsTitleVisibleColumnsRowsAndFooter()
    {
        LoginScope login;
        MessageScope messages;
        FileChooserScope chooser;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.xlsx"));
        chooser->answers << path;
        auto frame = makeFrame(sampleRows(), sampleHeader(), {2});
        frame->ExportGrid();

        QCOMPARE(messages->shown.size(), 1);
        QCOMPARE(messages->lastText(), QStringLiteral("成功输出到文件。"));
        QCOMPARE(messages->shown.last().title, QStringLiteral("人事信息管理"));
        QCOMPARE(messages->shown.last().icon, MsgIcon::Information);
        QCOMPARE(frame->ColumnTitles,
                 (QStringList{QStringLiteral("序号"),
                              QStringLiteral("信息集代码"),
                              QStringLiteral("用户自定义标志")}));

        const QMap<QString, QString> cells = readXlsxCells(path);
        QVERIFY(!cells.isEmpty());
        QCOMPARE(cells.value(QStringLiteral("A1")), Title);
        QCOMPARE(cells.value(QStringLiteral("A2")), QStringLiteral("序号"));
        QCOMPARE(cells.value(QStringLiteral("B2")), QStringLiteral("信息集代码"));
        QCOMPARE(cells.value(QStringLiteral("C2")),
                 QStringLiteral("用户自定义标志")); // hidden 名称 left out
        QVERIFY(!cells.values().contains(QStringLiteral("信息集名称")));
        QCOMPARE(cells.value(QStringLiteral("A3")), QStringLiteral("1"));
        QCOMPARE(cells.value(QStringLiteral("B3")), QStringLiteral("HR_HI_PERSON"));
        QCOMPARE(cells.value(QStringLiteral("C3")), QStringLiteral("1-用户"));
        QCOMPARE(cells.value(QStringLiteral("B5")), QStringLiteral("HR_HI_\"Q\""));
        QVERIFY(!cells.contains(QStringLiteral("C5"))
                || cells.value(QStringLiteral("C5")).isEmpty());
        // One blank row, then the footer.
        QCOMPARE(cells.value(QStringLiteral("A7")), QStringLiteral("单位"));
        QCOMPARE(cells.value(QStringLiteral("B7")), QStringLiteral("星桥示范企业"));
        QCOMPARE(cells.value(QStringLiteral("C7")), QStringLiteral("制表人"));
        QCOMPARE(cells.value(QStringLiteral("D7")), QStringLiteral("李四"));
        QCOMPARE(cells.value(QStringLiteral("E7")), QStringLiteral("打印日期"));
        QCOMPARE(cells.value(QStringLiteral("F7")), today());
        QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("out.xlsx")});
    }

    void csvHasBomTitleRowsAndFooter()
    {
        LoginScope login;
        MessageScope messages;
        FileChooserScope chooser;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.csv"));
        chooser->answers << path;
        auto frame = makeFrame(sampleRows(), sampleHeader());
        frame->ExportGrid();
        QCOMPARE(messages->lastText(), QStringLiteral("成功输出到文件。"));

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QStringList lines = csvLines(bytes);
        QCOMPARE(lines.size(), 7);
        QCOMPARE(lines[0], Title);
        QCOMPARE(lines[1], QStringLiteral("序号,信息集代码,信息集名称,用户自定义标志"));
        QCOMPARE(lines[2], QStringLiteral("1,HR_HI_PERSON,人员基本信息,1-用户"));
        QCOMPARE(lines[3], QStringLiteral("2,HR_HI_EDU,\"学历, 学位\",0-系统"));
        QCOMPARE(lines[4], QStringLiteral("3,\"HR_HI_\"\"Q\"\"\",\" 前后空格 \","));
        QCOMPARE(lines[5], QString());
        QCOMPARE(lines[6], QStringLiteral("单位,星桥示范企业,制表人,李四,打印日期,") + today());
    }

    void pdfIsWritten()
    {
        LoginScope login;
        MessageScope messages;
        FileChooserScope chooser;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.pdf"));
        chooser->answers << path;
        auto frame = makeFrame(sampleRows(), sampleHeader());
        frame->ExportGrid();
        QCOMPARE(messages->lastText(), QStringLiteral("成功输出到文件。"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QVERIFY(bytes.size() > 1000);
        QVERIFY(bytes.contains("/Type /Page") || bytes.contains("/Type/Page"));
    }

    void nameWithoutKnownSuffixBecomesAWorkbook()
    {
        LoginScope login;
        MessageScope messages;
        FileChooserScope chooser;
        QTemporaryDir dir;
        chooser->answers << dir.filePath(QStringLiteral("名单"));
        auto frame = makeFrame(sampleRows(), sampleHeader());
        frame->ExportGrid();
        QCOMPARE(messages->lastText(), QStringLiteral("成功输出到文件。"));
        QCOMPARE(
            readXlsxCells(dir.filePath(QStringLiteral("名单.xlsx"))).value(QStringLiteral("A1")),
            Title);
    }

    void existingWritableFileIsReplaced()
    {
        LoginScope login;
        MessageScope messages;
        FileChooserScope chooser;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.csv"));
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old contents");
        }
        chooser->answers << path;
        auto frame = makeFrame(sampleRows(), sampleHeader());
        frame->ExportGrid();
        QCOMPARE(messages->lastText(), QStringLiteral("成功输出到文件。"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.readAll().contains("old contents"));
        QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("out.csv")});
    }

    void emptyTreeDoesNothing()
    {
        LoginScope login;
        MessageScope messages;
        FileChooserScope chooser;
        auto frame = std::make_unique<ProbeFrame>();
        frame->setNodes.clear();
        frame->rows = sampleRows();
        frame->FormLoad();
        frame->ExportGrid();
        QVERIFY(messages->shown.isEmpty());
        QCOMPARE(chooser->calls, 0);
    }

    void titleRowOnlyHasNoData()
    {
        LoginScope login;
        MessageScope messages;
        FileChooserScope chooser;
        auto frame = makeFrame({}, sampleHeader());
        frame->grid()->setRows(1);
        QCOMPARE(frame->grid()->Rows(), 1);
        frame->ExportGrid();
        QCOMPARE(messages->shown.size(), 1);
        QCOMPARE(messages->lastText(), QStringLiteral("没有数据！"));
        QCOMPARE(messages->shown.last().icon, MsgIcon::Information);
        QCOMPARE(chooser->calls, 0);
    }

    void cancelledFileChoiceShowsNothing()
    {
        LoginScope login;
        MessageScope messages;
        FileChooserScope chooser; // no answer: cancelled
        QTemporaryDir dir;
        auto frame = makeFrame(sampleRows(), sampleHeader());
        frame->ExportGrid();
        QCOMPARE(chooser->calls, 1);
        QVERIFY(messages->shown.isEmpty());
        QVERIFY(chooser->suggested.first().endsWith(Title + QStringLiteral(".xlsx")));
    }

    void failedWriteLeavesNothing_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("kind");
        for (const char *suffix : {"xlsx", "csv", "pdf"}) {
            for (const char *kind : {"read-only folder",
                                     "folder is a file",
                                     "read-only file",
                                     "target is a folder",
                                     "missing folder"}) {
                QTest::addRow("%s, %s", suffix, kind)
                    << QString::fromLatin1(suffix) << QString::fromLatin1(kind);
            }
        }
    }

    void failedWriteLeavesNothing()
    {
        QFETCH(QString, suffix);
        QFETCH(QString, kind);
        LoginScope login;
        MessageScope messages;
        FileChooserScope chooser;
        QTemporaryDir dir;
        const QString name = QStringLiteral("out.") + suffix;
        QString target;
        QString watched = dir.path(); // the folder that must stay as it was
        QByteArray oldContents;

        if (kind == u"read-only folder") {
            const QString folder = dir.filePath(QStringLiteral("locked"));
            QVERIFY(QDir().mkdir(folder));
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
            if (access(QFile::encodeName(folder).constData(), W_OK) == 0) {
                QFile::setPermissions(folder,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                QSKIP("this user may write into read-only folders");
            }
            target = folder + u'/' + name;
            watched = folder;
        } else if (kind == u"folder is a file") {
            QFile plain(dir.filePath(QStringLiteral("plain")));
            QVERIFY(plain.open(QIODevice::WriteOnly));
            target = plain.fileName() + u'/' + name;
        } else if (kind == u"read-only file") {
            target = dir.filePath(name);
            QFile old(target);
            QVERIFY(old.open(QIODevice::WriteOnly));
            oldContents = "keep me";
            old.write(oldContents);
            old.close();
            QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        } else if (kind == u"target is a folder") {
            target = dir.filePath(name);
            QVERIFY(QDir().mkdir(target));
        } else {
            target = dir.filePath(QStringLiteral("missing/") + name);
        }
        const QStringList before = filesIn(watched);

        chooser->answers << target;
        auto frame = makeFrame(sampleRows(), sampleHeader());
        frame->ExportGrid();

        QCOMPARE(messages->shown.size(), 1);
        QCOMPARE(messages->lastText(), QStringLiteral("输出到文件失败！"));
        QCOMPARE(messages->shown.last().icon, MsgIcon::Information);
        QCOMPARE(filesIn(watched), before);
        if (!oldContents.isEmpty()) {
            QFile old(target);
            QVERIFY(old.open(QIODevice::ReadOnly));
            QCOMPARE(old.readAll(), oldContents);
        }
        QFile::setPermissions(watched, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void fullDiskLeavesNoPartialFile_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("xlsx") << QStringLiteral("xlsx");
        QTest::newRow("csv") << QStringLiteral("csv");
        QTest::newRow("pdf") << QStringLiteral("pdf");
    }

    void fullDiskLeavesNoPartialFile()
    {
        QFETCH(QString, suffix);
        LoginScope login;
        MessageScope messages;
        FileChooserScope chooser;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.") + suffix);
        chooser->answers << path;
        QList<QStringList> rows;
        for (int i = 0; i < 3000; ++i)
            rows << QStringList{QStringLiteral("CODE%1").arg(i),
                                QStringLiteral("名称%1").arg(i),
                                QStringLiteral("说明文字%1").arg(i * 7919)};
        auto frame = makeFrame(rows, sampleHeader());
        {
            FileSizeLimit limit(16 * 1024);
            frame->ExportGrid();
        }
        QCOMPARE(messages->lastText(), QStringLiteral("输出到文件失败！"));
        QVERIFY(filesIn(dir.path()).isEmpty());
    }

    void longAndWideGridsExportCompletely_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<int>("columnCount");
        QTest::newRow("xlsx long") << QStringLiteral("xlsx") << 100000 << 4;
        QTest::newRow("csv long") << QStringLiteral("csv") << 100000 << 4;
        QTest::newRow("xlsx wide") << QStringLiteral("xlsx") << 50 << 200;
        QTest::newRow("csv wide") << QStringLiteral("csv") << 50 << 200;
        QTest::newRow("pdf wide") << QStringLiteral("pdf") << 40 << 200;
        QTest::newRow("pdf long") << QStringLiteral("pdf") << 3000 << 6;
    }

    void longAndWideGridsExportCompletely()
    {
        QFETCH(QString, suffix);
        QFETCH(int, rowCount);
        QFETCH(int, columnCount);
        LoginScope login;
        MessageScope messages;
        FileChooserScope chooser;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data.") + suffix);
        chooser->answers << path;
        QStringList header;
        for (int c = 0; c < columnCount; ++c)
            header << QStringLiteral("列%1").arg(c + 1);
        QList<QStringList> rows;
        rows.reserve(rowCount);
        for (int r = 0; r < rowCount; ++r) {
            QStringList row;
            for (int c = 0; c < columnCount; ++c)
                row << QStringLiteral("%1-%2").arg(r + 1).arg(c + 1);
            rows << row;
        }
        auto frame = makeFrame(rows, header);
        frame->ExportGrid();
        QCOMPARE(messages->lastText(), QStringLiteral("成功输出到文件。"));

        if (suffix == u"xlsx") {
            const QMap<QString, QString> cells = readXlsxCells(path);
            QCOMPARE(cells.value(cellRef(1, columnCount)), QStringLiteral("列%1").arg(columnCount));
            QCOMPARE(cells.value(cellRef(rowCount + 1, columnCount)),
                     QStringLiteral("%1-%2").arg(rowCount).arg(columnCount));
            QCOMPARE(cells.value(cellRef(rowCount + 1, 0)), QString::number(rowCount));
            QCOMPARE(cells.value(cellRef(rowCount + 3, 0)), QStringLiteral("单位"));
        } else if (suffix == u"csv") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QStringList lines = csvLines(file.readAll());
            QCOMPARE(lines.size(), rowCount + 4);
            QCOMPARE(lines[rowCount + 1].section(u',', -1),
                     QStringLiteral("%1-%2").arg(rowCount).arg(columnCount));
            QCOMPARE(lines[1].count(u','), columnCount);
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.read(4) == "%PDF");
        }
    }

    void styleFileIsReadFromTheInstallation()
    {
        LoginScope login;
        MessageScope messages;
        auto frame = makeFrame(sampleRows(), sampleHeader());
        frame->ColumnTitles = VisibleColumnTitles(*frame->grid());
        QVERIFY(frame->PrintGrid(2));
        PrintControl *prt = frame->xmlPrt();
        QVERIFY(!prt->isNewStyle());
        QVERIFY(prt->EnableSave());
        QVERIFY(prt->isClosed());
        QCOMPARE(prt->style().name, QStringLiteral("Default"));
        QCOMPARE(prt->style().pageSize, QPageSize::A4);
        QCOMPARE(prt->style().orientation, QPageLayout::Landscape);
        QCOMPARE(prt->style().titleFont.pointSize(), 16);
        QCOMPARE(prt->style().alignmentOf(0), Qt::AlignHCenter);
        QCOMPARE(prt->style().alignmentOf(7), Qt::AlignLeft);
        QCOMPARE(prt->title(), Title);
        QCOMPARE(prt->rowCount(), 3);
        QCOMPARE(prt->row(1).value(2), QStringLiteral("学历, 学位"));
        QCOMPARE(prt->footer().size(), 3);
        QCOMPARE(prt->footer()[2].label, QStringLiteral("打印日期"));
        QCOMPARE(prt->footer()[2].value, today());
        QCOMPARE(prt->footer()[1].place, QStringLiteral("600,0"));
        QVERIFY(messages->shown.isEmpty());
    }

    void missingStyleFileStartsTheDefaultLayout()
    {
        LoginScope login;
        MessageScope messages;
        QTemporaryDir elsewhere;
        login.login().installPath = elsewhere.path();
        auto frame = makeFrame(sampleRows(), sampleHeader());
        frame->ColumnTitles = VisibleColumnTitles(*frame->grid());
        QVERIFY(frame->PrintGrid(2));
        PrintControl *prt = frame->xmlPrt();
        QVERIFY(prt->isNewStyle());
        QCOMPARE(prt->style().pageOrigin, QStringLiteral("0,200"));
        QCOMPARE(prt->style().pageExtent, QStringLiteral("800"));
        QCOMPARE(prt->style().columnLayout, QStringLiteral("0,260"));
        QCOMPARE(prt->style().titleTop, QStringLiteral("100"));
        QCOMPARE(prt->style().titleWidth, QStringLiteral("783"));
        for (int c : {0, 1, 2, 3})
            QCOMPARE(prt->style().alignmentOf(c), Qt::AlignLeft);
        for (int c : {4, 11, 16})
            QCOMPARE(prt->style().alignmentOf(c), Qt::AlignRight);
        QCOMPARE(prt->footer()[0].place, QStringLiteral("0,0"));
        QCOMPARE(prt->footer()[2].place, QStringLiteral("1100,0"));
        QCOMPARE(prt->footer()[2].size, QStringLiteral("375"));
        QCOMPARE(prt->footer()[0].value, QStringLiteral("星桥示范企业"));
        QCOMPARE(prt->footer()[1].value, QStringLiteral("李四"));
    }

    void brokenStyleFileIsRefused_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("not xml") << QByteArray("this is no style");
        QTest::newRow("other root") << QByteArray("<?xml version=\"1.0\"?><report/>");
        QTest::newRow("bad page size")
            << QByteArray("<printStyle><page size=\"Z9\"/></printStyle>");
        QTest::newRow("empty") << QByteArray();
    }

    void brokenStyleFileIsRefused()
    {
        QFETCH(QByteArray, contents);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("BudgetStyle.xml"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
        file.close();
        PrintStyle style;
        style.orientation = QPageLayout::Portrait;
        QString error;
        QVERIFY(!style.load(path, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(style.orientation, QPageLayout::Portrait);
        PrintControl control;
        QVERIFY(!control.LoadStyle(path));
    }

    void saveNeedsAClosedLayout()
    {
        FileChooserScope chooser;
        PrintControl control;
        QCOMPARE(control.SaveToFile({}, {}, {}, {}, 0), PrintControl::NoLayout);
        control.NewStyle();
        control.SetColumnLayout(QStringLiteral("0,260"), {1500}, {QStringLiteral("a")}, 0);
        control.AddRow({QStringLiteral("1")}, 1);
        control.CloseLayout(QStringLiteral("Default"));
        QCOMPARE(control.SaveToFile({}, {}, {}, {}, 0), PrintControl::SaveNotEnabled);
        QCOMPARE(chooser->calls, 0);
        control.setEnableSave(true);
        QCOMPARE(control.SaveToFile({}, {}, {}, {}, 0), PrintControl::Cancelled);
        QCOMPARE(chooser->calls, 1);
    }

    void columnListPicksColumnsByTitle()
    {
        PrintControl control;
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
