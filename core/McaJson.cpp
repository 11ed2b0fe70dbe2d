#include "core/McaJson.h"

#include "core/FileIo.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>

namespace {

using Json = nlohmann::ordered_json;

Json numbers(const std::vector<long double> &values)
{
    Json array = Json::array();
    for (const long double v : values)
        array.push_back(static_cast<double>(v));
    return array;
}

struct Entry {
    int position;
    const McaQuestionInfo *info;
    const char *role;
    const std::vector<McaCategory> *categories; // null for a quantitative one
    const std::vector<long double> *measure; // eta2 or correlation
};

// Every analysed question in sheet order.
std::vector<Entry> entries(const McaPrepared &p, const McaSolution &s)
{
    std::vector<Entry> all;
    for (std::size_t q = 0; q < p.active.size(); ++q)
        all.push_back(
            { p.active[q].position, &p.active[q], "active", &s.active[q], &s.activeEta2[q] });
    for (std::size_t q = 0; q < p.supplementary.size(); ++q)
        all.push_back({ p.supplementary[q].position, &p.supplementary[q], "supplementary",
            &s.supplementary[q], &s.supplementaryEta2[q] });
    for (std::size_t q = 0; q < p.quantitative.size(); ++q)
        all.push_back({ p.quantitative[q].position, &p.quantitative[q], "quantitative", nullptr,
            &s.correlation[q] });
    std::sort(all.begin(), all.end(),
        [](const Entry &a, const Entry &b) { return a.position < b.position; });
    return all;
}

Json categoryJson(const Entry &e, std::size_t k)
{
    const McaCategory &c = (*e.categories)[k];
    const bool supplementary = e.categories != nullptr && std::string_view(e.role) != "active";
    Json j{ { "question", e.info->name }, { "name", e.info->categories[k] },
        { "count", static_cast<double>(c.count) } };
    j["mass"] = supplementary ? Json(nullptr) : Json(static_cast<double>(c.mass));
    j["coord"] = numbers(c.coord);
    j["standard"] = numbers(c.standard);
    j["contribution"] = supplementary ? Json(nullptr) : numbers(c.contribution);
    j["cos2"] = numbers(c.cos2);
    j["v_test"] = numbers(c.vTest);
    j["supplementary"] = supplementary;
    return j;
}

} // namespace

std::string McaJsonText(const McaResult &result)
{
    const McaPrepared &p = result.prepared();
    const McaSolution &s = result.solution();
    const auto dims = static_cast<std::size_t>(s.dims);
    Json root{ { "analysis", "mca" }, { "n", static_cast<double>(s.n) },
        { "questions", s.questions }, { "categories", s.categories }, { "dims", s.dims },
        { "threshold", static_cast<double>(s.threshold) },
        { "greenacre_total", static_cast<double>(s.greenacreTotal) } };
    Json dimensions = Json::array();
    for (std::size_t d = 0; d < dims; ++d) {
        const McaDimension &m = s.dimensions[d];
        dimensions.push_back(Json{ { "indicator", static_cast<double>(m.indicator) },
            { "share", static_cast<double>(m.share) },
            { "cumulative", static_cast<double>(m.cumulative) },
            { "burt", static_cast<double>(m.burt) },
            { "benzecri", static_cast<double>(m.benzecri) },
            { "benzecri_share", static_cast<double>(m.benzecriShare) },
            { "greenacre_share", static_cast<double>(m.greenacreShare) },
            { "alpha", static_cast<double>(m.alpha) } });
    }
    root["dimensions"] = std::move(dimensions);
    const std::vector<Entry> all = entries(p, s);
    Json categories = Json::array();
    Json questions = Json::array();
    for (const Entry &e : all) {
        if (e.categories)
            for (std::size_t k = 0; k < e.categories->size(); ++k)
                categories.push_back(categoryJson(e, k));
        Json q{ { "name", e.info->name } };
        q[e.categories ? "eta2" : "correlation"] = numbers(*e.measure);
        q["role"] = e.role;
        questions.push_back(std::move(q));
    }
    root["category"] = std::move(categories);
    root["question"] = std::move(questions);
    // The respondents, often 100,000 of them, are written straight to the
    // text, one per line, rather than built as a tree first.
    root["respondent"] = Json::array();
    std::string text = root.dump(1);
    const std::size_t empty = text.rfind("[]");
    text.erase(empty);
    text.reserve(text.size() + result.ids().size() * (64 + 72 * dims));
    text += "[\n";
    char buffer[32];
    const auto addNumbers = [&](const std::vector<long double> &values, std::size_t from) {
        text += '[';
        for (std::size_t d = 0; d < dims; ++d) {
            if (d > 0)
                text += ',';
            const auto end = std::to_chars(
                buffer, buffer + sizeof buffer, static_cast<double>(values[from + d]));
            text.append(buffer, end.ptr);
        }
        text += ']';
    };
    for (std::size_t i = 0; i < result.ids().size(); ++i) {
        text += i == 0 ? "  {\"id\":" : ",\n  {\"id\":";
        text += Json(result.ids()[i]).dump();
        text += ",\"coord\":";
        addNumbers(s.score, i * dims);
        text += ",\"contribution\":";
        addNumbers(s.contribution, i * dims);
        text += ",\"cos2\":";
        addNumbers(s.cos2, i * dims);
        text += '}';
    }
    text += result.ids().empty() ? "]\n}\n" : "\n ]\n}\n";
    return text;
}

void WriteMcaJson(const McaResult &result, const std::string &fileName)
{
    const std::string text = McaJsonText(result);
    OutputFile file(fileName);
    file.write(text);
    file.close();
}
