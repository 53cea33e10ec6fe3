#pragma once

#include "host/model/PageSetup.h"

#include <QRectF>
#include <QString>

#include <string>

class QPainter;

namespace kelvor {

// What a header or footer code stands for on one page.
struct PageFacts {
    QString fileName;  // &F
    QString sheetName; // &A
    int page = 1;      // &P, counted within the sheet
    int pages = 1;     // &N, the sheet's pages
};

// A header or footer section with its codes filled in: &P, &N, &F, &A, &D, &T, && for "&".
// Formatting codes (&"Arial,Bold", &8, &B, &I, &U, &K00FF00, …) only change the look of the
// text and are left out; an unknown code drops its "&".
QString pageCodeText(const std::string& section, const PageFacts& facts);

// Draws the three header sections at the header margin from the top of `page` and the three
// footer sections at the footer margin from its bottom, left, centre and right within the
// left and right margins. Units of `page` are points.
void paintPageFrame(QPainter& painter, const PageSetup& setup, const QRectF& page,
                    const PageFacts& facts);

} // namespace kelvor
