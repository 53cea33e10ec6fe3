#pragma once

// The recording layer's objects: each xl object of the built-in application wrapped, its
// members recorded as the automation calls they stand for (the object model's member names,
// kinds of call and argument types) and passed on. Objects handed back in as arguments
// (a sheet for After, a range for Source) are unwrapped and recorded by their ids.

#include "CallLog.h"
#include "ReplayFormat.h"

#include "export/SpreadsheetCharts.h"

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace kelvor::test::replay {

template <typename I> class Recorded : public I {
public:
    Recorded(std::shared_ptr<I> inner, Handle handle)
        : inner_(std::move(inner)), handle_(std::move(handle)) {}
    const std::shared_ptr<I>& inner() const { return inner_; }
    const Handle& handle() const { return handle_; }

protected:
    I& to() const { return *inner_; }
    CallLog& log() const { return *handle_.log; }

    void put(std::string_view member, std::string value, const std::function<void()>& run) const {
        record("put", member, {std::move(value)}, {}, [&] {
            run();
            return empty();
        });
    }
    void method(std::string_view member, const std::function<void()>& run,
                std::vector<std::string> args = {}, NamedArgs named = {}) const {
        record("call", member, std::move(args), std::move(named), [&] {
            run();
            return empty();
        });
    }
    // A property read answering a value, `format` writing it as the application answers it.
    template <typename T, typename Format>
    T get(std::string_view member, const std::function<T()>& run, Format format) const {
        T value{};
        record("get", member, {}, {}, [&] {
            value = run();
            return format(value);
        });
        return value;
    }
    // A read or call answering an object of `type`, wrapped by `wrap`. A sheet's type is
    // what its type information names: "Worksheet" or "Chart".
    template <typename Make, typename Wrap>
    auto child(std::string_view kind, std::string_view member, std::string_view type, Make make,
               Wrap wrap, std::vector<std::string> args = {}, NamedArgs named = {}) const {
        decltype(make()) made;
        int id = 0;
        record(kind, member, std::move(args), std::move(named), [&] {
            made = make();
            id = log().newObject();
            if constexpr (std::is_same_v<decltype(made), xl::SheetPtr>) {
                return objectAnswer(id, made->Type() == xl::xlChart ? "Chart" : "Worksheet");
            } else {
                return objectAnswer(id, type);
            }
        });
        return wrap(std::move(made), Handle{handle_.log, handle_.section, id});
    }
    // The same object seen through another interface, as the back end does without a call.
    template <typename T, typename Wrap> auto same(std::shared_ptr<T> inner, Wrap wrap) const {
        return wrap(std::move(inner), handle_);
    }

    void record(std::string_view kind, std::string_view member, std::vector<std::string> args,
                NamedArgs named, const std::function<std::string()>& answer) const {
        log().call(handle_.section, handle_.id, kind, member, std::move(args), std::move(named),
                   answer);
    }

private:
    std::shared_ptr<I> inner_;
    Handle handle_;
};

// The wrapped object of an argument, and how the call names it.
template <typename I> std::shared_ptr<I> innerOf(const std::shared_ptr<I>& object) {
    const auto* recorded = dynamic_cast<const Recorded<I>*>(object.get());
    return recorded != nullptr ? recorded->inner() : object;
}
template <typename I> std::string argumentOf(const std::shared_ptr<I>& object) {
    const auto* recorded = dynamic_cast<const Recorded<I>*>(object.get());
    return recorded != nullptr ? replay::object(recorded->handle().id) : empty();
}

// A cell value as the application answers or takes it.
std::string cellValue(const xl::Variant& value);

std::shared_ptr<xl::Application> recordApplication(std::shared_ptr<xl::Application> inner,
                                                   Handle handle);
std::shared_ptr<xl::Workbooks> recordWorkbooks(std::shared_ptr<xl::Workbooks> inner, Handle h);
std::shared_ptr<xl::Workbook> recordWorkbook(std::shared_ptr<xl::Workbook> inner, Handle h);
std::shared_ptr<xl::Sheets> recordSheets(std::shared_ptr<xl::Sheets> inner, Handle h);
std::shared_ptr<xl::Sheet> recordSheet(std::shared_ptr<xl::Sheet> inner, Handle h);
std::shared_ptr<xl::Range> recordRange(std::shared_ptr<xl::Range> inner, Handle h);
std::shared_ptr<xl::PageSetup> recordPageSetup(std::shared_ptr<xl::PageSetup> inner, Handle h);
std::shared_ptr<xl::Chart> recordChart(std::shared_ptr<xl::Chart> inner, Handle h);
std::shared_ptr<xl::Charts> recordCharts(std::shared_ptr<xl::Charts> inner, Handle h);
std::shared_ptr<xl::ChartSelection> recordChartSelection(std::shared_ptr<xl::ChartSelection> inner,
                                                         Handle h);
std::shared_ptr<xl::Border> recordBorder(std::shared_ptr<xl::Border> inner, Handle h);
std::shared_ptr<xl::TextFont> recordTextFont(std::shared_ptr<xl::TextFont> inner, Handle h);
std::shared_ptr<xl::Characters> recordCharacters(std::shared_ptr<xl::Characters> inner, Handle h);
std::shared_ptr<xl::ChartElement> recordChartElement(std::shared_ptr<xl::ChartElement> inner,
                                                     Handle h);
std::shared_ptr<xl::ChartTextElement>
recordChartTextElement(std::shared_ptr<xl::ChartTextElement> inner, Handle h);
std::shared_ptr<xl::ShapeRange> recordShapeRange(std::shared_ptr<xl::ShapeRange> inner, Handle h);

} // namespace kelvor::test::replay
