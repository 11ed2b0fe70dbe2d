#include "cli/PlotReportOption.h"

#include "cli/MapAidOptions.h"
#include "core/CoreErrors.h"
#include "core/EllipseJson.h"
#include "core/IntConversion.h"
#include "core/MapJson.h"
#include "plot/PlotErrors.h"
#include "plot/PlotExport.h"
#include "plot/PlotScale.h"
#include "shell/FontFaces.h"

#include <QGuiApplication>
#include <QString>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

// Splits "AsepB" into its two halves; nothing when `sep` is missing.
std::optional<std::pair<std::string, std::string>> halves(const std::string &text, char sep)
{
    const std::size_t at = text.find(sep);
    if (at == std::string::npos)
        return std::nullopt;
    return std::make_pair(text.substr(0, at), text.substr(at + 1));
}

// Qt's own chatter (a missing runtime folder, font notes) is not the tool's
// output; its failures reach the user as the tool's messages.
void quietQtMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

// A QGuiApplication for the length of one drawing, unless one exists.
class GuiSession {
public:
    GuiSession()
    {
        if (QGuiApplication::instance())
            return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        previous_ = qInstallMessageHandler(quietQtMessages);
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
        installFontSubstitutions();
    }
    ~GuiSession()
    {
        if (!app_)
            return;
        app_.reset();
        qInstallMessageHandler(previous_);
    }
    GuiSession(const GuiSession &) = delete;
    GuiSession &operator=(const GuiSession &) = delete;

private:
    // QGuiApplication keeps references to both for its whole life.
    int argc_ = 1;
    char name_[15] = "quarnet-report";
    char *argv_[2] = { name_, nullptr };
    QtMessageHandler previous_ = nullptr;
    std::unique_ptr<QGuiApplication> app_;
};

}

std::pair<int, int> ParsePlotAxes(const std::string &text)
{
    const auto parts = halves(text, ',');
    try {
        if (parts)
            return { StrToInt32(parts->first), StrToInt32(parts->second) };
    } catch (const ConvertError &) {
    }
    throw UsageError("--axes には 2 つの次元を A,B の形で指定してください ('" + text + "')");
}

QSize ParsePlotSize(const std::string &text)
{
    const auto parts = halves(text, 'x');
    try {
        if (parts) {
            const int width = StrToInt32(parts->first);
            const int height = StrToInt32(parts->second);
            if (width >= 1 && width <= MaxPlotSide && height >= 1 && height <= MaxPlotSide)
                return QSize(width, height);
        }
    } catch (const ConvertError &) {
    }
    throw UsageError("--size には 1 から " + std::to_string(MaxPlotSide)
        + " までの幅と高さを WxH の形で指定してください ('" + text + "')");
}

LabelMode ParseLabelMode(const std::string &text)
{
    if (text == "short")
        return LabelMode::Short;
    if (text == "full")
        return LabelMode::Full;
    throw UsageError("--labels には short か full を指定してください ('" + text + "')");
}

MapScaling ParseMapScaling(const std::string &text)
{
    if (const std::optional<MapScaling> scaling = MapScalingFromName(text))
        return *scaling;
    throw UsageError("--map には symmetric, rowprincipal, colprincipal, rowgreen, colgreen, "
                     "symbiplot のどれかを指定してください ('"
        + text + "')");
}

int ParseLabelTop(const std::string &text)
{
    try {
        const int top = StrToInt32(text);
        if (top >= 1)
            return top;
    } catch (const ConvertError &) {
    }
    throw UsageError("--label-top には 1 以上の整数を指定してください ('" + text + "')");
}

long double ParseLabelContribution(const std::string &text)
{
    std::size_t used = 0;
    long double value = 0.0L;
    try {
        value = std::stold(text, &used);
    } catch (const std::exception &) {
        used = 0;
    }
    if (used == 0 || used != text.size() || !(value > 0.0L) || !std::isfinite(value))
        throw UsageError(
            "--label-contribution には 0 より大きい数を指定してください ('" + text + "')");
    return value;
}

std::set<int> ParseFlip(const std::string &text)
{
    const auto parts = halves(text, ',');
    try {
        std::set<int> dimensions;
        for (const std::string &part : parts
                ? std::vector<std::string>{ parts->first, parts->second }
                : std::vector<std::string>{ text })
            dimensions.insert(StrToInt32(part));
        if (*dimensions.begin() >= 1)
            return dimensions;
    } catch (const ConvertError &) {
    }
    throw UsageError(
        "--flip には反転する次元を A または A,B の形で指定してください ('" + text + "')");
}

void PlotReportOption::addOptions(CommandLine &commandLine)
{
    commandLine.addOption(
        { "--plot", "FILE", "図を書くファイル (.png, .svg, .pdf) / plot file (.png, .svg, .pdf)",
            [this](const std::string &value) { file_ = value; } });
    commandLine.addOption(
        { "--axes", "A,B", "図の横軸と縦軸の次元 (既定 1,2) / dimensions of the plot (default 1,2)",
            [this](const std::string &value) { axes_ = ParsePlotAxes(value); } });
    commandLine.addOption(
        { "--size", "WxH", "図の大きさ (既定 1000x700) / plot size in pixels (default 1000x700)",
            [this](const std::string &value) { size_ = ParsePlotSize(value); } });
    commandLine.addOption({ "--labels", "short|full",
        "図のラベル: 名前の先頭 2 文字か全体 / labels: first two characters or whole names",
        [this](const std::string &value) { options_.labels = ParseLabelMode(value); } });
    commandLine.addOption({ "--origin", "", "原点を通る破線 / dashed lines through the origin",
        [this](const std::string &) { options_.originLines = true; } });
    commandLine.addOption({ "--shares", "", "軸名に説明率 / shares on the axis captions",
        [this](const std::string &) { options_.shares = true; } });
    commandLine.addOption({ "--repel", "", "ラベルを重ねない / labels kept off one another",
        [this](const std::string &) { options_.repel = true; } });
    commandLine.addOption({ "--legend", "", "凡例 / legend of the markers",
        [this](const std::string &) { options_.legend = true; } });
    commandLine.addOption({ "--ticks", "", "軸の目盛りと値 / axis ticks with values",
        [this](const std::string &) { options_.ticks = true; } });
    commandLine.addOption({ "--map",
        "symmetric|rowprincipal|colprincipal|rowgreen|colgreen|symbiplot",
        "図の尺度 (既定 symmetric)。--json に座標を追加 / the map's scaling (default symmetric), "
        "its coordinates added to --json",
        [this](const std::string &value) { map_ = ParseMapScaling(value); } });
    commandLine.addOption({ "--label-top", "N",
        "寄与の大きい N 点だけにラベル / labels on the N points of largest contribution",
        [this](const std::string &value) { options_.labelTop = ParseLabelTop(value); } });
    commandLine.addOption({ "--label-contribution", "K",
        "寄与が平均の K 倍を超える点だけにラベル / labels on points contributing over K times "
        "the average",
        [this](const std::string &value) {
            options_.labelContribution = ParseLabelContribution(value);
        } });
    commandLine.addOption(
        { "--flip", "A[,B]", "図で符号を反転する次元 / dimensions mirrored on the plot",
            [this](const std::string &value) { options_.mirrored = ParseFlip(value); } });
    AddMapAidOptions(commandLine, options_.aids);
    ellipses_.addOptions(commandLine);
}

void PlotReportOption::check()
{
    ellipses_.check();
    if (file_.empty() && (options_.labelTop > 0 || options_.labelContribution > 0.0L))
        throw UsageError("--label-top と --label-contribution は --plot と一緒に指定してください");
    if (file_.empty()) {
        if (axes_ || size_)
            throw UsageError("--axes と --size は --plot と一緒に指定してください");
        if (options_.anyOn())
            throw UsageError(
                "図の設定 (--labels, --origin, --shares, --repel, --legend, --ticks, --flip) は "
                "--plot と一緒に指定してください");
        return;
    }
    if (!ExportPlotFormatKnown(QString::fromStdString(file_)))
        throw UsageError(
            "--plot のファイルは .png, .svg, .pdf のどれかにしてください ('" + file_ + "')");
}

void PlotReportOption::afterRun(const AnalysisResult &result)
{
    if (file_.empty())
        return;
    PlotInput input = result.plotInput();
    if (ellipses_.asked())
        ellipses_.addTo(input, result);
    const auto [axis1, axis2] = axes_ ? *axes_ : DefaultAxes(input.NDim);
    PlotOptions options = options_;
    options.scaling = scalingFor(input);
    GuiSession gui;
    ExportPlot(input, axis1, axis2, QString::fromStdString(file_), size_.value_or(QSize(1000, 700)),
        options);
}

void PlotReportOption::amendJson(const AnalysisResult &result, std::string &json)
{
    if (!map_ && !ellipses_.asked())
        return;
    PlotInput input = result.plotInput();
    const MapScaling scaling = scalingFor(input);
    if (map_)
        json = WithMapJson(json, ScaledMap(input, scaling), scaling);
    if (ellipses_.asked()) {
        ellipses_.addTo(input, result);
        const auto [axis1, axis2] = axes_ ? *axes_ : DefaultAxes(input.NDim);
        json = WithEllipseJson(json, ScaledMap(input, scaling), scaling,
            ClampAxis(axis1, input.NDim), ClampAxis(axis2, input.NDim));
    }
}

// A run without solutions has only its classic map, and nothing to rescale.
MapScaling PlotReportOption::scalingFor(const PlotInput &input) const
{
    const MapScaling scaling = map_.value_or(MapScaling::Symmetric);
    if (scaling != MapScaling::Symmetric && !CanRescale(input))
        throw PlotError("この結果の図は対称マップ (symmetric) でしか描けません");
    return scaling;
}
