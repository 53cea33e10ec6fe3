#include "batches/JournalRecord.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <vector>

namespace kelvor {

namespace {

using Kind = JournalRecord::Kind;

constexpr std::array<std::pair<Kind, std::string_view>, 6> KindNames{{
    {Kind::Open, "open"},
    {Kind::Report, "report"},
    {Kind::Summarize, "summarize"},
    {Kind::Close, "close"},
    {Kind::Known, "known"},
    {Kind::Told, "told"},
}};

std::string_view nameOf(Kind kind) {
    for (const auto& [k, name] : KindNames) {
        if (k == kind) {
            return name;
        }
    }
    return "?";
}

std::optional<Kind> kindNamed(std::string_view name) {
    for (const auto& [k, n] : KindNames) {
        if (n == name) {
            return k;
        }
    }
    return std::nullopt;
}

std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::optional<std::string> unescaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) {
            return std::nullopt;
        }
        switch (text[i]) {
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            return std::nullopt;
        }
    }
    return out;
}

std::vector<std::string_view> split(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
}

std::string floatText(float value) {
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return error == std::errc() ? std::string(buffer.data(), end) : std::string("0");
}

template <typename Number> std::optional<Number> numberOf(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

// Days since 1970-01-01 of a civil date, and back (Howard Hinnant's algorithms).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2 ? 1 : 0;
}

} // namespace

std::uint32_t crc32Of(std::string_view bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFU;
    for (const char c : bytes) {
        crc = table[(crc ^ static_cast<unsigned char>(c)) & 0xFFU] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFU;
}

std::string utcTimeText(WallClock::time_point when) {
    using namespace std::chrono;
    const auto seconds = floor<std::chrono::seconds>(when).time_since_epoch().count();
    std::int64_t days = seconds / 86400;
    std::int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    std::int64_t y = 0;
    unsigned m = 0;
    unsigned d = 0;
    civilFromDays(days, y, m, d);
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), "%04lld-%02u-%02uT%02lld:%02lld:%02lldZ",
                  static_cast<long long>(y), m, d, static_cast<long long>(rest / 3600),
                  static_cast<long long>(rest / 60 % 60), static_cast<long long>(rest % 60));
    return text.data();
}

std::optional<WallClock::time_point> parseUtcTime(std::string_view text) {
    // YYYY-MM-DDTHH:MM:SSZ
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || text[19] != 'Z') {
        return std::nullopt;
    }
    const auto y = numberOf<int>(text.substr(0, 4));
    const auto mo = numberOf<unsigned>(text.substr(5, 2));
    const auto d = numberOf<unsigned>(text.substr(8, 2));
    const auto h = numberOf<int>(text.substr(11, 2));
    const auto mi = numberOf<int>(text.substr(14, 2));
    const auto s = numberOf<int>(text.substr(17, 2));
    if (!y || !mo || !d || !h || !mi || !s || *mo < 1 || *mo > 12 || *d < 1 || *d > 31 || *h > 23 ||
        *mi > 59 || *s > 60) {
        return std::nullopt;
    }
    const std::int64_t seconds = daysFromCivil(*y, *mo, *d) * 86400 + *h * 3600 + *mi * 60 + *s;
    return WallClock::time_point(std::chrono::seconds(seconds));
}

std::string journalLine(const JournalRecord& r) {
    std::vector<std::string> fields{std::string(nameOf(r.kind)), utcTimeText(r.when)};
    const std::string channel = std::to_string(r.channel);
    switch (r.kind) {
    case Kind::Open:
        fields.insert(fields.end(), {channel, escaped(r.workbook), escaped(r.description)});
        break;
    case Kind::Report:
        fields.insert(fields.end(),
                      {channel, escaped(r.workbook), escaped(r.archiveFile), r.pasted ? "1" : "0",
                       escaped(r.cutShortBy), escaped(r.description), floatText(r.traceOffset)});
        break;
    case Kind::Summarize:
        fields.insert(fields.end(), {channel, escaped(r.workbook), floatText(r.traceOffset)});
        break;
    case Kind::Close:
        fields.insert(fields.end(), {channel, escaped(r.workbook)});
        break;
    case Kind::Known:
        fields.push_back(escaped(r.archiveFile));
        break;
    case Kind::Told:
        fields.push_back(std::to_string(r.damaged));
        break;
    }
    std::string rest;
    for (const auto& field : fields) {
        if (!rest.empty()) {
            rest += '\t';
        }
        rest += field;
    }
    std::array<char, 12> crc{};
    std::snprintf(crc.data(), crc.size(), "%08x", static_cast<unsigned>(crc32Of(rest)));
    return std::string(crc.data()) + '\t' + rest + '\n';
}

std::optional<JournalRecord> parseJournalLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1); // a file passed through a Windows editor
    }
    if (line.size() < 10 || line[8] != '\t') {
        return std::nullopt;
    }
    const auto rest = line.substr(9);
    std::uint32_t crc = 0;
    const auto crcText = line.substr(0, 8);
    const auto [end, error] = std::from_chars(crcText.data(), crcText.data() + 8, crc, 16);
    if (error != std::errc() || end != crcText.data() + 8 || crc != crc32Of(rest)) {
        return std::nullopt;
    }
    const auto fields = split(rest);
    if (fields.size() < 2) {
        return std::nullopt;
    }
    const auto kind = kindNamed(fields[0]);
    const auto when = parseUtcTime(fields[1]);
    if (!kind || !when) {
        return std::nullopt;
    }
    JournalRecord r;
    r.kind = *kind;
    r.when = *when;
    // Later versions may add fields at the end: they are passed by.
    const auto need = [&](std::size_t n) { return fields.size() >= n + 2; };
    const auto text = [&](std::size_t i) { return unescaped(fields[i + 2]); };
    const auto channelOf = [&]() -> bool {
        const auto c = numberOf<int>(fields[2]);
        if (!c || *c < 0) {
            return false;
        }
        r.channel = *c;
        return true;
    };
    switch (r.kind) {
    case Kind::Open: {
        if (!need(3) || !channelOf()) {
            return std::nullopt;
        }
        auto workbook = text(1);
        auto description = text(2);
        if (!workbook || workbook->empty() || !description) {
            return std::nullopt;
        }
        r.workbook = std::move(*workbook);
        r.description = std::move(*description);
        break;
    }
    case Kind::Report: {
        if (!need(7) || !channelOf()) {
            return std::nullopt;
        }
        auto workbook = text(1);
        auto archive = text(2);
        auto cut = text(4);
        auto description = text(5);
        const auto offset = numberOf<float>(fields[8]);
        if (!workbook || !archive || !cut || !description || !offset ||
            (fields[5] != "0" && fields[5] != "1")) {
            return std::nullopt;
        }
        r.workbook = std::move(*workbook);
        r.archiveFile = std::move(*archive);
        r.pasted = fields[5] == "1";
        r.cutShortBy = std::move(*cut);
        r.description = std::move(*description);
        r.traceOffset = *offset;
        break;
    }
    case Kind::Summarize: {
        if (!need(3) || !channelOf()) {
            return std::nullopt;
        }
        auto workbook = text(1);
        const auto offset = numberOf<float>(fields[4]);
        if (!workbook || workbook->empty() || !offset) {
            return std::nullopt;
        }
        r.workbook = std::move(*workbook);
        r.traceOffset = *offset;
        break;
    }
    case Kind::Close: {
        if (!need(2) || !channelOf()) {
            return std::nullopt;
        }
        auto workbook = text(1);
        if (!workbook || workbook->empty()) {
            return std::nullopt;
        }
        r.workbook = std::move(*workbook);
        break;
    }
    case Kind::Known: {
        if (!need(1)) {
            return std::nullopt;
        }
        auto archive = text(0);
        if (!archive || archive->empty()) {
            return std::nullopt;
        }
        r.archiveFile = std::move(*archive);
        break;
    }
    case Kind::Told: {
        const auto count = need(1) ? numberOf<std::size_t>(fields[2]) : std::nullopt;
        if (!count) {
            return std::nullopt;
        }
        r.damaged = *count;
        break;
    }
    }
    return r;
}

} // namespace kelvor
