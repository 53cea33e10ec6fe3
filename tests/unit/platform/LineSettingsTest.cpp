// The settings text of a serial line, as the port control takes and refuses it.
#include "platform/LineSettings.h"
#include "platform/SerialPort.h"

#include <gtest/gtest.h>

namespace kelvor::test {
namespace {

TEST(LineSettingsTest, ReadsTheFourFieldsWhateverTheSpacingAndCase) {
    const LineSettings tester = parseLineSettings("9600,N,8,1");
    EXPECT_EQ(tester.baudRate, 9600);
    EXPECT_EQ(tester.parity, 'N');
    EXPECT_EQ(tester.dataBits, 8);
    EXPECT_EQ(tester.stopBits, 1);

    const LineSettings other = parseLineSettings(" 19200 , e , 7 , 2 ");
    EXPECT_EQ(other.baudRate, 19200);
    EXPECT_EQ(other.parity, 'E');
    EXPECT_EQ(other.dataBits, 7);
    EXPECT_EQ(other.stopBits, 2);
    EXPECT_EQ(parseLineSettings("1200,M,5,1.5").stopBits, 1.5);
}

TEST(LineSettingsTest, RefusesWhatTheControlRefusesAsAnInvalidPropertyValue) {
    for (const char* text :
         {"", "9600", "9600,N,8", "9600,N,8,1,1", "fast,N,8,1", "0,N,8,1", "9600,X,8,1",
          "9600,NN,8,1", "9600,N,9,1", "9600,N,4,1", "9600,N,8,3", "9600,N,8,", "96OO,N,8,1"}) {
        try {
            parseLineSettings(text);
            ADD_FAILURE() << "taken: \"" << text << "\"";
        } catch (const CommError& error) {
            EXPECT_EQ(error.number(), 380) << text;
            EXPECT_EQ(error.description(), "Invalid property value") << text;
        }
    }
}

} // namespace
} // namespace kelvor::test
