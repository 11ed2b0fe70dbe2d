#include "plot/PlotFont.h"

#include "shell/FontFaces.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPaintDevice>

#include <algorithm>
#include <cstdlib>

namespace {

// The face actually drawn with, by its own name ("IPAGothic" where
// "ＭＳ ゴシック" is substituted), so that an SVG names a face its reader can
// find and every surface asks for the same one.
QString resolvedFace()
{
    QFont wanted(MonospacedGothic);
    wanted.setStyleHint(QFont::TypeWriter);
    return QFontInfo(wanted).family();
}

QFont faceAt(const QString &face, int pixelSize)
{
    QFont font(face);
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(pixelSize < 1 ? 1 : pixelSize);
    return font;
}

int cellHeightOf(const QString &face, int pixelSize, QPaintDevice *device)
{
    return QFontMetrics(faceAt(face, pixelSize), device).height();
}

}

QFont PlotFont(int cellHeight, QPaintDevice *device)
{
    const QString face = resolvedFace();
    if (cellHeight < 1)
        return faceAt(face, 1);
    // A first guess from the face's cell-to-em ratio, then its neighbours:
    // hinting makes the ratio uneven by a pixel either way.
    const int atWanted = cellHeightOf(face, cellHeight, device);
    const int guess = atWanted > 0 ? std::max(1, cellHeight * cellHeight / atWanted) : cellHeight;
    int best = guess;
    int bestError = std::abs(cellHeightOf(face, guess, device) - cellHeight);
    for (int candidate = guess - 2; candidate <= guess + 2; ++candidate) {
        if (candidate < 1 || candidate == guess)
            continue;
        const int error = std::abs(cellHeightOf(face, candidate, device) - cellHeight);
        if (error < bestError || (error == bestError && candidate < best)) {
            best = candidate;
            bestError = error;
        }
    }
    return faceAt(face, best);
}
