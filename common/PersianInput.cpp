#include "common/PersianInput.h"

namespace PersianInput {

QString asciiDigits(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        const char16_t u = c.unicode();
        if (u >= 0x06F0 && u <= 0x06F9)
            c = QChar(char16_t(u'0' + (u - 0x06F0)));
        else if (u >= 0x0660 && u <= 0x0669)
            c = QChar(char16_t(u'0' + (u - 0x0660)));
    }
    return out;
}

QString foldedName(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case 0x064A: // Arabic yeh
        case 0x0649: // alef maksura
            out += QChar(char16_t(0x06CC));
            break;
        case 0x0643: // Arabic kaf
            out += QChar(char16_t(0x06A9));
            break;
        case 0x200C: // zero-width non-joiner
        case 0x200D: // zero-width joiner
            break;
        default:
            out += c;
        }
    }
    return out.trimmed();
}

} // namespace PersianInput
