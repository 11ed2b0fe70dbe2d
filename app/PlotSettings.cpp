#include "app/PlotSettings.h"

#include "app/RecentFiles.h"

#include <QSettings>

namespace {

// A value the file holds that is not one of ours (an edited file, an older
// version) leaves the default.
MapScaling scalingFrom(const QString &name)
{
    return MapScalingFromName(name.toStdString()).value_or(MapScaling::Symmetric);
}

void loadMapAids(QSettings &file, MapAids &aids)
{
    aids.byQuestion = file.value(QStringLiteral("byQuestion"), false).toBool();
    aids.grey = file.value(QStringLiteral("grey"), false).toBool();
    aids.sizing = file.value(QStringLiteral("markerSize")).toString() == QLatin1String("mass")
        ? MarkerSizing::Mass
        : MarkerSizing::Uniform;
    const QString shade = file.value(QStringLiteral("shade")).toString();
    aids.shade = shade == QLatin1String("contribution") ? MarkerShade::Contribution
        : shade == QLatin1String("quality")             ? MarkerShade::Quality
                                                        : MarkerShade::None;
    aids.panels = file.value(QStringLiteral("panels"), false).toBool();
    aids.respondents = file.value(QStringLiteral("respondents"), false).toBool();
}

void saveMapAids(QSettings &file, const MapAids &aids)
{
    file.setValue(QStringLiteral("byQuestion"), aids.byQuestion);
    file.setValue(QStringLiteral("grey"), aids.grey);
    file.setValue(QStringLiteral("markerSize"),
        aids.sizing == MarkerSizing::Mass ? QStringLiteral("mass") : QStringLiteral("uniform"));
    file.setValue(QStringLiteral("shade"),
        aids.shade == MarkerShade::Contribution  ? QStringLiteral("contribution")
            : aids.shade == MarkerShade::Quality ? QStringLiteral("quality")
                                                 : QStringLiteral("none"));
    file.setValue(QStringLiteral("panels"), aids.panels);
    file.setValue(QStringLiteral("respondents"), aids.respondents);
}

// A value out of the panel's range leaves the default.
EllipseSettings loadEllipses(QSettings &file)
{
    EllipseSettings e;
    const int replicates = file.value(QStringLiteral("ellipseReplicates"), e.replicates).toInt();
    if (replicates >= MinEllipseReplicates && replicates <= MaxEllipseReplicates)
        e.replicates = replicates;
    const double level = file.value(QStringLiteral("ellipseLevel"), e.levelPercent).toDouble();
    if (level >= 50.0 && level <= 99.9)
        e.levelPercent = level;
    e.draw = file.value(QStringLiteral("ellipseDraw"), true).toBool();
    e.axes = file.value(QStringLiteral("ellipseAxes"), false).toBool();
    return e;
}

void saveEllipses(QSettings &file, const EllipseSettings &e)
{
    file.setValue(QStringLiteral("ellipseReplicates"), e.replicates);
    file.setValue(QStringLiteral("ellipseLevel"), e.levelPercent);
    file.setValue(QStringLiteral("ellipseDraw"), e.draw);
    file.setValue(QStringLiteral("ellipseAxes"), e.axes);
}

}

PlotWindowSettings loadPlotWindowSettings()
{
    QSettings file(recentFilesStore(), QSettings::IniFormat);
    file.beginGroup(QStringLiteral("plot"));
    PlotWindowSettings s;
    s.options.labels = file.value(QStringLiteral("fullNames"), false).toBool() ? LabelMode::Full
                                                                               : LabelMode::Short;
    s.options.originLines = file.value(QStringLiteral("origin"), false).toBool();
    s.options.shares = file.value(QStringLiteral("shares"), false).toBool();
    s.options.repel = file.value(QStringLiteral("repel"), false).toBool();
    s.options.legend = file.value(QStringLiteral("legend"), false).toBool();
    s.options.ticks = file.value(QStringLiteral("ticks"), false).toBool();
    s.options.scaling = scalingFrom(file.value(QStringLiteral("scaling")).toString());
    s.options.labelTop = std::max(0, file.value(QStringLiteral("labelTop"), 0).toInt());
    s.options.labelContribution
        = std::max(0.0, file.value(QStringLiteral("labelContribution"), 0.0).toDouble());
    loadMapAids(file, s.options.aids);
    s.flip1 = file.value(QStringLiteral("flip1"), false).toBool();
    s.flip2 = file.value(QStringLiteral("flip2"), false).toBool();
    s.ellipses = loadEllipses(file);
    return s;
}

void savePlotWindowSettings(const PlotWindowSettings &s)
{
    QSettings file(recentFilesStore(), QSettings::IniFormat);
    file.beginGroup(QStringLiteral("plot"));
    file.setValue(QStringLiteral("fullNames"), s.options.labels == LabelMode::Full);
    file.setValue(QStringLiteral("origin"), s.options.originLines);
    file.setValue(QStringLiteral("shares"), s.options.shares);
    file.setValue(QStringLiteral("repel"), s.options.repel);
    file.setValue(QStringLiteral("legend"), s.options.legend);
    file.setValue(QStringLiteral("ticks"), s.options.ticks);
    file.setValue(
        QStringLiteral("scaling"), QString::fromLatin1(MapScalingName(s.options.scaling)));
    file.setValue(QStringLiteral("labelTop"), s.options.labelTop);
    file.setValue(
        QStringLiteral("labelContribution"), static_cast<double>(s.options.labelContribution));
    saveMapAids(file, s.options.aids);
    file.setValue(QStringLiteral("flip1"), s.flip1);
    file.setValue(QStringLiteral("flip2"), s.flip2);
    saveEllipses(file, s.ellipses);
}
