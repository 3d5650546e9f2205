#include "ProgramFolder.h"
#include "tests/common/Children.h"

#include "common/Dialogs.h"
#include "data/AppPaths.h"
#include "mainwindow/settings/ClinicProfile.h"
#include "mainwindow/settings/SettingsPanel.h"
#include "records/report/FullReport.h"
#include "report/RecordingPaintDevice.h"
#include "test/sheet/ScoringSheet.h"
#include "ui/ClinicValues.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

// The settings panel Frame9 over a real Theme.skn and a real logo file.
class TestSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void clinicSummary_data();
    void clinicSummary();
    void logoFileReadByContent_data();
    void logoFileReadByContent();
    void pickedJpegIsReadBackNextActivation();
    void cancelledPick();
    void brokenPictureIsSaid_data();
    void brokenPictureIsSaid();
    void largePhotoIsScaledAndKept_data();
    void largePhotoIsScaledAndKept();
    void unwritableLogoIsReported();
    void toggleStoresAtOnce();
    void childModeStoredAndReadBack();
    void saveStoresAndSaysSo();
    void failedSaveIsReported();
    void savedContactLinesReachThePrintouts();
    void emptyProfileCanBeSaved();

private:
    void makePanel();
    QString themeValue(const QString &field) const;

    std::unique_ptr<ProgramFolder> m_folder;
    std::unique_ptr<RecordSource> m_theme;
    std::unique_ptr<SettingsPanel> m_panel;
    ClinicValues m_clinic;
};

namespace {

QImage picture(const QSize &size, Qt::GlobalColor color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray fileStart(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(8) : QByteArray();
}

} // namespace

void TestSettings::init()
{
    Dialogs::setTestMode(true);
    Dialogs::takeLog();
    m_folder = std::make_unique<ProgramFolder>();
    QVERIFY(m_folder->openAll());
    m_clinic = ClinicValues();
}

void TestSettings::cleanup()
{
    m_panel.reset();
    m_theme.reset();
    m_folder.reset();
    Dialogs::setTestMode(false);
}

void TestSettings::makePanel()
{
    // As the main window does: panel first, the record source opened by its load.
    m_theme = std::make_unique<RecordSource>();
    m_panel = std::make_unique<SettingsPanel>(nullptr, m_theme.get(), &m_clinic);
    QVERIFY(m_theme->open(Database::File::Theme, QStringLiteral("Theme")));
    m_panel->windowLoaded();
    m_panel->windowActivated();
}

QString TestSettings::themeValue(const QString &field) const
{
    RecordSource other;
    other.open(Database::File::Theme, QStringLiteral("Theme"));
    return other.field(field);
}

void TestSettings::clinicSummary_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("summary");
    QTest::newRow("T1, T4, T6") << QStringList { "info@clinic.example", "", "", "www.clinic.example", "", "021-5555" }
                                << QStringLiteral("info@clinic.example\r\nwww.clinic.example\r\n021-5555\r\n");
    QTest::newRow("all empty") << QStringList(6) << QString();
    QTest::newRow("a blank counts") << QStringList { "", " ", "", "", "", "" } << QStringLiteral(" \r\n");
}

void TestSettings::clinicSummary()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, summary);
    QCOMPARE(ClinicProfile::BuildClinicSummary(lines), summary);

    // Through the panel: the stored profile row, read at load.
    QSqlQuery q(Database::connection(Database::File::Theme));
    QVERIFY(q.prepare(QStringLiteral("UPDATE Theme SET T1=?, T2=?, T3=?, T4=?, T5=?, T6=?, Name=?")));
    for (const QString &l : lines)
        q.addBindValue(l);
    q.addBindValue(QStringLiteral("كلينيك"));
    QVERIFY(q.exec());
    makePanel();
    QCOMPARE(m_clinic.summary, summary);
    // The text box shows the lines; the printouts get the CR LF text.
    QCOMPARE(
        child<QPlainTextEdit>(m_panel.get(), "Txtmosh")->toPlainText(), QString(summary).remove(QLatin1Char('\r')));
    QCOMPARE(child<QLineEdit>(m_panel.get(), "Text31")->text(), QStringLiteral("كلينيك"));
}

void TestSettings::logoFileReadByContent_data()
{
    QTest::addColumn<QByteArray>("format"); // empty: no file; "junk": not a picture
    QTest::addColumn<bool>("read");
    QTest::newRow("bitmap inside .jpg") << QByteArray("bmp") << true;
    QTest::newRow("PNG inside .jpg") << QByteArray("png") << true;
    QTest::newRow("JPEG") << QByteArray("jpg") << true;
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("not a picture") << QByteArray("junk") << false;
    QTest::newRow("empty file") << QByteArray("empty") << false;
}

void TestSettings::logoFileReadByContent()
{
    QFETCH(QByteArray, format);
    QFETCH(bool, read);
    const QString logo = AppPaths::logoFile();
    QCOMPARE(QFileInfo(logo).fileName(), QStringLiteral(".jpg"));
    if (format == "junk")
        writeBytes(logo, "GIF89a but not really");
    else if (format == "empty")
        writeBytes(logo, QByteArray());
    else if (!format.isEmpty())
        QVERIFY(picture(QSize(40, 30), Qt::green).save(logo, format.constData()));
    makePanel();
    QCOMPARE(!m_clinic.logo.isNull(), read);
    QCOMPARE(child<QLabel>(m_panel.get(), "Image1")->pixmap().isNull(), !read);
    if (read)
        QCOMPARE(m_clinic.logo.size(), QSize(40, 30));
}

void TestSettings::pickedJpegIsReadBackNextActivation()
{
    makePanel();
    const QString jpeg = m_folder->dir.filePath(QStringLiteral("clinic.jpeg"));
    QVERIFY(picture(QSize(120, 80), Qt::blue).save(jpeg, "JPEG"));
    Dialogs::setNextFile(jpeg);
    child<QPushButton>(m_panel.get(), "Cmdlogo")->click();

    const auto log = Dialogs::takeLog();
    QCOMPARE(log.size(), 2);
    QCOMPARE(log[0].kind, QStringLiteral("open"));
    QCOMPARE(log[0].filter, QString());
    QCOMPARE(log[1].kind, QStringLiteral("message"));
    QCOMPARE(log[1].title, QStringLiteral("توجه"));
    QCOMPARE(log[1].text, QStringLiteral(" لوگو ذخيره شد"));
    QCOMPARE(log[1].icon, Dialogs::Icon::Information);
    QVERIFY(!child<QLabel>(m_panel.get(), "Image2")->pixmap().isNull());
    // Written losslessly, whatever the name says.
    QVERIFY(fileStart(AppPaths::logoFile()).startsWith("\x89PNG"));

    // Next run of the program: a new panel reads it back at activation.
    m_panel.reset();
    m_clinic = ClinicValues();
    makePanel();
    QCOMPARE(m_clinic.logo.size(), QSize(120, 80));
    const QColor c = m_clinic.logo.pixelColor(60, 40);
    QVERIFY(c.blue() > 200 && c.red() < 50);
}

void TestSettings::cancelledPick()
{
    makePanel();
    // Cancelled with nothing picked yet: no message, the file untouched.
    writeBytes(AppPaths::logoFile(), "old");
    m_panel->pickLogo();
    QCOMPARE(Dialogs::takeLog().size(), 1);
    QCOMPARE(fileStart(AppPaths::logoFile()), QByteArray("old"));

    // A picture, then a file that is not one (said so, nothing written),
    // then a cancel: the earlier pick is written again.
    const QString png = m_folder->dir.filePath(QStringLiteral("a.png"));
    QVERIFY(picture(QSize(20, 20), Qt::red).save(png));
    Dialogs::setNextFile(png);
    m_panel->pickLogo();
    QFile::remove(AppPaths::logoFile());
    const QString junk = m_folder->dir.filePath(QStringLiteral("junk.gif"));
    writeBytes(junk, "junk");
    Dialogs::setNextFile(junk);
    m_panel->pickLogo();
    QVERIFY(!QFile::exists(AppPaths::logoFile()));
    m_panel->pickLogo();
    QVERIFY(fileStart(AppPaths::logoFile()).startsWith("\x89PNG"));
    const auto log = Dialogs::takeLog();
    QCOMPARE(log.size(), 6);
    QCOMPARE(log[3].title, QStringLiteral("خطا"));
    QCOMPARE(log.last().text, QStringLiteral(" لوگو ذخيره شد"));
    QCOMPARE(m_clinic.logo.size(), QSize(20, 20));
}

// A picked file that is not a picture, or whose picture is cut short, is
// named in a Persian message; the logo and its file stay as they were.
void TestSettings::brokenPictureIsSaid_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("not a picture") << QByteArray("GIF89a but not really");
    QTest::newRow("empty") << QByteArray();
    QByteArray cut;
    {
        QBuffer buffer(&cut);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(picture(QSize(300, 200), Qt::blue).save(&buffer, "PNG"));
    }
    QTest::newRow("PNG cut short") << cut.left(cut.size() / 2);
}

void TestSettings::brokenPictureIsSaid()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(picture(QSize(40, 30), Qt::green).save(AppPaths::logoFile(), "PNG"));
    const QByteArray logoBefore = fileStart(AppPaths::logoFile());
    makePanel();
    const QString broken = m_folder->dir.filePath(QStringLiteral("broken.png"));
    writeBytes(broken, bytes);
    Dialogs::setNextFile(broken);
    m_panel->pickLogo();
    const auto log = Dialogs::takeLog();
    QCOMPARE(log.size(), 2);
    QCOMPARE(log[1].title, QStringLiteral("خطا"));
    QCOMPARE(log[1].icon, Dialogs::Icon::Warning);
    QVERIFY2(log[1].text.contains(QStringLiteral("broken.png")), qPrintable(log[1].text));
    QVERIFY2(log[1].text.contains(QStringLiteral("تصوير نيست")), qPrintable(log[1].text));
    QCOMPARE(fileStart(AppPaths::logoFile()), logoBefore);
    QCOMPARE(m_clinic.logo.size(), QSize(40, 30));
    QVERIFY(child<QLabel>(m_panel.get(), "Image2")->pixmap().isNull());
}

// A camera's photo is stored at 1024 pixels on its longest side, and the
// activations after it use the picture kept in memory.
void TestSettings::largePhotoIsScaledAndKept_data()
{
    QTest::addColumn<QSize>("photo");
    QTest::addColumn<QSize>("logo");
    QTest::newRow("landscape") << QSize(4000, 3000) << QSize(1024, 768);
    QTest::newRow("portrait") << QSize(1500, 3000) << QSize(512, 1024);
    QTest::newRow("small stays") << QSize(800, 600) << QSize(800, 600);
}

void TestSettings::largePhotoIsScaledAndKept()
{
    QFETCH(QSize, photo);
    QFETCH(QSize, logo);
    makePanel();
    const QString jpeg = m_folder->dir.filePath(QStringLiteral("photo.jpg"));
    QVERIFY(picture(photo, Qt::blue).save(jpeg, "JPEG"));
    Dialogs::setNextFile(jpeg);
    m_panel->pickLogo();
    QCOMPARE(Dialogs::takeLog().last().text, QStringLiteral(" لوگو ذخيره شد"));
    QCOMPARE(m_clinic.logo.size(), logo);
    QCOMPARE(QImage(AppPaths::logoFile()).size(), logo);
    QVERIFY(!child<QLabel>(m_panel.get(), "Image1")->pixmap().isNull());

    // Activations keep the very picture; the file is not decoded again.
    const qint64 kept = m_clinic.logo.cacheKey();
    for (int i = 0; i < 3; ++i)
        m_panel->windowActivated();
    QCOMPARE(m_clinic.logo.cacheKey(), kept);

    // A file changed behind the program's back is read at the next one.
    QVERIFY(picture(QSize(64, 48), Qt::red).save(AppPaths::logoFile(), "BMP"));
    m_panel->windowActivated();
    QCOMPARE(m_clinic.logo.size(), QSize(64, 48));
    // So is an old, large logo file: it comes in scaled.
    QVERIFY(picture(QSize(2048, 1024), Qt::green).save(AppPaths::logoFile(), "PNG"));
    m_panel->windowActivated();
    QCOMPARE(m_clinic.logo.size(), QSize(1024, 512));
}

void TestSettings::unwritableLogoIsReported()
{
    makePanel();
    // A folder where the logo file should be: the write must fail.
    QFile::remove(AppPaths::logoFile());
    QVERIFY(QDir(m_folder->dir.path()).mkdir(QStringLiteral(".jpg")));
    const QString png = m_folder->dir.filePath(QStringLiteral("a.png"));
    QVERIFY(picture(QSize(20, 20), Qt::red).save(png));
    Dialogs::setNextFile(png);
    m_panel->pickLogo();
    const auto log = Dialogs::takeLog();
    QCOMPARE(log.size(), 2);
    QCOMPARE(log[1].title, QStringLiteral("خطا"));
    QCOMPARE(log[1].icon, Dialogs::Icon::Warning);
    QVERIFY(m_clinic.logo.isNull());
}

void TestSettings::toggleStoresAtOnce()
{
    makePanel();
    QCOMPARE(child<QCheckBox>(m_panel.get(), "Check1")->text(), QStringLiteral("آرم را نمايش نمي دهد"));
    QVERIFY(!m_clinic.showLogo);
    child<QLineEdit>(m_panel.get(), "Text31")->setText(QStringLiteral("كلينيك تازه"));
    child<QCheckBox>(m_panel.get(), "Check1")->click();
    QCOMPARE(child<QCheckBox>(m_panel.get(), "Check1")->text(), QStringLiteral("آرم را نمايش مي دهد"));
    QVERIFY(m_clinic.showLogo);
    QCOMPARE(themeValue(QStringLiteral("Check1")), QStringLiteral("1"));
    QCOMPARE(themeValue(QStringLiteral("Name")), QStringLiteral("كلينيك تازه"));
    QVERIFY(Dialogs::takeLog().isEmpty());

    child<QCheckBox>(m_panel.get(), "Check1")->click();
    QCOMPARE(themeValue(QStringLiteral("Check1")), QStringLiteral("0"));
    QVERIFY(!m_clinic.showLogo);
    QCOMPARE(child<QCheckBox>(m_panel.get(), "Check1")->text(), QStringLiteral("آرم را نمايش نمي دهد"));
}

// Off in a new profile; a click stores it at once, and a panel opened
// later (the next run) shows what was stored.
void TestSettings::childModeStoredAndReadBack()
{
    makePanel();
    QCheckBox *childMode = child<QCheckBox>(m_panel.get(), "CheckChild");
    QCOMPARE(childMode->text(), QStringLiteral("حالت کودک"));
    QVERIFY(!childMode->isChecked());
    QCOMPARE(themeValue(QStringLiteral("ChildMode")), QStringLiteral("0"));
    QVERIFY(!childMode->geometry().intersects(child<QCheckBox>(m_panel.get(), "Check1")->geometry()));
    QVERIFY(m_panel->rect().contains(childMode->geometry()));
    childMode->click();
    QCOMPARE(themeValue(QStringLiteral("ChildMode")), QStringLiteral("1"));
    QVERIFY(Dialogs::takeLog().isEmpty());
    QVERIFY(!m_clinic.showLogo); // the logo switch is not touched

    m_panel.reset();
    m_theme.reset();
    makePanel();
    childMode = child<QCheckBox>(m_panel.get(), "CheckChild");
    QVERIFY(childMode->isChecked());
    childMode->click();
    QCOMPARE(themeValue(QStringLiteral("ChildMode")), QStringLiteral("0"));
}

void TestSettings::saveStoresAndSaysSo()
{
    makePanel();
    child<QLineEdit>(m_panel.get(), "Text30")->setText(QStringLiteral("تهران"));
    child<QLineEdit>(m_panel.get(), "Text28")->setText(QStringLiteral("021-5555"));
    child<QPushButton>(m_panel.get(), "Command64")->click();
    QCOMPARE(themeValue(QStringLiteral("Adress")), QStringLiteral("تهران"));
    QCOMPARE(themeValue(QStringLiteral("T6")), QStringLiteral("021-5555"));
    const auto log = Dialogs::takeLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log[0].kind, QStringLiteral("notice"));
    QCOMPARE(log[0].text, QStringLiteral("ذخيره شد"));
    // The printouts' summary follows at once, without a new start.
    QCOMPARE(m_clinic.summary, QStringLiteral("021-5555\r\n"));
}

void TestSettings::failedSaveIsReported()
{
    makePanel();
    QSqlQuery q(Database::connection(Database::File::Theme));
    QVERIFY(q.exec(QStringLiteral("DROP TABLE Theme")));
    child<QLineEdit>(m_panel.get(), "Text31")->setText(QStringLiteral("x"));
    child<QPushButton>(m_panel.get(), "Command64")->click();
    const auto log = Dialogs::takeLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log[0].kind, QStringLiteral("message"));
    QCOMPARE(log[0].title, QStringLiteral("خطا"));
}

// Lines saved while the program runs are on the next scoring sheet and the
// next full report, drawn onto the recording device as on paper.
void TestSettings::savedContactLinesReachThePrintouts()
{
    makePanel();
    child<QLineEdit>(m_panel.get(), "Text24")->setText(QStringLiteral("first@clinic.example"));
    child<QPushButton>(m_panel.get(), "Command64")->click();
    child<QLineEdit>(m_panel.get(), "Text24")->setText(QStringLiteral("new@clinic.example"));
    child<QLineEdit>(m_panel.get(), "Text28")->setText(QStringLiteral("021-7777"));
    child<QPushButton>(m_panel.get(), "Command64")->click();
    // Typed but not saved: not printed.
    child<QLineEdit>(m_panel.get(), "Text27")->setText(QStringLiteral("@unsaved"));

    const QRectF everywhere(-1e6, -1e6, 2e6, 2e6);
    ScoringSheet sheet;
    sheet.clinic = m_clinic;
    const QString onSheet = RecordingPaintDevice::record(BuildScoringSheet(sheet))->textsIn(everywhere).join('|');
    RecordSource theme, ide;
    QVERIFY(theme.open(Database::File::Theme, QStringLiteral("Theme")));
    QVERIFY(ide.open(Database::File::Examinee, QStringLiteral("IDE")));
    const QString onReport = RecordingPaintDevice::record(BuildFullReport(ide, FullReportClinicFrom(theme, m_clinic)))
                                 ->textsIn(everywhere)
                                 .join('|');
    for (const QString &printed : { onSheet, onReport }) {
        QVERIFY2(printed.contains(QStringLiteral("new@clinic.example")), qPrintable(printed));
        QVERIFY(printed.contains(QStringLiteral("021-7777")));
        QVERIFY(!printed.contains(QStringLiteral("first@clinic.example")));
        QVERIFY(!printed.contains(QStringLiteral("@unsaved")));
    }
}

// A profile file without its row gains it when opened, so Save stores.
void TestSettings::emptyProfileCanBeSaved()
{
    QVERIFY(QSqlQuery(Database::connection(Database::File::Theme)).exec(QStringLiteral("DELETE FROM Theme")));
    Database::closeAll();
    QVERIFY(m_folder->openAll());
    makePanel();
    child<QLineEdit>(m_panel.get(), "Text31")->setText(QStringLiteral("كلينيک"));
    child<QPushButton>(m_panel.get(), "Command64")->click();
    const auto log = Dialogs::takeLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log[0].text, QStringLiteral("ذخيره شد"));
    QCOMPARE(themeValue(QStringLiteral("Name")), QStringLiteral("كلينيک"));
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
