#pragma once

#include <QPixmap>
#include <QString>

#include <functional>
#include <string>

class QWidget;

namespace kelvor::screens {

// Lets the event loop run for `ms` milliseconds, so windows paint and timers fire.
void wait(int ms);
// Lets the event loop run until `done` or `timeoutMs` has passed; false on the timeout.
bool waitFor(const std::function<bool()>& done, int timeoutMs);

// The window as the screen shows it, with the frame the window system drew around it and
// `margin` pixels of whatever is behind it.
QPixmap grabFrame(const QWidget& window, int margin = 0);

// Writes the picture and says so; false when it could not.
bool save(const QPixmap& picture, const QString& path);

// A sample report's text.
std::string sample(const QString& samples, const char* file);

} // namespace kelvor::screens
