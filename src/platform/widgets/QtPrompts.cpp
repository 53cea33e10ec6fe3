#include "platform/widgets/QtPrompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <QTimer>

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

// The window the owner names, if it is still there: a window that went away while an export
// ran (its box let events through) leaves the box to the main window.
QWidget* windowNamed(PromptOwner owner) {
    if (owner.window() == nullptr) {
        return nullptr;
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (static_cast<const void*>(window) == owner.window()) {
            return window;
        }
    }
    return nullptr;
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

QMessageBox* QtPrompts::makeBox(PromptOwner owner, const std::string& text,
                                const std::string& title, PromptIcon icon) {
    // From now on the box is its owner's child and goes with it.
    QWidget* parent = windowNamed(owner);
    if (parent == nullptr) {
        parent = mainWindow_.data();
    }
    auto* box = new QMessageBox(iconFor(icon), QString::fromStdString(title), displayText(text),
                                QMessageBox::NoButton, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setTextFormat(Qt::PlainText);
    box->setWindowFlag(Qt::WindowStaysOnTopHint);
    boxes_.emplace_back(box);
    return box;
}

QuestionId QtPrompts::ask(const std::string& text, const std::string& title, PromptIcon icon,
                          std::function<void(PromptResult)> answered) {
    if (ended_) {
        return 0;
    }
    QMessageBox* box = makeBox(PromptOwner{}, text, title, icon);
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
    setOffFromOthers(*box);
    std::erase_if(questions_, [](const auto& question) { return question.second.isNull(); });
    questions_.emplace(++lastQuestion_, box);
    return lastQuestion_;
}

void QtPrompts::withdraw(QuestionId question) {
    const auto found = questions_.find(question);
    if (found == questions_.end()) {
        return;
    }
    if (QMessageBox* box = found->second.data()) {
        QObject::disconnect(box, &QMessageBox::finished, nullptr, nullptr);
        box->close();
    }
    questions_.erase(found);
}

PromptResult QtPrompts::show(const std::string& text, const std::string& title, PromptIcon icon,
                             PromptButtons buttons) {
    return showFor(PromptOwner{}, text, title, icon, buttons);
}

PromptResult QtPrompts::showFor(PromptOwner owner, const std::string& text,
                                const std::string& title, PromptIcon icon, PromptButtons buttons) {
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

    QMessageBox* box = makeBox(owner, text, title, icon);
    if (!question) {
        box->setStandardButtons(QMessageBox::Ok);
        box->setWindowModality(Qt::NonModal);
        box->show();
        setOffFromOthers(*box);
        return PromptResult::Ok;
    }
    // Placed once it has its size, as exec() shows it.
    QTimer::singleShot(0, box, [this, box] { setOffFromOthers(*box); });
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

// Boxes of the same size over the same window would open exactly on top of each other: each
// new one goes a title bar's height down and right of the last one open, and back to the top
// of the screen when it would leave it.
void QtPrompts::setOffFromOthers(QMessageBox& box) {
    QMessageBox* last = nullptr;
    std::vector<QPoint> taken;
    for (QMessageBox* other : openBoxes()) {
        if (other != &box && other->isVisible()) {
            last = other;
            taken.push_back(other->frameGeometry().topLeft());
        }
    }
    if (last == nullptr) {
        return;
    }
    const int titleBar = std::max(last->geometry().top() - last->frameGeometry().top(),
                                  box.style()->pixelMetric(QStyle::PM_TitleBarHeight));
    const int step = std::max(titleBar, 16);
    const QRect area = last->screen() != nullptr ? last->screen()->availableGeometry() : QRect();
    const QSize size = box.frameGeometry().size();
    QPoint at = last->frameGeometry().topLeft() + QPoint(step, step);
    for (std::size_t tries = 0; tries <= taken.size(); ++tries) {
        if (area.isValid() && !area.contains(QRect(at, size))) {
            at = area.topLeft();
        }
        if (std::find(taken.begin(), taken.end(), at) == taken.end()) {
            break;
        }
        at += QPoint(step, step);
    }
    box.move(at);
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
