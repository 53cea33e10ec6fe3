#pragma once

#include <cstdint>

// The spreadsheet application's enumeration values, passed as plain numbers the way its
// automation interface takes them; the one place they are written down.
namespace kelvor::xl {

inline constexpr std::int32_t xlCalculationManual = -4135;
inline constexpr std::int32_t xlCalculationAutomatic = -4105;
inline constexpr std::int32_t xlNone = -4142;
inline constexpr std::int32_t xlAutomatic = -4105;
inline constexpr std::int32_t xlLeft = -4131;
inline constexpr std::int32_t xlCenter = -4108;
inline constexpr std::int32_t xlRight = -4152;
inline constexpr std::int32_t xlTop = -4160;
inline constexpr std::int32_t xlBottom = -4107;
inline constexpr std::int32_t xlHorizontal = -4128;
inline constexpr std::int32_t xlWorksheet = -4167;
inline constexpr std::int32_t xlChart = -4109;
inline constexpr std::int32_t xlDelimited = 1;
inline constexpr std::int32_t xlTextQualifierDoubleQuote = 1;
inline constexpr std::int32_t xlTextQualifierNone = -4142;
inline constexpr std::int32_t xlGeneralFormat = 1;
inline constexpr std::int32_t xlShiftToLeft = -4159;
inline constexpr std::int32_t xlPasteValues = -4163;
inline constexpr std::int32_t xlSheetVisible = -1;
inline constexpr std::int32_t xlSheetHidden = 0;
inline constexpr std::int32_t xlXYScatterLinesNoMarkers = 75;
inline constexpr std::int32_t xlColumns = 2;
inline constexpr std::int32_t xlCategory = 1;
inline constexpr std::int32_t xlValue = 2;
inline constexpr std::int32_t xlPrimary = 1;
inline constexpr std::int32_t xlSecondary = 2;
inline constexpr std::int32_t xlContinuous = 1;
inline constexpr std::int32_t xlDot = -4118;
inline constexpr std::int32_t xlHairline = 1;
inline constexpr std::int32_t xlThin = 2;
inline constexpr std::int32_t xlUnderlineStyleNone = -4142;
inline constexpr std::int32_t xlMoveAndSize = 1;
inline constexpr std::int32_t msoTextOrientationHorizontal = 1;
inline constexpr std::int32_t msoTrue = -1;
inline constexpr std::int32_t msoFalse = 0;
inline constexpr std::int32_t msoLineSolid = 1;
inline constexpr std::int32_t msoLineSingle = 1;
inline constexpr std::int32_t xlMedium = -4138;
inline constexpr std::int32_t xlThick = 4;
inline constexpr std::int32_t xlDash = -4115;
inline constexpr std::int32_t xlDashDot = 4;
inline constexpr std::int32_t xlDashDotDot = 5;
inline constexpr std::int32_t xlDouble = -4119;
inline constexpr std::int32_t xlSlantDashDot = 13;
inline constexpr std::int32_t xlJustify = -4130;
inline constexpr std::int32_t xlDistributed = -4117;
inline constexpr std::int32_t xlUpward = -4171;
inline constexpr std::int32_t xlDownward = -4170;
inline constexpr std::int32_t xlVertical = -4166;
inline constexpr std::int32_t xlMove = 2;
inline constexpr std::int32_t xlFreeFloating = 3;
inline constexpr std::int32_t xlShiftUp = -4162;
inline constexpr std::int32_t msoCTrue = 1;
inline constexpr std::int32_t msoLineLongDashDot = 8;
inline constexpr std::int32_t msoLineThickBetweenThin = 5;
inline constexpr std::int32_t xlUnderlineStyleSingle = 2;
inline constexpr std::int32_t xlUnderlineStyleDouble = -4119;
inline constexpr std::int32_t xlUnderlineStyleSingleAccounting = 4;
inline constexpr std::int32_t xlUnderlineStyleDoubleAccounting = 5;
inline constexpr std::int32_t xlCalculationSemiautomatic = 2;
inline constexpr std::int32_t xlXYScatter = -4169;
inline constexpr std::int32_t xlXYScatterSmooth = 72;
inline constexpr std::int32_t xlXYScatterSmoothNoMarkers = 73;
inline constexpr std::int32_t xlXYScatterLines = 74;
inline constexpr std::int32_t xlRows = 1;
inline constexpr std::int32_t xlGeneral = 1;
inline constexpr std::int32_t xlPasteAll = -4104;
inline constexpr std::int32_t xlPasteFormats = -4122;
inline constexpr std::int32_t xlPasteFormulas = -4123;
inline constexpr std::int32_t msoTextOrientationUpward = 2;
inline constexpr std::int32_t msoTextOrientationDownward = 3;
inline constexpr std::int32_t msoTextOrientationVertical = 5;

} // namespace kelvor::xl
