#include "Shots.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <fstream>
#include <iostream>
#include <iterator>

namespace kelvor::screens {

void wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool waitFor(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) {
            return false;
        }
        wait(20);
    }
    return true;
}

QPixmap grabFrame(const QWidget& window, int margin) {
    const QRect area = window.frameGeometry().adjusted(-margin, -margin, margin, margin);
    return window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
}

bool save(const QPixmap& picture, const QString& path) {
    const bool ok = picture.save(path);
    std::cout << (ok ? "wrote " : "could not write ") << path.toStdString() << "\n";
    return ok;
}

std::string sample(const QString& samples, const char* file) {
    std::ifstream in((samples + "/" + file).toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace kelvor::screens
