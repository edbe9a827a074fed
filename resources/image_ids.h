// Identifiers of the image resources.
#pragma once

namespace tavimor {

inline constexpr int kAppIcon = 101;
inline constexpr int kToolbarStrip = 200;  // 34 button images side by side
inline constexpr int kBrowseImage = 201;   // the browse button of the path fields
inline constexpr int kToolbarImageCount = 34;

}  // namespace tavimor
