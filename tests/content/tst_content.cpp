#include "test/content/TestContent.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {

const QString ShippedDir = QStringLiteral(PELORIN_CONTENT_DIR);

QJsonArray rect(int l, int t, int w, int h)
{
    return { l, t, w, h };
}

// A manifest that passes every check, over one shared picture.
QJsonObject validManifest()
{
    QJsonArray items;
    for (int n = 1; n <= 36; ++n) {
        QJsonArray options;
        for (int k = 0; k < 6; ++k)
            options.append(rect(540 + (k % 3) * 3000, k < 3 ? 3720 : 4860, 2400, 915));
        items.append(QJsonObject { { "number", n }, { "picture", "item.png" }, { "picture2x", "item@2x.png" },
            { "options", options }, { "key", (n % 6) + 1 } });
    }
    return QJsonObject { { "version", 1 }, { "answerForm", "form.png" }, { "items", items } };
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

// A picture of the given size whose file stops at 60 %: the header is whole,
// the rows at the bottom are missing.
void writeCutPicture(const QString &path, int w, int h, const char *format)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 7 + y * 13) % 256, (x * y) % 256, (x ^ y) % 256));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(image.save(&buffer, format));
    writeFile(path, bytes.left(bytes.size() * 6 / 10));
    QCOMPARE(QImageReader(path).size(), QSize(w, h));
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
            const int d = std::max(
                { std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q)) });
            if (d > 48)
                ++count;
        }
    }
    return count;
}

} // namespace

class TestContentTest : public QObject
{
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
        writeCutPicture(m_dir.filePath("cut.png"), 633, 421, "PNG");
        writeCutPicture(m_dir.filePath("cut@2x.jpg"), 1266, 842, "JPEG");
    }

    void brokenManifest_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("value"); // JSON text; empty removes the value
        QTest::addColumn<QString>("message");

        QTest::newRow("valid") << ""
                               << ""
                               << "";
        QTest::newRow("version") << "version"
                                 << "2"
                                 << "version: 2 پشتيباني نمي شود (بايد 1 باشد)";
        QTest::newRow("no version") << "version"
                                    << ""
                                    << "version: بايد عدد صحيح باشد";
        QTest::newRow("35 items") << "items/35"
                                  << ""
                                  << "items: بايد 36 سوال داشته باشد، 35 سوال دارد";
        QTest::newRow("item not an object") << "items/3"
                                            << "7"
                                            << "سوال رديف 4: بايد يک شيء JSON باشد";
        QTest::newRow("number twice") << "items/1/number"
                                      << "1"
                                      << "سوال رديف 2: شماره سوال 1 دو بار آمده است";
        QTest::newRow("number 0") << "items/0/number"
                                  << "0"
                                  << "سوال رديف 1: شماره 0 خارج از 1 تا 36";
        QTest::newRow("number fraction") << "items/0/number"
                                         << "1.5"
                                         << "سوال رديف 1: number: بايد عدد صحيح باشد";
        QTest::newRow("key 7") << "items/4/key"
                               << "7"
                               << "سوال 5: کليد 7 خارج از 1 تا 6";
        QTest::newRow("key 0") << "items/4/key"
                               << "0"
                               << "سوال 5: کليد 0 خارج از 1 تا 6";
        QTest::newRow("key text") << "items/4/key"
                                  << "\"3\""
                                  << "سوال 5: key: بايد عدد صحيح باشد";
        QTest::newRow("five options") << "items/6/options/5"
                                      << ""
                                      << "سوال 7: options: بايد 6 گزينه داشته باشد";
        QTest::newRow("rect of three") << "items/6/options/0/3"
                                       << ""
                                       << "سوال 7: گزينه 1: بايد [چپ، بالا، پهنا، بلندي] باشد";
        QTest::newRow("negative left") << "items/6/options/0/0"
                                       << "-15"
                                       << "سوال 7: گزينه 1: مکان بايد صفر يا بيشتر و اندازه بيشتر از صفر باشد";
        QTest::newRow("upper top low") << "items/2/options/1/1"
                                       << "3465"
                                       << "سوال 3: گزينه 2: بالاي 3465 خارج از 3480 تا 4020";
        QTest::newRow("upper top high") << "items/2/options/1/1"
                                        << "4035"
                                        << "سوال 3: گزينه 2: بالاي 4035 خارج از 3480 تا 4020";
        QTest::newRow("lower top low") << "items/2/options/4/1"
                                       << "4545"
                                       << "سوال 3: گزينه 5: بالاي 4545 خارج از 4560 تا 5220";
        QTest::newRow("lower top high") << "items/2/options/4/1"
                                        << "5235"
                                        << "سوال 3: گزينه 5: بالاي 5235 خارج از 4560 تا 5220";
        QTest::newRow("narrow") << "items/8/options/2/2"
                                << "1200"
                                << "سوال 9: گزينه 3: پهناي 1200 خارج از 1215 تا 2595";
        QTest::newRow("wide") << "items/8/options/0/2"
                              << "2610"
                              << "سوال 9: گزينه 1: پهناي 2610 خارج از 1215 تا 2595";
        QTest::newRow("low") << "items/8/options/3/3"
                             << "780"
                             << "سوال 9: گزينه 4: بلندي 780 خارج از 795 تا 975";
        QTest::newRow("high") << "items/8/options/3/3"
                              << "990"
                              << "سوال 9: گزينه 4: بلندي 990 خارج از 795 تا 975";
        QTest::newRow("beyond right") << "items/35/options/5/0"
                                      << "6990"
                                      << "سوال 36: گزينه 6: لبه راست 9390 از 9375 فراتر است";
        QTest::newRow("out of order") << "items/35/options/1/0"
                                      << "300"
                                      << "سوال 36: گزينه 2: بايد در سمت راست گزينه 1 باشد";
        QTest::newRow("overlap") << "items/35/options/1/0"
                                 << "2700"
                                 << "سوال 36: گزينه 2: با گزينه 1 همپوشاني دارد";
        QTest::newRow("rows overlap") << "items/35/options/3/1"
                                      << "4560"
                                      << "سوال 36: گزينه 4: با گزينه 1 همپوشاني دارد";
        QTest::newRow("no picture") << "items/10/picture"
                                    << ""
                                    << "سوال 11: picture نام تصوير را ندارد";
        QTest::newRow("picture missing") << "items/10/picture"
                                         << "\"gone.png\""
                                         << "gone.png پيدا نشد";
        QTest::newRow("picture size") << "items/10/picture"
                                      << "\"small.png\""
                                      << "small.png 600 x 400 پيکسل است، بايد 633 x 421 باشد";
        QTest::newRow("picture unreadable") << "items/10/picture"
                                            << "\"broken.png\""
                                            << "broken.png خوانده نمي شود (Unsupported image format)";
        QTest::newRow("picture cut") << "items/10/picture"
                                     << "\"cut.png\""
                                     << "cut.png کامل خوانده نمي شود";
        QTest::newRow("picture2x cut") << "items/10/picture2x"
                                       << "\"cut@2x.jpg\""
                                       << "cut@2x.jpg کامل خوانده نمي شود";
        QTest::newRow("picture2x size") << "items/10/picture2x"
                                        << "\"item.png\""
                                        << "item.png 633 x 421 پيکسل است، بايد 1266 x 842 باشد";
        QTest::newRow("no answer form") << "answerForm"
                                        << ""
                                        << "answerForm: نيامده است";
        QTest::newRow("answer form missing") << "answerForm"
                                             << "\"nothing.png\""
                                             << "nothing.png پيدا نشد";
        QTest::newRow("answer boxes short") << "answerBoxes"
                                            << "[[1,2,3,4]]"
                                            << "answerBoxes: بايد 36 مستطيل داشته باشد";
        QTest::newRow("reliability number") << "reliability"
                                            << "0.9"
                                            << "reliability: بايد براي هر سن يک عدد بدهد";
        QTest::newRow("reliability age") << "reliability"
                                         << "{\"seven\": 0.9}"
                                         << "reliability: seven: سن به سال کامل نيست";
        QTest::newRow("reliability 1") << "reliability"
                                       << "{\"7\": 1}"
                                       << "reliability: 7: بايد عددي بين 0 و 1 باشد";
        QTest::newRow("reliability text") << "reliability"
                                          << "{\"7\": \"0.9\"}"
                                          << "reliability: 7: بايد عددي بين 0 و 1 باشد";
    }

    void brokenManifest()
    {
        QFETCH(QString, path);
        QFETCH(QString, value);
        QFETCH(QString, message);

        QJsonValue replacement(QJsonValue::Undefined);
        if (!value.isEmpty())
            replacement = QJsonDocument::fromJson("[" + value.toUtf8() + "]").array().at(0);
        const QJsonValue manifest
            = path.isEmpty() ? QJsonValue(validManifest()) : patched(validManifest(), path.split('/'), replacement);
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
            QVERIFY(!content.reliability(7)); // optional: absent means no interval
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
        QTest::newRow("not JSON") << QByteArray("{\"version\": 1,") << "JSON معتبر نيست (";
        QTest::newRow("array") << QByteArray("[1, 2]") << "بايد يک شيء JSON باشد";
        QTest::newRow("empty") << QByteArray() << "JSON معتبر نيست";
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
        QVERIFY2(error.contains("manifest.json: باز نمي شود"), qPrintable(error));
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
        const std::array<QRect, 6> first
            = { QRect(120, 3780, 2595, 975), QRect(3480, 3720, 2595, 975), QRect(6840, 3780, 2535, 975),
                  QRect(120, 5160, 2535, 975), QRect(3480, 5160, 2595, 975), QRect(6840, 5220, 2175, 975) };
        const std::array<QRect, 6> last
            = { QRect(1920, 3840, 1635, 975), QRect(4500, 3840, 1575, 915), QRect(7020, 3840, 1695, 915),
                  QRect(1920, 5100, 1635, 855), QRect(4440, 5100, 1635, 855), QRect(7020, 5100, 1695, 915) };
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
            QCOMPARE(row[0], 4 + i); // raw scores 5..36 in order
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
