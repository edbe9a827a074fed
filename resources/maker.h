// Where the makers of Tavimor can be reached: shown in the About box and
// behind the two link buttons of the toolbar.
#pragma once

#include <string_view>

namespace tavimor {

inline constexpr std::string_view kMakerWebAddress = "https://tavimor.org";
inline constexpr std::string_view kMakerMailAddress = "support@tavimor.org";

}  // namespace tavimor
