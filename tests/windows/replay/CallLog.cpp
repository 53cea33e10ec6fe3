#include "CallLog.h"

#include "ReplayFormat.h"

#include <fstream>

namespace kelvor::test::replay {

namespace {

xl::HostError applicationGone() {
    return xl::programError(xl::ErrServerUnavailable);
}

} // namespace

int CallLog::startApplication() {
    ++section_;
    alive_ = true;
    endCountdown_ = -1;
    const int id = newObject();
    lines_.push_back("start #" + std::to_string(id));
    return id;
}

void CallLog::call(int section, int id, std::string_view kind, std::string_view member,
                   std::vector<std::string> args, NamedArgs named,
                   const std::function<std::string()>& answer) {
    // An object of an application that has ended: its proxy fails without reaching anyone.
    if (section != section_ || !alive_) {
        throw applicationGone();
    }
    if (endCountdown_ > 0) {
        --endCountdown_;
    } else if (endCountdown_ == 0) {
        endCountdown_ = -1;
        alive_ = false;
        lines_.push_back("end");
        throw applicationGone();
    }
    std::string line = callText(id, kind, member, args, named) + AnswerSeparator;
    try {
        line += answer();
    } catch (const xl::HostError& error) {
        lines_.push_back(line + errorAnswer(error.number(), error.source(), error.description()));
        ++calls_;
        throw;
    }
    lines_.push_back(std::move(line));
    ++calls_;
}

void CallLog::clipboard(const std::string& text) {
    lines_.push_back("clipboard " + bstr(text));
}

void CallLog::write(const std::filesystem::path& file) const {
    std::ofstream out(file, std::ios::binary);
    for (const std::string& line : lines_) {
        out << line << '\n';
    }
}

} // namespace kelvor::test::replay
