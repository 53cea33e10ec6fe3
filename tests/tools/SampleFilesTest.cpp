// The sample reports stand in for what real testers send; they must keep the layout the
// reader relies on.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kelvor {
namespace {

namespace fs = std::filesystem;

const fs::path sampleDir = fs::path(KELVOR_SOURCE_DIR) / "samples";

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string trimmed(std::string text) {
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

std::string firstField(const std::string& line) {
    return trimmed(line.substr(0, line.find(',')));
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::stringstream stream(line);
    for (std::string field; std::getline(stream, field, ',');) {
        out.push_back(field);
    }
    return out;
}

std::vector<fs::path> sampleFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(sampleDir)) {
        if (entry.path().extension() == ".txt") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(SampleFiles, FollowTheReportLayout) {
    const std::vector<fs::path> files = sampleFiles();
    ASSERT_GE(files.size(), 7u);
    const std::string readme = readAll(sampleDir / "README.md");
    int rateReports = 0;
    int loadReports = 0;
    for (const fs::path& path : files) {
        SCOPED_TRACE(path.filename().string());
        const std::string bytes = readAll(path);
        EXPECT_NE(readme.find(path.filename().string()), std::string::npos) << "not in README";

        // Every line ends in CR LF, and nothing else ends a line.
        ASSERT_TRUE(bytes.ends_with("\r\n"));
        std::vector<std::string> lines{""}; // 1-based, as rows of the sheet
        for (std::size_t start = 0; start < bytes.size();) {
            const std::size_t end = bytes.find("\r\n", start);
            lines.push_back(bytes.substr(start, end - start));
            EXPECT_EQ(lines.back().find_first_of("\r\n"), std::string::npos) << lines.size() - 1;
            start = end + 2;
        }
        ASSERT_GE(lines.size(), 13u);

        const bool rate = lines[1] == "CONSTANT RATE TEST DATA";
        ASSERT_TRUE(rate || lines[1] == "CONSTANT LOAD TEST DATA") << lines[1];
        EXPECT_TRUE(lines[3].starts_with("Force units in ") && lines[3].size() > 15);
        EXPECT_TRUE(lines[4].starts_with("Deflection units in ") && lines[4].size() > 20);

        // The header row is looked for from row 11 on and must lie no lower than row 23.
        const std::string word = rate ? "DEFLECTION" : "DATE";
        std::size_t header = 11;
        while (header < lines.size() && firstField(lines[header]) != word) {
            ++header;
        }
        ASSERT_LE(header, 23u);
        const std::size_t dataLines = lines.size() - 1 - header;
        EXPECT_EQ(std::strtod(lines[header - 1].c_str(), nullptr), static_cast<double>(dataLines));
        EXPECT_GT(dataLines, 0u);

        const std::vector<std::string> columns = fields(lines[header]);
        for (std::size_t row = header + 1; row < lines.size(); ++row) {
            ASSERT_EQ(fields(lines[row]).size(), columns.size()) << "line " << row;
        }
        for (std::size_t row = 3; row + 3 <= header; ++row) {
            EXPECT_EQ(lines[row].find(','), std::string::npos) << "header line " << row;
        }

        if (rate) {
            ++rateReports;
            EXPECT_EQ(header, 15u);
            // The force and deformation results are the curve's peak and where it lies.
            const auto value = [&](std::size_t row) {
                const auto colon = lines[row].find(':');
                EXPECT_NE(colon, std::string::npos) << "line " << row;
                return std::strtod(lines[row].c_str() + colon + 1, nullptr);
            };
            double peak = -1, atPeak = 0;
            for (std::size_t row = header + 1; row < lines.size(); ++row) {
                const auto point = fields(lines[row]);
                if (const double force = std::strtod(point[1].c_str(), nullptr); force > peak) {
                    peak = force;
                    atPeak = std::strtod(point[0].c_str(), nullptr);
                }
            }
            EXPECT_DOUBLE_EQ(value(header - 4), peak);
            EXPECT_DOUBLE_EQ(value(header - 3), atPeak);
            EXPECT_LT(std::strtod(fields(lines.back())[1].c_str(), nullptr), 0.9 * peak)
                << "the curve should fall off after its peak";
        } else {
            ++loadReports;
            EXPECT_LE(columns.size(), 7u);
            if (std::find(columns.begin(), columns.end(), "HUMIDITY") != columns.end()) {
                EXPECT_TRUE(lines[5].starts_with("Temperature units in ") && lines[5].size() > 21);
            }
        }
    }
    EXPECT_GE(rateReports, 4);
    EXPECT_GE(loadReports, 3);
}

} // namespace
} // namespace kelvor
