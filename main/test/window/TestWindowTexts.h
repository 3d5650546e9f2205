#pragma once

#include <QString>

/// The texts of the test window Frm1.
namespace TestWindowTexts {

inline QString start()
{
    return QStringLiteral("شروع");
}
inline QString previous()
{
    return QStringLiteral("قبلي");
}
inline QString next()
{
    return QStringLiteral("بعدي");
}
inline QString result()
{
    return QStringLiteral("نتيجه");
}
inline QString exit()
{
    return QStringLiteral("خروج");
}
inline QString print()
{
    return QStringLiteral("پرينت");
}
inline QString rawScore()
{
    return QStringLiteral("نمره خام");
}
inline QString percentile()
{
    return QStringLiteral("رتبه درصدي");
}
inline QString iq()
{
    return QStringLiteral("هوش بهر");
}
inline QString errorTitle()
{
    return QStringLiteral("خطا");
}

/// The item counter's name for screen readers.
inline QString itemNumber()
{
    return QStringLiteral("شماره سوال");
}

} // namespace TestWindowTexts
