// The core's own text and number helpers agree with Qt's, which the program used before the
// core stood on the standard library alone.
#include "platform/LocaleNumbers.h"
#include "util/CaseFold.h"

#include <QChar>
#include <QLocale>
#include <QString>
#include <gtest/gtest.h>

#include <vector>

namespace kelvor {
namespace {

TEST(QtAgreementTest, CaseFoldingMatchesForEveryCodePoint) {
    int differences = 0;
    for (char32_t c = 0; c <= 0x10FFFF && differences < 10; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) {
            continue;
        }
        if (foldCase(c) != QChar::toCaseFolded(c)) {
            ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(c);
            ++differences;
        }
    }
}

TEST(QtAgreementTest, LocaleNumbersMatchForTheUsualLocales) {
    // Every text of up to four characters from the pieces numbers are made of, in locales
    // with a point, a comma and a no-break space between groups.
    const std::vector<std::string> pieces{
        "1",        "0",  "5",   ".", ",", "-", "+", "e", "E", " ", "\xE2\x80\xAF",
        "\xC2\xA0", "12", "345", "x"};
    std::vector<std::string> texts{""};
    for (int length = 0; length < 4; ++length) {
        const std::size_t end = texts.size();
        for (std::size_t i = 0; i < end; ++i) {
            if (static_cast<int>(texts[i].size()) < length) {
                continue;
            }
            for (const auto& piece : pieces) {
                texts.push_back(texts[i] + piece);
            }
        }
    }
    for (const QLocale& locale :
         {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::German),
          QLocale(QLocale::French, QLocale::France), QLocale::c()}) {
        int differences = 0;
        for (const auto& text : texts) {
            bool ok = false;
            const double qt = locale.toDouble(QString::fromStdString(text), &ok);
            const auto ours = parseLocaleNumber(text, locale);
            const bool qtRead = ok && std::isfinite(qt);
            if (qtRead != ours.has_value() || (qtRead && *ours != qt)) {
                ADD_FAILURE() << locale.name().toStdString() << " \"" << text << "\": Qt "
                              << (qtRead ? std::to_string(qt) : "nothing") << ", ours "
                              << (ours ? std::to_string(*ours) : "nothing");
                if (++differences == 10) {
                    break;
                }
            }
        }
    }
}

} // namespace
} // namespace kelvor
