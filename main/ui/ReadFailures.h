#pragma once

#include <initializer_list>

class QWidget;
class RecordSource;

/// Every failed read of \a sources that no caller took (a refresh or a
/// filter change that finds the database locked, ...) is shown in an error
/// box owned by \a owner, so an old copy is never taken for the file.
void ShowReadFailures(QWidget *owner, std::initializer_list<RecordSource *> sources);
