#pragma once

#include <optional>
#include <string>

namespace kelvor {

// Settings files in the Windows private-profile layout: "[section]" lines, "key=value" lines,
// ';' comments. Section and key names match without regard to case and to blanks around them;
// the first matching section, and the first matching key in it, wins. Values are raw bytes:
// blanks around them are dropped and one pair of matching quotes ('"' or '\'') around them is
// removed. Lines that are none of the above are ignored on reading and kept on writing.

// The value of a key; nothing when the file, the section or the key is missing.
std::optional<std::string> findProfileString(const std::string& section, const std::string& key,
                                             const std::string& path);

// The value of a key, or `defaultValue` when the file, the section or the key is missing.
std::string readProfileString(const std::string& section, const std::string& key,
                              const std::string& defaultValue, const std::string& path);

// Sets a key. An existing key line is rewritten in place, a new key goes after the last key of
// its section, a new section at the end of the file; every other byte is kept, and so is the
// file's line ending (LF for a new file). Line breaks inside the value become blanks. A value
// that would not read back as written (blanks or quotes at its ends) is written in quotes.
// The file is replaced in one step, never left half-written. False when the file cannot be
// read or written, or when the names cannot be written as a section or key name.
bool writeProfileString(const std::string& section, const std::string& key,
                        const std::string& value, const std::string& path);

// Removes a key: every line of it in the first section of that name. True when the key is then
// gone (also when the file, the section or the key was never there); false when the file
// cannot be read or written.
bool deleteProfileString(const std::string& section, const std::string& key,
                         const std::string& path);

// Creates an empty file when none is there. False when the path names something other than a
// file or the file cannot be created.
bool ensureFileExists(const std::string& path);

} // namespace kelvor
