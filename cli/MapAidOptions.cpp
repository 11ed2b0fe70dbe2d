#include "cli/MapAidOptions.h"

MarkerSizing ParseMarkerSizing(const std::string &text)
{
    if (text == "uniform")
        return MarkerSizing::Uniform;
    if (text == "mass")
        return MarkerSizing::Mass;
    throw UsageError("--marker-size には uniform か mass を指定してください ('" + text + "')");
}

MarkerShade ParseMarkerShade(const std::string &text)
{
    if (text == "none")
        return MarkerShade::None;
    if (text == "contribution")
        return MarkerShade::Contribution;
    if (text == "quality")
        return MarkerShade::Quality;
    throw UsageError(
        "--shade には none, contribution, quality のどれかを指定してください ('" + text + "')");
}

void AddMapAidOptions(CommandLine &commandLine, MapAids &aids)
{
    commandLine.addOption({ "--marker-size", "uniform|mass",
        "記号の大きさ: 一定か質量に比例 (面積) / marker size: uniform or area proportional to mass",
        [&aids](const std::string &value) { aids.sizing = ParseMarkerSizing(value); } });
    commandLine.addOption({ "--shade", "none|contribution|quality",
        "記号の塗り: 平面への寄与か品質 (cos²) / marker fill by contribution or quality (cos²)",
        [&aids](const std::string &value) { aids.shade = ParseMarkerShade(value); } });
    commandLine.addOption({ "--by-question", "",
        "質問紙の図: 設問ごとの色と形と凡例 / questionnaire map: colour and shape per question",
        [&aids](const std::string &) { aids.byQuestion = true; } });
    commandLine.addOption({ "--grey", "", "白黒印刷用 (色を使わない) / grey scale for print",
        [&aids](const std::string &) { aids.grey = true; } });
    commandLine.addOption({ "--panels", "",
        "行と列を左右 2 枚に同じ尺度で / rows and columns in two panels on one scale",
        [&aids](const std::string &) { aids.panels = true; } });
    commandLine.addOption({ "--respondents", "",
        "質問紙の図: 回答者を小さな点で / questionnaire map: respondents as small points",
        [&aids](const std::string &) { aids.respondents = true; } });
}
