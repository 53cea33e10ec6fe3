// The About box on the offscreen platform.
#include "DialogFixture.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace kelvor {
namespace {

using FrmAboutTest = DialogFixture;

TEST_F(FrmAboutTest, ShowsTitleVersionMakerAndNotice) {
    FrmAbout& about = dialogs->showAbout();
    const double k = pixelsPerTwip(about);
    EXPECT_EQ(about.windowTitle(), "About KelvorReader2");
    EXPECT_EQ(about.minimumSize(), about.maximumSize());
    EXPECT_NEAR(about.width(), 5715 * k, 1);
    EXPECT_NEAR(about.height(), 2805 * k, 1);
    EXPECT_FALSE(about.isModal());
    EXPECT_EQ(about.lblTitle().text(), "KelvorReader2");
    // Four blanks after the revision; the release text keeps its two after the colon.
    EXPECT_EQ(about.lblVersion().text(), "Version 2.1.6    Released:  7-12-2011");
    EXPECT_TRUE(about.lblVersion().font().bold());
    EXPECT_EQ(about.lblVersion().font().family(), "Arial");

    const QStringList lines = about.Label3().text().split('\n');
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0], "Kelvor Test Systems");
    EXPECT_TRUE(lines[4].contains("example.com"));
    EXPECT_TRUE(lines[5].isEmpty());
    EXPECT_FALSE(lines[6].isEmpty());

    // Nothing clipped: each line fits the label's width, all of them its height.
    for (const QLabel* label : {&about.lblTitle(), &about.lblVersion(), &about.Label3()}) {
        const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 10000),
                                                               Qt::TextWordWrap, label->text());
        EXPECT_LE(needed.height(), label->height()) << label->objectName().toStdString();
        for (const QString& line : label->text().split('\n')) {
            EXPECT_LE(label->fontMetrics().horizontalAdvance(line), label->width())
                << line.toStdString();
        }
    }
    EXPECT_TRUE(about.cmdOK().isDefault());
}

TEST_F(FrmAboutTest, OkEnterAndEscEachCloseTheBox) {
    const auto closes = [this](const std::function<void(FrmAbout&)>& act) {
        QPointer<FrmAbout> about = &dialogs->showAbout();
        act(*about);
        EXPECT_EQ(dialogs->about(), nullptr);
        settle();
        return about.isNull();
    };
    EXPECT_TRUE(closes([](FrmAbout& a) { QTest::mouseClick(&a.cmdOK(), Qt::LeftButton); }));
    EXPECT_TRUE(closes([](FrmAbout& a) { QTest::keyClick(&a, Qt::Key_Return); }));
    EXPECT_TRUE(closes([](FrmAbout& a) { QTest::keyClick(&a, Qt::Key_Escape); }));
    EXPECT_TRUE(closes([](FrmAbout& a) { a.close(); }));
}

TEST_F(FrmAboutTest, SecondAboutBringsTheOpenBoxBackAndAfterOkANewOneIsLoaded) {
    FrmAbout* first = &dialogs->showAbout();
    EXPECT_EQ(&dialogs->showAbout(), first);
    EXPECT_EQ(owner.findChildren<FrmAbout*>().size(), 1);
    first->accept();
    settle();
    EXPECT_NE(dialogs->about(), first);
    EXPECT_EQ(dialogs->showAbout().lblTitle().text(), "KelvorReader2");
}

} // namespace
} // namespace kelvor
