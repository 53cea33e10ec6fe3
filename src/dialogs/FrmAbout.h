#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QPushButton;

namespace kelvor {

// The version line: "Version 2.1.6", four blanks, then the release text.
std::string aboutVersionLine(const std::string& releaseText);

// "About KelvorReader2": program title, version and release, maker and legal notice.
// "OK" (also Enter and Esc) or the close box unloads it.
class FrmAbout final : public QDialog {
    Q_OBJECT
public:
    FrmAbout(QWidget& owner, const std::string& releaseText);

    QLabel& lblTitle() { return *lblTitle_; }
    QLabel& lblVersion() { return *lblVersion_; }
    QLabel& Label3() { return *label3_; }
    QPushButton& cmdOK() { return *cmdOK_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void load(const std::string& releaseText);

    QLabel* lblTitle_ = nullptr;
    QLabel* lblVersion_ = nullptr;
    QLabel* label3_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    bool centred_ = false;
};

} // namespace kelvor
