#include "core/ResultJson.h"

#include "core/DecimalCounts.h"
#include "core/FileIo.h"

#include "analysis/Malinvaud.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <type_traits>
#include <vector>

namespace {

using Json = nlohmann::ordered_json;

Json Numbers(const std::vector<long double> &values)
{
    Json array = Json::array();
    for (long double v : values)
        array.push_back(static_cast<double>(v));
    return array;
}

template <typename T> Json OrNull(const std::optional<T> &value)
{
    if (!value)
        return nullptr;
    if constexpr (std::is_same_v<T, long double>)
        return static_cast<double>(*value);
    else
        return Numbers(*value);
}

Json SolutionJson(const SolutionStats &s)
{
    return Json{ { "eta", static_cast<double>(s.eta) },
        { "eta_squared", static_cast<double>(s.etaSquared) },
        { "share", static_cast<double>(s.share) },
        { "cumulative", static_cast<double>(s.cumulative) } };
}

Json CategoryJson(const CategoryStats &c)
{
    return Json{ { "name", c.name }, { "supplementary", c.supplementary },
        { "mass", OrNull(c.mass) }, { "inertia", OrNull(c.inertia) },
        { "quality", static_cast<double>(c.quality) }, { "scale", Numbers(c.scale) },
        { "weighted_scale", Numbers(c.weightedScale) }, { "contribution", OrNull(c.contribution) },
        { "cos2", Numbers(c.cos2) } };
}

Json CategoriesJson(const std::vector<CategoryStats> &all)
{
    Json array = Json::array();
    for (const CategoryStats &c : all)
        array.push_back(CategoryJson(c));
    return array;
}

Json MalinvaudJson(const Interpretation &interpretation)
{
    Json array = Json::array();
    for (const MalinvaudStep &step : MalinvaudTest(interpretation))
        array.push_back(
            { { "dims", step.dims }, { "chi_square", static_cast<double>(step.chiSquare) },
                { "df", step.df }, { "p_value", static_cast<double>(step.pValue) } });
    return array;
}

Json MatrixJson(const std::vector<long double> &cells, int rows, int cols)
{
    Json matrix = Json::array();
    for (int i = 0; i < rows; ++i) {
        const auto first = cells.begin() + static_cast<std::ptrdiff_t>(i) * cols;
        matrix.push_back(Numbers(std::vector<long double>(first, first + cols)));
    }
    return matrix;
}

} // namespace

std::string ResultJsonText(const Interpretation &interpretation,
    const PermutationResult *permutation, const CellResiduals *residuals)
{
    const bool tested = permutation && !permutation->pValues.empty();
    Json solutions = Json::array();
    for (std::size_t k = 0; k < interpretation.solutions.size(); ++k) {
        Json solution = SolutionJson(interpretation.solutions[k]);
        if (tested && k < permutation->pValues.size())
            solution["permutation_p"] = permutation->pValues[k];
        solutions.push_back(std::move(solution));
    }
    Json json{ { "n", interpretation.n }, { "dims", interpretation.dims },
        { "chi_square", static_cast<double>(interpretation.chiSquare) },
        { "df", interpretation.df }, { "p_value", static_cast<double>(interpretation.pValue) },
        { "total_inertia", static_cast<double>(interpretation.totalInertia) } };
    // A table of decimal values: N is their sum, and there is no p-value.
    if (interpretation.decimalPlaces > 0) {
        json["n"] = static_cast<double>(TotalValue(interpretation));
        json["p_value"] = nullptr;
        json["decimal_values"] = true;
    }
    // Only the big-table method is named: the exact engine's output stays as it was.
    if (interpretation.method != ExactMethodName)
        json["method"] = interpretation.method;
    if (tested) {
        json["permutations"] = permutation->permutations;
        json["seed"] = permutation->seed;
    }
    json["solutions"] = std::move(solutions);
    json["rows"] = CategoriesJson(interpretation.rows);
    json["columns"] = CategoriesJson(interpretation.columns);
    json["malinvaud"] = MalinvaudJson(interpretation);
    if (residuals)
        json["residuals"] = { { "standardized",
                                  MatrixJson(
                                      residuals->standardized, residuals->rows, residuals->cols) },
            { "adjusted", MatrixJson(residuals->adjusted, residuals->rows, residuals->cols) } };
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

void WriteResultJson(const Interpretation &interpretation, const std::string &fileName,
    const PermutationResult *permutation, const CellResiduals *residuals)
{
    const std::string text = ResultJsonText(interpretation, permutation, residuals);
    OutputFile file(fileName);
    file.write(text);
    file.close();
}
