#pragma once

#include <functional>

/// Ending the program from its last windows (the exit and backup windows).
namespace ProgramEnd {

/// Leaves the event loop with exit code 0, nested loops included.
void now();

/// Tests watch the end instead of leaving; an empty handler restores the default.
void setHandler(std::function<void()> handler);

} // namespace ProgramEnd
