#pragma once

class TestWindow;
class QWidget;
class RecordSource;
struct ClinicValues;

/// Start of a test (the main window's Command3): asks for the examinee code,
/// looks it up in IDE through \a Adodc1 and opens a fresh test window for it
/// in place of \a mainWindow, which the test window shows again on closing.
/// Any test window still open is closed first.
void StartTestByCode(QWidget *mainWindow, RecordSource *Adodc1, ClinicValues *clinic);

/// The test window StartTestByCode opened last, while it is open.
TestWindow *OpenTestWindow();
