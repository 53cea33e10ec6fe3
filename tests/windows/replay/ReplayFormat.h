#pragma once

// How a recorded automation call is written, one per line, so that the recording and the
// calls the replay server receives compare as text. A call line is
//   #<object> <get|put|call> <Member>[ <value>]...[ <Name>=<value>]...<TAB><answer>
// a value is TYPE:text ("I2:5", "R8:54", "BSTR:\"Data 1\"", "DISPATCH:#12", "EMPTY"), an
// answer a value, a new object ("#12 Worksheet") or an error ("ERROR 1004 \"src\" \"text\"").
// Other lines: "start #<object>" (a new application hands out that object), "end" (the
// application ends at the next call), "clipboard <value>" (what the system clipboard holds at
// the next call). Standard library only: the recorder and the server both use it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvor::test::replay {

inline constexpr char AnswerSeparator = '\t';

// Text between double quotes, with backslash escapes for quotes, backslashes and control
// characters; UTF-8 is kept as it is.
std::string quoted(std::string_view utf8);
// Reads a quoted text from the start of `in` and moves past it.
std::optional<std::string> unquote(std::string_view& in);

// Shortest texts that read back as the same number.
std::string numberText(double value);
std::string numberText(float value);

std::string i2(std::int16_t value);
std::string i4(std::int32_t value);
std::string r4(float value);
std::string r8(double value);
std::string boolean(bool value);
std::string bstr(std::string_view utf8);
std::string date(double serial);
std::string empty();
std::string object(int id);
std::string array(const std::vector<std::string>& items);

std::string objectAnswer(int id, std::string_view type);
std::string errorAnswer(int number, std::string_view source, std::string_view description);

// A call line without its answer.
std::string callText(int object, std::string_view kind, std::string_view member,
                     const std::vector<std::string>& args,
                     const std::vector<std::pair<std::string, std::string>>& named);

} // namespace kelvor::test::replay
