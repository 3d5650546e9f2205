#pragma once

/// Where an item's option rectangles may stand, in twips within the picture:
/// two rows of three beneath the pattern, each option clear of the others.
namespace OptionRules {

constexpr int UpperTopMin = 3480;
constexpr int UpperTopMax = 4020;
constexpr int LowerTopMin = 4560;
constexpr int LowerTopMax = 5220;
constexpr int WidthMin = 1215;
constexpr int WidthMax = 2595;
constexpr int HeightMin = 795;
constexpr int HeightMax = 975;
constexpr int RightMax = 9375;
constexpr int BottomMax = 6195;

} // namespace OptionRules
