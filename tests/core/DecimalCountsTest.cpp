#include "core/DecimalCounts.h"
#include "RunTables.h"
#include "cli/ReportTool.h"
#include "core/CoreErrors.h"
#include "core/CsvFile.h"
#include "core/ResultTables.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <sstream>

namespace {

struct Peer {
    std::vector<double> sv, rowMass, rowInertia, rowStd1, rowStd2;
    std::vector<double> colMass, colInertia, colStd1, colStd2;
    double totalInertia = 0, chiSquare = 0;
};

struct DecimalRun {
    ResultStore store;
    RunOutcome outcome;
    Interpretation stats;
    std::string report;
};

DecimalRun runDecimal(const InputTable &table, bool decimalCounts = true)
{
    DecimalRun run;
    RunRequest request;
    request.nDimText = "2";
    request.table = &table;
    request.decimalCounts = decimalCounts;
    run.outcome = RunAnalysisToBytes(request, run.store, run.report);
    run.stats = RunInterpretation(run.outcome, run.store);
    return run;
}

// ca's standard coordinates against the scale values of `scale` (at table
// positions `at`, 1-based), dimension by dimension up to the sign the
// decomposition leaves.
void expectCoordinates(const TExtMatrix &scale, const std::vector<int> &at,
    const std::vector<double> &dim1, const std::vector<double> &dim2)
{
    for (int d = 1; d <= 2; ++d) {
        const std::vector<double> &peer = d == 1 ? dim1 : dim2;
        const double sign = (scale(at[0], d) < 0) == (peer[0] < 0) ? 1.0 : -1.0;
        for (std::size_t k = 0; k < at.size(); ++k)
            EXPECT_NEAR(static_cast<double>(scale(at[k], d)), sign * peer[k], 1e-9)
                << "dimension " << d << ", position " << at[k];
    }
}

void expectAgrees(const DecimalRun &run, const Peer &peer, const std::vector<int> &rows,
    const std::vector<int> &cols)
{
    for (std::size_t d = 0; d < peer.sv.size(); ++d)
        EXPECT_NEAR(static_cast<double>(run.store.Eta(static_cast<int>(d) + 1)), peer.sv[d], 1e-11);
    EXPECT_NEAR(static_cast<double>(run.stats.totalInertia), peer.totalInertia, 1e-11);
    EXPECT_NEAR(static_cast<double>(run.stats.chiSquare), peer.chiSquare, 1e-9 * peer.chiSquare);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const CategoryStats &row = run.stats.rows[static_cast<std::size_t>(rows[k] - 1)];
        EXPECT_NEAR(static_cast<double>(*row.mass), peer.rowMass[k], 1e-12);
        EXPECT_NEAR(static_cast<double>(*row.inertia), peer.rowInertia[k], 1e-12);
    }
    for (std::size_t k = 0; k < cols.size(); ++k) {
        const CategoryStats &col = run.stats.columns[static_cast<std::size_t>(cols[k] - 1)];
        EXPECT_NEAR(static_cast<double>(*col.mass), peer.colMass[k], 1e-12);
        EXPECT_NEAR(static_cast<double>(*col.inertia), peer.colInertia[k], 1e-12);
    }
    expectCoordinates(run.store.RowScale, rows, peer.rowStd1, peer.rowStd2);
    expectCoordinates(run.store.ColScale, cols, peer.colStd1, peer.colStd2);
}

const RunTable VADeaths{ { "Rural Male", "Rural Female", "Urban Male", "Urban Female" },
    { "50-54", "55-59", "60-64", "65-69", "70-74" },
    { { "11.7", "8.7", "15.4", "8.4" }, { "18.1", "11.7", "24.3", "13.6" },
        { "26.9", "20.3", "37.0", "19.3" }, { "41.0", "30.9", "54.6", "35.1" },
        { "66.0", "54.3", "71.1", "50.0" } } };

} // namespace

// Reference values: tests/r/decimal-counts.R (ca::ca).
TEST(DecimalCounts, DeathRatesAgreeWithCa)
{
    Peer peer;
    peer.sv = { 0.0628964403311, 0.0254721151757, 0.0108820234828 };
    peer.rowMass
        = { 0.0714747736093, 0.10947606727, 0.167367399741, 0.261319534282, 0.390362225097 };
    peer.rowInertia = { 0.000185479824293, 0.000853418495469, 0.000789546485895, 0.000615034988619,
        0.00227972949865 };
    peer.rowStd1
        = { -0.651405176792, -1.33564189574, -0.898606292255, -0.498584062915, 1.21289147047 };
    peer.rowStd2
        = { -1.18837330967, 0.159889070291, -1.47234519005, 1.41771594937, -0.145043744903 };
    peer.colMass = { 0.264715394567, 0.203589909444, 0.327296248383, 0.204398447607 };
    peer.colInertia = { 0.000248379495854, 0.00164124107334, 0.00226803395788, 0.000565554765854 };
    peer.colStd1 = { 0.353513040234, 1.3787451182, -1.31358697981, 0.272277766188 };
    peer.colStd2 = { -0.494652428555, -0.756236808696, -0.3486987593, 1.95222662699 };
    peer.totalInertia = 0.00472320929292;
    peer.chiSquare = 2.92083262674;
    const DecimalRun run = runDecimal(TableOf(VADeaths));
    expectAgrees(run, peer, { 1, 2, 3, 4, 5 }, { 1, 2, 3, 4 });
    // The report shows the values as typed, one place, and N is their sum.
    EXPECT_NE(run.report.find("\r\n   11.7    8.7   15.4    8.4\r\n   18.1"), std::string::npos)
        << run.report;
    EXPECT_EQ(TotalText(run.stats), "618.4");
}

TEST(DecimalCounts, CoverValuesAgreeWithCa)
{
    Peer peer;
    peer.sv = { 0.724521907385, 0.597325726119, 0.484187473745 };
    peer.rowMass
        = { 0.0368942640173, 0.037150703969, 0.0389664642721, 0.0519539069867, 0.0374154161772,
              0.0507089323826, 0.0495508164717, 0.0506138014328, 0.0466720712076, 0.0410179838856 };
    peer.rowInertia
        = { 0.0387946255832, 0.0366542094966, 0.167119202872, 0.0922427321654, 0.0378071833462,
              0.0862281073815, 0.0439035200087, 0.0835959351371, 0.0156029116639, 0.190037801616 };
    peer.rowStd1 = { -0.149231731618, 0.96217664087, 1.36311012755, 1.1756232862, 0.496714476379,
        -1.29350512119, -1.00261012232, -1.38309520842, -0.44532338372, 0.358203981372 };
    peer.rowStd2
        = { -0.899095381718, -0.241766726563, 0.251821972937, 0.835407868715, -0.0938907921408,
              1.31734290768, 0.823055800649, 1.1926341926, -0.0648093337892, 1.35179610721 };
    peer.colMass = { 0.0186415300366, 0.0628650133183, 0.00347021160432, 0.0209743063713,
        0.113755935344, 0.160775441325, 0.000314345747233, 9.09948215674e-05, 4.13612825306e-05,
        0.00423125920289, 0.000330890260245 };
    peer.colInertia = { 0.12586200461, 0.0335301532639, 0.0240632976649, 0.0978054038194,
        0.0341523519372, 0.130569347494, 0.00212939471929, 0.000702087227966, 0.000371419546832,
        0.00776246744738, 0.00167540239221 };
    peer.colStd1 = { 0.0303166964073, 0.0751030467045, 1.10523090114, 1.46148120249, 0.146801425418,
        -0.55025611212, 0.403585797863, 0.0378753725025, -0.923285822766, 0.519039850405,
        -1.28361609471 };
    peer.colStd2 = { -1.59745971779, 0.379305349731, 1.49929850957, 1.62293451889, 0.313435718129,
        -1.08400836007, -0.0432654251111, -2.41959459211, -0.00523273960834, -0.496631745228,
        1.15587165719 };
    peer.totalInertia = 2.08319828789;
    peer.chiSquare = 5036.5901646;
    const LoadedTable varespec = LoadCsvDataFile(TestData("vare-cover.csv").string());
    const DecimalRun run = runDecimal(varespec.table);
    EXPECT_EQ(run.outcome.decimalPlaces, 2);
    expectAgrees(run, peer, { 1, 2, 3, 4, 5, 20, 21, 22, 23, 24 },
        { 1, 2, 3, 4, 5, 23, 40, 41, 42, 43, 44 });
}

// With the option a table whose decimals are all whole is a table of counts,
// report and p-value included; any other text is refused as before.
TEST(DecimalCounts, WholeDecimalsAreCountsAndOtherTextsStayRefused)
{
    const DecimalRun counts = runDecimal(TableOf(WorkedExample), false);
    const DecimalRun whole = runDecimal(
        TableOf({ { "C1", "C2" }, { "R1", "R2" }, { { "10.0", "2e1" }, { "30", "5.00" } } }));
    EXPECT_EQ(whole.outcome.decimalPlaces, 0);
    EXPECT_EQ(whole.report, counts.report);
    EXPECT_EQ(whole.stats.pValue, counts.stats.pValue);

    const auto refusal = [](const std::string &cell) {
        InputTable table = TableOf(WorkedExample);
        table.setText(2, 1, cell);
        try {
            runDecimal(table);
        } catch (const QuarnetError &error) {
            return std::string(error.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(refusal("1.5.2"), "''1.5.2'' は整数ではありません");
    EXPECT_EQ(refusal("3.5 "), "''3.5 '' は整数ではありません");
    EXPECT_EQ(refusal("-2.5"), "行 2, 列 1 の度数 '-2.5' が負です");
    EXPECT_EQ(refusal("0.0000000001"),
        "行 2, 列 1 の値 '0.0000000001' は小数点以下が 9 桁を超えます。9 桁以内に丸めてください");
    // 10 in the same table needs 10 000 000 000 units of 10^-9.
    EXPECT_EQ(refusal("0.000000001"),
        "行 1, 列 1 の値 '10' は大きすぎます。小数を含む表は小数点以下 9 "
        "桁の単位の整数として計算し、"
        "1 つのセルは 2147483647 単位までです。小数点以下の桁を減らしてください");
    EXPECT_EQ(refusal("１２．５"), "accepted");
}

TEST(DecimalCounts, TypedDecimals)
{
    const auto parsed = [](const std::string &text) {
        const std::optional<TypedDecimal> d = ParseTypedDecimal(text);
        return d ? std::to_string(d->digits) + "/" + std::to_string(d->places) : "none";
    };
    EXPECT_EQ(parsed(" +2.50"), "25/1");
    EXPECT_EQ(parsed("0.05"), "5/2");
    EXPECT_EQ(parsed("1e-05"), "1/5");
    EXPECT_EQ(parsed("1.5E3"), "1500/0");
    EXPECT_EQ(parsed(".5"), "5/1");
    EXPECT_EQ(parsed("0.000"), "0/0");
    EXPECT_EQ(parsed("123456789012345678.9"), "none"); // 19 significant digits
    for (const char *bad : { ".", "", "e5", "1e", "1.2.3", "1,5", "1.5x" })
        EXPECT_EQ(parsed(bad), "none") << bad;
    EXPECT_EQ(UnitsText(5, 3), "0.005");
    EXPECT_EQ(UnitsText(-1170, 2), "-11.70");
}

// The chi-square test and the permutation test need counts: the statistics
// keep chi-square in the table's values, and say why there is no p.
TEST(DecimalCounts, TestsThatNeedCountsAreRefused)
{
    const DecimalRun run = runDecimal(TableOf(VADeaths));
    bool noted = false;
    for (const auto &[label, value] : SummaryItems(run.stats))
        noted = noted || (label == "p 値" && value == PValueNeedsCounts);
    EXPECT_TRUE(noted);

    ScratchFolder folder;
    const std::string csv = folder.file("rates.csv");
    SaveCsvDataFile(csv, TableOf(VADeaths));
    const auto tool = [&](std::vector<std::string> args, std::string &err) {
        args.insert(args.begin(), { csv, "-o", folder.file("report.txt") });
        std::ostringstream out;
        std::ostringstream errors;
        const int status = RunReportTool(args, out, errors);
        err = errors.str();
        return status;
    };
    std::string err;
    EXPECT_EQ(tool({ "--json", folder.file("plain.json") }, err), 1);
    EXPECT_EQ(err, "''11.7'' は整数ではありません\n");
    EXPECT_EQ(
        tool({ "--decimal-counts", "--json", folder.file("p.json"), "--permutations", "99" }, err),
        1);
    EXPECT_EQ(err, std::string(PermutationNeedsCounts) + "\n");

    ASSERT_EQ(tool({ "--decimal-counts", "--json", folder.file("rates.json") }, err), 0) << err;
    const nlohmann::json json = nlohmann::json::parse(ReadBytes(folder.file("rates.json")));
    EXPECT_DOUBLE_EQ(json["n"].get<double>(), 618.4);
    EXPECT_TRUE(json["p_value"].is_null());
    EXPECT_TRUE(json["decimal_values"].get<bool>());
    EXPECT_NEAR(json["chi_square"].get<double>(), 2.92083262674, 1e-9);
    EXPECT_TRUE(json["malinvaud"].empty());
}
