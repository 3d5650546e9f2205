#pragma once

#include "test/content/ContentPack.h"

#include <QImage>
#include <QRect>
#include <QStringList>
#include <QVector>

#include <array>

/// A content pack being edited: the items' pictures, option rectangles and
/// keys, and the norms, kept in the pack's manifest and files.
class ContentDraft
{
public:
    static constexpr int ItemCount = 36;

    /// Starts from a content folder (the one in use).
    bool load(const QString &contentDir, QString *error);

    ContentPack &pack() { return m_pack; }
    const ContentPack &pack() const { return m_pack; }

    std::array<QRect, 6> options(int item) const; ///< twips; item 1..36
    void setOptions(int item, const std::array<QRect, 6> &options);
    int key(int item) const;
    void setKey(int item, int option);
    /// The item's picture as stored in the pack (633 x 421).
    QImage picture(int item) const;
    /// Scales \a source into the item box (633 x 421, kept in proportion on
    /// white) and keeps a 2x copy when the source has the pixels for it.
    void setPicture(int item, const QImage &source);
    bool hasSharpCopy(int item) const;

    QVector<QStringList> norms() const;
    void setNorms(const QVector<QStringList> &table);

private:
    QJsonObject item(int item) const;
    void setItem(int item, const QJsonObject &value);

    ContentPack m_pack;
};
