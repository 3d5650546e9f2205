#pragma once

#include <QString>

namespace DataFolderText {

/// The one-time question when a program folder holds data from before the
/// per-user data folder: %1 the program folder, %2 the data folder.
inline const QString copyOldData = QStringLiteral("اطلاعات آزمودني ها در پوشه برنامه پيدا شد:\n%1\n\n"
                                                  "از اين پس اطلاعات در اين پوشه نگهداري مي شود:\n%2\n\n"
                                                  "آيا ميخواهيد اطلاعات قبلي به اين پوشه کپي شود؟\n"
                                                  "بله: اطلاعات کپي مي شود و فايل هاي قبلي در جاي خود باقي مي مانند.\n"
                                                  "خير: برنامه با اطلاعات خالي شروع مي شود.");

/// The version label's tooltip: %1 the data folder.
inline const QString dataFolderTip = QStringLiteral("پوشه اطلاعات: %1");

} // namespace DataFolderText
