#include "test/content/TestContent.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {

const QString ShippedDir = QStringLiteral(PELORIN_CONTENT_DIR);

QJsonArray rect(int l, int t, int w, int h) { return {l, t, w, h}; }

// A manifest that passes every check, over one shared picture.
QJsonObject validManifest()
{
    QJsonArray items;
    for (int n = 1; n <= 36; ++n) {
        QJsonArray options;
        for (int k = 0; k < 6; ++k)
            options.append(rect(540 + (k % 3) * 3000, k < 3 ? 3720 : 4860, 2400, 915));
        items.append(QJsonObject{{"number", n},
                                 {"picture", "item.png"},
                                 {"picture2x", "item@2x.png"},
                                 {"options", options},
                                 {"key", (n % 6) + 1}});
    }
    return QJsonObject{{"version", 1}, {"answerForm", "form.png"}, {"items", items}};
}

// Replaces (or with an undefined value removes) the value at a path such as
// "items/4/options/1/2".
QJsonValue patched(const QJsonValue &node, QStringList path, const QJsonValue &value)
{
    if (path.isEmpty())
        return value;
    const QString head = path.takeFirst();
    if (node.isArray()) {
        QJsonArray a = node.toArray();
        const int i = head.toInt();
        if (path.isEmpty() && value.isUndefined())
            a.removeAt(i);
        else
            a[i] = patched(a.at(i), path, value);
        return a;
    }
    QJsonObject o = node.toObject();
    if (path.isEmpty() && value.isUndefined())
        o.remove(head);
    else
        o[head] = patched(o.value(head), path, value);
    return o;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void writePicture(const QString &path, int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QVERIFY(image.save(path, "PNG"));
}

QJsonObject shippedManifest()
{
    QFile f(QDir(ShippedDir).filePath("manifest.json"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(f.readAll()).object();
}

QRect pixels(const QJsonValue &twips)
{
    const QJsonArray a = twips.toArray();
    return QRect(a[0].toInt() / 15, a[1].toInt() / 15, a[2].toInt() / 15, a[3].toInt() / 15);
}

// Pixels of two equally sized areas that differ clearly in some channel.
int differingPixels(const QImage &image, const QRect &a, const QRect &b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = image.pixel(a.left() + x, a.top() + y);
            const QRgb q = image.pixel(b.left() + x, b.top() + y);
            const int d = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                    std::abs(qBlue(p) - qBlue(q))});
            if (d > 48)
                ++count;
        }
    }
    return count;
}

} // namespace

class TestContentTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        writePicture(m_dir.filePath("item.png"), 633, 421);
        writePicture(m_dir.filePath("item@2x.png"), 1266, 842);
        writePicture(m_dir.filePath("small.png"), 600, 400);
        writePicture(m_dir.filePath("form.png"), 1860, 2400);
        writeFile(m_dir.filePath("broken.png"), "\x89PNG not really");
    }

    void brokenManifest_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("value");  // JSON text; empty removes the value
        QTest::addColumn<QString>("message");

        QTest::newRow("valid") << "" << "" << "";
        QTest::newRow("version") << "version" << "2" << "version: 2 is not supported";
        QTest::newRow("no version") << "version" << "" << "version: must be a whole number";
        QTest::newRow("35 items") << "items/35" << "" << "items: must list 36 items, found 35";
        QTest::newRow("item not an object") << "items/3" << "7" << "items[4]: must be an object";
        QTest::newRow("number twice") << "items/1/number" << "1" << "items[2]: item number 1 appears twice";
        QTest::newRow("number 0") << "items/0/number" << "0" << "items[1]: number 0 outside 1..36";
        QTest::newRow("number fraction") << "items/0/number" << "1.5" << "items[1]: number: must be a whole number";
        QTest::newRow("key 7") << "items/4/key" << "7" << "item 5: key 7 outside 1..6";
        QTest::newRow("key 0") << "items/4/key" << "0" << "item 5: key 0 outside 1..6";
        QTest::newRow("key text") << "items/4/key" << "\"3\"" << "item 5: key: must be a whole number";
        QTest::newRow("five options") << "items/6/options/5" << "" << "item 7: options must list 6 rectangles";
        QTest::newRow("rect of three") << "items/6/options/0/3" << "" << "item 7: options[1]: must be [left, top";
        QTest::newRow("negative left") << "items/6/options/0/0" << "-15" << "item 7: options[1]: must have a position";
        QTest::newRow("upper top low") << "items/2/options/1/1" << "3465" << "item 3: options[2]: top 3465 outside 3480..4020";
        QTest::newRow("upper top high") << "items/2/options/1/1" << "4035" << "item 3: options[2]: top 4035 outside";
        QTest::newRow("lower top low") << "items/2/options/4/1" << "4545" << "item 3: options[5]: top 4545 outside 4560..5220";
        QTest::newRow("lower top high") << "items/2/options/4/1" << "5235" << "item 3: options[5]: top 5235 outside";
        QTest::newRow("narrow") << "items/8/options/2/2" << "1200" << "item 9: options[3]: width 1200 outside 1215..2595";
        QTest::newRow("wide") << "items/8/options/0/2" << "2610" << "item 9: options[1]: width 2610 outside";
        QTest::newRow("low") << "items/8/options/3/3" << "780" << "item 9: options[4]: height 780 outside 795..975";
        QTest::newRow("high") << "items/8/options/3/3" << "990" << "item 9: options[4]: height 990 outside";
        QTest::newRow("beyond right") << "items/35/options/5/0" << "6990" << "item 36: options[6]: right edge 9390 beyond 9375";
        QTest::newRow("out of order") << "items/35/options/1/0" << "300" << "item 36: options[2]: must stand right of option 1";
        QTest::newRow("overlap") << "items/35/options/1/0" << "2700" << "item 36: options[2]: overlaps option 1";
        QTest::newRow("rows overlap") << "items/35/options/3/1" << "4560" << "item 36: options[4]: overlaps option 1";
        QTest::newRow("no picture") << "items/10/picture" << "" << "item 11: picture is missing";
        QTest::newRow("picture missing") << "items/10/picture" << "\"gone.png\"" << "item 11: picture: picture";
        QTest::newRow("picture size") << "items/10/picture" << "\"small.png\"" << "is 600 x 400 pixels, expected 633 x 421";
        QTest::newRow("picture unreadable") << "items/10/picture" << "\"broken.png\"" << "cannot be read";
        QTest::newRow("picture2x size") << "items/10/picture2x" << "\"item.png\"" << "item 11: picture2x: picture";
        QTest::newRow("no answer form") << "answerForm" << "" << "answerForm: is missing";
        QTest::newRow("answer form missing") << "answerForm" << "\"nothing.png\"" << "answerForm: picture";
        QTest::newRow("answer boxes short") << "answerBoxes" << "[[1,2,3,4]]" << "answerBoxes: must list 36";
        QTest::newRow("reliability number") << "reliability" << "0.9" << "reliability: must map ages to numbers";
        QTest::newRow("reliability age") << "reliability" << "{\"seven\": 0.9}" << "reliability: seven: is not an age";
        QTest::newRow("reliability 1") << "reliability" << "{\"7\": 1}" << "reliability: 7: must be a number between 0 and 1";
        QTest::newRow("reliability text") << "reliability" << "{\"7\": \"0.9\"}" << "reliability: 7: must be a number";
    }

    void brokenManifest()
    {
        QFETCH(QString, path);
        QFETCH(QString, value);
        QFETCH(QString, message);

        QJsonValue replacement(QJsonValue::Undefined);
        if (!value.isEmpty())
            replacement = QJsonDocument::fromJson("[" + value.toUtf8() + "]").array().at(0);
        const QJsonValue manifest =
            path.isEmpty() ? QJsonValue(validManifest()) : patched(validManifest(), path.split('/'), replacement);
        writeFile(m_dir.filePath("manifest.json"), QJsonDocument(manifest.toObject()).toJson());

        TestContent content;
        QString error;
        const bool ok = content.load(m_dir.path(), &error);
        if (message.isEmpty()) {
            QVERIFY2(ok, qPrintable(error));
            QCOMPARE(content.items().size(), 36);
            QCOMPARE(content.items().at(4).number, 5);
            QCOMPARE(content.answerKey().at(4), 6);
            QCOMPARE(content.items().at(0).options[5], QRect(6540, 4860, 2400, 915));
            QCOMPARE(content.items().at(0).picture2xPath, m_dir.filePath("item@2x.png"));
            QCOMPARE(content.answerFormPath(), m_dir.filePath("form.png"));
            QVERIFY(!content.reliability(7));  // optional: absent means no interval
            return;
        }
        QVERIFY(!ok);
        QVERIFY2(error.startsWith(m_dir.filePath("manifest.json") + ": "), qPrintable(error));
        QVERIFY2(error.contains(message), qPrintable(error));
        QVERIFY(content.items().isEmpty());
    }

    void unreadableManifest_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("not JSON") << QByteArray("{\"version\": 1,") << "not valid JSON at offset";
        QTest::newRow("array") << QByteArray("[1, 2]") << "must hold a JSON object";
        QTest::newRow("empty") << QByteArray() << "not valid JSON";
    }

    void unreadableManifest()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QTemporaryDir dir;
        writeFile(dir.filePath("manifest.json"), bytes);
        TestContent content;
        QString error;
        QVERIFY(!content.load(dir.path(), &error));
        QVERIFY2(error.contains(message), qPrintable(error));

        QVERIFY(!content.load(dir.filePath("nowhere"), &error));
        QVERIFY2(error.contains("manifest.json: cannot open"), qPrintable(error));
    }

    void failedLoadKeepsPreviousContent()
    {
        TestContent content;
        QString error;
        QVERIFY2(content.load(ShippedDir, &error), qPrintable(error));
        QVERIFY(!content.load(m_dir.filePath("nowhere"), &error));
        QCOMPARE(content.items().size(), 36);
        QCOMPARE(content.contentDir(), QDir(ShippedDir).absolutePath());
        QCOMPARE(content.artPath("main_background"), QDir(ShippedDir).absoluteFilePath("art/main_background.png"));
    }

    // ---- the shipped set ----------------------------------------------------

    void shippedSetLoads()
    {
        TestContent content;
        QString error;
        QVERIFY2(content.load(ShippedDir, &error), qPrintable(error));
        QCOMPARE(content.answerBoxes().size(), 36);
        for (int age = 5; age <= 10; ++age)
            QCOMPARE(content.reliability(age).value_or(0), 0.90);
        QVERIFY(!content.reliability(11));
        const QImage form(content.answerFormPath());
        QVERIFY(form.width() >= 1860 && form.height() >= 2400);
        // 8925 x 11520 twips at 300 dots per inch at least.
        QVERIFY(form.dotsPerMeterX() >= 11811 && form.dotsPerMeterY() >= 11811);
        QVERIFY(qAbs(form.width() * 11520.0 / form.height() - 8925) < 15);
    }

    void firstAndLastItemKeepTheirRectangles()
    {
        TestContent content;
        QString error;
        QVERIFY2(content.load(ShippedDir, &error), qPrintable(error));
        const std::array<QRect, 6> first = {QRect(120, 3780, 2595, 975), QRect(3480, 3720, 2595, 975),
                                            QRect(6840, 3780, 2535, 975), QRect(120, 5160, 2535, 975),
                                            QRect(3480, 5160, 2595, 975), QRect(6840, 5220, 2175, 975)};
        const std::array<QRect, 6> last = {QRect(1920, 3840, 1635, 975), QRect(4500, 3840, 1575, 915),
                                           QRect(7020, 3840, 1695, 915), QRect(1920, 5100, 1635, 855),
                                           QRect(4440, 5100, 1635, 855), QRect(7020, 5100, 1695, 915)};
        QCOMPARE(content.items().first().options, first);
        QCOMPARE(content.items().last().options, last);
    }

    void answerKeyIsSpread()
    {
        TestContent content;
        QString error;
        QVERIFY2(content.load(ShippedDir, &error), qPrintable(error));
        const QVector<int> key = content.answerKey();
        QCOMPARE(key.size(), 36);
        for (int place = 1; place <= 6; ++place) {
            const auto n = std::count(key.begin(), key.end(), place);
            QVERIFY2(n >= 1 && n <= 8, qPrintable(QString("place %1 is correct %2 times").arg(place).arg(n)));
        }
        for (int i = 2; i < 36; ++i)
            QVERIFY2(!(key[i] == key[i - 1] && key[i] == key[i - 2]),
                     qPrintable(QString("items %1 to %2 share place %3").arg(i - 1).arg(i + 1).arg(key[i])));
    }

    // Each option's drawing lies inside its click rectangle, and no two
    // options of an item look alike.
    void optionsDifferVisibly()
    {
        const QJsonArray items = shippedManifest().value("items").toArray();
        QCOMPARE(items.size(), 36);
        for (const QJsonValue &v : items) {
            const QJsonObject item = v.toObject();
            const int n = item.value("number").toInt();
            const QImage image(QDir(ShippedDir).filePath(item.value("picture").toString()));
            QVERIFY(!image.isNull());
            const QJsonArray figures = item.value("figures").toArray();
            const QJsonArray options = item.value("options").toArray();
            QCOMPARE(figures.size(), 6);
            for (int a = 0; a < 6; ++a) {
                const QRect fa = pixels(figures[a]);
                QVERIFY2(pixels(options[a]).contains(fa), qPrintable(QString("item %1 option %2").arg(n).arg(a + 1)));
                for (int b = a + 1; b < 6; ++b) {
                    const QRect fb = pixels(figures[b]);
                    QCOMPARE(fb.size(), fa.size());
                    const int differ = differingPixels(image, fa, fb);
                    QVERIFY2(differ >= fa.width() * fa.height() / 100 && differ >= 30,
                             qPrintable(QString("item %1: options %2 and %3 differ in %4 pixels only")
                                            .arg(n)
                                            .arg(a + 1)
                                            .arg(b + 1)
                                            .arg(differ)));
                }
            }
        }
    }

    void normsShapeAndOrder()
    {
        QFile f(QDir(ShippedDir).filePath("norms.csv"));
        QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
        const QList<QByteArray> lines = f.readAll().trimmed().split('\n');
        QCOMPARE(lines.first(), QByteArray("Code,5,6,7,8,9,10,5p,6p,7p,8p,9p,10p"));
        QCOMPARE(lines.size(), 1 + 32);
        QVector<QVector<int>> rows;
        for (int i = 1; i < lines.size(); ++i) {
            const QList<QByteArray> cells = lines[i].split(',');
            QCOMPARE(cells.size(), 13);
            QVector<int> row;
            for (const QByteArray &cell : cells) {
                bool ok = false;
                row.append(cell.toInt(&ok));
                QVERIFY2(ok, lines[i].constData());
            }
            QCOMPARE(row[0], 4 + i);  // raw scores 5..36 in order
            for (int age = 0; age < 6; ++age) {
                QVERIFY2(row[1 + age] >= 20 && row[1 + age] <= 160, lines[i].constData());
                QVERIFY2(row[7 + age] >= 1 && row[7 + age] <= 99, lines[i].constData());
                if (age > 0) {
                    QVERIFY2(row[1 + age] <= row[age], lines[i].constData());
                    QVERIFY2(row[7 + age] <= row[6 + age], lines[i].constData());
                }
            }
            if (!rows.isEmpty()) {
                for (int c = 1; c < 13; ++c)
                    QVERIFY2(row[c] >= rows.last()[c], lines[i].constData());
            }
            rows.append(row);
        }
        // The model is centred: the mean raw score of an age gives IQ 100.
        QCOMPARE(rows[13 - 5][1], 100);
        QCOMPARE(rows[22 - 5][4], 100);
    }
};

QTEST_GUILESS_MAIN(TestContentTest)
#include "tst_content.moc"
