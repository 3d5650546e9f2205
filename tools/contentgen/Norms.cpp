#include "Norms.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Mean[] = { 13.0, 16.0, 19.0, 22.0, 25.0, 27.5 };
constexpr double Sd[] = { 5.5, 5.5, 5.5, 5.5, 5.0, 4.5 };

} // namespace

QByteArray normsCsv()
{
    QByteArray csv = "Code,5,6,7,8,9,10,5p,6p,7p,8p,9p,10p\n";
    for (int raw = 5; raw <= 36; ++raw) {
        QByteArray iq;
        QByteArray rank;
        for (int age = 0; age < 6; ++age) {
            const double z = (raw - Mean[age]) / Sd[age];
            const long q = std::clamp(std::lround(100 + 15 * z), 20L, 160L);
            const long p = std::clamp(std::lround(100 * 0.5 * std::erfc(-z / std::sqrt(2.0))), 1L, 99L);
            iq += ',' + QByteArray::number(static_cast<qlonglong>(q));
            rank += ',' + QByteArray::number(static_cast<qlonglong>(p));
        }
        csv += QByteArray::number(raw) + iq + rank + '\n';
    }
    return csv;
}
