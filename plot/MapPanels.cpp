#include "plot/MapPanels.h"

#include "plot/PlotFont.h"
#include "plot/RespondentPoints.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The scale of the whole map in the options' scaling: the one both panels share.
long double wholeScale(const PlotInput &input, const PlotOptions &options)
{
    long double scale = options.scaling == MapScaling::Symmetric
        ? input.MaxAbsScale
        : ScaledMap(input, options.scaling).MaxAbsScale;
    if (options.aids.respondents)
        scale = std::max(scale, MaxAbsRespondent(ScaledRespondents(input, options.scaling)));
    return scale;
}

// The points of one side; the respondents, rows of a questionnaire, go with the rows.
PlotInput sideOf(const PlotInput &input, bool rows)
{
    PlotInput side = input;
    side.points.clear();
    for (const PlotInputPoint &p : input.points)
        if (p.isRow == rows)
            side.points.push_back(p);
    if (!rows)
        side.respondents.clear();
    return side;
}

PlotOptions panelOptions(const PlotOptions &options, long double scale)
{
    PlotOptions panel = options;
    panel.aids.panels = false;
    panel.aids.sharedScale = scale;
    return panel;
}

void addMarks(PlotScene &whole, const PlotScene &panel)
{
    whole.marks.insert(whole.marks.end(), panel.marks.begin(), panel.marks.end());
    whole.looks.insert(whole.looks.end(), panel.looks.begin(), panel.looks.end());
    whole.respondents.insert(
        whole.respondents.end(), panel.respondents.begin(), panel.respondents.end());
    whole.legendTexts.insert(
        whole.legendTexts.end(), panel.legendTexts.begin(), panel.legendTexts.end());
}

// The panel's title, centred above its frame.
void drawTitle(QPainter &painter, const PlotScene &scene, const QString &title)
{
    const QFont font = PlotFont(scene.geometry.LabelFontHeight, painter.device());
    const QFontMetrics metrics(font, painter.device());
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    const int top = scene.area.top - 1 - scene.geometry.MarkerHalf / 2 - metrics.height();
    painter.drawText(QPoint(scene.geometry.CentreX - metrics.horizontalAdvance(title) / 2,
                         top + metrics.ascent()),
        title);
    painter.restore();
}

const QString Titles[] = { QStringLiteral("行"), QStringLiteral("列") };

}

PlotGeometry PanelGeometry(const PlotGeometry &whole, int panel)
{
    PlotGeometry g = whole;
    const int half = whole.CentreX / 2;
    g.CentreX = panel == 0 ? half : whole.CentreX + half;
    g.PlotRadius = std::min(whole.PlotRadius, RoundHalfEven(0.75L * half));
    g.MarkerHalf = RoundHalfEven(0.05L * g.PlotRadius);
    g.LabelFontHeight = RoundHalfEven(1.2L * g.MarkerHalf);
    g.CaptionFontHeight = 2 * g.MarkerHalf;
    g.FrameMargin = g.MarkerHalf + (whole.FrameMargin - whole.MarkerHalf);
    return g;
}

PlotScene LayOutPanels(QPaintDevice *device, const PlotGeometry &geometry, const PlotInput &input,
    int Axis1, int Axis2, const PlotOptions &options)
{
    const PlotOptions panel = panelOptions(options, wholeScale(input, options));
    PlotScene scene
        = LayOutPlot(device, PanelGeometry(geometry, 0), sideOf(input, true), Axis1, Axis2, panel);
    addMarks(scene,
        LayOutPlot(device, PanelGeometry(geometry, 1), sideOf(input, false), Axis1, Axis2, panel));
    return scene;
}

PlotScene DrawPanels(QPainter &painter, const PlotGeometry &geometry, const PlotInput &input,
    int Axis1, int Axis2, const PlotOptions &options, bool paintLabels)
{
    const PlotOptions panel = panelOptions(options, wholeScale(input, options));
    PlotScene scene = DrawPlot(
        painter, PanelGeometry(geometry, 0), sideOf(input, true), Axis1, Axis2, panel, paintLabels);
    drawTitle(painter, scene, Titles[0]);
    const PlotScene right = DrawPlot(painter, PanelGeometry(geometry, 1), sideOf(input, false),
        Axis1, Axis2, panel, paintLabels);
    drawTitle(painter, right, Titles[1]);
    addMarks(scene, right);
    return scene;
}
