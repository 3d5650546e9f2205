#pragma once

#include "test/content/TestItem.h"

#include <QMap>
#include <QRect>
#include <QString>
#include <QVector>

#include <optional>

/// The test materials of one content folder: the 36 items with their option
/// rectangles and key, the answer form picture and the window art.
///
/// Everything is checked when loaded, so the test window never runs on a
/// partial set: load() either takes the whole folder or nothing.
class TestContent
{
public:
    static constexpr int ItemCount = 36;
    static constexpr int PictureWidth = 633; // 9495 twips
    static constexpr int PictureHeight = 421; // 6315 twips

    /// Reads <contentDir>/manifest.json and checks it and the pictures. On
    /// failure returns false, keeps the previous content and sets *error to
    /// one message naming the file and the fault (item number, field).
    bool load(const QString &contentDir, QString *error);

    /// The loader's rules on one item's option rectangles (twips): empty
    /// when they pass, else the first fault ("گزينه 2: ...").
    static QString optionsFault(const std::array<QRect, 6> &options);

    const QVector<TestItem> &items() const; ///< 36 items, index 0 is item 1
    QVector<int> answerKey() const; ///< 36 entries 1..6, index 0 is item 1
    QString answerFormPath() const;
    /// The answer boxes of items 1..36 on the answer form (twips), when the
    /// manifest lists them; empty otherwise.
    QVector<QRect> answerBoxes() const;
    /// <contentDir>/art/<name>.png, e.g. artPath("main_background").
    QString artPath(const QString &name) const;
    QString contentDir() const;
    /// The test's reliability at \a age (whole years), when the manifest
    /// states one for that age.
    std::optional<double> reliability(int age) const;

private:
    QString m_dir;
    QVector<TestItem> m_items;
    QString m_answerForm;
    QVector<QRect> m_answerBoxes;
    QMap<int, double> m_reliability;
};
