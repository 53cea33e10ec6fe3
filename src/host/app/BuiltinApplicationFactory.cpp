#include "host/app/BuiltinApplicationFactory.h"

namespace kelvor::host {

BuiltinApplicationFactory::BuiltinApplicationFactory(std::filesystem::path workbookFolder,
                                                     Notify notify, BuiltinOptions options)
    : folder_(std::move(workbookFolder)), notify_(std::move(notify)), options_(options) {}

std::shared_ptr<xl::Application> BuiltinApplicationFactory::create() {
    auto app = std::make_shared<BuiltinApplication>(folder_, notify_, options_);
    created_.push_back(app);
    return app;
}

std::vector<std::shared_ptr<BuiltinApplication>> BuiltinApplicationFactory::created() const {
    std::vector<std::shared_ptr<BuiltinApplication>> out;
    for (const auto& app : created_) {
        out.push_back(app.lock());
    }
    return out;
}

} // namespace kelvor::host
