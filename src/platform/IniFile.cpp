#include "platform/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <string_view>
#include <vector>

namespace kelvor {
namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}
bool isQuote(char c) {
    return c == '"' || c == '\'';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && isQuote(value.front()) && value.front() == value.back()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

enum class LineKind { Other, Blank, Section, Key };

struct IniLine {
    std::size_t begin = 0; // first byte
    std::size_t end = 0;   // one past the last byte before the line break (CR LF or LF)
    std::size_t next = 0;  // first byte of the next line
    LineKind kind = LineKind::Other;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // key value, trimmed, quotes still on
};

void classify(IniLine& line, std::string_view text) {
    text = trim(text);
    if (text.empty()) {
        line.kind = LineKind::Blank;
    } else if (text.front() == ';') {
        line.kind = LineKind::Other;
    } else if (text.front() == '[') {
        const auto close = text.find(']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::Section;
            line.name = trim(text.substr(1, close - 1));
        }
    } else if (const auto equals = text.find('='); equals != std::string_view::npos) {
        line.name = trim(text.substr(0, equals));
        line.value = trim(text.substr(equals + 1));
        line.kind = line.name.empty() ? LineKind::Other : LineKind::Key;
    }
}

std::vector<IniLine> parseLines(std::string_view content) {
    std::vector<IniLine> lines;
    // An editor's byte-order mark is not part of the first line.
    std::size_t begin = content.starts_with(ByteOrderMark) ? ByteOrderMark.size() : 0;
    while (begin < content.size()) {
        const auto lineFeed = content.find('\n', begin);
        IniLine line;
        line.begin = begin;
        line.end = lineFeed == std::string_view::npos ? content.size() : lineFeed;
        line.next = lineFeed == std::string_view::npos ? content.size() : lineFeed + 1;
        if (lineFeed != std::string_view::npos && line.end > begin &&
            content[line.end - 1] == '\r') {
            --line.end;
        }
        classify(line, content.substr(begin, line.end - begin));
        lines.push_back(line);
        begin = line.next;
    }
    return lines;
}

// Lines [first, last) of the first section with that name; first is its header.
struct SectionSpan {
    std::size_t first = 0;
    std::size_t last = 0;
};

std::optional<SectionSpan> findSection(const std::vector<IniLine>& lines, std::string_view name) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == LineKind::Section && equalsIgnoringCase(lines[i].name, name)) {
            std::size_t last = i + 1;
            while (last < lines.size() && lines[last].kind != LineKind::Section) {
                ++last;
            }
            return SectionSpan{i, last};
        }
    }
    return std::nullopt;
}

const IniLine* findKey(const std::vector<IniLine>& lines, SectionSpan span, std::string_view key) {
    for (std::size_t i = span.first + 1; i < span.last; ++i) {
        if (lines[i].kind == LineKind::Key && equalsIgnoringCase(lines[i].name, key)) {
            return &lines[i];
        }
    }
    return nullptr;
}

enum class FileState { Missing, Read, Unreadable };

FileState readWholeFile(const std::string& path, std::string& content) {
    const QString name = QString::fromStdString(path);
    if (!QFileInfo::exists(name)) {
        return FileState::Missing;
    }
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        return FileState::Unreadable;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return FileState::Unreadable;
    }
    content.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return FileState::Read;
}

bool replaceFile(const std::string& path, const std::string& content) {
    QSaveFile file(QString::fromStdString(path));
    // A folder that takes no new files but holds a writable settings file: writing in place
    // is better than losing the settings.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const auto size = static_cast<qint64>(content.size());
    if (file.write(content.data(), size) != size) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

std::string lineEndingOf(std::string_view content) {
    const auto lineFeed = content.find('\n');
    return lineFeed != std::string_view::npos && lineFeed > 0 && content[lineFeed - 1] == '\r'
               ? "\r\n"
               : "\n";
}

// The value as it must stand in the file to read back unchanged.
std::string encodeValue(std::string value) {
    std::ranges::replace(value, '\r', ' ');
    std::ranges::replace(value, '\n', ' ');
    if (!value.empty() && (isBlank(value.front()) || isBlank(value.back()) ||
                           unquote(value).size() != value.size())) {
        value = '"' + value + '"';
    }
    return value;
}

bool isUsableName(std::string_view name, char forbidden) {
    return !name.empty() && name.front() != ';' && name.front() != '[' &&
           name.find_first_of(std::string{'\r', '\n', forbidden}) == std::string_view::npos;
}

} // namespace

std::optional<std::string> findProfileString(const std::string& section, const std::string& key,
                                             const std::string& path) {
    std::string content;
    if (readWholeFile(path, content) != FileState::Read) {
        return std::nullopt;
    }
    const auto lines = parseLines(content);
    const auto span = findSection(lines, trim(section));
    if (!span) {
        return std::nullopt;
    }
    const IniLine* line = findKey(lines, *span, trim(key));
    if (line == nullptr) {
        return std::nullopt;
    }
    return std::string(unquote(line->value));
}

std::string readProfileString(const std::string& section, const std::string& key,
                              const std::string& defaultValue, const std::string& path) {
    return findProfileString(section, key, path).value_or(defaultValue);
}

bool writeProfileString(const std::string& section, const std::string& key,
                        const std::string& value, const std::string& path) {
    const std::string_view sectionName = trim(section);
    const std::string_view keyName = trim(key);
    if (!isUsableName(sectionName, ']') || !isUsableName(keyName, '=')) {
        return false;
    }
    std::string content;
    if (readWholeFile(path, content) == FileState::Unreadable) {
        return false;
    }
    const std::string original = content;
    const std::string eol = lineEndingOf(content);
    const std::string encoded = encodeValue(value);
    const auto lines = parseLines(content);

    if (const auto span = findSection(lines, sectionName)) {
        if (const IniLine* line = findKey(lines, *span, keyName)) {
            content.replace(line->begin, line->end - line->begin,
                            std::string(line->name) + '=' + encoded);
        } else {
            std::size_t anchor = span->first;
            for (std::size_t i = span->first + 1; i < span->last; ++i) {
                if (lines[i].kind == LineKind::Key) {
                    anchor = i;
                }
            }
            const IniLine& after = lines[anchor];
            const bool hasLineBreak = after.next > after.end && content[after.next - 1] == '\n';
            const std::string entry = std::string(keyName) + '=' + encoded;
            content.insert(after.next, hasLineBreak ? entry + eol : eol + entry + eol);
        }
    } else {
        const bool hasText = content.size() > (content.starts_with(ByteOrderMark) ? 3U : 0U);
        if (hasText && content.back() != '\n') {
            content += eol;
        }
        if (hasText && lines.back().kind != LineKind::Blank) {
            content += eol; // a blank line between sections, for the reader of the file
        }
        content +=
            '[' + std::string(sectionName) + ']' + eol + std::string(keyName) + '=' + encoded + eol;
    }
    return content == original || replaceFile(path, content);
}

bool deleteProfileString(const std::string& section, const std::string& key,
                         const std::string& path) {
    std::string content;
    switch (readWholeFile(path, content)) {
    case FileState::Missing:
        return true;
    case FileState::Unreadable:
        return false;
    case FileState::Read:
        break;
    }
    const auto lines = parseLines(content);
    const auto span = findSection(lines, trim(section));
    if (!span) {
        return true;
    }
    const std::string_view keyName = trim(key);
    std::string kept;
    kept.reserve(content.size());
    std::size_t from = 0;
    bool removed = false;
    for (std::size_t i = span->first + 1; i < span->last; ++i) {
        if (lines[i].kind == LineKind::Key && equalsIgnoringCase(lines[i].name, keyName)) {
            kept.append(content, from, lines[i].begin - from);
            from = lines[i].next;
            removed = true;
        }
    }
    if (!removed) {
        return true;
    }
    kept.append(content, from, std::string::npos);
    return replaceFile(path, kept);
}

bool ensureFileExists(const std::string& path) {
    const QString name = QString::fromStdString(path);
    if (QFileInfo info(name); info.exists()) {
        return info.isFile();
    }
    QFile file(name);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        return true;
    }
    // Someone else may have made it in the meantime.
    return QFileInfo(name).isFile();
}

} // namespace kelvor
