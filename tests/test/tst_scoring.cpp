#include "ExamFolder.h"
#include "test/scoring/IqClassification.h"
#include "test/scoring/ItemCounter.h"
#include "test/scoring/ResultTexts.h"
#include "test/scoring/ScoreChain.h"

namespace {

AnswerKey testKey()
{
    AnswerKey key {};
    for (int i = 0; i < 36; ++i)
        key[size_t(i)] = i % 6 + 1;
    return key;
}

/// Answers with the first \a correct items right and the rest wrong or empty.
QStringList answersWith(int correct, const QString &rest = QStringLiteral("0"))
{
    const AnswerKey key = testKey();
    QStringList answers;
    for (int i = 0; i < 36; ++i)
        answers << (i < correct ? QString::number(key[size_t(i)]) : rest);
    return answers;
}

const QString kInvalid = ResultTexts::invalid;

} // namespace

class TestScoring : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void countCorrect_data();
    void countCorrect();
    void bands_data();
    void bands();
    void lookUp_data();
    void lookUp();
    void countingTwiceGivesTheSame();
    void classifyIqText_data();
    void classifyIqText();
    void counterDisplay_data();
    void counterDisplay();
    void counterSteps_data();
    void counterSteps();
};

void TestScoring::countCorrect_data()
{
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<int>("raw");
    QTest::newRow("no answer") << answersWith(0) << 0;
    QTest::newRow("never shown") << answersWith(0, QString()) << 0;
    QTest::newRow("all correct") << answersWith(36) << 36;
    QTest::newRow("twelve") << answersWith(12) << 12;
    QStringList wrong = answersWith(36);
    wrong[35] = QStringLiteral("1"); // key of item 36 is 6
    QTest::newRow("last wrong") << wrong << 35;
}

void TestScoring::countCorrect()
{
    QFETCH(QStringList, answers);
    QFETCH(int, raw);
    QCOMPARE(CountCorrect(answers, testKey()), raw);
}

void TestScoring::bands_data()
{
    QTest::addColumn<double>("iq");
    QTest::addColumn<QString>("text");
    QTest::newRow("130") << 130.0 << QStringLiteral("خيلي سرآمد Very Superior");
    QTest::newRow("200") << 200.0 << QStringLiteral("خيلي سرآمد Very Superior");
    QTest::newRow("129") << 129.0 << QStringLiteral("سرآمد Superior");
    QTest::newRow("110") << 110.0 << QStringLiteral("بهنجار يا متوسط بالا Bright Normal");
    QTest::newRow("109") << 109.0 << QStringLiteral("بهنجار يا متوسط Normal");
    QTest::newRow("90") << 90.0 << QStringLiteral("بهنجار يا متوسط Normal");
    QTest::newRow("89") << 89.0 << QStringLiteral("متوسط پايين Low Normal");
    QTest::newRow("70") << 70.0 << QStringLiteral("مرزي Borderline");
    QTest::newRow("55") << 55.0 << QStringLiteral("عقب مانده خفيف Mild Mental Retardation");
    QTest::newRow("54") << 54.0 << QStringLiteral("عقب مانده متوسط Moderate Mental Retardation");
    QTest::newRow("25") << 25.0 << QStringLiteral("عقب مانده شديد Severe Mental Retardation");
    QTest::newRow("24") << 24.0 << QString();
    QTest::newRow("109.5") << 109.5 << QString();
}

void TestScoring::bands()
{
    QFETCH(double, iq);
    QFETCH(QString, text);
    QCOMPARE(IqBandText(iq).value_or(QString()), text);
}

void TestScoring::lookUp_data()
{
    QTest::addColumn<int>("raw");
    QTest::addColumn<QString>("age");
    QTest::addColumn<QString>("iq");
    QTest::addColumn<QString>("percentile");
    QTest::addColumn<QString>("classification");
    QTest::newRow("raw 0") << 0 << "7" << kInvalid << "0"
                           << " ";
    QTest::newRow("raw 4") << 4 << "7" << kInvalid << "0"
                           << " ";
    QTest::newRow("raw 5 age 5") << 5 << "5"
                                 << "40"
                                 << "50" << QStringLiteral("عقب مانده متوسط Moderate Mental Retardation");
    QTest::newRow("raw 5 age 6") << 5 << "6"
                                 << "41"
                                 << "51" << QStringLiteral("عقب مانده متوسط Moderate Mental Retardation");
    QTest::newRow("raw 20 age 10") << 20 << "10"
                                   << "105"
                                   << "205" << QStringLiteral("بهنجار يا متوسط Normal");
    QTest::newRow("age 4") << 20 << "4" << kInvalid << "0"
                           << " ";
    QTest::newRow("age 11") << 20 << "11" << kInvalid << "0"
                            << " ";
    QTest::newRow("age 5.5") << 20 << "5.5" << kInvalid << "0"
                             << " ";
    QTest::newRow("age empty") << 20 << "" << kInvalid << "0"
                               << " ";
    QTest::newRow("7 years") << 20 << "7 years"
                             << "102"
                             << "202" << QStringLiteral("بهنجار يا متوسط Normal");
    // Below 25: the IQ turns invalid, the percentile still comes from the row.
    QTest::newRow("IQ 20") << 6 << "5" << kInvalid << "60"
                           << " ";
    // Between two bands: the classification of the count before stays.
    QTest::newRow("IQ 109.5") << 7 << "5"
                              << "109.5"
                              << "70"
                              << " ";
    QTest::newRow("no norms row") << 36 << "7" << kInvalid << ""
                                  << " ";
}

void TestScoring::lookUp()
{
    QFETCH(int, raw);
    QFETCH(QString, age);
    QFETCH(QString, iq);
    QFETCH(QString, percentile);
    QFETCH(QString, classification);
    ExamFolder folder;
    RecordSource ppp;
    QVERIFY(ppp.open(Database::File::Examinee, QStringLiteral("PPP")));
    ScoreChain chain(&ppp);
    // Whatever the panel showed before does not leak into the result.
    chain.setState(QStringLiteral("120"), QStringLiteral("99"), QStringLiteral("سرآمد Superior"));
    chain.count(answersWith(raw), testKey(), age);
    QCOMPARE(chain.rawScore(), QString::number(raw));
    QCOMPARE(chain.iq(), iq);
    QCOMPARE(chain.percentile(), percentile);
    QCOMPARE(chain.classification(), classification);
}

void TestScoring::countingTwiceGivesTheSame()
{
    ExamFolder folder;
    RecordSource ppp;
    QVERIFY(ppp.open(Database::File::Examinee, QStringLiteral("PPP")));
    ScoreChain chain(&ppp);
    chain.count(answersWith(21), testKey(), QStringLiteral("8"));
    const QStringList first { chain.rawScore(), chain.iq(), chain.percentile(), chain.classification() };
    chain.count(answersWith(21), testKey(), QStringLiteral("8"));
    QCOMPARE((QStringList { chain.rawScore(), chain.iq(), chain.percentile(), chain.classification() }), first);
    QCOMPARE(first, (QStringList { "21", "107", "213", QStringLiteral("بهنجار يا متوسط Normal") }));
    QCOMPARE(ppp.field(QStringLiteral("Code")), QStringLiteral("21")); // the filter stays on the last lookup
}

void TestScoring::classifyIqText_data()
{
    QTest::addColumn<QString>("iq");
    QTest::addColumn<QString>("shownIq");
    QTest::addColumn<QString>("classification");
    QTest::newRow("104abc") << "104abc"
                            << "104abc" << QStringLiteral("بهنجار يا متوسط Normal");
    QTest::newRow("invalid text") << kInvalid << kInvalid << " ";
    QTest::newRow("empty (not scored)") << "" << kInvalid << " ";
    QTest::newRow("24") << "24" << kInvalid << " ";
    QTest::newRow("25") << "25"
                        << "25" << QStringLiteral("عقب مانده شديد Severe Mental Retardation");
}

void TestScoring::classifyIqText()
{
    QFETCH(QString, iq);
    QFETCH(QString, shownIq);
    QFETCH(QString, classification);
    ScoreChain chain(nullptr);
    chain.setState(iq, QString(), QStringLiteral("earlier"));
    chain.classifyIq();
    QCOMPARE(chain.iq(), shownIq);
    QCOMPARE(chain.classification(), classification);
}

void TestScoring::counterDisplay_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("rewrite");
    QTest::newRow("0") << "0" << 0 << "1";
    QTest::newRow("-4") << "-4" << 0 << "1";
    QTest::newRow("text") << "abc" << 0 << "1";
    QTest::newRow("empty") << "" << 0 << "1";
    QTest::newRow("50") << "50" << 0 << "36";
    QTest::newRow("37") << "37" << 0 << "36";
    QTest::newRow("12abc") << "12abc" << 12 << "";
    QTest::newRow("2.5") << "2.5" << 0 << "";
    QTest::newRow("1") << "1" << 1 << "";
    QTest::newRow("36") << "36" << 36 << "";
}

void TestScoring::counterDisplay()
{
    QFETCH(QString, text);
    QFETCH(int, item);
    QFETCH(QString, rewrite);
    const ItemCounter::Display d = ItemCounter::display(text);
    QCOMPARE(d.item, item);
    QCOMPARE(d.rewrite.value_or(QString()), rewrite);
}

void TestScoring::counterSteps_data()
{
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("store");
    QTest::addColumn<QString>("counter"); // "-" when the counter stays
    QTest::newRow("next 6") << true << "6" << true << "7";
    QTest::newRow("next 36") << true << "36" << true << "37";
    QTest::newRow("next 37") << true << "37" << true << "38";
    QTest::newRow("next 38") << true << "38" << false << "-";
    QTest::newRow("next -1") << true << "-1" << false << "1";
    QTest::newRow("next 12abc") << true << "12abc" << true << "-";
    QTest::newRow("next 2.5") << true << "2.5" << true << "3.5";
    QTest::newRow("previous 1") << false << "1" << true << "0";
    QTest::newRow("previous 12abc") << false << "12abc" << true << "-";
}

void TestScoring::counterSteps()
{
    QFETCH(bool, forward);
    QFETCH(QString, text);
    QFETCH(bool, store);
    QFETCH(QString, counter);
    const ItemCounter::Step s = forward ? ItemCounter::next(text) : ItemCounter::previous(text);
    QCOMPARE(s.store, store);
    QCOMPARE(s.counter.value_or(QStringLiteral("-")), counter);
}

QTEST_GUILESS_MAIN(TestScoring)
#include "tst_scoring.moc"
