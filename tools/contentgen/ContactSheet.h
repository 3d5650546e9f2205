#pragma once

#include <QDir>
#include <QImage>

/// All 36 item pictures of `contentDir` in a 6 x 6 grid with their numbers.
QImage contactSheet(const QDir &contentDir);
