#include "platform/widgets/QtPrompts.h"

#include <QApplication>
#include <QMessageBox>

namespace kelvor {
namespace {

QMessageBox::Icon iconFor(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Critical:
        return QMessageBox::Critical;
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Exclamation:
        return QMessageBox::Warning;
    case PromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// Texts use a lone carriage return as the line break; the toolkit wants line feeds.
QString displayText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace("\r\n", "\n");
    shown.replace('\r', '\n');
    return shown;
}

} // namespace

QtPrompts::QtPrompts() = default;
QtPrompts::~QtPrompts() = default;

PromptResult QtPrompts::show(const std::string& text, const std::string& title, PromptIcon icon,
                             PromptButtons buttons) {
    QMessageBox box(iconFor(icon), QString::fromStdString(title), displayText(text));
    box.setTextFormat(Qt::PlainText);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (buttons == PromptButtons::RetryCancel) {
        box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        // Anything but an explicit Retry (Esc, the close box, the program ending) cancels.
        return box.exec() == QMessageBox::Retry ? PromptResult::Retry : PromptResult::Cancel;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return PromptResult::Ok;
}

void QtPrompts::notice(const std::string& text, const std::string& title, PromptIcon icon) {
    if (!notice_) {
        notice_ = std::make_unique<QMessageBox>();
        notice_->setTextFormat(Qt::PlainText);
        notice_->setWindowFlag(Qt::WindowStaysOnTopHint);
        notice_->setStandardButtons(QMessageBox::Ok);
        notice_->setWindowModality(Qt::NonModal);
    }
    notice_->setIcon(iconFor(icon));
    notice_->setWindowTitle(QString::fromStdString(title));
    notice_->setText(displayText(text));
    notice_->show();
    notice_->raise();
}

QMessageBox* QtPrompts::openNotice() const {
    return notice_ && notice_->isVisible() ? notice_.get() : nullptr;
}

void QtPrompts::beep() {
    QApplication::beep();
}

} // namespace kelvor
