#include "core/McaTables.h"

namespace {

ResultCell number(long double value, int decimals)
{
    return { FixedText(value, decimals), static_cast<double>(value) };
}

ResultCell text(const std::string &value)
{
    return { value, std::nullopt };
}

void addHeadings(ResultTable &table, int dims, std::initializer_list<const char *> names)
{
    for (int d = 1; d <= dims; ++d)
        for (const char *name : names)
            table.headings.push_back(name + std::to_string(d));
}

void addCategories(ResultTable &table, const std::vector<McaQuestionInfo> &questions,
    const std::vector<std::vector<McaCategory>> &categories, bool supplementary, int dims)
{
    for (std::size_t q = 0; q < questions.size(); ++q)
        for (std::size_t k = 0; k < categories[q].size(); ++k) {
            const McaCategory &c = categories[q][k];
            std::vector<ResultCell> row{ text(questions[q].name
                                             + (supplementary ? SupplementarySuffix : "")),
                text(questions[q].categories[k]), number(c.count, 3),
                supplementary ? text("") : number(c.mass, 6) };
            for (std::size_t d = 0; d < static_cast<std::size_t>(dims); ++d) {
                row.push_back(number(c.coord[d], 4));
                row.push_back(number(c.standard[d], 4));
                row.push_back(supplementary ? text("") : number(100 * c.contribution[d], 2));
                row.push_back(number(c.cos2[d], 4));
                row.push_back(number(c.vTest[d], 2));
            }
            table.rows.push_back(std::move(row));
        }
}

void addQuestions(ResultTable &table, const std::vector<McaQuestionInfo> &questions,
    const std::vector<std::vector<long double>> &values, const char *role)
{
    for (std::size_t q = 0; q < questions.size(); ++q) {
        std::vector<ResultCell> row{ text(questions[q].name), text(role) };
        for (const long double v : values[q])
            row.push_back(number(v, 4));
        table.rows.push_back(std::move(row));
    }
}

} // namespace

McaTables MakeMcaTables(const McaResult &result)
{
    const McaPrepared &p = result.prepared();
    const McaSolution &s = result.solution();
    McaTables t;
    t.dimensions.headings = { "次元", "慣性(指標)", "説明率(%)", "累積(%)", "慣性(バート)",
        "修正慣性", "修正説明率(%)", "Greenacre説明率(%)", "α" };
    for (std::size_t d = 0; d < s.dimensions.size(); ++d) {
        const McaDimension &m = s.dimensions[d];
        t.dimensions.rows.push_back({ number(static_cast<long double>(d + 1), 0),
            number(m.indicator, 7), number(m.share, 2), number(m.cumulative, 2), number(m.burt, 7),
            number(m.benzecri, 7), number(m.benzecriShare, 2), number(m.greenacreShare, 2),
            number(m.alpha, 4) });
    }
    t.categories.headings = { "設問", "カテゴリー", "度数", "質量" };
    addHeadings(t.categories, s.dims, { "座標", "標準座標", "寄与(%)", "cos²", "v値" });
    addCategories(t.categories, p.active, s.active, false, s.dims);
    addCategories(t.categories, p.supplementary, s.supplementary, true, s.dims);

    t.questions.headings = { "設問", "役割" };
    addHeadings(t.questions, s.dims, { "η²" });
    addQuestions(t.questions, p.active, s.activeEta2, "分析に使う");
    addQuestions(t.questions, p.supplementary, s.supplementaryEta2, "補助（質的）");
    addQuestions(t.questions, p.quantitative, s.correlation, "補助（量的）: 相関");

    t.respondents.headings = { "ID" };
    addHeadings(t.respondents, s.dims, { "得点", "寄与(%)", "cos²" });
    const auto dims = static_cast<std::size_t>(s.dims);
    t.respondents.rows.reserve(result.ids().size());
    for (std::size_t i = 0; i < result.ids().size(); ++i) {
        std::vector<ResultCell> row{ text(result.ids()[i]) };
        for (std::size_t d = 0; d < dims; ++d) {
            row.push_back(number(s.score[i * dims + d], 4));
            row.push_back(number(100 * s.contribution[i * dims + d], 4));
            row.push_back(number(s.cos2[i * dims + d], 4));
        }
        t.respondents.rows.push_back(std::move(row));
    }
    return t;
}
