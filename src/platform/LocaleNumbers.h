#pragma once

#include "util/NumberText.h"

#include <QLocale>

namespace kelvor {

// The separators and signs a Qt locale writes numbers with, for the core's number texts.
NumberSeparators numberSeparatorsOf(const QLocale& locale);

inline std::optional<double> parseLocaleNumber(std::string_view text, const QLocale& locale) {
    return parseLocaleNumber(text, numberSeparatorsOf(locale));
}

inline std::string formatSingle(float value, const QLocale& locale) {
    return formatSingle(value, numberSeparatorsOf(locale));
}

} // namespace kelvor
