#pragma once

// The recording layer at the spreadsheet interface: applications of another factory (the
// built-in one) wrapped so that every member the export calls is written into a CallLog as
// the automation call it stands for, with what the application answered.

#include "CallLog.h"

#include "export/Spreadsheet.h"

#include <memory>

namespace kelvor::test::replay {

class RecordingFactory : public xl::ApplicationFactory {
public:
    RecordingFactory(xl::ApplicationFactory& inner, std::shared_ptr<CallLog> log)
        : inner_(inner), log_(std::move(log)) {}
    std::shared_ptr<xl::Application> create() override;

private:
    xl::ApplicationFactory& inner_;
    std::shared_ptr<CallLog> log_;
};

} // namespace kelvor::test::replay
