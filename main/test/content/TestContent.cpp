#include "test/content/TestContent.h"

#include "test/content/CheckTexts.h"
#include "test/content/OptionRules.h"
#include "test/content/PictureCheck.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSize>
#include <QStringList>

#include <cmath>

namespace {

using namespace OptionRules;

// "<file>: <item>: <option>: <fault>", the parts that are given.
QString place(QStringList parts)
{
    parts.removeAll(QString());
    return parts.join(QStringLiteral(": "));
}

// Collects the first fault with its place, so every message has one form:
// "<file>: سوال 7: گزينه 2: ...".
class Checker
{
public:
    explicit Checker(QString file)
        : m_file(std::move(file))
    {
    }

    bool fail(const QString &where, const QString &what)
    {
        if (m_error.isEmpty()) {
            m_error = place({ m_file, where, what });
        }
        return false;
    }
    QString error() const { return m_error; }

    bool integer(const QJsonValue &v, const QString &where, int *out)
    {
        const double d = v.toDouble();
        if (!v.isDouble() || std::abs(d) > 1e9 || std::floor(d) != d)
            return fail(where, CheckTexts::wholeNumber);
        *out = v.toInt();
        return true;
    }

    bool rect(const QJsonValue &v, const QString &where, QRect *out)
    {
        const QJsonArray a = v.toArray();
        if (!v.isArray() || a.size() != 4)
            return fail(where, CheckTexts::rectangle);
        int n[4];
        for (int i = 0; i < 4; ++i) {
            if (!integer(a.at(i), where, &n[i]))
                return false;
        }
        if (n[0] < 0 || n[1] < 0 || n[2] <= 0 || n[3] <= 0)
            return fail(where, CheckTexts::rectangleValues);
        *out = QRect(n[0], n[1], n[2], n[3]);
        return true;
    }

    // A picture that decodes to its last row, optionally of an exact size.
    bool picture(const QString &path, const QString &where, const QSize &size)
    {
        const QFileInfo info(path);
        if (!info.exists())
            return fail(where, CheckTexts::pictureMissing.arg(path));
        QSize actual;
        if (!wholePicture(info, where, &actual))
            return false;
        if (size.isValid() && actual != size)
            return fail(where,
                CheckTexts::pictureSize.arg(path)
                    .arg(actual.width())
                    .arg(actual.height())
                    .arg(size.width())
                    .arg(size.height()));
        return true;
    }

private:
    // Decoding all pictures takes a good part of a second; a file once found
    // whole is taken as whole while its size and time stay the same.
    struct Verified
    {
        qint64 bytes = 0;
        QDateTime modified;
        QSize size;
    };

    bool wholePicture(const QFileInfo &info, const QString &where, QSize *size)
    {
        static QHash<QString, Verified> verified;
        const QString path = info.absoluteFilePath();
        const auto known = verified.constFind(path);
        if (known != verified.constEnd() && known->bytes == info.size() && known->modified == info.lastModified()) {
            *size = known->size;
            return true;
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return fail(where, CheckTexts::pictureUnreadable.arg(info.filePath(), file.errorString()));
        QString why;
        switch (PictureCheck::check(file.readAll(), path, size, &why)) {
        case PictureCheck::Outcome::Unreadable:
            return fail(where, CheckTexts::pictureUnreadable.arg(info.filePath(), why));
        case PictureCheck::Outcome::Cut:
            return fail(where, CheckTexts::pictureCut.arg(info.filePath()));
        case PictureCheck::Outcome::Whole:
            break;
        }
        verified.insert(path, { info.size(), info.lastModified(), *size });
        return true;
    }

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
        return c.fail(item + QStringLiteral(": options"), CheckTexts::sixOptions);
    for (int k = 0; k < 6; ++k) {
        const QString where = place({ item, CheckTexts::option.arg(k + 1) });
        QRect r;
        if (!c.rect(list.at(k), where, &r))
            return false;
        const bool upper = k < 3;
        const int topMin = upper ? UpperTopMin : LowerTopMin;
        const int topMax = upper ? UpperTopMax : LowerTopMax;
        if (!within(r.top(), topMin, topMax))
            return c.fail(where, CheckTexts::topRange.arg(r.top()).arg(topMin).arg(topMax));
        if (!within(r.width(), WidthMin, WidthMax))
            return c.fail(where, CheckTexts::widthRange.arg(r.width()).arg(WidthMin).arg(WidthMax));
        if (!within(r.height(), HeightMin, HeightMax))
            return c.fail(where, CheckTexts::heightRange.arg(r.height()).arg(HeightMin).arg(HeightMax));
        if (r.left() + r.width() > RightMax)
            return c.fail(where, CheckTexts::rightEdge.arg(r.left() + r.width()).arg(RightMax));
        if (r.top() + r.height() > BottomMax)
            return c.fail(where, CheckTexts::bottomEdge.arg(r.top() + r.height()).arg(BottomMax));
        // Options run left to right in their row, and a click lands on one option only.
        if (k % 3 != 0 && r.left() <= (*options)[k - 1].left())
            return c.fail(where, CheckTexts::order.arg(k));
        for (int j = 0; j < k; ++j) {
            if (r.intersects((*options)[j]))
                return c.fail(where, CheckTexts::overlaps.arg(j + 1));
        }
        (*options)[k] = r;
    }
    return true;
}

bool checkItem(Checker &c, const QDir &dir, const QJsonValue &value, int index, QVector<TestItem> *items)
{
    const QString entry = CheckTexts::itemEntry.arg(index + 1);
    if (!value.isObject())
        return c.fail(entry, CheckTexts::notObject);
    const QJsonObject o = value.toObject();
    TestItem item;
    if (!c.integer(o.value("number"), entry + QStringLiteral(": number"), &item.number))
        return false;
    if (!within(item.number, 1, TestContent::ItemCount))
        return c.fail(entry, CheckTexts::numberRange.arg(item.number));
    if ((*items)[item.number - 1].number != 0)
        return c.fail(entry, CheckTexts::numberTwice.arg(item.number));

    const QString where = CheckTexts::item.arg(item.number);
    if (!c.integer(o.value("key"), where + QStringLiteral(": key"), &item.key))
        return false;
    if (!within(item.key, 1, 6))
        return c.fail(where, CheckTexts::keyRange.arg(item.key));
    if (!checkOptions(c, o.value("options"), where, &item.options))
        return false;

    const QString picture = o.value("picture").toString();
    if (picture.isEmpty())
        return c.fail(where, CheckTexts::noPicture);
    item.picturePath = dir.absoluteFilePath(picture);
    if (!c.picture(item.picturePath, where + QStringLiteral(": picture"),
            QSize(TestContent::PictureWidth, TestContent::PictureHeight)))
        return false;
    if (o.contains("picture2x")) {
        const QString picture2x = o.value("picture2x").toString();
        if (picture2x.isEmpty())
            return c.fail(where, CheckTexts::noPicture2x);
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
        c.fail(QString(), CheckTexts::cannotOpen.arg(file.errorString()));
        return failed();
    }
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parse);
    if (parse.error != QJsonParseError::NoError) {
        c.fail(QString(), CheckTexts::badJson.arg(parse.offset).arg(parse.errorString()));
        return failed();
    }
    if (!doc.isObject()) {
        c.fail(QString(), CheckTexts::notObject);
        return failed();
    }
    const QJsonObject root = doc.object();
    int version = 0;
    if (!c.integer(root.value("version"), QStringLiteral("version"), &version))
        return failed();
    if (version != 1) {
        c.fail(QStringLiteral("version"), CheckTexts::versionUnsupported.arg(version));
        return failed();
    }

    const QJsonArray list = root.value("items").toArray();
    if (!root.value("items").isArray() || list.size() != ItemCount) {
        c.fail(QStringLiteral("items"), CheckTexts::itemCount.arg(list.size()));
        return failed();
    }
    QVector<TestItem> items(ItemCount);
    for (int i = 0; i < ItemCount; ++i) {
        if (!checkItem(c, dir, list.at(i), i, &items))
            return failed();
    }

    const QString form = root.value("answerForm").toString();
    if (form.isEmpty()) {
        c.fail(QStringLiteral("answerForm"), CheckTexts::missing);
        return failed();
    }
    const QString formPath = dir.absoluteFilePath(form);
    if (!c.picture(formPath, QStringLiteral("answerForm"), QSize()))
        return failed();

    QVector<QRect> boxes;
    if (root.contains("answerBoxes")) {
        const QJsonArray a = root.value("answerBoxes").toArray();
        if (a.size() != ItemCount) {
            c.fail(QStringLiteral("answerBoxes"), CheckTexts::boxCount);
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
            c.fail(QStringLiteral("reliability"), CheckTexts::reliabilityMap);
            return failed();
        }
        const QJsonObject ages = v.toObject();
        for (auto it = ages.begin(); it != ages.end(); ++it) {
            bool ok = false;
            const int age = it.key().toInt(&ok);
            const double r = it.value().toDouble(-1);
            const QString where = QStringLiteral("reliability: %1").arg(it.key());
            if (!ok || age < 0) {
                c.fail(where, CheckTexts::reliabilityAge);
                return failed();
            }
            if (!it.value().isDouble() || !(r > 0 && r < 1)) {
                c.fail(where, CheckTexts::reliabilityValue);
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

QString TestContent::optionsFault(const std::array<QRect, 6> &options)
{
    QJsonArray list;
    for (const QRect &r : options)
        list.append(QJsonArray { r.x(), r.y(), r.width(), r.height() });
    Checker c { QString() };
    std::array<QRect, 6> checked;
    if (checkOptions(c, list, QString(), &checked))
        return QString();
    return c.error();
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
