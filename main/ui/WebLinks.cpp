#include "ui/WebLinks.h"

#include "data/AppInfo.h"

#include <QDesktopServices>

namespace WebLinks {

namespace {
std::function<void(const QUrl &)> &opener()
{
    static std::function<void(const QUrl &)> f;
    return f;
}
} // namespace

QUrl helpPage()
{
    return QUrl(AppInfo::serverUrl() + QStringLiteral("/other/fonts.html"));
}
QUrl siteRoot()
{
    return QUrl(AppInfo::serverUrl() + QStringLiteral("/"));
}

void open(const QUrl &url)
{
    if (opener())
        opener()(url);
    else
        QDesktopServices::openUrl(url);
}

void setOpener(std::function<void(const QUrl &)> f)
{
    opener() = std::move(f);
}

} // namespace WebLinks
