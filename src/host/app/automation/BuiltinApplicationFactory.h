#pragma once

#include "export/Spreadsheet.h"
#include "host/app/automation/BuiltinApplication.h"

#include <filesystem>
#include <memory>
#include <vector>

namespace kelvor {

// Starts a new built-in application on every create(), all sharing one workbook folder. Made
// once per run: it clears the folders of the temporary files an earlier, killed run left.
class BuiltinApplicationFactory : public xl::ApplicationFactory {
public:
    BuiltinApplicationFactory(std::filesystem::path workbookFolder, Notify notify = {},
                              BuiltinOptions options = {});

    std::shared_ptr<xl::Application> create() override;

    // The applications made so far, oldest first (empty pointers for those released): lets a
    // test close one as its user would.
    std::vector<std::shared_ptr<BuiltinApplication>> created() const;

    // Applications made while writes are held hold them too (see BuiltinApplication's
    // holdWrites); adopting makes those still running count their workbooks as written, and
    // ends the hold.
    void holdWrites() { holdWrites_ = true; }
    void adoptHeldWrites();

private:
    bool holdWrites_ = false;

    std::filesystem::path folder_;
    Notify notify_;
    BuiltinOptions options_;
    std::vector<std::weak_ptr<BuiltinApplication>> created_;
};

} // namespace kelvor
