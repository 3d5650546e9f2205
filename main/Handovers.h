#pragma once

#include <QString>

class MainWindow;

/// Wires the main window's buttons to the other windows: the test window,
/// the records window, the update window and the exit window.
void InstallHandovers();

/// Creates, loads and shows a main window. A database that is missing or
/// not one of ours is reported in an error box naming the file; then the
/// window is not shown and nullptr is returned.
MainWindow *OpenMainWindow();
