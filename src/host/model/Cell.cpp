#include "host/model/Cell.h"

namespace kelvor {

std::string_view errorText(CellError error) {
    switch (error) {
    case CellError::Null:
        return "#NULL!";
    case CellError::Div0:
        return "#DIV/0!";
    case CellError::Value:
        return "#VALUE!";
    case CellError::Ref:
        return "#REF!";
    case CellError::Name:
        return "#NAME?";
    case CellError::Num:
        return "#NUM!";
    case CellError::NA:
        return "#N/A";
    }
    return "#VALUE!";
}

} // namespace kelvor
