#include "shell/Settings.h"

#include "Version.h"
#include "platform/IniFile.h"
#include "platform/LocaleNumbers.h"
#include "util/AnsiText.h"

#include <cmath>
#include <exception>
#include <limits>
#include <optional>

namespace kelvor {
namespace {

constexpr const char* GeneralSection = "KelvorReader";

std::string channelSection(int n) {
    return "KelvorReaderCH" + std::to_string(n);
}

// Runs the steps of one pass over the file. A step that fails is reported and the pass goes
// on with the next step.
class SettingsSteps {
public:
    SettingsSteps(const std::string& path, Prompts& prompts) : path_(path), prompts_(prompts) {}

    template <typename Step> bool run(Step&& step) {
        bool ok = false;
        try {
            ok = step();
        } catch (const std::exception&) {
            ok = false;
        }
        if (!ok) {
            report();
        }
        return ok;
    }

    void report() {
        prompts_.show("INI file problem: " + path_, ProgramTitle, PromptIcon::Critical,
                      PromptButtons::Ok);
    }

private:
    const std::string& path_;
    Prompts& prompts_;
};

std::optional<float> toSingle(const std::string& text, const QLocale& locale) {
    const auto number = parseLocaleNumber(text, locale);
    if (!number || std::fabs(*number) > std::numeric_limits<float>::max()) {
        return std::nullopt;
    }
    return static_cast<float>(*number);
}

std::optional<std::int32_t> toWholeNumber(const std::string& text, const QLocale& locale) {
    const auto number = parseLocaleNumber(text, locale);
    return number ? roundToInt32(*number) : std::nullopt;
}

template <typename T> bool assign(const std::optional<T>& value, T& target) {
    if (value) {
        target = *value;
    }
    return value.has_value();
}

void readSettings(const std::string& path, SettingsValues& values, SettingsSteps& steps,
                  const QLocale& locale) {
    // Files written on Windows hold Windows-1252 text, ours hold UTF-8.
    const auto fetch = [&](const std::string& section, const char* key,
                           const std::string& fallback) {
        return firstCodePoints(
            utf8FromUtf8OrWindows1252(readProfileString(section, key, fallback, path)),
            SettingsValueLimit);
    };

    const struct {
        const char* key;
        const char* fallback;
        float& target;
    } window[] = {{"Top", "0", values.Top}, {"Left", "2880", values.Left}};
    for (const auto& [key, fallback, target] : window) {
        const std::string text = fetch(GeneralSection, key, fallback);
        // The whole-number check only rejects text; the position is taken as a single.
        steps.run([&] { return toWholeNumber(text, locale).has_value(); });
        steps.run([&] { return assign(toSingle(text, locale), target); });
    }
    const std::string offset = fetch(GeneralSection, "SummaryTraceOffset", "0.5");
    steps.run([&] { return assign(toSingle(offset, locale), values.SummaryTraceOffset); });

    // Port and enabled flag are read like Val reads them: never in the user's locale, and
    // text that is no number gives 0. Only a number out of range is a problem.
    const auto valNumber = [](const std::string& text) {
        return roundToInt32(leadingNumber(text));
    };
    for (int n = 0; n < ChannelCount; ++n) {
        const std::string section = channelSection(n);
        ChannelRecord& channel = values.channels[n];
        channel.Description = fetch(section, "Description", "Com Channel " + std::to_string(n + 1));
        const std::string port = fetch(section, "CommPort", std::to_string(n + 1));
        steps.run([&] { return assign(valNumber(port), channel.CommPort); });
        const std::string enabled = fetch(section, "Enabled", "0");
        steps.run([&] { return assign(valNumber(enabled), channel.Enabled); });
    }
}

// True when every write reached the file.
bool writeSettings(const std::string& path, const SettingsValues& values, SettingsSteps& steps,
                   const QLocale& locale) {
    bool allWritten = true;
    // A refused write is not a failed step: it is collected and told once by the caller.
    const auto put = [&](const std::string& section, const char* key, const std::string& text) {
        allWritten = writeProfileString(section, key, text, path) && allWritten;
        return true;
    };
    const auto putWhole = [&](const char* key, float position) {
        const auto whole = roundToInt32(position);
        return whole && put(GeneralSection, key, std::to_string(*whole));
    };
    steps.run([&] { return putWhole("Top", values.Top); });
    steps.run([&] { return putWhole("Left", values.Left); });
    steps.run([&] {
        return put(GeneralSection, "SummaryTraceOffset",
                   formatSingle(values.SummaryTraceOffset, locale));
    });
    for (int n = 0; n < ChannelCount; ++n) {
        const std::string section = channelSection(n);
        const ChannelRecord& channel = values.channels[n];
        steps.run([&] { return put(section, "Description", channel.Description); });
        steps.run([&] { return put(section, "CommPort", std::to_string(channel.CommPort)); });
        steps.run([&] { return put(section, "Enabled", std::to_string(channel.Enabled)); });
    }
    return allWritten;
}

} // namespace

void LoadSaveSettings(std::int32_t action, const std::string& path, SettingsValues& values,
                      Prompts& prompts, const QLocale& locale) {
    SettingsSteps steps(path, prompts);
    const bool fileExists = steps.run([&] { return ensureFileExists(path); });
    if (action == SettingsRead) {
        readSettings(path, values, steps, locale);
    } else if (action == SettingsWrite) {
        // Settings that never reach the disk are lost without a word unless we say so; once
        // is enough, and not at all when the file could not even be made.
        if (!writeSettings(path, values, steps, locale) && fileExists) {
            steps.report();
        }
    }
}

} // namespace kelvor
