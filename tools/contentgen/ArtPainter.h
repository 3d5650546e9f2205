#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <vector>

/// One window picture: its file name without extension and how to draw it.
struct ArtPicture
{
    QString name;
    std::function<QImage()> paint;
};

/// Every window picture the program ships, in a fixed order.
std::vector<ArtPicture> artPictures();
