#pragma once

#include <QString>

class MainWindow;
class TestWindow;
class ContentWindow;
class QWidget;
class RecordSource;
struct ClinicValues;

/// Creates, loads and shows a main window with its hand-overs connected (the
/// test window, the records window, the update window, the exit window). A
/// database that is missing or not one of ours is reported in an error box
/// naming the file; then the window is not shown and nullptr is returned.
MainWindow *OpenMainWindow();

/// Connects a main window's requests to the other windows.
void ConnectHandovers(MainWindow *window);

/// Start of a test (the main window's Command3): asks for the examinee code,
/// looks it up in IDE through \a Adodc1 and opens a fresh test window for it
/// in place of \a mainWindow, which the test window shows again on closing.
/// Any test window still open is closed first.
void StartTestByCode(QWidget *mainWindow, RecordSource *Adodc1, ClinicValues *clinic);

/// The content window over \a owner, modal: a pack installed there is in use
/// from the next test on. Returns the window (deleted on closing).
ContentWindow *OpenContentWindow(QWidget *owner);

/// The test window StartTestByCode opened last, while it is open.
TestWindow *OpenTestWindow();
