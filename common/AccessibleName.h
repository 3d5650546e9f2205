#pragma once

class QLabel;
class QString;
class QWidget;

/// Names \a field for screen readers after the caption beside it: the
/// caption becomes its buddy, and the name is the caption's words without
/// the colon and blanks that only set it off on screen.
void NameAfterCaption(QLabel *caption, QWidget *field);

/// The caption's words: \a caption without a leading or trailing colon
/// and blanks.
QString CaptionWords(const QString &caption);
