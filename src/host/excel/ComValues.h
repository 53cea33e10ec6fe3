#pragma once

// Values in and out of automation calls, each with the type the application expects: the
// interface's 16-bit and 32-bit integers, single and double numbers, Booleans, text and
// objects. Text crosses as Windows-1252, the reader's own encoding of what it received.

#include "export/Spreadsheet.h"
#include "host/excel/ComHandles.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kelvor::com {

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

// A cell value as the interface holds it: empty, number, text, Boolean or date.
Variant fromCell(const xl::Variant& value);
// What the application answered for a cell; types it never gives for one are a 13.
xl::Variant toCell(const VARIANT& value);

// TextToColumns' FieldInfo: an array of (column, format) arrays, all of variants.
Variant fieldInfo(const std::vector<std::pair<std::int16_t, std::int16_t>>& columns);

// Answers converted as a property read needs them; 13 when the application answered
// something that does not convert.
std::int32_t toInt32(const VARIANT& value);
std::string toText(const VARIANT& value);
DispatchPtr toObject(const VARIANT& value);

} // namespace kelvor::com
