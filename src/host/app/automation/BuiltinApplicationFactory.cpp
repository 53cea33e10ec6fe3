#include "host/app/automation/BuiltinApplicationFactory.h"

#include "platform/DurableFile.h"

namespace kelvor {

BuiltinApplicationFactory::BuiltinApplicationFactory(std::filesystem::path workbookFolder,
                                                     Notify notify, BuiltinOptions options)
    : folder_(std::move(workbookFolder)), notify_(std::move(notify)), options_(options) {
    // Temporary files of writes that a killed run left unfinished; the workbooks themselves
    // are whole, since a write only ever replaces a file once it is complete.
    removeLeftoverTemporaryFiles(folder_);
    if (!options_.rescueFolder.empty()) {
        removeLeftoverTemporaryFiles(options_.rescueFolder);
    }
}

std::shared_ptr<xl::Application> BuiltinApplicationFactory::create() {
    auto app = std::make_shared<BuiltinApplication>(folder_, notify_, options_);
    app->holdWrites(holdWrites_);
    created_.push_back(app);
    return app;
}

void BuiltinApplicationFactory::adoptHeldWrites() {
    holdWrites_ = false;
    for (const auto& made : created_) {
        if (const auto app = made.lock(); app != nullptr && !app->closed()) {
            app->adoptHeldWrites();
        }
    }
}

std::vector<std::shared_ptr<BuiltinApplication>> BuiltinApplicationFactory::created() const {
    std::vector<std::shared_ptr<BuiltinApplication>> out;
    for (const auto& app : created_) {
        out.push_back(app.lock());
    }
    return out;
}

} // namespace kelvor
