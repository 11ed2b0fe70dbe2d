#include "core/McaReport.h"

#include "core/NumberForms.h"
#include "core/ReportWriter.h"

namespace {

std::string countText(long double count, bool weighted)
{
    return weighted ? FormF(count, 12, 3) : FormF(count, 8, 0);
}

std::string values(const std::vector<long double> &v, int width, int decimals)
{
    std::string text;
    for (const long double x : v)
        text += FormF(x, width, decimals);
    return text;
}

std::string dimensionHeader(int dims)
{
    std::string text = "              ";
    for (int d = 1; d <= dims; ++d)
        text += "   次元" + FormI(d, 3);
    return text;
}

std::string categoryLine(int k, const std::vector<long double> &v, const std::string &label)
{
    return "  " + FormI(k, 4) + "        " + values(v, 10, 4) + "   " + label;
}

std::vector<std::string> allTexts(const McaPrepared &prepared)
{
    std::vector<std::string> texts;
    for (const auto *list : { &prepared.active, &prepared.supplementary, &prepared.quantitative })
        for (const McaQuestionInfo &q : *list) {
            texts.push_back(q.name);
            texts.insert(texts.end(), q.categories.begin(), q.categories.end());
        }
    return texts;
}

void questionList(ReportWriter &out, std::string_view heading,
    const std::vector<McaQuestionInfo> &questions,
    const std::vector<std::vector<McaCategory>> &categories, bool weighted)
{
    if (questions.empty())
        return;
    out.line(heading);
    for (std::size_t q = 0; q < questions.size(); ++q) {
        out.line("設問" + FormI(questions[q].position, 4) + "  " + questions[q].name);
        for (std::size_t k = 0; k < categories[q].size(); ++k)
            out.line("  " + FormI(static_cast<int>(k) + 1, 4)
                + countText(categories[q][k].count, weighted) + "   " + questions[q].categories[k]);
    }
    out.endLine();
}

void coordinates(ReportWriter &out, std::string_view heading,
    const std::vector<McaQuestionInfo> &questions,
    const std::vector<std::vector<McaCategory>> &categories, int dims, bool standard)
{
    if (questions.empty())
        return;
    out.line(heading);
    out.line(dimensionHeader(dims));
    for (std::size_t q = 0; q < questions.size(); ++q) {
        out.line("設問" + FormI(questions[q].position, 4) + "  " + questions[q].name);
        for (std::size_t k = 0; k < categories[q].size(); ++k)
            out.line(categoryLine(static_cast<int>(k) + 1,
                standard ? categories[q][k].standard : categories[q][k].coord,
                questions[q].categories[k]));
    }
    out.endLine();
}

void perQuestion(ReportWriter &out, std::string_view heading,
    const std::vector<McaQuestionInfo> &questions, const std::vector<std::vector<long double>> &v,
    int dims)
{
    if (questions.empty())
        return;
    out.line(heading);
    out.line(dimensionHeader(dims));
    for (std::size_t q = 0; q < questions.size(); ++q)
        out.line("設問" + FormI(questions[q].position, 4) + "      " + values(v[q], 10, 4) + "   "
            + questions[q].name);
    out.endLine();
}

} // namespace

void WriteMcaReport(const QuestionnaireSheet &sheet, const McaPrepared &prepared,
    const McaSolution &s, FileEncoding encoding, ReportSink &sink)
{
    ReportWriter out(sink);
    out.useCharset(ChooseCharset(encoding, allTexts(prepared)));
    const bool weighted = !prepared.input.weights.empty();
    out.line("数量化III類 (多重対応分析)");
    out.endLine();
    out.line("回答者数      " + FormI(sheet.respondents()));
    if (weighted)
        out.line("重みの合計    " + FormF(s.n, 0, 6));
    out.line(
        "分析に使う設問 Q = " + FormI(s.questions) + "、カテゴリー J = " + FormI(s.categories));
    out.line(prepared.missing == MissingAnswers::Passive
            ? "無回答: 分析から除く (回答者の他の回答は使う)"
            : "無回答: 設問ごとのカテゴリー「無回答」");
    out.endLine();
    questionList(out, "設問とカテゴリーの度数", prepared.active, s.active, weighted);
    questionList(out, "補助設問 (質的) とカテゴリーの度数", prepared.supplementary, s.supplementary,
        weighted);
    if (!prepared.quantitative.empty()) {
        out.line("補助設問 (量的)");
        for (const McaQuestionInfo &q : prepared.quantitative)
            out.line("設問" + FormI(q.position, 4) + "  " + q.name);
        out.endLine();
    }

    out.line("      次元   慣性(指標)   説明率     累積   慣性(バート)  修正慣性   修正説明率"
             "  Greenacre説明率    α");
    for (std::size_t d = 0; d < s.dimensions.size(); ++d) {
        const McaDimension &m = s.dimensions[d];
        out.line("    " + FormI(static_cast<int>(d) + 1, 4) + " ==>" + FormF(m.indicator, 11, 7)
            + FormF(m.share, 9, 2) + "%" + FormF(m.cumulative, 8, 2) + "%" + FormF(m.burt, 13, 7)
            + FormF(m.benzecri, 11, 7) + FormF(m.benzecriShare, 11, 2) + "%"
            + FormF(m.greenacreShare, 14, 2) + "%" + FormF(m.alpha, 10, 4));
    }
    out.line("慣性の合計 (指標)      " + FormF(s.totalInertia, 0, 7));
    out.line("Greenacre の慣性の合計 " + FormF(s.greenacreTotal, 0, 7));
    out.line("閾値 1/Q = " + FormF(s.threshold, 0, 7) + " (慣性がこれ以下の次元は雑音)");
    out.endLine();
    if (s.dims < static_cast<int>(prepared.input.dims))
        out.line("次元数を " + FormI(s.dims) + " にしました");

    coordinates(out, "カテゴリーの尺度値 (標準座標)", prepared.active, s.active, s.dims, true);
    coordinates(
        out, "カテゴリーの重み付き尺度値 (主座標)", prepared.active, s.active, s.dims, false);
    coordinates(out, "補助カテゴリーの重み付き尺度値 (主座標)", prepared.supplementary,
        s.supplementary, s.dims, false);
    perQuestion(out, "判別測度 (η２)", prepared.active, s.activeEta2, s.dims);
    perQuestion(out, "補助設問 (質的) の判別測度 (η２)", prepared.supplementary,
        s.supplementaryEta2, s.dims);
    perQuestion(out, "補助設問 (量的) と次元の相関", prepared.quantitative, s.correlation, s.dims);
}
