#include "host/app/textimport/TextSplit.h"

#include "host/app/errors/HostErrors.h"

namespace kelvor {

namespace {

// Length of the delimiter at `pos`, 0 when there is none.
std::size_t delimiterAt(std::string_view line, std::size_t pos, const SplitRule& rule) {
    const char c = line[pos];
    if ((rule.tab && c == '\t') || (rule.semicolon && c == ';') || (rule.comma && c == ',') ||
        (rule.space && c == ' ')) {
        return 1;
    }
    if (!rule.other.empty() && line.substr(pos, rule.other.size()) == rule.other) {
        return rule.other.size();
    }
    return 0;
}

std::string firstCharacter(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    std::size_t length = 1;
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead >= 0xF0) {
        length = 4;
    } else if (lead >= 0xE0) {
        length = 3;
    } else if (lead >= 0xC0) {
        length = 2;
    }
    return text.substr(0, length);
}

} // namespace

SplitRule splitRule(const xl::TextToColumnsOptions& options) {
    if (options.dataType != xl::xlDelimited) {
        throw methodError("TextToColumns method of Range class failed");
    }
    SplitRule rule;
    rule.tab = options.tab;
    rule.semicolon = options.semicolon;
    rule.comma = options.comma;
    rule.space = options.space;
    rule.consecutiveAsOne = options.consecutiveDelimiter;
    if (options.other) {
        rule.other = firstCharacter(options.otherChar);
    }
    switch (options.textQualifier) {
    case xl::xlTextQualifierDoubleQuote:
        rule.qualifier = '"';
        break;
    case 2: // single quote
        rule.qualifier = '\'';
        break;
    case xl::xlTextQualifierNone:
        rule.qualifier = '\0';
        break;
    default:
        throw methodError("TextToColumns method of Range class failed");
    }
    return rule;
}

std::vector<std::string> splitLine(std::string_view line, const SplitRule& rule) {
    std::vector<std::string> fields;
    std::string field;
    std::size_t pos = 0;
    bool quoted = false; // inside a qualified part
    bool fieldStart = true;
    while (pos < line.size()) {
        const char c = line[pos];
        if (quoted) {
            if (c == rule.qualifier) {
                if (pos + 1 < line.size() && line[pos + 1] == rule.qualifier) {
                    field += c;
                    pos += 2;
                    continue;
                }
                quoted = false;
            } else {
                field += c;
            }
            ++pos;
            continue;
        }
        if (fieldStart && rule.qualifier != '\0' && c == rule.qualifier) {
            quoted = true;
            fieldStart = false;
            ++pos;
            continue;
        }
        if (const auto length = delimiterAt(line, pos, rule)) {
            fields.push_back(std::move(field));
            field.clear();
            pos += length;
            if (rule.consecutiveAsOne) {
                while (pos < line.size()) {
                    const auto next = delimiterAt(line, pos, rule);
                    if (next == 0) {
                        break;
                    }
                    pos += next;
                }
            }
            fieldStart = true;
            continue;
        }
        field += c;
        fieldStart = false;
        ++pos;
    }
    fields.push_back(std::move(field));
    return fields;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (text[pos] == '\n' || text[pos] == '\r') {
            lines.push_back(text.substr(start, pos - start));
            if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') {
                ++pos;
            }
            start = pos + 1;
        }
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

} // namespace kelvor
