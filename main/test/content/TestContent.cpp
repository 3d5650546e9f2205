#include "test/content/TestContent.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSize>

#include <cmath>

namespace {

// Bounds of the option rectangles in twips: they keep every option inside
// the area beneath the pattern, in two rows of three.
constexpr int UpperTopMin = 3480;
constexpr int UpperTopMax = 4020;
constexpr int LowerTopMin = 4560;
constexpr int LowerTopMax = 5220;
constexpr int WidthMin = 1215;
constexpr int WidthMax = 2595;
constexpr int HeightMin = 795;
constexpr int HeightMax = 975;
constexpr int RightMax = 9375;
constexpr int BottomMax = 6195;

// Collects the first fault with its place, so every message has one form:
// "<file>: item 7: options[2]: ...".
class Checker
{
public:
    explicit Checker(QString file)
        : m_file(std::move(file))
    {
    }

    bool fail(const QString &where, const QString &what)
    {
        if (m_error.isEmpty())
            m_error = where.isEmpty() ? QStringLiteral("%1: %2").arg(m_file, what)
                                      : QStringLiteral("%1: %2: %3").arg(m_file, where, what);
        return false;
    }
    QString error() const { return m_error; }

    bool integer(const QJsonValue &v, const QString &where, int *out)
    {
        const double d = v.toDouble();
        if (!v.isDouble() || std::abs(d) > 1e9 || std::floor(d) != d)
            return fail(where, QStringLiteral("must be a whole number"));
        *out = v.toInt();
        return true;
    }

    bool rect(const QJsonValue &v, const QString &where, QRect *out)
    {
        const QJsonArray a = v.toArray();
        if (!v.isArray() || a.size() != 4)
            return fail(where, QStringLiteral("must be [left, top, width, height]"));
        int n[4];
        for (int i = 0; i < 4; ++i) {
            if (!integer(a.at(i), where, &n[i]))
                return false;
        }
        if (n[0] < 0 || n[1] < 0 || n[2] <= 0 || n[3] <= 0)
            return fail(where, QStringLiteral("must have a position >= 0 and a size > 0"));
        *out = QRect(n[0], n[1], n[2], n[3]);
        return true;
    }

    // A picture the platform can read, optionally of an exact size.
    bool picture(const QString &path, const QString &where, const QSize &size)
    {
        if (!QFile::exists(path))
            return fail(where, QStringLiteral("picture %1 is missing").arg(path));
        QImageReader reader(path);
        const QSize actual = reader.size();
        if (!reader.canRead() || !actual.isValid())
            return fail(where, QStringLiteral("picture %1 cannot be read (%2)").arg(path, reader.errorString()));
        if (size.isValid() && actual != size)
            return fail(where,
                QStringLiteral("picture %1 is %2 x %3 pixels, expected %4 x %5")
                    .arg(path)
                    .arg(actual.width())
                    .arg(actual.height())
                    .arg(size.width())
                    .arg(size.height()));
        return true;
    }

private:
    QString m_file;
    QString m_error;
};

bool within(int value, int low, int high)
{
    return value >= low && value <= high;
}

bool checkOptions(Checker &c, const QJsonValue &value, const QString &item, std::array<QRect, 6> *options)
{
    const QJsonArray list = value.toArray();
    if (!value.isArray() || list.size() != 6)
        return c.fail(item, QStringLiteral("options must list 6 rectangles"));
    for (int k = 0; k < 6; ++k) {
        const QString where = QStringLiteral("%1: options[%2]").arg(item).arg(k + 1);
        QRect r;
        if (!c.rect(list.at(k), where, &r))
            return false;
        const bool upper = k < 3;
        const int topMin = upper ? UpperTopMin : LowerTopMin;
        const int topMax = upper ? UpperTopMax : LowerTopMax;
        if (!within(r.top(), topMin, topMax))
            return c.fail(where, QStringLiteral("top %1 outside %2..%3").arg(r.top()).arg(topMin).arg(topMax));
        if (!within(r.width(), WidthMin, WidthMax))
            return c.fail(where, QStringLiteral("width %1 outside %2..%3").arg(r.width()).arg(WidthMin).arg(WidthMax));
        if (!within(r.height(), HeightMin, HeightMax))
            return c.fail(
                where, QStringLiteral("height %1 outside %2..%3").arg(r.height()).arg(HeightMin).arg(HeightMax));
        if (r.left() + r.width() > RightMax)
            return c.fail(where, QStringLiteral("right edge %1 beyond %2").arg(r.left() + r.width()).arg(RightMax));
        if (r.top() + r.height() > BottomMax)
            return c.fail(where, QStringLiteral("bottom edge %1 beyond %2").arg(r.top() + r.height()).arg(BottomMax));
        // Options run left to right in their row, and a click lands on one option only.
        if (k % 3 != 0 && r.left() <= (*options)[k - 1].left())
            return c.fail(where, QStringLiteral("must stand right of option %1").arg(k));
        for (int j = 0; j < k; ++j) {
            if (r.intersects((*options)[j]))
                return c.fail(where, QStringLiteral("overlaps option %1").arg(j + 1));
        }
        (*options)[k] = r;
    }
    return true;
}

bool checkItem(Checker &c, const QDir &dir, const QJsonValue &value, int index, QVector<TestItem> *items)
{
    const QString entry = QStringLiteral("items[%1]").arg(index + 1);
    if (!value.isObject())
        return c.fail(entry, QStringLiteral("must be an object"));
    const QJsonObject o = value.toObject();
    TestItem item;
    if (!c.integer(o.value("number"), entry + QStringLiteral(": number"), &item.number))
        return false;
    if (!within(item.number, 1, TestContent::ItemCount))
        return c.fail(entry, QStringLiteral("number %1 outside 1..36").arg(item.number));
    if ((*items)[item.number - 1].number != 0)
        return c.fail(entry, QStringLiteral("item number %1 appears twice").arg(item.number));

    const QString where = QStringLiteral("item %1").arg(item.number);
    if (!c.integer(o.value("key"), where + QStringLiteral(": key"), &item.key))
        return false;
    if (!within(item.key, 1, 6))
        return c.fail(where, QStringLiteral("key %1 outside 1..6").arg(item.key));
    if (!checkOptions(c, o.value("options"), where, &item.options))
        return false;

    const QString picture = o.value("picture").toString();
    if (picture.isEmpty())
        return c.fail(where, QStringLiteral("picture is missing"));
    item.picturePath = dir.absoluteFilePath(picture);
    if (!c.picture(item.picturePath, where + QStringLiteral(": picture"),
            QSize(TestContent::PictureWidth, TestContent::PictureHeight)))
        return false;
    if (o.contains("picture2x")) {
        const QString picture2x = o.value("picture2x").toString();
        if (picture2x.isEmpty())
            return c.fail(where, QStringLiteral("picture2x must name a file"));
        item.picture2xPath = dir.absoluteFilePath(picture2x);
        if (!c.picture(item.picture2xPath, where + QStringLiteral(": picture2x"),
                QSize(2 * TestContent::PictureWidth, 2 * TestContent::PictureHeight)))
            return false;
    }
    (*items)[item.number - 1] = item;
    return true;
}

} // namespace

bool TestContent::load(const QString &contentDir, QString *error)
{
    const QDir dir(contentDir);
    const QString path = dir.absoluteFilePath(QStringLiteral("manifest.json"));
    Checker c(path);
    auto failed = [&] {
        if (error)
            *error = c.error();
        return false;
    };

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        c.fail(QString(), QStringLiteral("cannot open (%1)").arg(file.errorString()));
        return failed();
    }
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parse);
    if (parse.error != QJsonParseError::NoError) {
        c.fail(
            QString(), QStringLiteral("not valid JSON at offset %1 (%2)").arg(parse.offset).arg(parse.errorString()));
        return failed();
    }
    if (!doc.isObject()) {
        c.fail(QString(), QStringLiteral("must hold a JSON object"));
        return failed();
    }
    const QJsonObject root = doc.object();
    int version = 0;
    if (!c.integer(root.value("version"), QStringLiteral("version"), &version))
        return failed();
    if (version != 1) {
        c.fail(QStringLiteral("version"), QStringLiteral("%1 is not supported (expected 1)").arg(version));
        return failed();
    }

    const QJsonArray list = root.value("items").toArray();
    if (!root.value("items").isArray() || list.size() != ItemCount) {
        c.fail(QStringLiteral("items"), QStringLiteral("must list 36 items, found %1").arg(list.size()));
        return failed();
    }
    QVector<TestItem> items(ItemCount);
    for (int i = 0; i < ItemCount; ++i) {
        if (!checkItem(c, dir, list.at(i), i, &items))
            return failed();
    }

    const QString form = root.value("answerForm").toString();
    if (form.isEmpty()) {
        c.fail(QStringLiteral("answerForm"), QStringLiteral("is missing"));
        return failed();
    }
    const QString formPath = dir.absoluteFilePath(form);
    if (!c.picture(formPath, QStringLiteral("answerForm"), QSize()))
        return failed();

    QVector<QRect> boxes;
    if (root.contains("answerBoxes")) {
        const QJsonArray a = root.value("answerBoxes").toArray();
        if (a.size() != ItemCount) {
            c.fail(QStringLiteral("answerBoxes"), QStringLiteral("must list 36 rectangles"));
            return failed();
        }
        for (int i = 0; i < ItemCount; ++i) {
            QRect r;
            if (!c.rect(a.at(i), QStringLiteral("answerBoxes[%1]").arg(i + 1), &r))
                return failed();
            boxes.append(r);
        }
    }

    // Reliability of the test per age in whole years, optional: without it no
    // confidence interval is given.
    QMap<int, double> reliability;
    if (root.contains("reliability")) {
        const QJsonValue v = root.value("reliability");
        if (!v.isObject()) {
            c.fail(QStringLiteral("reliability"), QStringLiteral("must map ages to numbers"));
            return failed();
        }
        const QJsonObject ages = v.toObject();
        for (auto it = ages.begin(); it != ages.end(); ++it) {
            bool ok = false;
            const int age = it.key().toInt(&ok);
            const double r = it.value().toDouble(-1);
            const QString where = QStringLiteral("reliability: %1").arg(it.key());
            if (!ok || age < 0) {
                c.fail(where, QStringLiteral("is not an age in whole years"));
                return failed();
            }
            if (!it.value().isDouble() || !(r > 0 && r < 1)) {
                c.fail(where, QStringLiteral("must be a number between 0 and 1"));
                return failed();
            }
            reliability.insert(age, r);
        }
    }

    m_dir = dir.absolutePath();
    m_reliability = reliability;
    m_items = items;
    m_answerForm = formPath;
    m_answerBoxes = boxes;
    return true;
}

const QVector<TestItem> &TestContent::items() const
{
    return m_items;
}

QVector<int> TestContent::answerKey() const
{
    QVector<int> key;
    key.reserve(m_items.size());
    for (const TestItem &item : m_items)
        key.append(item.key);
    return key;
}

QString TestContent::answerFormPath() const
{
    return m_answerForm;
}

QVector<QRect> TestContent::answerBoxes() const
{
    return m_answerBoxes;
}

QString TestContent::artPath(const QString &name) const
{
    return QDir(m_dir).absoluteFilePath(QStringLiteral("art/%1.png").arg(name));
}

std::optional<double> TestContent::reliability(int age) const
{
    const auto it = m_reliability.constFind(age);
    if (it == m_reliability.constEnd())
        return std::nullopt;
    return *it;
}

QString TestContent::contentDir() const
{
    return m_dir;
}
