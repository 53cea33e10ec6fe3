#include "platform/LocaleNumbers.h"

namespace kelvor {

NumberSeparators numberSeparatorsOf(const QLocale& locale) {
    return {.decimalPoint = locale.decimalPoint().toStdString(),
            .groupSeparator = locale.groupSeparator().toStdString(),
            .minusSign = locale.negativeSign().toStdString(),
            .plusSign = locale.positiveSign().toStdString()};
}

} // namespace kelvor
