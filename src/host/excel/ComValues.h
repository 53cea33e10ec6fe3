#pragma once

// Values in and out of automation calls, each with the type the application expects: the
// interface's 16-bit and 32-bit integers, single and double numbers, Booleans, text and
// objects. The interface's text is UTF-8 (the export converts what the testers send); it
// crosses as the UTF-16 of the same characters.

#include "export/Spreadsheet.h"
#include "host/excel/ComHandles.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kelvor::com {

// UTF-8 to UTF-16 and back; bytes that are not UTF-8 are read as Windows-1252.
std::wstring widen(const std::string& text);
std::string narrow(const wchar_t* text, std::size_t length);

Variant i2(std::int16_t value);
Variant i4(std::int32_t value);
Variant r4(float value);
Variant r8(double value);
Variant boolean(bool value);
Variant text(const std::string& value);
Variant text(const std::wstring& value);
Variant object(const DispatchPtr& value);
// A number of points: a 16-bit integer when it is whole and fits, a double otherwise.
Variant wholePoints(double points);

// A cell value as the interface holds it: empty, number, text, Boolean or date.
Variant fromCell(const xl::Variant& value);
// What the application answered for a cell; types it never gives for one are a 13.
xl::Variant toCell(const VARIANT& value);

// TextToColumns' FieldInfo, all of variants: one (column, format) pair as the array of its
// two numbers, several as an array of such arrays.
Variant fieldInfo(const std::vector<std::pair<std::int16_t, std::int16_t>>& columns);

// Answers converted as a property read needs them; 13 when the application answered
// something that does not convert.
std::int32_t toInt32(const VARIANT& value);
std::string toText(const VARIANT& value);
DispatchPtr toObject(const VARIANT& value);

} // namespace kelvor::com
