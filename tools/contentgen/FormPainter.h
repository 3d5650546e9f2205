#pragma once

#include <QImage>
#include <QRect>
#include <array>

/// The answer boxes of items 1..36 on the answer form, in twips. Items 1-18
/// stand in the right-hand column, as the form reads right to left.
const std::array<QRect, 36> &answerBoxes();

/// The answer form, 8925 x 11520 twips at 300 dots per inch.
QImage paintAnswerForm();

/// The form at half size with sample entries where the scoring sheet prints
/// them, to check that captions and boxes line up.
QImage answerFormPreview();
