#include "ProgramFolder.h"

#include "records/report/FullReport.h"
#include "report/RecordingPaintDevice.h"
#include "report/ReportPreview.h"
#include "ui/Fonts.h"
#include "ui/Twips.h"

#include <QTest>

// The full report DataR2 over a real IDE record source.
class TestFullReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void filteredListIsNumberedFromOne();
    void everyPageRepeatsHeadingsAndFooter();
    void emptyResultCells();
    void headerWithAndWithoutLogo_data();
    void headerWithAndWithoutLogo();
    void previewWindow();

private:
    std::unique_ptr<ProgramFolder> m_folder;
};

namespace {

constexpr int kHeader = 1830;
constexpr int kHeadings = 510;
constexpr int kRow = 315;

// Column value places (x, width), right to left.
const int kValueX[11] = { 9888, 9298, 8242, 6994, 6336, 5746, 4498, 3250, 2482, 1426, 0 };
const int kValueW[11] = { 474, 555, 1035, 1131, 637, 555, 1227, 1227, 747, 1035, 1419 };

void addExamineeRow(const QStringList &fieldsAndValues)
{
    RecordSource s;
    QVERIFY(s.open(Database::File::Examinee, QStringLiteral("IDE")));
    s.addNew();
    for (int i = 0; i + 1 < fieldsAndValues.size(); i += 2)
        s.setField(fieldsAndValues[i], fieldsAndValues[i + 1]);
    QVERIFY(s.update());
}

FullReportClinic clinic(bool showLogo = false)
{
    FullReportClinic c;
    c.name = QStringLiteral("كلينيك نمونه");
    c.address = QStringLiteral("تهران، خيابان نمونه");
    c.values.summary = QStringLiteral("info@clinic.example\r\nwww.clinic.example\r\n");
    c.values.showLogo = showLogo;
    c.materials = QStringLiteral("مواد آزمون: Clinic set، نسخه 2.0، اثر انگشت 0123456789ab");
    c.values.logo = QImage(100, 100, QImage::Format_RGB32);
    c.values.logo.fill(Qt::blue);
    return c;
}

// The text drawn in one cell of the row that starts at \a rowTop.
QString cell(const RecordingPaintDevice &device, int page, int rowTop, int column)
{
    return device.textsIn(QRectF(kValueX[column], rowTop, kValueW[column], kRow), page).join(QString());
}

} // namespace

void TestFullReport::init()
{
    m_folder = std::make_unique<ProgramFolder>();
    QVERIFY(m_folder->openAll());
}

void TestFullReport::cleanup()
{
    m_folder.reset();
}

void TestFullReport::filteredListIsNumberedFromOne()
{
    const QStringList codes = { "7", "12", "30", "31", "45" };
    const QStringList groups = { "B", "A", "B", "C", "B" };
    for (int i = 0; i < codes.size(); ++i)
        addExamineeRow({ "Code", codes[i], "FName", "علي", "LName", "کريمي", "Group", groups[i], "Sen", "6" });
    RecordSource Adodc2;
    QVERIFY(Adodc2.open(Database::File::Examinee, QStringLiteral("IDE")));
    Adodc2.setFilter(QStringLiteral("Group"), QStringLiteral("B"));

    // Twice: every printed list starts at 1.
    for (int run = 0; run < 2; ++run) {
        auto device = RecordingPaintDevice::record(BuildFullReport(Adodc2, clinic()));
        QCOMPARE(device->pageCount(), 1);
        const QStringList expectedCodes = { "7", "30", "45" };
        for (int r = 0; r < 3; ++r) {
            const int top = kHeader + kHeadings + r * kRow;
            QCOMPARE(cell(*device, 0, top, 0), QString::number(r + 1));
            QCOMPARE(cell(*device, 0, top, 1), expectedCodes[r]);
            QCOMPARE(cell(*device, 0, top, 4), QStringLiteral("B"));
            QCOMPARE(cell(*device, 0, top, 5), QStringLiteral("6"));
        }
        QCOMPARE(cell(*device, 0, kHeader + kHeadings + 3 * kRow, 1), QString());
    }
    // The group value is set in "Arial" (or its substitute), the rest in B Nazanin's.
    auto device = RecordingPaintDevice::record(BuildFullReport(Adodc2, clinic()));
    for (const DrawnItem &i : device->itemsOf(DrawnItem::Kind::Text)) {
        if (i.text == QLatin1String("B"))
            QCOMPARE(i.family, Fonts::resolve(QStringLiteral("Arial")));
        if (i.text == QLatin1String("30"))
            QCOMPARE(i.family, Fonts::resolve(QStringLiteral("B Nazanin")));
    }
}

void TestFullReport::everyPageRepeatsHeadingsAndFooter()
{
    for (int i = 1; i <= 120; ++i)
        addExamineeRow({ "Code", QString::number(i), "FName", "نام", "LName", "خانواده", "NKham", "20" });
    RecordSource Adodc2;
    QVERIFY(Adodc2.open(Database::File::Examinee, QStringLiteral("IDE")));
    const BandedReport report = BuildFullReport(Adodc2, clinic());
    QCOMPARE(report.printableWidth() >= 10425, true);
    auto device = RecordingPaintDevice::record(report);
    QVERIFY(device->pageCount() >= 3);

    const int footerTop = report.printableHeight() - 1746;
    int numbered = 0;
    for (int p = 0; p < device->pageCount(); ++p) {
        const int headingsTop = p == 0 ? kHeader : 0;
        const QStringList headings = device->textsIn(QRectF(0, headingsTop, 10425, kHeadings), p);
        for (const char *h : { "رديف", "کد", "نام خانوادگي", "گروه", "تحصيلات", "تاريخ اجرا", "هوشبهر" })
            QVERIFY2(headings.join(' ').contains(QString::fromUtf8(h)), qPrintable(QString::number(p)));
        QCOMPARE(device->textsIn(QRectF(0, 0, 10425, kHeader), p).join(' ').contains(clinic().name), p == 0);
        QVERIFY(
            device->textsIn(QRectF(5258, footerTop + 103, 5070, 1343), p).join(' ').contains(QStringLiteral("تهران")));
        QCOMPARE(device->textsIn(QRectF(105, footerTop + 103, 4998, 1343), p),
            (QStringList { "info@clinic.example", "www.clinic.example" }));
        const QString materials = device->textsIn(QRectF(105, footerTop + 1470, 10223, 270), p).join(QString());
        QVERIFY2(materials.contains(QStringLiteral("0123456789ab")), qPrintable(materials));
        // Rows stay above the footer and run on across the pages.
        for (int top = headingsTop + kHeadings; top + kRow <= footerTop; top += kRow) {
            const QString n = cell(*device, p, top, 0);
            if (n.isEmpty())
                break;
            QCOMPARE(n, QString::number(++numbered));
        }
    }
    QCOMPARE(numbered, 120);
}

void TestFullReport::emptyResultCells()
{
    addExamineeRow({ "Code", "1", "FName", "الف", "LName", "ب", "NKham", "28", "RDarsadi", "84", "Hooshbahr", "115" });
    addExamineeRow({ "Code", "2", "FName", "پ", "LName", "ت" });
    addExamineeRow({ "Code", "3", "FName", "ث", "LName", "ج", "NKham", "2", "RDarsadi", "0", "Hooshbahr",
        "نتيجه نامعتبر مي باشد" });
    RecordSource Adodc2;
    QVERIFY(Adodc2.open(Database::File::Examinee, QStringLiteral("IDE")));
    auto device = RecordingPaintDevice::record(BuildFullReport(Adodc2, clinic()));
    const int first = kHeader + kHeadings;
    QCOMPARE(cell(*device, 0, first, 8), QStringLiteral("28"));
    QCOMPARE(cell(*device, 0, first, 9), QStringLiteral("84"));
    QCOMPARE(cell(*device, 0, first, 10), QStringLiteral("115"));
    for (int column : { 8, 9, 10 })
        QCOMPARE(cell(*device, 0, first + kRow, column), QString());
    QCOMPARE(cell(*device, 0, first + kRow, 1), QStringLiteral("2"));
    // Each row is ruled: 12 column rules and the line under it.
    const auto lines = device->itemsOf(DrawnItem::Kind::Line, 0);
    const int underRows = int(std::count_if(lines.cbegin(), lines.cend(),
        [&](const DrawnItem &l) { return l.rect.height() == 0 && l.rect.width() == 10425 && l.rect.top() > first; }));
    QCOMPARE(underRows, 3);
    // The invalid-result text fits its cell.
    const QRectF iqCell(kValueX[10], first + 2 * kRow, kValueW[10], kRow);
    QCOMPARE(device->textsIn(iqCell).join(QString()), QStringLiteral("نتيجه نامعتبر مي باشد"));
    for (const DrawnItem &i : device->itemsOf(DrawnItem::Kind::Text)) {
        if (iqCell.contains(i.rect.center()))
            QVERIFY(i.rect.left() >= iqCell.left() - 1 && i.rect.right() <= iqCell.right() + 1);
    }
}

void TestFullReport::headerWithAndWithoutLogo_data()
{
    QTest::addColumn<bool>("showLogo");
    QTest::newRow("logo shown") << true;
    QTest::newRow("logo off") << false;
}

void TestFullReport::headerWithAndWithoutLogo()
{
    QFETCH(bool, showLogo);
    RecordSource Adodc2;
    QVERIFY(Adodc2.open(Database::File::Examinee, QStringLiteral("IDE")));
    auto device = RecordingPaintDevice::record(BuildFullReport(Adodc2, clinic(showLogo)));
    const auto pictures = device->itemsOf(DrawnItem::Kind::Picture);
    QCOMPARE(pictures.size(), showLogo ? 1 : 0);
    if (showLogo)
        QVERIFY(QRectF(112, 436, 1251, 1192).adjusted(-1, -1, 1, 1).contains(pictures[0].rect));
    QCOMPARE(device->textsIn(QRectF(1474, 455, 8894, 510)).join(QString()), clinic().name);
    QCOMPARE(device->textsIn(QRectF(1512, 1130, 8808, 510)).join(QString()), QStringLiteral("آزمون پلورين کودکان"));
    // No rows: header, headings and footer only.
    QCOMPARE(device->pageCount(), 1);
    QCOMPARE(device->textsIn(QRectF(0, kHeader + kHeadings, 10425, kRow)), QStringList());
}

void TestFullReport::previewWindow()
{
    RecordSource Adodc2;
    QVERIFY(Adodc2.open(Database::File::Examinee, QStringLiteral("IDE")));
    QWidget owner;
    ReportPreview *preview = PrintFullReport(&owner, Adodc2, clinic());
    QCOMPARE(preview->windowTitle(), QStringLiteral("گزارش گيري کل"));
    QCOMPARE(preview->geometry(), Twips::rect(120, 450, 15120, 10950));
    QVERIFY(!preview->isModal());
    preview->close();
}

QTEST_MAIN(TestFullReport)
#include "tst_fullreport.moc"
