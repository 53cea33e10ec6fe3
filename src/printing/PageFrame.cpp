#include "printing/PageFrame.h"

#include <QDate>
#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QTime>

#include <cctype>

namespace kelvor {

namespace {

constexpr int FramePoints = 10;

QString utf8(const std::string& text, std::size_t from, std::size_t to) {
    return QString::fromUtf8(text.data() + from, static_cast<qsizetype>(to - from));
}

void drawSection(QPainter& painter, const QString& text, const QRectF& band, Qt::Alignment align) {
    if (!text.isEmpty()) {
        painter.drawText(band, static_cast<int>(align | Qt::TextDontClip), text);
    }
}

} // namespace

QString pageCodeText(const std::string& section, const PageFacts& facts) {
    QString out;
    std::size_t plain = 0;
    std::size_t at = 0;
    while ((at = section.find('&', at)) != std::string::npos) {
        out += utf8(section, plain, at);
        std::size_t next = at + 1;
        if (next < section.size()) {
            const char code = section[next];
            ++next;
            switch (std::toupper(static_cast<unsigned char>(code))) {
            case '&':
                out += '&';
                break;
            case 'P':
                out += QString::number(facts.page);
                break;
            case 'N':
                out += QString::number(facts.pages);
                break;
            case 'F':
                out += facts.fileName;
                break;
            case 'A':
                out += facts.sheetName;
                break;
            case 'D':
                out += QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
                break;
            case 'T':
                out += QLocale().toString(QTime::currentTime(), QLocale::ShortFormat);
                break;
            case '"': { // &"Font,Style"
                const std::size_t close = section.find('"', next);
                next = close == std::string::npos ? section.size() : close + 1;
                break;
            }
            case 'K': // &Krrggbb, a colour
                next = std::min(section.size(), next + 6);
                break;
            default: // &8 (a size), &B, &I, &U, &S, &X, &Y, &E, &L, &C, &R, …
                while (std::isdigit(static_cast<unsigned char>(code)) && next < section.size() &&
                       std::isdigit(static_cast<unsigned char>(section[next]))) {
                    ++next;
                }
                break;
            }
        }
        at = plain = next;
    }
    out += utf8(section, plain, section.size());
    return out;
}

void paintPageFrame(QPainter& painter, const PageSetup& setup, const QRectF& page,
                    const PageFacts& facts) {
    painter.save();
    QFont font("Arial");
    // Points are the painter's units here, whatever the device's resolution.
    font.setPixelSize(FramePoints);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const double left = page.left() + setup.leftMargin;
    const double width = page.width() - setup.leftMargin - setup.rightMargin;
    const double line = QFontMetricsF(font).height();
    const QRectF header(left, page.top() + setup.headerMargin, width, line);
    const QRectF footer(left, page.bottom() - setup.footerMargin - line, width, line);
    drawSection(painter, pageCodeText(setup.leftHeader, facts), header,
                Qt::AlignLeft | Qt::AlignTop);
    drawSection(painter, pageCodeText(setup.centerHeader, facts), header,
                Qt::AlignHCenter | Qt::AlignTop);
    drawSection(painter, pageCodeText(setup.rightHeader, facts), header,
                Qt::AlignRight | Qt::AlignTop);
    drawSection(painter, pageCodeText(setup.leftFooter, facts), footer,
                Qt::AlignLeft | Qt::AlignBottom);
    drawSection(painter, pageCodeText(setup.centerFooter, facts), footer,
                Qt::AlignHCenter | Qt::AlignBottom);
    drawSection(painter, pageCodeText(setup.rightFooter, facts), footer,
                Qt::AlignRight | Qt::AlignBottom);
    painter.restore();
}

} // namespace kelvor
