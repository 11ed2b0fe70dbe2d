#include "core/MapJson.h"

#include <nlohmann/json.hpp>

using Json = nlohmann::ordered_json;

std::string WithMapJson(const std::string &resultJson, const PlotInput &scaled, MapScaling scaling)
{
    Json json = Json::parse(resultJson);
    Json rows = Json::array();
    Json columns = Json::array();
    for (const PlotInputPoint &point : scaled.points) {
        Json coordinates = Json::array();
        for (long double value : point.coordinates)
            coordinates.push_back(static_cast<double>(value));
        Json entry;
        entry["name"] = point.name;
        entry["supplementary"] = point.supplementary;
        entry["coordinates"] = std::move(coordinates);
        (point.isRow ? rows : columns).push_back(std::move(entry));
    }
    Json map;
    map["scaling"] = MapScalingName(scaling);
    map["note"] = MapScalingNote(scaling);
    map["rows"] = std::move(rows);
    map["columns"] = std::move(columns);
    json["map"] = std::move(map);
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}
