#include "host/model/Sheet.h"

#include <atomic>

namespace kelvor {

namespace {

std::uint64_t nextRevision() {
    static std::atomic<std::uint64_t> counter{0};
    return ++counter;
}

std::uint64_t nextKey() {
    static std::atomic<std::uint64_t> counter{0};
    return ++counter;
}

} // namespace

Sheet::Sheet(SheetKind kind, std::uint32_t id, std::string name)
    : kind_(kind), id_(id), key_(nextKey()), name_(std::move(name)), revision_(nextRevision()) {}

std::uint64_t Sheet::newRevision() {
    return nextRevision();
}

void Sheet::touch() {
    revision_ = nextRevision();
}

void Sheet::setHidden(bool hidden) {
    if (hidden != hidden_) {
        hidden_ = hidden;
        touch();
    }
}

void Sheet::setName(std::string name) {
    name_ = std::move(name);
    touch();
}

} // namespace kelvor
