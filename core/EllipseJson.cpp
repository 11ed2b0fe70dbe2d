#include "core/EllipseJson.h"

#include "core/MapEllipses.h"

#include <nlohmann/json.hpp>

using Json = nlohmann::ordered_json;

std::string WithEllipseJson(const std::string &resultJson, const PlotInput &scaled,
    MapScaling scaling, int axis1, int axis2)
{
    Json json = Json::parse(resultJson);
    Json rows = Json::array();
    Json columns = Json::array();
    for (const PlotInputPoint &point : scaled.points) {
        Json entry;
        entry["name"] = point.name;
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
    ellipses["scaling"] = MapScalingName(scaling);
    ellipses["axes"] = { axis1, axis2 };
    ellipses["note"] = EllipseNote(scaled.ellipseLevel, scaled.ellipseReplicates);
    ellipses["rows"] = std::move(rows);
    ellipses["columns"] = std::move(columns);
    json["ellipses"] = std::move(ellipses);
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}
