#include "export/ReportLines.h"

namespace kelvor {

xl::TextToColumnsOptions reportLineSplit() {
    xl::TextToColumnsOptions options;
    options.dataType = xl::xlDelimited;
    options.textQualifier = xl::xlTextQualifierDoubleQuote;
    options.consecutiveDelimiter = false;
    options.tab = false;
    options.semicolon = false;
    options.comma = true;
    options.space = false;
    options.other = false;
    options.otherChar = ":";
    options.fieldInfo = {{1, xl::xlGeneralFormat}};
    return options;
}

} // namespace kelvor
