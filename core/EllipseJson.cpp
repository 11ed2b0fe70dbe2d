#include "core/EllipseJson.h"

#include "core/MapEllipses.h"

#include <nlohmann/json.hpp>

using Json = nlohmann::ordered_json;

std::string WithEllipseJson(const std::string &resultJson, const PlotInput &scaled,
    MapScaling scaling, int axis1, int axis2)
{
    Json json = Json::parse(resultJson);
    const bool questionnaire = !scaled.groups.empty();
    Json rows = Json::array();
    Json columns = Json::array();
    for (const PlotInputPoint &point : scaled.points) {
        Json entry;
        entry["name"] = point.name;
        if (questionnaire && point.group >= 1
            && static_cast<std::size_t>(point.group) <= scaled.groups.size())
            entry["question"] = scaled.groups[static_cast<std::size_t>(point.group - 1)];
        entry["supplementary"] = point.supplementary;
        if (const std::optional<MapEllipse> e
            = EllipseOf(point, scaled.NDim, axis1, axis2, scaled.ellipseLevel)) {
            entry["centre"] = { static_cast<double>(e->centreX), static_cast<double>(e->centreY) };
            entry["semi_axes"] = { static_cast<double>(e->major), static_cast<double>(e->minor) };
            entry["angle"] = static_cast<double>(e->angleDegrees);
        }
        (point.isRow ? rows : columns).push_back(std::move(entry));
    }
    Json ellipses;
    ellipses["level"] = static_cast<double>(scaled.ellipseLevel);
    ellipses["replicates"] = scaled.ellipseReplicates;
    ellipses["seed"] = scaled.ellipseSeed;
    if (scaled.ellipseAxesResampled)
        ellipses["axes_resampled"] = true;
    ellipses["scaling"] = MapScalingName(scaling);
    ellipses["axes"] = { axis1, axis2 };
    ellipses["note"]
        = EllipseNote(scaled.ellipseLevel, scaled.ellipseReplicates, scaled.ellipseAxesResampled);
    if (questionnaire) {
        ellipses["categories"] = std::move(columns);
    } else {
        ellipses["rows"] = std::move(rows);
        ellipses["columns"] = std::move(columns);
    }
    json["ellipses"] = std::move(ellipses);
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}
