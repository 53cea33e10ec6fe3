#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

namespace kelvor {
namespace {

class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string path = dir.filePath("test.ini").toStdString();

    void setContent(const std::string& bytes) {
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    std::string content() const {
        QFile file(QString::fromStdString(path));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll().toStdString();
    }
    std::string read(const std::string& section, const std::string& key) const {
        return readProfileString(section, key, "<default>", path);
    }
};

TEST_F(IniFileTest, ReadsNamesWithoutCaseAndTrimsBlanksAndQuotes) {
    setContent("; a comment=1\n"
               "  [ Main ]  \n"
               "\tTop = 120 \n"
               "Name=\"  padded  \"\n"
               "Single='x'\n"
               "Mixed=\"x'\n"
               "Lone=\"\n"
               "Empty=\n");
    EXPECT_EQ(read("MAIN", "top"), "120");
    EXPECT_EQ(read("main", "NAME"), "  padded  ");
    EXPECT_EQ(read("Main", "Single"), "x");
    EXPECT_EQ(read("Main", "Mixed"), "\"x'");
    EXPECT_EQ(read("Main", "Lone"), "\"");
    EXPECT_EQ(read("Main", "Empty"), "");
    EXPECT_EQ(read("Main", "; a comment"), "<default>");
}

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(read("Main", "Top"), "<default>");
    EXPECT_FALSE(findProfileString("Main", "Top", path));
    setContent("[Main]\nTop=1\n");
    EXPECT_EQ(read("Other", "Top"), "<default>");
    EXPECT_EQ(read("Main", "Left"), "<default>");
}

TEST_F(IniFileTest, FirstSectionAndFirstKeyWin) {
    setContent("Top=before any section\n"
               "[Main]\nTop=1\nTop=2\n"
               "[main]\nTop=3\nLeft=4\n");
    EXPECT_EQ(read("Main", "Top"), "1");
    // Only the first of two same-named sections is searched.
    EXPECT_EQ(read("Main", "Left"), "<default>");
}

TEST_F(IniFileTest, GarbageAndBinaryLinesAreIgnored) {
    setContent(std::string("[Main]\nno equals sign here\n\x01\x02\xff\xfe") +
               "\n=no key\n[unclosed\nTop=7\n");
    EXPECT_EQ(read("Main", "Top"), "7");
}

TEST_F(IniFileTest, ReadsCrLfFilesAndSkipsAByteOrderMark) {
    setContent("\xEF\xBB\xBF[Main]\r\nTop=5\r\nName=a b\r\n");
    EXPECT_EQ(read("Main", "Top"), "5");
    EXPECT_EQ(read("Main", "Name"), "a b");
}

TEST_F(IniFileTest, NewFileGetsSectionsInOrderWithLf) {
    ASSERT_TRUE(writeProfileString("A", "One", "1", path));
    ASSERT_TRUE(writeProfileString("A", "Two", "2", path));
    ASSERT_TRUE(writeProfileString("B", "Three", "3", path));
    EXPECT_EQ(content(), "[A]\nOne=1\nTwo=2\n\n[B]\nThree=3\n");
}

TEST_F(IniFileTest, RewritesAKeyInPlaceKeepingEverythingElse) {
    const std::string binary("\x00\x01\xfe garbage", 11);
    setContent("; settings\n[Main]\n  top = 1  ; not a comment\nUnknown=u\n" + binary +
               "\n[Other]\nTop=9\n");
    ASSERT_TRUE(writeProfileString("MAIN", "Top", "250", path));
    EXPECT_EQ(content(),
              "; settings\n[Main]\ntop=250\nUnknown=u\n" + binary + "\n[Other]\nTop=9\n");
}

TEST_F(IniFileTest, NewKeyGoesAfterTheLastKeyOfItsSection) {
    setContent("[Main]\nTop=1\n; trailing note\n\n[Other]\nX=1\n");
    ASSERT_TRUE(writeProfileString("Main", "Left", "2", path));
    EXPECT_EQ(content(), "[Main]\nTop=1\nLeft=2\n; trailing note\n\n[Other]\nX=1\n");

    setContent("[Empty]\n[Other]\nX=1");
    ASSERT_TRUE(writeProfileString("Empty", "K", "v", path));
    ASSERT_TRUE(writeProfileString("Other", "Y", "2", path));
    EXPECT_EQ(content(), "[Empty]\nK=v\n[Other]\nX=1\nY=2\n");
}

TEST_F(IniFileTest, KeepsCrLfLineEndings) {
    setContent("[Main]\r\nTop=1\r\nLeft=2");
    ASSERT_TRUE(writeProfileString("Main", "Top", "3", path));
    ASSERT_TRUE(writeProfileString("Main", "New", "4", path));
    ASSERT_TRUE(writeProfileString("Next", "K", "5", path));
    EXPECT_EQ(content(), "[Main]\r\nTop=3\r\nLeft=2\r\nNew=4\r\n\r\n[Next]\r\nK=5\r\n");
}

TEST_F(IniFileTest, ValuesReadBackAsWritten) {
    for (const std::string value :
         {"line\r\nbreak", "  blanks  ", "\"quoted\"", "'single'", "", "a=b;c", "\xe4\xf6\xfc"}) {
        SCOPED_TRACE(value);
        ASSERT_TRUE(writeProfileString("Main", "Value", value, path));
        std::string expected = value;
        std::ranges::replace(expected, '\r', ' ');
        std::ranges::replace(expected, '\n', ' ');
        EXPECT_EQ(read("Main", "Value"), expected);
    }
    EXPECT_EQ(content(), "[Main]\nValue=\xe4\xf6\xfc\n"); // still one line, one key
}

TEST_F(IniFileTest, LeavesNoTemporaryFilesBehind) {
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(writeProfileString("Main", "Key" + std::to_string(i), "v", path));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"test.ini"});
}

TEST_F(IniFileTest, RefusesNamesThatCannotBeWritten) {
    EXPECT_FALSE(writeProfileString("Ma]in", "Top", "1", path));
    EXPECT_FALSE(writeProfileString("Main", "To=p", "1", path));
    EXPECT_FALSE(writeProfileString("Main", "Top\n[X]", "1", path));
    EXPECT_FALSE(writeProfileString("Main", ";Top", "1", path));
    EXPECT_FALSE(writeProfileString(" ", "Top", "1", path));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}

TEST_F(IniFileTest, FailsWhereNoFileCanBeMade) {
    // A regular file standing where the folder should be: no user, not even root, can
    // create anything below it.
    setContent("");
    const std::string below = path + "/inner.ini";
    EXPECT_FALSE(writeProfileString("Main", "Top", "1", below));
    EXPECT_FALSE(ensureFileExists(below));
    EXPECT_FALSE(ensureFileExists(dir.path().toStdString()));
}

TEST_F(IniFileTest, EnsureFileExistsCreatesAnEmptyFileAndKeepsAnExistingOne) {
    ASSERT_TRUE(ensureFileExists(path));
    EXPECT_EQ(content(), "");
    setContent("[Main]\nTop=1\n");
    ASSERT_TRUE(ensureFileExists(path));
    EXPECT_EQ(content(), "[Main]\nTop=1\n");
}

TEST_F(IniFileTest, DeletingAKeyRemovesItsLinesInTheFirstSectionOnly) {
    setContent("[Ports]\r\nCom1=/dev/a\r\n; note\r\ncom1 = /dev/again\r\nCom2=/dev/b\r\n"
               "[Other]\r\nCom1=kept\r\n[Ports]\r\nCom1=later section\r\n");
    ASSERT_TRUE(deleteProfileString("ports", "COM1", path));
    EXPECT_EQ(content(), "[Ports]\r\n; note\r\nCom2=/dev/b\r\n[Other]\r\nCom1=kept\r\n"
                         "[Ports]\r\nCom1=later section\r\n");
    // Nothing to delete leaves the file, and a missing file, alone.
    EXPECT_TRUE(deleteProfileString("Ports", "Com9", path));
    EXPECT_TRUE(deleteProfileString("Nowhere", "Com1", path));
    const std::string missing = dir.filePath("missing.ini").toStdString();
    EXPECT_TRUE(deleteProfileString("Ports", "Com1", missing));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(missing)));
}

} // namespace
} // namespace kelvor
