#include "ExportFixture.h"
#include "ReadBack.h"
#include "common/Dialogs.h"
#include "records/window/RecordsWindow.h"
#include "tests/common/Children.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTableView>

using namespace ExportFixture;

// The records window's export: the rows its grid shows, to the chosen file.
class TestRecordsExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void exportsWhatTheGridShows_data();
    void exportsWhatTheGridShows();
    void replacingAsksFirst_data();
    void replacingAsksFirst();
    void failureIsShown();

private:
    QString exportVia(const QString &path);
    QStringList exportedCodes(const QString &path);

    ProgramFolder *m_folder = nullptr;
    RecordsWindow *m_window = nullptr;
    QTemporaryDir m_out;
};

void TestRecordsExport::init()
{
    Dialogs::setTestMode(true);
    m_folder = new ProgramFolder;
    QVERIFY(QFile::link(QStringLiteral(PELORIN_CONTENT_DIR), AppPaths::contentDir()));
    QVERIFY(m_folder->openAll());
    store(examinees(), contentKey());
    m_window = new RecordsWindow(nullptr, nullptr);
    QString error;
    QVERIFY2(m_window->load(&error), qPrintable(error));
    m_window->show();
    QTRY_VERIFY(m_window->isListRead());
}

void TestRecordsExport::cleanup()
{
    delete m_window;
    m_window = nullptr;
    delete m_folder;
    m_folder = nullptr;
    Dialogs::setTestMode(false);
}

QString TestRecordsExport::exportVia(const QString &path)
{
    Dialogs::setNextFile(path);
    QTest::mouseClick(child<QPushButton>(m_window, "CommandExport"), Qt::LeftButton);
    QStringList shown;
    for (const Dialogs::Shown &s : Dialogs::takeLog())
        shown << s.kind + QLatin1Char(':') + (s.kind == QLatin1String("save") ? s.filter : s.text);
    return shown.join(QLatin1Char('|'));
}

QStringList TestRecordsExport::exportedCodes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return { QStringLiteral("unreadable") };
    bool bom = false;
    QVector<QStringList> rows;
    QString error;
    if (!ReadBack::parseCsv(f.readAll(), &bom, &rows, &error))
        return { error };
    QStringList codes;
    for (int r = 1; r < rows.size(); ++r)
        codes << rows[r].first();
    return codes;
}

void TestRecordsExport::exportsWhatTheGridShows_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("full list") << QString() << QString() << QStringList { "1", "07", "12", "5", "99" };
    QTest::newRow("last name") << "DataCombo1" << QStringLiteral("O'Neil") << QStringList { "1" };
    QTest::newRow("first name") << "DataCombo6" << QStringLiteral("Zoë") << QStringList { "5" };
    QTest::newRow("group A") << "Combo3" << QStringLiteral("A") << QStringList { "1", "99" };
    QTest::newRow("no match") << "DataCombo1" << QStringLiteral("نيست") << QStringList();
}

void TestRecordsExport::exportsWhatTheGridShows()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QStringList, codes);
    if (!box.isEmpty()) {
        auto *combo = m_window->findChild<QComboBox *>(box);
        QVERIFY(combo);
        if (combo->isEditable())
            combo->setEditText(text);
        else
            combo->setCurrentIndex(combo->findText(text));
    }
    QStringList grid;
    for (int r = 0; r < child<QTableView>(m_window, "DataGrid1")->model()->rowCount(); ++r)
        grid << child<QTableView>(m_window, "DataGrid1")->model()->index(r, 0).data().toString();
    QCOMPARE(grid, codes);
    const QString path = m_out.filePath(QStringLiteral("list.csv"));
    QFile::remove(path);
    const QString shown = exportVia(path);
    QVERIFY2(
        shown.startsWith(QLatin1String("save:Excel (*.xlsx);;SPSS (*.sav);;CSV (*.csv)|notice:")), qPrintable(shown));
    QCOMPARE(exportedCodes(path), codes);
    // The full report lists the same rows: the grid's source stays as it was.
    QCOMPARE(child<RecordSource>(m_window, "Adodc2")->rowCount(), codes.size());
}

void TestRecordsExport::replacingAsksFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("yes") << int(QMessageBox::Yes) << true;
    QTest::newRow("no") << int(QMessageBox::No) << false;
}

void TestRecordsExport::replacingAsksFirst()
{
    QFETCH(int, answer);
    QFETCH(bool, replaced);
    const QString path = m_out.filePath(QStringLiteral("again.sav"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    Dialogs::setNextAnswer(QMessageBox::StandardButton(answer));
    const QString shown = exportVia(path);
    QVERIFY2(shown.contains(QStringLiteral("message:اين فايل وجود دارد. آيا جايگزين شود؟")), qPrintable(shown));
    ReadBack::SavFile sav;
    QString error;
    QCOMPARE(ReadBack::readSav(path, &sav, &error), replaced);
    if (replaced)
        QCOMPARE(sav.rows.size(), 5);
}

void TestRecordsExport::failureIsShown()
{
    const QString shown = exportVia(m_out.filePath(QStringLiteral("missing/list.xlsx")));
    QVERIFY2(shown.contains(QStringLiteral("message:خروجي ذخيره نشد\n")), qPrintable(shown));
    QVERIFY(shown.contains(QStringLiteral("list.xlsx")));
    QVERIFY(!shown.contains(QLatin1String("notice:")));
    const QString wrongType = exportVia(m_out.filePath(QStringLiteral("list.pdf")));
    QVERIFY2(wrongType.contains(QStringLiteral("message:خروجي ذخيره نشد\n")), qPrintable(wrongType));
    QVERIFY(!QFileInfo::exists(m_out.filePath(QStringLiteral("list.pdf"))));
}

QTEST_MAIN(TestRecordsExport)
#include "tst_recordsexport.moc"
