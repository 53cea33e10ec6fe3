#pragma once

#include <QLocale>

#include <optional>
#include <string_view>

namespace kelvor {

// The trace offset typed in the setup dialog: its leading decimal number (blanks ignored,
// anything after the number ignored, 0 when it does not begin with one) in single precision.
// A point is always a decimal separator; the locale's own decimal separator is one as well, so
// the text the dialog shows reads back as the same value. Nothing when the number does not fit
// in single precision.
std::optional<float> readTraceOffset(std::string_view text, const QLocale& locale);

} // namespace kelvor
