#include "dialogs/FrmAbout.h"

#include "Version.h"
#include "platform/widgets/AppIcon.h"
#include "platform/widgets/CenterForm.h"
#include "platform/widgets/Twips.h"
#include "platform/widgets/TwipsLayout.h"

#include <QLabel>
#include <QPushButton>

namespace kelvor {
namespace {

// The maker's company, street, city, telephone and web address, one a line.
constexpr const char* MakerLines[] = {
    "Kelvor Test Systems",     "4821 Imaginary Lane, Suite 9",
    "Nowhere Falls, ZZ 00000", "Phone: (555) 555-0142",
    "www.example.com",
};
constexpr const char* LegalNotice = "\u00A9 2011 Kelvor Test Systems. All rights reserved.";

QFont arial(double points, bool bold) {
    QFont font("Arial");
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace

std::string aboutVersionLine(const std::string& releaseText) {
    return "Version " + std::to_string(VersionMajor) + "." + std::to_string(VersionMinor) + "." +
           std::to_string(VersionRevision) + "    " + releaseText;
}

FrmAbout::FrmAbout(QWidget& owner, const std::string& releaseText) : QDialog(&owner) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setModal(false);
    fixClientSizeTwips(*this, 5715, 2805);
    buildControls();
    // Every way out (OK, Enter, Esc, the close box) ends in finished(); the box is unloaded.
    connect(this, &QDialog::finished, this, &QObject::deleteLater);
    load(releaseText);
}

void FrmAbout::buildControls() {
    lblTitle_ = new QLabel(this);
    lblTitle_->setObjectName("lblTitle");
    lblTitle_->setFont(arial(9.75, true));
    lblTitle_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeTwips(*lblTitle_, 180, 180, 3885, 480);

    lblVersion_ = new QLabel(this);
    lblVersion_->setObjectName("lblVersion");
    lblVersion_->setFont(arial(9.75, true));
    lblVersion_->setTextFormat(Qt::PlainText); // keeps the four blanks
    placeTwips(*lblVersion_, 180, 720, 3885, 225);

    label3_ = new QLabel(this);
    label3_->setObjectName("Label3");
    label3_->setFont(arial(8.25, false));
    label3_->setTextFormat(Qt::PlainText);
    label3_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label3_->setWordWrap(true);
    placeTwips(*label3_, 150, 1065, 3885, 1590);

    auto* image = new QLabel(this);
    image->setObjectName("Image1");
    image->setPixmap(appIconPixmap(twipsToPixels(480, screenDpi(*this))));
    placeTwips(*image, 4620, 360, 480, 480);

    cmdOK_ = new QPushButton("OK", this);
    cmdOK_->setObjectName("cmdOK");
    cmdOK_->setFont(arial(8.25, false));
    cmdOK_->setDefault(true);
    placeTwips(*cmdOK_, 4260, 2280, 1260, 345);
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);
}

void FrmAbout::load(const std::string& releaseText) {
    setWindowTitle(QString("About ") + ProgramTitle);
    lblVersion_->setText(QString::fromStdString(aboutVersionLine(releaseText)));
    lblTitle_->setText(ProgramTitle);
    QString maker;
    for (const char* line : MakerLines) {
        maker += QString::fromUtf8(line) + '\n';
    }
    label3_->setText(maker + '\n' + QString::fromUtf8(LegalNotice));
    CenterForm(*this);
}

void FrmAbout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!centred_) {
        centred_ = true;
        CenterForm(*this); // now with the frame the window system gave it
        cmdOK_->setFocus();
    }
}

} // namespace kelvor
