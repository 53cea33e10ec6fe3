// xmlError where Qt's XML reader is not at hand (the Windows build): a well-formedness check of
// XML 1.0 without a document type, which is all a package part may hold.
#include "XlsxPackage.h"

#include <cstdint>
#include <set>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace kelvor::test {

namespace {

class Malformed : public std::runtime_error {
public:
    Malformed(const std::string& what, std::size_t at)
        : std::runtime_error(what + " at byte " + std::to_string(at)) {}
};

bool isXmlChar(std::uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// Every byte sequence must be UTF-8 (shortest form, no surrogates) of a character XML allows.
void checkCharacters(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        std::uint32_t c = length == 1 ? lead : lead & (0x7F >> length);
        if ((lead >= 0x80 && lead < 0xC2) || lead > 0xF4 || i + length > text.size()) {
            throw Malformed("not UTF-8", i);
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                throw Malformed("not UTF-8", i);
            }
            c = c << 6 | (next & 0x3F);
        }
        const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < least[length] || !isXmlChar(c)) {
            throw Malformed("a character XML does not allow", i);
        }
        i += length;
    }
}

class Checker {
public:
    explicit Checker(std::string_view xml) : s_(xml) {}

    void run() {
        checkCharacters(s_);
        if (s_.substr(0, 3) == "\xEF\xBB\xBF") {
            at_ = 3;
        }
        if (s_.substr(at_, 6) == "<?xml ") {
            instruction(true);
        }
        bool rootSeen = false;
        while (at_ < s_.size()) {
            if (isSpace(s_[at_])) {
                ++at_;
            } else if (starts("<!--")) {
                comment();
            } else if (starts("<?")) {
                instruction(false);
            } else if (starts("<") && !rootSeen && !starts("<!") && !starts("</")) {
                element();
                rootSeen = true;
            } else {
                throw Malformed(rootSeen ? "content after the root element" : "no root element",
                                at_);
            }
        }
        if (!rootSeen) {
            throw Malformed("no root element", at_);
        }
    }

private:
    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
    static bool isNameChar(char c, bool first) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 0x80 || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
               c == ':' || (!first && ((c >= '0' && c <= '9') || c == '-' || c == '.'));
    }
    bool starts(std::string_view what) const { return s_.substr(at_, what.size()) == what; }
    void skipSpace() {
        while (at_ < s_.size() && isSpace(s_[at_])) {
            ++at_;
        }
    }
    void expect(std::string_view what) {
        if (!starts(what)) {
            throw Malformed("expected '" + std::string(what) + "'", at_);
        }
        at_ += what.size();
    }
    std::string_view name() {
        const auto from = at_;
        while (at_ < s_.size() && isNameChar(s_[at_], at_ == from)) {
            ++at_;
        }
        if (at_ == from) {
            throw Malformed("expected a name", at_);
        }
        return s_.substr(from, at_ - from);
    }
    std::size_t find(std::string_view what) const {
        const auto end = s_.find(what, at_);
        if (end == std::string_view::npos) {
            throw Malformed("unterminated '" + std::string(what) + "'", at_);
        }
        return end;
    }

    void comment() {
        at_ += 4;
        const auto end = find("--");
        if (s_.substr(end, 3) != "-->") {
            throw Malformed("'--' inside a comment", end);
        }
        at_ = end + 3;
    }

    void instruction(bool declaration) {
        at_ += 2;
        const auto target = name();
        if (!declaration && target.size() == 3 && (target[0] | 0x20) == 'x' &&
            (target[1] | 0x20) == 'm' && (target[2] | 0x20) == 'l') {
            throw Malformed("an XML declaration not at the start", at_);
        }
        at_ = find("?>") + 2;
    }

    // After '&': one of the predefined entities or a character reference.
    void reference() {
        const auto from = at_++;
        if (starts("#")) {
            ++at_;
            const bool hex = starts("x");
            at_ += hex ? 1 : 0;
            std::uint64_t value = 0;
            std::size_t digits = 0;
            for (; at_ < s_.size() && s_[at_] != ';'; ++at_, ++digits) {
                const char c = s_[at_];
                const int digit = c >= '0' && c <= '9'          ? c - '0'
                                  : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                                  : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                                : -1;
                if (digit < 0 || digits > 8) {
                    throw Malformed("a bad character reference", from);
                }
                value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
            }
            if (digits == 0 || !isXmlChar(static_cast<std::uint32_t>(value))) {
                throw Malformed("a reference to a character XML does not allow", from);
            }
        } else {
            const auto entity = name();
            if (entity != "lt" && entity != "gt" && entity != "amp" && entity != "quot" &&
                entity != "apos") {
                throw Malformed("an undeclared entity", from);
            }
        }
        expect(";");
    }

    void element() {
        std::vector<std::string_view> open;
        do {
            if (starts("</")) {
                at_ += 2;
                const auto closing = name();
                skipSpace();
                expect(">");
                if (open.empty() || open.back() != closing) {
                    throw Malformed("an end tag that closes no open element", at_);
                }
                open.pop_back();
            } else if (starts("<!--")) {
                comment();
            } else if (starts("<![CDATA[")) {
                at_ = find("]]>") + 3;
            } else if (starts("<?")) {
                instruction(false);
            } else if (starts("<")) {
                ++at_;
                const auto tag = name();
                if (!startTag()) {
                    open.push_back(tag);
                }
            } else if (starts("&")) {
                reference();
            } else if (starts("]]>")) {
                throw Malformed("']]>' in text", at_);
            } else if (at_ < s_.size()) {
                ++at_;
            } else {
                throw Malformed("unclosed element " + std::string(open.back()), at_);
            }
        } while (!open.empty());
    }

    // The attributes and the tag's end; true for an empty-element tag.
    bool startTag() {
        std::set<std::string_view> names;
        for (;;) {
            const bool spaced = at_ < s_.size() && isSpace(s_[at_]);
            skipSpace();
            if (starts("/>") || starts(">")) {
                at_ += starts("/>") ? 2 : 1;
                return s_[at_ - 2] == '/';
            }
            if (!spaced) {
                throw Malformed("expected a space before an attribute", at_);
            }
            const auto attribute = name();
            if (!names.insert(attribute).second) {
                throw Malformed("attribute " + std::string(attribute) + " twice", at_);
            }
            skipSpace();
            expect("=");
            skipSpace();
            const char quote = at_ < s_.size() ? s_[at_] : '\0';
            if (quote != '"' && quote != '\'') {
                throw Malformed("an unquoted attribute value", at_);
            }
            ++at_;
            while (at_ < s_.size() && s_[at_] != quote) {
                if (s_[at_] == '<') {
                    throw Malformed("'<' in an attribute value", at_);
                }
                if (s_[at_] == '&') {
                    reference();
                } else {
                    ++at_;
                }
            }
            expect(std::string_view(&quote, 1));
        }
    }

    std::string_view s_;
    std::size_t at_ = 0;
};

} // namespace

std::string xmlError(const std::string& xml) {
    try {
        Checker(xml).run();
    } catch (const Malformed& error) {
        return error.what();
    }
    return {};
}

} // namespace kelvor::test
