#pragma once

#include <QFont>

class QPaintDevice;

// The plot's font with a cell height of `cellHeight` pixels of `device`,
// internal leading included, as the plot's font heights are given. The face
// is "ＭＳ ゴシック", or the face installFontSubstitutions() put in its
// place, asked for by that face's own name so that an SVG names a face its
// reader can find.
//
// Qt sizes a font by its em (pixel size), not by its cell, so the pixel size
// is searched: the one whose QFontMetrics::height() on `device` comes
// closest to `cellHeight`; of two equally close, the smaller, so the text
// never stands taller than asked. Hinting leaves some cells unreachable
// (IPAGothic on an image: 8, 19, 24, ...), missed by one pixel. The cost is a
// few metric look-ups.
QFont PlotFont(int cellHeight, QPaintDevice *device);
