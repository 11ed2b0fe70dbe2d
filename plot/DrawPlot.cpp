#include "plot/DrawPlot.h"

#include "core/MapEllipses.h"
#include "plot/DrawEllipses.h"

#include "analysis/Errors.h"
#include "analysis/ExtMath.h"
#include "plot/MapPanels.h"
#include "plot/PlotFont.h"
#include "plot/PlotTexts.h"
#include "plot/RespondentPoints.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

enum class Marker { Circle, Square };

// A supplementary category's marker is filled grey, so that it reads as
// placed on the map rather than shaping it.
struct MarkerStyle {
    Marker shape = Marker::Circle;
    bool supplementary = false;
};

const QColor SupplementaryColour(128, 128, 128);

// The thin lines the options add (origin lines, leader lines): grey, so
// that the markers and the frame stay the strongest lines of the map.
const QColor ThinLineColour(96, 96, 96);

// Everything one drawing needs besides the painter.
struct PlotContext {
    QPainter &painter;
    PlotGeometry g;
    long double maxAbsScale;
};

// Draws `text` with its top-left corner at (left, top), background left as
// it is.
void drawTextAt(
    QPainter &painter, const QFontMetrics &metrics, int left, int top, const QString &text)
{
    painter.drawText(QPoint(left, top + metrics.ascent()), text);
}

QString fromUtf8(const std::string &text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The frame's pixels run from (left, top) to (right - 1, bottom - 1): a
// square of side 2 * (PlotRadius + FrameMargin) about the centre.
QRect frameBounds(const PlotGeometry &g, long double m)
{
    const int left = MapX(g, m, -m) - g.FrameMargin;
    const int top = MapY(g, m, m) - g.FrameMargin;
    const int right = MapX(g, m, m) + g.FrameMargin;
    const int bottom = MapY(g, m, -m) + g.FrameMargin;
    return QRect(left, top, right - left, bottom - top);
}

void drawMarker(QPainter &painter, const PlotGeometry &g, MarkerStyle style, int x, int y)
{
    const int half = g.MarkerHalf;
    const QColor colour = style.supplementary ? SupplementaryColour : QColor(Qt::black);
    QPen pen(colour, g.MarkerPen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(style.supplementary ? QBrush(colour) : QBrush(Qt::NoBrush));
    // The pen straddles the bounding square's outline.
    const QRectF bounds(x - half, y - half, 2 * half, 2 * half);
    if (style.shape == Marker::Circle)
        painter.drawEllipse(bounds);
    else
        painter.drawRect(bounds);
}

void drawLabel(QPainter &painter, const QFontMetrics &metrics, const PlotMark &mark)
{
    painter.setPen(Qt::black);
    drawTextAt(painter, metrics, mark.labelBox.left, mark.labelBox.top, mark.label);
}

// The half side of a marker's square with the outer half of its pen.
int inkedHalf(const PlotGeometry &g)
{
    return g.MarkerHalf + (g.MarkerPen + 1) / 2;
}

// The half side of mark k's own marker: sized by its mass, the aids' look
// has it; otherwise every marker shares the geometry's.
int markerHalfOf(const PlotScene &scene, std::size_t k)
{
    return scene.looks.empty() ? scene.geometry.MarkerHalf : scene.looks[k].half;
}

int inkedHalfOf(const PlotScene &scene, std::size_t k)
{
    return markerHalfOf(scene, k) + (scene.geometry.MarkerPen + 1) / 2;
}

PlotRect inkedMarkerBox(const PlotScene &scene, std::size_t k)
{
    const PlotMark &m = scene.marks[k];
    const int half = inkedHalfOf(scene, k);
    return { m.x - half, m.y - half, 2 * half + 1, 2 * half + 1 };
}

void drawLeader(QPainter &painter, const PlotScene &scene, std::size_t k)
{
    const PlotMark &mark = scene.marks[k];
    const std::optional<LeaderLine> line
        = LeaderTo(mark.labelBox, mark.x, mark.y, inkedHalfOf(scene, k));
    if (!line)
        return;
    painter.setPen(QPen(ThinLineColour, 1));
    painter.drawLine(line->x1, line->y1, line->x2, line->y2);
}

// The classic map draws each category's label right after its marker. With
// labels moved apart, every marker comes first, so that no later marker
// covers a label that was placed to be read.
void drawMarks(QPainter &painter, const PlotScene &scene, const QFontMetrics &metrics, bool repel,
    bool paintLabels)
{
    auto markerOf = [](const PlotMark &m) {
        return MarkerStyle{ m.point.isRow ? Marker::Circle : Marker::Square,
            m.point.supplementary };
    };
    for (std::size_t k = 0; k < scene.marks.size(); ++k) {
        const PlotMark &mark = scene.marks[k];
        if (scene.looks.empty())
            drawMarker(painter, scene.geometry, markerOf(mark), mark.x, mark.y);
        else
            PaintMarker(painter, scene.looks[k], mark.x, mark.y, scene.geometry.MarkerPen);
        if (!repel && mark.labelShown && paintLabels)
            drawLabel(painter, metrics, mark);
    }
    if (!repel)
        return;
    for (std::size_t k = 0; k < scene.marks.size(); ++k)
        if (scene.marks[k].labelMoved)
            drawLeader(painter, scene, k);
    for (const PlotMark &mark : scene.marks)
        if (mark.labelShown && paintLabels)
            drawLabel(painter, metrics, mark);
}

// Thin dashed lines through 0 on both axes, inside the frame.
void drawOriginLines(QPainter &painter, const PlotScene &scene, long double maxAbsScale)
{
    const int x = MapX(scene.geometry, maxAbsScale, 0.0L);
    const int y = MapY(scene.geometry, maxAbsScale, 0.0L);
    const PlotRect &a = scene.area;
    painter.setPen(QPen(ThinLineColour, 1, Qt::DashLine));
    painter.drawLine(a.left, y, a.right() - 1, y);
    painter.drawLine(x, a.top, x, a.bottom() - 1);
}

// Tick steps of 1, 2 or 5 times a power of ten, about five to a half axis
// at most, so that their values stay short.
long double tickStep(long double maxAbsScale)
{
    const long double raw = maxAbsScale / 2.5L;
    const long double power = std::pow(10.0L, std::floor(std::log10(raw)));
    for (long double factor : { 1.0L, 2.0L, 5.0L })
        if (factor * power >= raw)
            return factor * power;
    return 10.0L * power;
}

QString tickText(long double value)
{
    return QString::number(static_cast<double>(value), 'g', 3);
}

// Short ticks standing on the frame's bottom and left inner edges at every
// multiple of the step within the scale, each with its value beside it.
void drawTicks(QPainter &painter, const PlotScene &scene, const QFontMetrics &metrics)
{
    const PlotGeometry &g = scene.geometry;
    const long double m = scene.maxAbsScale;
    const long double step = tickStep(m);
    const PlotRect &a = scene.area;
    const int length = std::max(3, g.MarkerHalf / 3);
    painter.setPen(QPen(Qt::black, 1));
    const int count = static_cast<int>(std::floor(m / step + 1e-9L));
    for (int k = -count; k <= count; ++k) {
        const long double value = k * step;
        const QString text = tickText(value);
        const int x = MapX(g, m, value);
        const int y = MapY(g, m, value);
        painter.drawLine(x, a.bottom() - 1, x, a.bottom() - length);
        drawTextAt(painter, metrics, x - metrics.horizontalAdvance(text) / 2,
            a.bottom() - length - metrics.height(), text);
        painter.drawLine(a.left, y, a.left + length - 1, y);
        drawTextAt(painter, metrics, a.left + length + 1, y - metrics.height() / 2, text);
    }
}

struct LegendEntry {
    MarkerStyle marker;
    QString text;
    bool hasMarker = true; // false: a line of text alone, such as the scaling's note
    std::optional<MarkerLook> look = std::nullopt; // drawn instead of `marker` when restyled
};

// The respondents as small filled squares, under everything else.
void drawRespondents(QPainter &painter, const PlotScene &scene, const QColor &colour)
{
    const int h = scene.respondentHalf;
    for (const QPoint &p : scene.respondents)
        painter.fillRect(p.x() - h, p.y() - h, 2 * h + 1, 2 * h + 1, colour);
}

// Rows and columns, then the supplementary ones the map shows; under them
// the scaling's note (empty for the classic symmetric map).
std::vector<LegendEntry> legendEntries(const PlotScene &scene)
{
    if (scene.aidLegend) {
        std::vector<LegendEntry> entries;
        for (const AidLegendLine &line : *scene.aidLegend)
            entries.push_back({ {}, line.text, line.look.has_value(), line.look });
        for (const QString &line : scene.notes)
            entries.push_back({ {}, line, false });
        return entries;
    }
    if (!scene.showsMarkerLegend) {
        std::vector<LegendEntry> notes;
        for (const QString &line : scene.notes)
            notes.push_back({ {}, line, false });
        return notes;
    }
    std::vector<LegendEntry> entries
        = { { { Marker::Circle, false }, QStringLiteral("行カテゴリー") },
              { { Marker::Square, false }, QStringLiteral("列カテゴリー") } };
    const auto shows = [&](bool isRow) {
        return std::any_of(scene.marks.begin(), scene.marks.end(),
            [&](const PlotMark &m) { return m.point.supplementary && m.point.isRow == isRow; });
    };
    if (shows(true))
        entries.push_back({ { Marker::Circle, true }, QStringLiteral("補助行") });
    if (shows(false))
        entries.push_back({ { Marker::Square, true }, QStringLiteral("補助列") });
    for (const QString &line : scene.notes)
        entries.push_back({ {}, line, false });
    return entries;
}

// The legend's box: a marker and its text on each line, with a margin of
// half a marker around them.
struct LegendMetrics {
    int pad;
    int line;
    int width;
    int height;
};

LegendMetrics legendMetrics(const PlotGeometry &g, const QFontMetrics &labelMetrics,
    const std::vector<LegendEntry> &entries)
{
    LegendMetrics m;
    m.pad = g.MarkerHalf / 2 + 2;
    m.line = std::max(2 * g.MarkerHalf + g.MarkerPen, labelMetrics.height()) + 2;
    int text = 0;
    int note = 0;
    for (const LegendEntry &entry : entries)
        (entry.hasMarker ? text : note)
            = std::max(entry.hasMarker ? text : note, labelMetrics.horizontalAdvance(entry.text));
    m.width = std::max(text > 0 ? 3 * m.pad + 2 * g.MarkerHalf + text : 0, 2 * m.pad + note);
    m.height = 2 * m.pad + static_cast<int>(entries.size()) * m.line;
    return m;
}

void drawLegend(
    QPainter &painter, PlotScene &scene, const QFontMetrics &labelMetrics, bool paintLabels)
{
    const PlotGeometry &g = scene.geometry;
    const std::vector<LegendEntry> entries = legendEntries(scene);
    const LegendMetrics m = legendMetrics(g, labelMetrics, entries);
    const PlotRect &box = *scene.legend;
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRect(box.left, box.top, box.width - 1, box.height - 1));
    const int markerX = box.left + m.pad + g.MarkerHalf;
    const int textLeft = box.left + 2 * m.pad + 2 * g.MarkerHalf;
    for (std::size_t line = 0; line < entries.size(); ++line) {
        const int centreY = box.top + m.pad + static_cast<int>(line) * m.line + m.line / 2;
        const int left = entries[line].hasMarker ? textLeft : box.left + m.pad;
        if (entries[line].look)
            PaintMarker(painter, *entries[line].look, markerX, centreY, g.MarkerPen);
        else if (entries[line].hasMarker)
            drawMarker(painter, g, entries[line].marker, markerX, centreY);
        painter.setPen(Qt::black);
        const QString text
            = labelMetrics.elidedText(entries[line].text, Qt::ElideRight, box.width - 2 * m.pad);
        const int top = centreY - labelMetrics.height() / 2;
        if (!paintLabels)
            scene.legendTexts.push_back({ left, top, text });
        else
            drawTextAt(painter, labelMetrics, left, top, text);
    }
}

// The caption is centred as if it were as wide as its template, so that one-
// and two-digit captions start at the same column; a caption with its share
// is centred on its own width.
QString captionTemplate(const QString &caption, const char *classic, const PlotOptions &options)
{
    return options.shares ? caption : QString::fromLatin1(classic);
}

void drawHorizontalCaption(
    PlotContext &c, const QFontMetrics &metrics, const QString &caption, const PlotOptions &options)
{
    const QString shape = captionTemplate(caption, "SolutionXX", options);
    const int left = c.g.CentreX - metrics.horizontalAdvance(shape) / 2;
    const int top = MapY(c.g, c.maxAbsScale, -c.maxAbsScale) + 2 * c.g.MarkerHalf;
    c.painter.setPen(Qt::black);
    drawTextAt(c.painter, metrics, left, top, caption);
}

// The caption is drawn upright, black on white, into a bitmap of
// (W + 3) x (H + 3) with its top-left corner at (1, 1), W and H being the
// size of "SolutionXXX" in the target's caption font. The bitmap's block
// (1, 1)..(W + 1, H + 1) then goes to the target turned a quarter turn
// counter-clockwise: bitmap pixel (i + 1, j + 1) lands on target pixel
// (X0 + j, Y0 - i). One drawImage call places it, whatever the surface: a
// printer receives one image, not a pixel at a time.
void drawVerticalCaption(PlotContext &c, const QFont &font, const QFontMetrics &metrics,
    const QString &caption, const PlotOptions &options)
{
    const int W = metrics.horizontalAdvance(captionTemplate(caption, "SolutionXXX", options));
    const int H = metrics.height();
    QImage bitmap(W + 3, H + 3, QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    {
        QPainter onBitmap(&bitmap);
        onBitmap.setFont(font);
        onBitmap.setPen(Qt::black);
        onBitmap.setBrush(Qt::NoBrush);
        drawTextAt(onBitmap, QFontMetrics(font, &bitmap), 1, 1, caption);
    }
    const int X0 = MapX(c.g, c.maxAbsScale, -c.maxAbsScale) - 2 * c.g.MarkerHalf - H;
    const int Y0 = c.g.CentreY + W / 2;
    c.painter.save();
    // After the turn, image column i covers target rows Y0 - i .. Y0 - i + 1.
    c.painter.translate(X0, Y0 + 1);
    c.painter.rotate(-90.0);
    c.painter.drawImage(QRectF(0, 0, W + 1, H + 1), bitmap, QRectF(1, 1, W + 1, H + 1));
    c.painter.restore();
}

// A 1-pixel outline over the frame's pixels.
void drawFrame(PlotContext &c)
{
    const QRect frame = frameBounds(c.g, c.maxAbsScale);
    c.painter.setPen(QPen(Qt::black, 1));
    c.painter.setBrush(Qt::NoBrush);
    c.painter.drawRect(QRect(frame.left(), frame.top(), frame.width() - 1, frame.height() - 1));
}

// A whole name never crosses the frame: one wider than the area is
// shortened with "…" to its width, and a box reaching past the frame is
// moved inside. The classic two-character labels stay as they always were.
PlotMark markOf(const PlotPoint &point, const PlotGeometry &g, long double maxAbsScale,
    const QFontMetrics &metrics, LabelMode mode, const PlotRect &area)
{
    PlotMark mark;
    mark.point = point;
    mark.x = MapX(g, maxAbsScale, point.horizontal);
    mark.y = MapY(g, maxAbsScale, point.vertical);
    mark.label = fromUtf8(LabelText(point.name, mode));
    int width = metrics.horizontalAdvance(mark.label);
    if (mode == LabelMode::Full && width > area.width) {
        mark.label = metrics.elidedText(mark.label, Qt::ElideRight, area.width);
        width = metrics.horizontalAdvance(mark.label);
    }
    mark.labelBox = { mark.x - width / 2, mark.y - g.LabelLift, width, metrics.height() };
    if (mode == LabelMode::Full) {
        PlotRect &b = mark.labelBox;
        b.left = std::max(area.left, std::min(b.left, area.right() - b.width));
        b.top = std::max(area.top, std::min(b.top, area.bottom() - b.height));
    }
    return mark;
}

// The shortened form a crowded label falls back on: its first two
// characters and "…"; nothing for a label no longer than that.
QString shortenedLabel(const PlotMark &mark)
{
    const QString prefix = fromUtf8(LabelText(mark.point.name, LabelMode::Short));
    return prefix.size() < mark.label.size() ? prefix + QChar(0x2026) : QString();
}

// The legend goes where it covers the fewest markers and classic labels;
// moved labels then keep off it.
void placeLegendAndLabels(PlotScene &scene, const QFontMetrics &metrics, const PlotOptions &options)
{
    const PlotGeometry &g = scene.geometry;
    const int half = inkedHalf(g);
    std::vector<PlotRect> obstacles;
    if (scene.showsMarkerLegend || !scene.notes.empty()) {
        std::vector<PlotRect> occupied;
        for (std::size_t k = 0; k < scene.marks.size(); ++k) {
            occupied.push_back(inkedMarkerBox(scene, k));
            occupied.push_back(scene.marks[k].labelBox);
        }
        const LegendMetrics lm = legendMetrics(g, metrics, legendEntries(scene));
        // A note wider than the frame is shortened inside it rather than crossing it.
        const int width = std::min(lm.width, scene.area.width - g.MarkerHalf);
        scene.legend = FreeCorner(scene.area, width, lm.height, g.MarkerHalf / 2, occupied);
        obstacles.push_back(*scene.legend);
    }
    if (!options.repel)
        return;
    std::vector<LabelRequest> requests;
    std::vector<QString> shortened;
    for (std::size_t k = 0; k < scene.marks.size(); ++k) {
        const PlotMark &m = scene.marks[k];
        shortened.push_back(shortenedLabel(m));
        const int shortWidth
            = shortened.back().isEmpty() ? 0 : metrics.horizontalAdvance(shortened.back());
        // Markers sized by mass: each label keeps off every marker's own square.
        const int markerHalf = scene.looks.empty() ? 0 : inkedHalfOf(scene, k);
        requests.push_back({ m.x, m.y, m.labelBox, shortWidth, m.labelShown, markerHalf });
    }
    const std::vector<PlacedLabel> placed = PlaceLabels(requests, half, scene.area, obstacles);
    for (std::size_t k = 0; k < placed.size(); ++k) {
        PlotMark &mark = scene.marks[k];
        if (!mark.labelShown)
            continue;
        mark.labelBox = placed[k].box;
        mark.labelMoved = placed[k].moved;
        if (placed[k].shortened)
            mark.label = shortened[k];
    }
}

void placeRespondents(PlotScene &scene, const std::vector<long double> &respondents, int NDim,
    int Axis1, int Axis2, const PlotOptions &options)
{
    if (respondents.empty() || NDim < 1)
        return;
    const std::size_t dims = static_cast<std::size_t>(NDim);
    const auto at = [&](std::size_t i, int axis) {
        const long double value = respondents[i * dims + static_cast<std::size_t>(axis - 1)];
        return options.isMirrored(axis) ? -value : value;
    };
    scene.respondentHalf = std::max(1, scene.geometry.MarkerHalf / 6);
    scene.respondents.reserve(respondents.size() / dims);
    for (std::size_t i = 0; i < respondents.size() / dims; ++i)
        scene.respondents.emplace_back(MapX(scene.geometry, scene.maxAbsScale, at(i, Axis1)),
            MapY(scene.geometry, scene.maxAbsScale, at(i, Axis2)));
}

PlotScene layOut(const QFontMetrics &labelMetrics, const PlotGeometry &geometry,
    const PlotInput &input, int Axis1, int Axis2, const PlotOptions &options)
{
    PlotScene scene;
    scene.geometry = WithLabelLift(geometry, labelMetrics.height());
    scene.maxAbsScale = input.MaxAbsScale;
    const QRect frame = frameBounds(scene.geometry, input.MaxAbsScale);
    scene.area = { frame.left() + 1, frame.top() + 1, frame.width() - 2, frame.height() - 2 };
    const std::vector<bool> labelled = LabelledPoints(input, Axis1, Axis2, options);
    const PlotInput scaled = ScaledMap(input, options.scaling);
    const PlotInput &shown = options.scaling == MapScaling::Symmetric ? input : scaled;
    scene.maxAbsScale = shown.MaxAbsScale;
    const MapAids &aids = options.aids;
    const std::vector<long double> respondents
        = aids.respondents ? ScaledRespondents(input, options.scaling) : std::vector<long double>();
    if (aids.sharedScale > 0.0L)
        scene.maxAbsScale = aids.sharedScale;
    else if (!respondents.empty())
        scene.maxAbsScale = std::max(scene.maxAbsScale, MaxAbsRespondent(respondents));
    const std::vector<MarkerLook> looks = aids.stylesMarkers()
        ? MarkerLooks(input, Axis1, Axis2, aids, scene.geometry)
        : std::vector<MarkerLook>();
    std::size_t k = 0;
    for (const PlotPoint &point : PlottedPoints(shown, Axis1, Axis2, options)) {
        scene.marks.push_back(markOf(
            point, scene.geometry, scene.maxAbsScale, labelMetrics, options.labels, scene.area));
        // A scaling that leaves points out keeps the others in their order.
        while (k < input.points.size()
            && !(input.points[k].isRow == point.isRow
                && input.points[k].supplementary == point.supplementary
                && input.points[k].index == point.index))
            ++k;
        scene.marks.back().labelShown = k < labelled.size() ? labelled[k] : true;
        if (!looks.empty())
            scene.looks.push_back(k < looks.size() ? looks[k] : MarkerLook{});
    }
    placeRespondents(scene, respondents, input.NDim, Axis1, Axis2, options);
    scene.showsMarkerLegend = options.legend;
    if (aids.stylesMarkers() || !scene.respondents.empty()) {
        const auto shows = [&](bool isRow) {
            return std::any_of(scene.marks.begin(), scene.marks.end(),
                [&](const PlotMark &m) { return m.point.supplementary && m.point.isRow == isRow; });
        };
        // The legend lists the respondents only where they are drawn.
        MapAids listed = aids;
        listed.respondents = !scene.respondents.empty();
        scene.aidLegend = AidLegend(
            input, listed, options.legend, shows(true), shows(false), scene.geometry.MarkerHalf);
        if (scene.aidLegend->empty())
            scene.aidLegend.reset();
        else
            scene.showsMarkerLegend = true;
    }
    if (options.scaling != MapScaling::Symmetric) {
        scene.notes.push_back(
            QStringLiteral("尺度: ") + QString::fromUtf8(MapScalingTitle(options.scaling)));
        scene.notes.push_back(QString::fromStdString(MapScalingNote(options.scaling)));
    }
    for (const QString &note : AidNotes(aids))
        scene.notes.push_back(note);
    // In the column contribution biplot a respondent, scaled by the root of
    // its tiny mass (1/n unweighted), would stand next to the origin: the
    // map says why they are missing.
    if (aids.respondents && !input.respondents.empty() && scene.respondents.empty()
        && options.scaling == MapScaling::ColGreen)
        scene.notes.push_back(QStringLiteral("回答者は描きません (質量が小さく原点に集まるため)"));
    if (input.ellipseLevel > 0.0L)
        scene.notes.push_back(QString::fromStdString(
            EllipseNote(input.ellipseLevel, input.ellipseReplicates, input.ellipseAxesResampled)));
    if (scene.showsMarkerLegend || options.repel || !scene.notes.empty())
        placeLegendAndLabels(scene, labelMetrics, options);
    return scene;
}
}

QString PlotLabel(const std::string &name)
{
    return fromUtf8(LabelText(name, LabelMode::Short));
}

PlotScene LayOutPlot(QPaintDevice *device, const PlotGeometry &geometry, const PlotInput &input,
    int Axis1, int Axis2, const PlotOptions &options)
{
    if (input.MaxAbsScale == 0.0L)
        throw FloatError();
    if (options.aids.panels)
        return LayOutPanels(device, geometry, input, Axis1, Axis2, options);
    const QFont labelFont = PlotFont(geometry.LabelFontHeight, device);
    return layOut(QFontMetrics(labelFont, device), geometry, input, Axis1, Axis2, options);
}

PlotScene DrawPlot(QPainter &painter, const PlotGeometry &geometry, const PlotInput &input,
    int Axis1, int Axis2, const PlotOptions &options, bool paintLabels)
{
    // Checked before the painter is touched, so a failure leaves it as it was.
    if (input.MaxAbsScale == 0.0L)
        RaiseFloatError();
    if (options.aids.panels)
        return DrawPanels(painter, geometry, input, Axis1, Axis2, options, paintLabels);
    const QString caption1 = fromUtf8(CaptionText(input, Axis1, options));
    const QString caption2 = fromUtf8(CaptionText(input, Axis2, options));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setBackgroundMode(Qt::TransparentMode);

    const QFont labelFont = PlotFont(geometry.LabelFontHeight, painter.device());
    painter.setFont(labelFont);
    const QFontMetrics labelMetrics(labelFont, painter.device());
    PlotScene scene = layOut(labelMetrics, geometry, input, Axis1, Axis2, options);
    PlotContext c{ painter, scene.geometry, input.MaxAbsScale };

    if (options.originLines)
        drawOriginLines(painter, scene, input.MaxAbsScale);
    if (options.ticks)
        drawTicks(painter, scene, labelMetrics);
    drawRespondents(painter, scene, RespondentColour(options.aids));
    if (input.ellipseLevel > 0.0L)
        DrawEllipses(painter, scene, ScaledMap(input, options.scaling), Axis1, Axis2, options);
    drawMarks(painter, scene, labelMetrics, options.repel, paintLabels);
    if (scene.legend)
        drawLegend(painter, scene, labelMetrics, paintLabels);

    const QFont captionFont = PlotFont(c.g.CaptionFontHeight, painter.device());
    painter.setFont(captionFont);
    const QFontMetrics captionMetrics(captionFont, painter.device());
    drawHorizontalCaption(c, captionMetrics, caption1, options);
    drawVerticalCaption(c, captionFont, captionMetrics, caption2, options);
    drawFrame(c);
    painter.restore();
    return scene;
}

const PlotMark *MarkAt(const PlotScene &scene, int x, int y)
{
    for (std::size_t k = scene.marks.size(); k-- > 0;) {
        const PlotMark &m = scene.marks[k];
        const int half = markerHalfOf(scene, k);
        if (std::abs(x - m.x) <= half && std::abs(y - m.y) <= half)
            return &m;
    }
    return nullptr;
}
