// Values and errors crossing the automation boundary.

#include "host/excel/ComErrors.h"
#include "host/excel/ComValues.h"

#include <gtest/gtest.h>

namespace kelvor::test {

namespace {

com::Variant roundTrip(const xl::Variant& value, VARTYPE expected) {
    com::Variant v = com::fromCell(value);
    EXPECT_EQ(v.type(), expected);
    EXPECT_EQ(com::toCell(*v.get()), value);
    return v;
}

TEST(WindowsComValues, CellValuesCrossWithTheirOwnTypes) {
    roundTrip(std::monostate{}, VT_EMPTY);
    roundTrip(12.5, VT_R8);
    roundTrip(true, VT_BOOL);
    roundTrip(false, VT_BOOL);
    roundTrip(std::string("Carton 7"), VT_BSTR);
    roundTrip(xl::Date{45000.75}, VT_DATE);
    EXPECT_EQ(com::boolean(true).get()->boolVal, VARIANT_TRUE); // -1, not 1
}

TEST(WindowsComValues, IntegersAndCurrencyReadBackAsNumbers) {
    EXPECT_EQ(com::toCell(*com::i2(-7).get()), xl::Variant(-7.0));
    EXPECT_EQ(com::toCell(*com::i4(70000).get()), xl::Variant(70000.0));
    EXPECT_EQ(com::toCell(*com::r4(0.5F).get()), xl::Variant(0.5));
    VARIANT cy;
    VariantInit(&cy);
    cy.vt = VT_CY;
    cy.cyVal.int64 = 123456; // 12.3456
    EXPECT_EQ(com::toCell(cy), xl::Variant(12.3456));
}

TEST(WindowsComValues, TextCrossesAsWindows1252) {
    // The degree sign and the euro sign, as a tester's bytes hold them: bytes that are no
    // UTF-8 still read as that code page, and come back as the interface's UTF-8.
    const std::string bytes = "20\xB0"
                              "C \x80";
    const std::wstring wide = com::widen(bytes);
    EXPECT_EQ(wide, L"20\u00B0C \u20AC");
    const std::string utf8 = "20\xC2\xB0"
                             "C \xE2\x82\xAC";
    EXPECT_EQ(com::narrow(wide.data(), wide.size()), utf8);
    EXPECT_EQ(com::toText(*com::text(bytes).get()), utf8);
    EXPECT_EQ(com::toText(*com::text(std::string()).get()), "");
}

TEST(WindowsComValues, InterfaceTextCrossesAsTheSameCharacters) {
    // What the export hands over is UTF-8: a description, the degree sign of a label.
    const std::string text = "Pr\xC3\xBC"
                             "fstand \xCE\xA9 \xC2\xBA"
                             "F";
    EXPECT_EQ(com::widen(text), L"Pr\u00FCfstand \u03A9 \u00BAF");
    EXPECT_EQ(com::toText(*com::text(text).get()), text);
    EXPECT_EQ(std::get<std::string>(com::toCell(*com::fromCell(text).get())), text);
}

TEST(WindowsComValues, AnswersThatDoNotConvertAreTypeMismatches) {
    VARIANT error;
    VariantInit(&error);
    error.vt = VT_ERROR; // a cell showing #N/A
    error.scode = static_cast<SCODE>(0x800A07FA);
    try {
        com::toCell(error);
        FAIL() << "a cell error converted";
    } catch (const xl::HostError& e) {
        EXPECT_EQ(e.number(), xl::ErrTypeMismatch);
    }
    EXPECT_THROW(com::toInt32(*com::text("twelve").get()), xl::HostError);
    EXPECT_EQ(com::toInt32(*com::text("12").get()), 12);
    try {
        com::toObject(*com::i4(1).get());
        FAIL() << "a number taken for an object";
    } catch (const xl::HostError& e) {
        EXPECT_EQ(e.number(), xl::ErrObjectNotSet);
    }
}

TEST(WindowsComValues, FieldInfoIsAnArrayOfPairsOfSixteenBitIntegers) {
    com::Variant info = com::fieldInfo({{1, 1}, {2, 9}});
    ASSERT_EQ(info.type(), VT_ARRAY | VT_VARIANT);
    SAFEARRAY* outer = info.get()->parray;
    ASSERT_EQ(SafeArrayGetDim(outer), 1U);
    LONG low = -1;
    LONG high = -1;
    SafeArrayGetLBound(outer, 1, &low);
    SafeArrayGetUBound(outer, 1, &high);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 1);
    const std::int16_t expected[2][2] = {{1, 1}, {2, 9}};
    for (LONG i = 0; i <= 1; ++i) {
        com::Variant pair;
        ASSERT_EQ(SafeArrayGetElement(outer, &i, pair.get()), S_OK);
        ASSERT_EQ(pair.type(), VT_ARRAY | VT_VARIANT);
        for (LONG k = 0; k <= 1; ++k) {
            com::Variant part;
            ASSERT_EQ(SafeArrayGetElement(pair.get()->parray, &k, part.get()), S_OK);
            EXPECT_EQ(part.type(), VT_I2);
            EXPECT_EQ(part.get()->iVal, expected[i][k]);
        }
    }
}

EXCEPINFO exception(SCODE scode, WORD wCode, const wchar_t* source, const wchar_t* text) {
    EXCEPINFO info{};
    info.scode = scode;
    info.wCode = wCode;
    info.bstrSource = SysAllocString(source);
    info.bstrDescription = text == nullptr ? nullptr : SysAllocString(text);
    info.bstrHelpFile = SysAllocString(L"C:\\help\\sheets.chm");
    info.dwHelpContext = 1234;
    return info;
}

TEST(WindowsComErrors, ApplicationExceptionsReadAsTheApplicationsOwn) {
    EXCEPINFO info = exception(static_cast<SCODE>(0x800A03EC), 0, L"Sheet Server",
                               L"That name is already taken.");
    const xl::HostError error = com::fromException(info);
    EXPECT_EQ(error.number(), 1004);
    EXPECT_EQ(error.source(), "Sheet Server");
    EXPECT_EQ(error.description(), "That name is already taken.");
    EXPECT_EQ(error.helpFile(), "C:\\help\\sheets.chm");
    EXPECT_EQ(error.helpContext(), 1234);
    EXPECT_EQ(xl::errorMessageText(error),
              "Error #  1004 was generated by Sheet Server\rThat name is already taken.");
    EXPECT_EQ(info.bstrSource, nullptr); // freed and cleared
}

TEST(WindowsComErrors, NumbersComeFromWCodeOrTheControlFacility) {
    EXCEPINFO byCode = exception(E_FAIL, 9, L"Sheet Server", nullptr);
    const xl::HostError subscript = com::fromException(byCode);
    EXPECT_EQ(subscript.number(), 9);
    EXPECT_EQ(subscript.description(), "Subscript out of range"); // none given: the runtime's
    // Not a control code: the code itself, negative as the runtime shows it.
    EXCEPINFO other = exception(E_OUTOFMEMORY, 0, L"Sheet Server", L"Out of memory");
    EXPECT_EQ(com::fromException(other).number(), static_cast<int>(E_OUTOFMEMORY));
    EXPECT_LT(com::fromException(other).number(), 0);
}

TEST(WindowsComErrors, DeferredDescriptionsAreFilledInFirst) {
    EXCEPINFO info{};
    info.pfnDeferredFillIn = [](EXCEPINFO* e) -> HRESULT {
        e->scode = static_cast<SCODE>(0x800A03EC);
        e->bstrSource = SysAllocString(L"Late Server");
        e->bstrDescription = SysAllocString(L"Filled in late");
        return S_OK;
    };
    const xl::HostError error = com::fromException(info);
    EXPECT_EQ(error.number(), 1004);
    EXPECT_EQ(error.source(), "Late Server");
    EXPECT_EQ(error.description(), "Filled in late");
}

TEST(WindowsComErrors, DispatchFailuresTakeTheRuntimesNumbers) {
    EXPECT_EQ(com::fromResult(DISP_E_MEMBERNOTFOUND).number(), xl::ErrMemberNotSupported);
    EXPECT_EQ(com::fromResult(DISP_E_UNKNOWNNAME).number(), xl::ErrMemberNotSupported);
    EXPECT_EQ(com::fromResult(DISP_E_TYPEMISMATCH).number(), xl::ErrTypeMismatch);
    EXPECT_EQ(com::fromResult(DISP_E_BADINDEX).number(), xl::ErrSubscript);
    EXPECT_EQ(com::fromResult(DISP_E_OVERFLOW).number(), xl::ErrOverflow);
    EXPECT_EQ(com::fromResult(DISP_E_PARAMNOTFOUND).number(), xl::ErrInvalidCall);
    for (HRESULT gone : {RPC_E_DISCONNECTED, HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE),
                         CO_E_OBJNOTCONNECTED, RPC_E_SERVER_DIED}) {
        EXPECT_TRUE(com::isDisconnected(gone));
        const xl::HostError error = com::fromResult(gone);
        EXPECT_EQ(error.number(), xl::ErrServerUnavailable);
        EXPECT_EQ(error.description(),
                  "The remote server machine does not exist or is unavailable");
    }
    EXPECT_FALSE(com::isDisconnected(DISP_E_BADINDEX));
}

} // namespace

} // namespace kelvor::test
