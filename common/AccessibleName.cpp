#include "common/AccessibleName.h"

#include <QLabel>
#include <QString>

QString CaptionWords(const QString &caption)
{
    QString words = caption;
    const auto isDecoration = [](QChar c) { return c.isSpace() || c == QLatin1Char(':') || c == QChar(0x061B); };
    while (!words.isEmpty() && isDecoration(words.front()))
        words.remove(0, 1);
    while (!words.isEmpty() && isDecoration(words.back()))
        words.chop(1);
    return words;
}

void NameAfterCaption(QLabel *caption, QWidget *field)
{
    caption->setBuddy(field);
    field->setAccessibleName(CaptionWords(caption->text()));
}
