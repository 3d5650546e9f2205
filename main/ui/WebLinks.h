#pragma once

#include <QUrl>

#include <functional>

/// The vendor's pages, opened in the user's default browser; nothing is reported.
namespace WebLinks {

QUrl helpPage(); ///< server + "/other/fonts.html"
QUrl siteRoot(); ///< server + "/"
void open(const QUrl &url);
/// Tests catch the addresses instead of starting a browser.
void setOpener(std::function<void(const QUrl &)> opener);

} // namespace WebLinks
