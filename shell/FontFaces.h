#pragma once

#include <QFont>
#include <QString>

// Which Japanese faces the program asks for and what stands in for them on a
// machine without them: the faces by name, shared by the windows and the plot.
// How large the plot's text is drawn is plot/PlotFont.h's business.

// The Japanese faces the windows and the plot ask for, by their Japanese names.
inline const QString ProportionalGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString MonospacedGothic = QStringLiteral("ＭＳ ゴシック");

// Maps the faces above (and their Latin names) to installed Japanese Gothic
// faces when they are missing, so that no window falls back on a face without
// Japanese glyphs. Call once after the QApplication exists.
void installFontSubstitutions();

// The proportional Gothic face at a height in pixels, as the windows' forms
// give their fonts.
QFont proportionalGothic(int pixelSize);
