#include "runner/reporting_platform.h"

namespace runner {

int ReportingPlatform::messageBox(const std::string& text, const std::string& caption,
                                  std::uint32_t style) {
    if ((style & platform::mb::ICONMASK) != platform::mb::ICONERROR) {
        return inner().messageBox(text, caption, style);
    }
    errorAddendum = addendum ? addendum() : std::string();
    errorText = errorAddendum.empty() ? text : text + "\n\n" + errorAddendum;
    return inner().messageBox(errorText, caption, style);
}

}  // namespace runner
