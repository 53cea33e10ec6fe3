#include "ReplayScript.h"

#include "../ReplayFormat.h"

#include <fstream>

namespace kelvor::test::replay {

std::size_t ScriptSection::calls() const {
    std::size_t n = 0;
    for (const ScriptLine& line : lines) {
        n += line.kind == ScriptLine::Kind::Call ? 1 : 0;
    }
    return n;
}

std::vector<ScriptSection> readScript(const std::filesystem::path& file) {
    std::vector<ScriptSection> sections;
    std::ifstream in(file, std::ios::binary);
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        if (text.starts_with("start #")) {
            sections.push_back({std::stoi(text.substr(7)), {}});
            continue;
        }
        if (sections.empty() || text.empty()) {
            continue;
        }
        ScriptLine line;
        line.number = number;
        if (text == "end") {
            line.kind = ScriptLine::Kind::End;
        } else if (text.starts_with("clipboard ")) {
            line.kind = ScriptLine::Kind::Clipboard;
            line.call = text.substr(10);
        } else {
            const std::size_t tab = text.find(AnswerSeparator);
            line.call = text.substr(0, tab);
            line.answer = tab == std::string::npos ? empty() : text.substr(tab + 1);
        }
        sections.back().lines.push_back(std::move(line));
    }
    return sections;
}

} // namespace kelvor::test::replay
