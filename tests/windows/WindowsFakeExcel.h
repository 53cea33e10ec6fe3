#pragma once

// A small automation server standing in for the spreadsheet application, in process: its
// workbooks and sheet names, enough of the object model for starting, finding and adding
// channel workbooks and data sheets, and a switch that makes it gone as a closed one is.

#include "WindowsFakeDispatch.h"

#include <memory>
#include <string>
#include <vector>

namespace kelvor::test {

class FakeExcel : public std::enable_shared_from_this<FakeExcel> {
public:
    struct Book {
        std::vector<std::wstring> sheets;
        std::vector<std::wstring> column; // what was written into column A, by row
        int activeSheet = 1;
        int pastes = 0;
    };

    static std::shared_ptr<FakeExcel> make(int defaultSheets = 3);
    com::DispatchPtr application();

    std::shared_ptr<FakeLog> log = std::make_shared<FakeLog>();
    std::vector<Book> books;
    int activeBook = 0;
    int defaultSheets = 3;
    bool gone = false; // every call fails as with an application that has ended
    bool visible = false;

private:
    HRESULT onApplication(const FakeCall& call, VARIANT* result, EXCEPINFO* info);
    HRESULT onWorkbooks(const FakeCall& call, VARIANT* result);
    HRESULT onBook(int book, const FakeCall& call, VARIANT* result);
    HRESULT onSheets(const FakeCall& call, VARIANT* result);
    HRESULT onSheet(int book, int sheet, const FakeCall& call, VARIANT* result, EXCEPINFO* info);
    HRESULT onCell(int book, int row, const FakeCall& call, VARIANT* result);
    com::DispatchPtr object(const std::wstring& type, FakeHandler handler);
    Book& active() { return books.at(static_cast<std::size_t>(activeBook - 1)); }
};

} // namespace kelvor::test
