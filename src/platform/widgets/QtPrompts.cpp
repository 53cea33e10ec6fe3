#include "platform/widgets/QtPrompts.h"

#include <QApplication>
#include <QMessageBox>

#include <algorithm>
#include <utility>

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

QtPrompts::~QtPrompts() {
    for (const QPointer<QMessageBox>& box : boxes_) {
        delete box.data();
    }
}

std::vector<QMessageBox*> QtPrompts::openBoxes() {
    std::erase_if(boxes_, [](const QPointer<QMessageBox>& box) { return box.isNull(); });
    std::vector<QMessageBox*> open;
    for (const QPointer<QMessageBox>& box : boxes_) {
        open.push_back(box.data());
    }
    return open;
}

QMessageBox* QtPrompts::makeBox(const std::string& text, const std::string& title,
                                PromptIcon icon) {
    auto* box = new QMessageBox(iconFor(icon), QString::fromStdString(title), displayText(text));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setTextFormat(Qt::PlainText);
    box->setWindowFlag(Qt::WindowStaysOnTopHint);
    boxes_.emplace_back(box);
    return box;
}

void QtPrompts::ask(const std::string& text, const std::string& title, PromptIcon icon,
                    std::function<void(PromptResult)> answered) {
    if (ended_) {
        return;
    }
    QMessageBox* box = makeBox(text, title, icon);
    box->setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
    box->setEscapeButton(QMessageBox::Cancel);
    box->setWindowModality(Qt::NonModal);
    // Anything but an explicit Retry (Esc, the close box) cancels; the program ending
    // disconnects first and answers nothing.
    QObject::connect(
        box, &QMessageBox::finished, box, [answered = std::move(answered)](int result) {
            answered(result == QMessageBox::Retry ? PromptResult::Retry : PromptResult::Cancel);
        });
    box->show();
}

PromptResult QtPrompts::show(const std::string& text, const std::string& title, PromptIcon icon,
                             PromptButtons buttons) {
    const bool question = buttons == PromptButtons::RetryCancel;
    if (ended_) {
        return question ? PromptResult::Cancel : PromptResult::Ok;
    }
    const QString shown = displayText(text);
    const QString caption = QString::fromStdString(title);
    if (!question) {
        const auto open = openBoxes();
        const bool alreadyShown = std::any_of(open.begin(), open.end(), [&](QMessageBox* box) {
            return box->text() == shown && box->windowTitle() == caption;
        });
        if (alreadyShown) {
            return PromptResult::Ok;
        }
    }

    QMessageBox* box = makeBox(text, title, icon);
    if (!question) {
        box->setStandardButtons(QMessageBox::Ok);
        box->setWindowModality(Qt::NonModal);
        box->show();
        return PromptResult::Ok;
    }
    box->setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
    box->setEscapeButton(QMessageBox::Cancel);
    // Anything but an explicit Retry (Esc, the close box, the program ending) cancels.
    const QPointer<QMessageBox> guard(box);
    const int answer = box->exec();
    if (guard) {
        box->close();
    }
    return answer == QMessageBox::Retry ? PromptResult::Retry : PromptResult::Cancel;
}

void QtPrompts::beep() {
    QApplication::beep();
}

void QtPrompts::endSession() {
    ended_ = true;
    for (QMessageBox* box : openBoxes()) {
        QObject::disconnect(box, &QMessageBox::finished, nullptr, nullptr);
        box->done(QMessageBox::Cancel); // ends a waiting question with Cancel
        box->close();
    }
}

} // namespace kelvor
