#include "WindowsFakeExcel.h"

namespace kelvor::test {

namespace {

HRESULT answerInt(VARIANT* result, std::int32_t value) {
    result->vt = VT_I4;
    result->lVal = value;
    return S_OK;
}

HRESULT answerText(VARIANT* result, const std::wstring& text) {
    result->vt = VT_BSTR;
    result->bstrVal = SysAllocString(text.c_str());
    return S_OK;
}

std::int32_t intOf(const com::Variant& v) {
    com::Variant converted;
    VariantChangeType(converted.get(), const_cast<VARIANT*>(v.get()), 0, VT_I4);
    return converted.get()->lVal;
}

std::wstring textOf(const com::Variant& v) {
    return v.type() == VT_BSTR ? std::wstring(v.get()->bstrVal, SysStringLen(v.get()->bstrVal))
                               : std::wstring();
}

} // namespace

std::shared_ptr<FakeExcel> FakeExcel::make(int sheets) {
    auto excel = std::make_shared<FakeExcel>();
    excel->defaultSheets = sheets;
    return excel;
}

com::DispatchPtr FakeExcel::object(const std::wstring& type, FakeHandler handler) {
    // The objects keep the model alive as the application's objects keep it running.
    auto self = shared_from_this();
    return makeFakeDispatch(type, log,
                            [self, handler](const FakeCall& call, VARIANT* r, EXCEPINFO* i) {
                                return self->gone ? RPC_E_DISCONNECTED : handler(call, r, i);
                            });
}

com::DispatchPtr FakeExcel::application() {
    return object(L"Application", [this](const FakeCall& c, VARIANT* r, EXCEPINFO* i) {
        return onApplication(c, r, i);
    });
}

HRESULT FakeExcel::onApplication(const FakeCall& call, VARIANT* result, EXCEPINFO*) {
    const std::wstring& m = call.member;
    if (call.isPut()) {
        if (m == L"Visible") {
            visible = call.args.at(0).get()->boolVal != VARIANT_FALSE;
        }
        return S_OK;
    }
    if (m == L"Workbooks") {
        answerObject(result,
                     object(L"Workbooks", [this](const FakeCall& c, VARIANT* r, EXCEPINFO*) {
                         return onWorkbooks(c, r);
                     }));
        return S_OK;
    }
    if (m == L"Sheets" || m == L"Worksheets") {
        answerObject(result, object(L"Sheets", [this](const FakeCall& c, VARIANT* r, EXCEPINFO*) {
                         return onSheets(c, r);
                     }));
        return S_OK;
    }
    if (m == L"ActiveSheet") {
        const int book = activeBook;
        const int sheet = active().activeSheet;
        answerObject(result, object(L"Worksheet", [this, book, sheet](const FakeCall& c, VARIANT* r,
                                                                      EXCEPINFO* i) {
                         return onSheet(book, sheet, c, r, i);
                     }));
        return S_OK;
    }
    if (m == L"ActiveWorkbook") {
        const int book = activeBook;
        answerObject(result,
                     object(L"Workbook", [this, book](const FakeCall& c, VARIANT* r, EXCEPINFO*) {
                         return onBook(book, c, r);
                     }));
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT FakeExcel::onWorkbooks(const FakeCall& call, VARIANT* result) {
    if (call.member == L"Count") {
        return answerInt(result, static_cast<std::int32_t>(books.size()));
    }
    int book = 0;
    if (call.member == L"Add") {
        Book added;
        for (int i = 1; i <= defaultSheets; ++i) {
            added.sheets.push_back(L"Sheet" + std::to_wstring(i));
        }
        books.push_back(added);
        book = activeBook = static_cast<int>(books.size());
    } else if (call.member == L"Item") {
        book = intOf(call.args.at(0));
        if (book < 1 || book > static_cast<int>(books.size())) {
            return DISP_E_BADINDEX;
        }
    } else {
        return DISP_E_MEMBERNOTFOUND;
    }
    answerObject(result,
                 object(L"Workbook", [this, book](const FakeCall& c, VARIANT* r, EXCEPINFO*) {
                     return onBook(book, c, r);
                 }));
    return S_OK;
}

HRESULT FakeExcel::onBook(int book, const FakeCall& call, VARIANT* result) {
    if (call.member == L"Activate") {
        activeBook = book;
        return S_OK;
    }
    if (call.member == L"Sheets" || call.member == L"Worksheets") {
        activeBook = book; // enough for the procedures, which only ask the active one
        answerObject(result, object(L"Sheets", [this](const FakeCall& c, VARIANT* r, EXCEPINFO*) {
                         return onSheets(c, r);
                     }));
        return S_OK;
    }
    if (call.member == L"SaveAs") {
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT FakeExcel::onSheets(const FakeCall& call, VARIANT* result) {
    Book& book = active();
    if (call.member == L"Count") {
        return answerInt(result, static_cast<std::int32_t>(book.sheets.size()));
    }
    int sheet = 0;
    if (call.member == L"Item") {
        sheet = intOf(call.args.at(0));
        if (sheet < 1 || sheet > static_cast<int>(book.sheets.size())) {
            return DISP_E_BADINDEX;
        }
    } else if (call.member == L"Add") {
        book.sheets.push_back(L"Sheet" + std::to_wstring(book.sheets.size() + 10));
        sheet = book.activeSheet = static_cast<int>(book.sheets.size());
    } else {
        return DISP_E_MEMBERNOTFOUND;
    }
    const int at = activeBook;
    answerObject(result, object(L"Worksheet",
                                [this, at, sheet](const FakeCall& c, VARIANT* r, EXCEPINFO* i) {
                                    return onSheet(at, sheet, c, r, i);
                                }));
    return S_OK;
}

HRESULT FakeExcel::onSheet(int bookIndex, int sheet, const FakeCall& call, VARIANT* result,
                           EXCEPINFO* info) {
    Book& book = books.at(static_cast<std::size_t>(bookIndex - 1));
    auto& names = book.sheets;
    const auto at = names.begin() + (sheet - 1);
    if (call.member == L"Name" && call.isPut()) {
        const std::wstring name = textOf(call.args.at(0));
        for (const auto& other : names) {
            if (other == name && &other != &*at) {
                return raise(info, 1004, L"Fake Sheet Server",
                             L"That name is already taken. Try a different one.");
            }
        }
        *at = name;
        return S_OK;
    }
    if (call.member == L"Name") {
        return answerText(result, *at);
    }
    if (call.member == L"Type") {
        return answerInt(result, -4167); // a worksheet
    }
    if (call.member == L"Activate") {
        book.activeSheet = sheet;
        return S_OK;
    }
    if (call.member == L"Delete") {
        names.erase(at);
        book.activeSheet = std::max(1, std::min(sheet, static_cast<int>(names.size())));
        return S_OK;
    }
    if (call.member == L"Paste") {
        ++book.pastes;
        return S_OK;
    }
    if (call.member == L"Cells") {
        const int row = intOf(call.args.at(0));
        answerObject(result, object(L"Range", [this, bookIndex, row](const FakeCall& c, VARIANT* r,
                                                                     EXCEPINFO*) {
                         return onCell(bookIndex, row, c, r);
                     }));
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT FakeExcel::onCell(int bookIndex, int row, const FakeCall& call, VARIANT* result) {
    if (call.member != L"Value") {
        return DISP_E_MEMBERNOTFOUND;
    }
    auto& column = books.at(static_cast<std::size_t>(bookIndex - 1)).column;
    if (!call.isPut()) {
        const auto at = static_cast<std::size_t>(row - 1);
        return at < column.size() ? answerText(result, column[at]) : S_OK; // empty
    }
    column.resize(std::max(column.size(), static_cast<std::size_t>(row)));
    column[static_cast<std::size_t>(row - 1)] = textOf(call.args.at(0));
    return S_OK;
}

} // namespace kelvor::test
