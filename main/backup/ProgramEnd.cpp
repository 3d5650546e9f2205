#include "backup/ProgramEnd.h"

#include <QCoreApplication>

namespace ProgramEnd {

namespace {
std::function<void()> &handler()
{
    static std::function<void()> h;
    return h;
}
} // namespace

void now()
{
    if (handler()) {
        handler()();
        return;
    }
    // exit() rather than quit(): quit() asks every window first, and the
    // hidden exit window must not be able to keep the program alive.
    QCoreApplication::exit(0);
}

void setHandler(std::function<void()> h)
{
    handler() = std::move(h);
}

} // namespace ProgramEnd
