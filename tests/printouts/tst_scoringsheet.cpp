#include "ProgramFolder.h"

#include "common/Dialogs.h"
#include "report/RecordingPaintDevice.h"
#include "report/ReportPreview.h"
#include "test/sheet/ItemAnalysisTexts.h"
#include "test/sheet/ScoringSheet.h"

#include <QFile>
#include <QPrintPreviewWidget>
#include <QTest>

// The scoring sheet DataR1: what it prints where, read from real files.
class TestScoringSheet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void resultRow_data();
    void resultRow();
    void personalDataOnTheirBoxes();
    void exactAgeOnBlankForm();
    void logo_data();
    void logo();
    void storedAnswers();
    void missingAnswerFormLeavesPlaceEmpty();
    void previewIsNotModalAndSavesPdf();
    void itemAnalysisRows_data();
    void itemAnalysisRows();
    void itemAnalysisHeadingAndTotals();
    void itemAnalysisInPreviewAndPdf();

private:
    std::unique_ptr<ProgramFolder> m_folder;
    QString m_formPath;
};

namespace {

const QString kInvalid = QStringLiteral("نتيجه نامعتبر مي باشد");
constexpr int kDetailTop = 420; // below the report header

QRectF onPage(const QRect &inDetail)
{
    return QRectF(inDetail.translated(0, kDetailTop));
}

QImage redLogo()
{
    QImage logo(250, 230, QImage::Format_RGB32);
    logo.fill(Qt::red);
    return logo;
}

} // namespace

void TestScoringSheet::init()
{
    m_folder = std::make_unique<ProgramFolder>();
    QVERIFY(m_folder->openAll());
    m_formPath = m_folder->dir.filePath(QStringLiteral("answer_form.png"));
    QImage form(595, 768, QImage::Format_RGB32);
    form.fill(Qt::white);
    QVERIFY(form.save(m_formPath));
}

void TestScoringSheet::cleanup()
{
    m_folder.reset();
}

ScoringSheet sheetFor(const QString &formPath)
{
    ScoringSheet s;
    s.code = QStringLiteral("12");
    s.firstName = QStringLiteral("سارا");
    s.lastName = QStringLiteral("احمدي");
    s.age = QStringLiteral("7");
    s.birthDate = QStringLiteral("1394/02/11");
    s.education = QStringLiteral("اول دبستان");
    s.examiner = QStringLiteral("دکتر رضايي");
    s.testDate = QStringLiteral("1401/07/28");
    s.clinicName = QStringLiteral("كلينيك نمونه");
    s.clinicAddress = QStringLiteral("تهران، خيابان نمونه، پلاک ۱۲");
    s.clinic.summary = QStringLiteral("info@clinic.example\r\n021-5555\r\n");
    s.answerFormPath = formPath;
    s.materials = QStringLiteral("مواد آزمون: Clinic set، نسخه 2.0، اثر انگشت 0123456789ab");
    return s;
}

void TestScoringSheet::resultRow_data()
{
    QTest::addColumn<QString>("iq");
    QTest::addColumn<QString>("classification");
    QTest::addColumn<QStringList>("expected");
    // An invalid result carries a single blank as classification.
    QTest::newRow("invalid") << kInvalid << QStringLiteral(" ") << (QStringList { "IQ:", kInvalid });
    QTest::newRow("normal") << QStringLiteral("104") << QStringLiteral("بهنجار يا متوسط Normal")
                            << (QStringList { "IQ:", "104", "بهنجار يا متوسط", "Normal" });
}

void TestScoringSheet::resultRow()
{
    QFETCH(QString, iq);
    QFETCH(QString, classification);
    QFETCH(QStringList, expected);
    ScoringSheet s = sheetFor(m_formPath);
    s.iq = iq;
    s.classification = classification;
    auto device = RecordingPaintDevice::record(BuildScoringSheet(s));
    QCOMPARE(device->pageCount(), 1);
    // The whole IQ row, across Label1, Lbliq and Label3.
    QStringList row = device->textsIn(onPage(QRect(0, 1690, 8925, 420)));
    for (QString &t : row)
        t = t.trimmed();
    row.removeAll(QString());
    // Runs come in visual order; the words are what counts here.
    row.sort();
    QStringList sorted = expected;
    sorted.sort();
    QCOMPARE(row, sorted);
    // "IQ:" stands first, the IQ text right beside it.
    const auto texts = device->itemsOf(DrawnItem::Kind::Text);
    const auto at = [&](const QString &t) {
        return std::find_if(texts.cbegin(), texts.cend(), [&](const DrawnItem &i) {
            return i.text.trimmed() == t;
        })->rect;
    };
    QVERIFY(qAbs(at("IQ:").left() - 192) < 40);
    QVERIFY(qAbs(at(expected[1]).left() - 672) < 40);
}

void TestScoringSheet::personalDataOnTheirBoxes()
{
    ScoringSheet s = sheetFor(m_formPath);
    auto device = RecordingPaintDevice::record(BuildScoringSheet(s));
    struct Box
    {
        QRect rect;
        QString text;
    };
    const Box boxes[]
        = { { QRect(4573, 831, 2385, 375), ScoringSheetFullName(s) }, { QRect(2206, 814, 1379, 375), s.birthDate },
              { QRect(1340, 826, 570, 375), s.age }, { QRect(5322, 1306, 2276, 375), s.education },
              { QRect(2683, 1360, 1920, 375), s.examiner }, { QRect(292, 1344, 1202, 375), s.testDate } };
    for (const Box &b : boxes) {
        QCOMPARE(device->textsIn(onPage(b.rect)).join(QString()), b.text);
        // Right-aligned: the text ends at the box's right edge.
        const auto texts = device->itemsOf(DrawnItem::Kind::Text);
        qreal right = 0;
        for (const DrawnItem &i : texts) {
            if (onPage(b.rect).contains(i.rect.center()))
                right = qMax(right, i.rect.right());
        }
        QVERIFY2(qAbs(right - b.rect.right()) < 40, qPrintable(b.text));
    }
    QCOMPARE(ScoringSheetFullName(s), QStringLiteral("سارا احمدي"));
    // Header and footer.
    QCOMPARE(device->textsIn(QRectF(0, 0, 8925, 420)).join(QString()), s.clinicName);
    const qreal footerTop = BuildScoringSheet(s).printableHeight() - 1784;
    const QStringList address = device->textsIn(QRectF(4460, footerTop + 103, 4272, 1343));
    QVERIFY(!address.isEmpty());
    QVERIFY(address.join(' ').contains(QStringLiteral("تهران")));
    QCOMPARE(
        device->textsIn(QRectF(105, footerTop + 103, 4238, 1343)), (QStringList { "info@clinic.example", "021-5555" }));
    // Under the contacts, the materials that scored the sheet.
    const QString materials = device->textsIn(QRectF(105, footerTop + 1470, 8627, 270)).join(QString());
    QVERIFY2(materials.contains(QStringLiteral("0123456789ab")) && materials.contains(QStringLiteral("Clinic set")),
        qPrintable(materials));
    QCOMPARE(device->itemsOf(DrawnItem::Kind::Line).size(), 2);
}

// The exact age stands where the shipped answer form is blank (between the
// logo and the title) and is printed only when there is one.
void TestScoringSheet::exactAgeOnBlankForm()
{
    const QRect box(1400, 450, 1650, 360);
    ScoringSheet s = sheetFor(m_formPath);
    QVERIFY(RecordingPaintDevice::record(BuildScoringSheet(s))->textsIn(onPage(box)).isEmpty());
    s.exactAge = QStringLiteral("10 سال و 11 ماه"); // the widest
    auto device = RecordingPaintDevice::record(BuildScoringSheet(s));
    const QString printed = device->textsIn(onPage(box)).join(QLatin1Char(' '));
    for (const char *word : { "سن", "دقيق", "10", "سال", "11", "ماه" })
        QVERIFY2(printed.contains(QString::fromUtf8(word)), qPrintable(printed));
    for (const DrawnItem &i : device->itemsOf(DrawnItem::Kind::Text)) {
        if (onPage(box).intersects(i.rect))
            QVERIFY2(onPage(box).adjusted(-20, -20, 20, 20).contains(i.rect),
                qPrintable(QStringLiteral("%1 %2,%3 %4x%5 in %6,%7")
                               .arg(i.text)
                               .arg(i.rect.x())
                               .arg(i.rect.y())
                               .arg(i.rect.width())
                               .arg(i.rect.height())
                               .arg(onPage(box).x())
                               .arg(onPage(box).y())));
    }
    QImage form(QStringLiteral(PELORIN_CONTENT_DIR "/answer_form.png"));
    QVERIFY(!form.isNull());
    const qreal sx = form.width() / 8925.0, sy = form.height() / 11520.0;
    int dark = 0;
    for (int y = int(box.top() * sy); y < int(box.bottom() * sy); ++y)
        for (int x = int(box.left() * sx); x < int(box.right() * sx); ++x)
            dark += qGray(form.pixel(x, y)) < 230;
    QCOMPARE(dark, 0);
}

void TestScoringSheet::logo_data()
{
    QTest::addColumn<bool>("firstOn");
    QTest::addColumn<bool>("secondOn");
    QTest::newRow("on") << true << true;
    QTest::newRow("off") << false << false;
    QTest::newRow("on, then switched off") << true << false;
}

void TestScoringSheet::logo()
{
    QFETCH(bool, firstOn);
    QFETCH(bool, secondOn);
    ScoringSheet s = sheetFor(m_formPath);
    s.clinic.logo = redLogo();
    s.clinic.showLogo = firstOn;
    RecordingPaintDevice::record(BuildScoringSheet(s));
    s.clinic.showLogo = secondOn;
    auto device = RecordingPaintDevice::record(BuildScoringSheet(s));
    const QRectF logoPlace = onPage(QRect(112, 94, 1251, 1153));
    int logos = 0;
    int forms = 0;
    for (const DrawnItem &p : device->itemsOf(DrawnItem::Kind::Picture)) {
        if (p.pictureSize == redLogo().size() && logoPlace.adjusted(-1, -1, 1, 1).contains(p.rect))
            ++logos;
        if (p.rect == onPage(QRect(0, 0, 8925, 11520)))
            ++forms;
    }
    QCOMPARE(logos, secondOn ? 1 : 0);
    QCOMPARE(forms, 1);
}

void TestScoringSheet::storedAnswers()
{
    addExaminee(QStringLiteral("12"));
    addExaminee(QStringLiteral("120"));
    {
        RecordSource answers;
        QVERIFY(answers.open(Database::File::Examinee, QStringLiteral("Answer")));
        for (const QString &code : { QStringLiteral("12"), QStringLiteral("120") }) {
            answers.addNew();
            answers.setField(QStringLiteral("Code"), code);
            QVERIFY(answers.update());
        }
        answers.setFilter(QStringLiteral("Code"), QStringLiteral("12"));
        answers.setField(QStringLiteral("1"), QStringLiteral("3"));
        answers.setField(QStringLiteral("2"), QStringLiteral("0"));
        answers.setField(QStringLiteral("36"), QStringLiteral("6"));
        QVERIFY(answers.update());
    }
    // The test window's own Answer source, with an answer still pending.
    RecordSource Adodc5;
    QVERIFY(Adodc5.open(Database::File::Examinee, QStringLiteral("Answer")));
    Adodc5.setFilter(QStringLiteral("Code"), QStringLiteral("12"));
    Adodc5.setField(QStringLiteral("4"), QStringLiteral("5"));

    ScoringSheet s = sheetFor(m_formPath);
    QVERIFY(ReadStoredAnswers(&Adodc5, QStringLiteral("12"), &s));
    QCOMPARE(Adodc5.rowCount(), 1);
    QCOMPARE(Adodc5.field(QStringLiteral("Code")), QStringLiteral("12"));

    auto device = RecordingPaintDevice::record(BuildScoringSheet(s));
    const auto boxText = [&](int item) { return device->textsIn(onPage(ScoringSheetAnswerBox(item))).join(QString()); };
    QCOMPARE(boxText(1), QStringLiteral("3"));
    QCOMPARE(boxText(2), QStringLiteral("0"));
    QCOMPARE(boxText(3), QString());
    QCOMPARE(boxText(4), QString()); // pending, never stored
    QCOMPARE(boxText(36), QStringLiteral("6"));
    // Boxes are centred on their place in the form's columns.
    const QRect box36 = ScoringSheetAnswerBox(36);
    QCOMPARE(box36.left(), 4800);
    QCOMPARE(ScoringSheetAnswerBox(1).left(), 6720);
    for (const DrawnItem &i : device->itemsOf(DrawnItem::Kind::Text)) {
        if (onPage(box36).contains(i.rect.center()))
            QVERIFY(qAbs(i.rect.center().x() - onPage(box36).center().x()) < 20);
    }

    QVERIFY(!ReadStoredAnswers(&Adodc5, QStringLiteral("99"), &s));
    QCOMPARE(s.answers[0], QString());
}

void TestScoringSheet::missingAnswerFormLeavesPlaceEmpty()
{
    ScoringSheet s = sheetFor(m_folder->dir.filePath(QStringLiteral("nothing.png")));
    s.iq = QStringLiteral("104");
    auto device = RecordingPaintDevice::record(BuildScoringSheet(s));
    QCOMPARE(device->itemsOf(DrawnItem::Kind::Picture).size(), 0);
    QVERIFY(device->textsIn(onPage(QRect(672, 1728, 2496, 375))).contains(QStringLiteral("104")));

    QFile garbage(m_folder->dir.filePath(QStringLiteral("garbage.png")));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write("not a picture");
    garbage.close();
    s.answerFormPath = garbage.fileName();
    QCOMPARE(RecordingPaintDevice::record(BuildScoringSheet(s))->itemsOf(DrawnItem::Kind::Picture).size(), 0);
}

void TestScoringSheet::previewIsNotModalAndSavesPdf()
{
    Dialogs::setTestMode(true);
    QWidget owner;
    owner.show();
    ScoringSheet s = sheetFor(m_formPath);
    ReportPreview *preview = PrintScoringSheet(&owner, s);
    QVERIFY(preview->isVisible());
    QVERIFY(!preview->isModal());
    QVERIFY(preview->isWindow());
    QTRY_COMPARE(preview->pageCount(), 1);

    const QString pdf = m_folder->dir.filePath(QStringLiteral("sheet"));
    Dialogs::setNextFile(pdf);
    preview->saveAsPdf();
    QFile file(pdf + QStringLiteral(".pdf"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("%PDF"));
    const auto log = Dialogs::takeLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log[0].kind, QStringLiteral("save"));

    // Cancelled: nothing written, nothing said. Unwritable: said so.
    preview->saveAsPdf();
    QCOMPARE(Dialogs::takeLog().size(), 1);
    Dialogs::setNextFile(QStringLiteral("/nonexistent-folder/sheet.pdf"));
    preview->saveAsPdf();
    const auto failed = Dialogs::takeLog();
    QCOMPARE(failed.size(), 2);
    QCOMPARE(failed[1].kind, QStringLiteral("message"));
    QCOMPARE(failed[1].title, QStringLiteral("خطا"));
    // The print dialog is asked through the seam too; cancelled, nothing more.
    preview->print();
    const auto printed = Dialogs::takeLog();
    QCOMPARE(printed.size(), 1);
    QCOMPARE(printed[0].kind, QStringLiteral("print"));
    preview->close();
    Dialogs::setTestMode(false);
}

namespace {

// A test of 36 items with a log that holds changes: item 1 answered 2, then
// 5 after going back; item 2 clicked 4 twice (no change); item 3 answered
// 1, 6, 1 (two changes); item 36 never logged (a slot from before the log).
struct FixedTest
{
    std::array<QString, 36> answers;
    AnswerKey key {};
    QVector<AnswerLog::Row> log;
};

FixedTest fixedTest()
{
    FixedTest t;
    for (int i = 0; i < 36; ++i) {
        t.key[size_t(i)] = i % 6 + 1;
        t.answers[size_t(i)] = QString::number(i % 6 + 1); // all right ...
    }
    t.answers[0] = QStringLiteral("5"); // ... but item 1 (key 1)
    t.answers[2] = QStringLiteral("1"); // item 3 (key 3)
    t.answers[6] = QStringLiteral("0"); // item 7: no answer
    const QDateTime start(QDate(2026, 12, 11), QTime(9, 0));
    struct Click
    {
        int item, choice, latency, atSeconds;
    };
    const Click clicks[] = { { 1, 2, 2340, 3 }, { 2, 4, 1250, 5 }, { 1, 5, 4449, 20 }, { 2, 4, 950, 22 },
        { 3, 1, 3000, 26 }, { 3, 6, 800, 27 }, { 3, 1, 12349, 40 }, { 4, 4, 61000, 765 } };
    int seq = 0;
    for (const Click &c : clicks)
        t.log.append({ ++seq, { c.item, c.choice, c.latency, start.addSecs(c.atSeconds) } });
    return t;
}

ScoringSheet analysedSheet(const QString &formPath)
{
    ScoringSheet s = sheetFor(formPath);
    const FixedTest t = fixedTest();
    s.answers = t.answers;
    s.analysis = AnalyseItems(t.answers, t.key, t.log);
    return s;
}

} // namespace

void TestScoringSheet::itemAnalysisRows_data()
{
    namespace T = ItemAnalysisTexts;
    QTest::addColumn<int>("item");
    // Right to left: item, final choice, result, time of the final response, changes.
    QTest::addColumn<QStringList>("cells");
    QTest::newRow("changed once, wrong") << 1 << QStringList { "1", "5", T::wrong, "4.4", "1" };
    QTest::newRow("same option twice") << 2 << QStringList { "2", "2", T::right, "1.0", "0" };
    QTest::newRow("changed twice, back to the first") << 3 << QStringList { "3", "1", T::wrong, "12.3", "2" };
    QTest::newRow("over a minute") << 4 << QStringList { "4", "4", T::right, "61.0", "0" };
    QTest::newRow("no answer") << 7 << QStringList { "7", T::noAnswer, T::wrong, T::noTime, "0" };
    QTest::newRow("stored before the log") << 36 << QStringList { "36", "6", T::right, T::noTime, "0" };
}

void TestScoringSheet::itemAnalysisRows()
{
    QFETCH(int, item);
    QFETCH(QStringList, cells);
    auto device = RecordingPaintDevice::record(BuildScoringSheet(analysedSheet(m_formPath)));
    QCOMPARE(device->pageCount(), 2);
    const QRect row = ItemAnalysisRow(item);
    QStringList printed;
    // Cell by cell from the right-hand edge, as the table reads.
    QVector<DrawnItem> inRow;
    for (const DrawnItem &i : device->itemsOf(DrawnItem::Kind::Text, 1)) {
        if (QRectF(row).contains(i.rect.center()))
            inRow.append(i);
    }
    std::sort(inRow.begin(), inRow.end(),
        [](const DrawnItem &a, const DrawnItem &b) { return a.rect.center().x() > b.rect.center().x(); });
    for (const DrawnItem &i : inRow)
        printed << i.text.trimmed();
    printed.removeAll(QString());
    QCOMPARE(printed, cells);
    // Each text stays inside its row.
    for (const DrawnItem &i : inRow)
        QVERIFY2(QRectF(row).adjusted(0, -30, 0, 30).contains(i.rect), qPrintable(i.text));
    // Nothing of the analysis is on the first page.
    QVERIFY(device->textsIn(QRectF(row), 0).join(QString()) != cells.join(QString()));
}

void TestScoringSheet::itemAnalysisHeadingAndTotals()
{
    namespace T = ItemAnalysisTexts;
    const ScoringSheet s = analysedSheet(m_formPath);
    auto device = RecordingPaintDevice::record(BuildScoringSheet(s));
    const QString page2 = device->textsIn(QRectF(0, 0, 8925, ItemAnalysisRow(0).top()), 1).join(QLatin1Char(' '));
    for (const QString &word : { T::heading.split(' ').first(), QStringLiteral("سارا"), QStringLiteral("احمدي"),
             QStringLiteral("12"), QStringLiteral("1401/07/28") })
        QVERIFY2(page2.contains(word), qPrintable(page2));
    QStringList head = device->textsIn(QRectF(ItemAnalysisRow(0)), 1);
    QVERIFY2(head.join(' ').contains(QStringLiteral("ثانيه")), qPrintable(head.join(' ')));
    // Total: from item 1 shown (9:00:03 less 2.34 s) to the last click at
    // 9:12:45, that is 12 minutes 44 seconds (43.66 rounded).
    const QString totals = device->textsIn(QRectF(ItemAnalysisSummaryBox()), 1).join(QLatin1Char(' '));
    for (const char *part : { "12", "دقيقه", "44", "ثانيه", "33", "36", "3" })
        QVERIFY2(totals.contains(QString::fromUtf8(part)), qPrintable(totals));
    QCOMPARE(TotalTimeText(s.analysis->totalMs), T::minutesSeconds.arg(12).arg(44));
    QCOMPARE(TotalTimeText(std::nullopt), T::notTimed);
    QCOMPARE(TotalTimeText(59499), T::seconds.arg(59));
    QCOMPARE(s.analysis->correctCount(), 33);
    QCOMPARE(s.analysis->changeCount(), 3);
    // The clinic's address and contact lines close the second page too.
    const qreal footerTop = BuildScoringSheet(s).printableHeight() - 1784;
    QVERIFY(device->textsIn(QRectF(4460, footerTop + 103, 4272, 1343), 1).join(' ').contains(QStringLiteral("تهران")));
    // Without an analysis the sheet stays one page.
    ScoringSheet plain = sheetFor(m_formPath);
    QCOMPARE(RecordingPaintDevice::record(BuildScoringSheet(plain))->pageCount(), 1);
}

void TestScoringSheet::itemAnalysisInPreviewAndPdf()
{
    Dialogs::setTestMode(true);
    QWidget owner;
    owner.show();
    ReportPreview *preview = PrintScoringSheet(&owner, analysedSheet(m_formPath));
    QTRY_COMPARE(preview->pageCount(), 2);
    const QString pdf = m_folder->dir.filePath(QStringLiteral("sheet.pdf"));
    Dialogs::setNextFile(pdf);
    preview->saveAsPdf();
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    QVERIFY(bytes.contains("/Count 2"));
    preview->close();
    Dialogs::takeLog();
    Dialogs::setTestMode(false);
}

QTEST_MAIN(TestScoringSheet)
#include "tst_scoringsheet.moc"
