// R's own tables beyond the exact engine's sizes (and WorldPhones, whose
// totals pass 32 bits) run from their CSV data files through the whole run,
// and agree with R's ca::ca; tests/r/large-tables.R writes the files and the
// values below.
#include "RunTables.h"
#include "core/AnalysisRun.h"
#include "core/CsvFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// ca::ca(table, nd = 3): sv^2 of dimensions 1..3 and the standard coordinates
// (the scale values) of some rows and columns, dimension by dimension.
struct Reference {
    const char *name;
    int rows, cols;
    std::vector<double> svSquared;
    std::vector<int> rowPicks, colPicks;
    std::vector<double> rowCoord, colCoord; // pick by pick, 3 dimensions each
};

const std::vector<Reference> References
    = { { "jo", 24, 58, { 0.81669755264474142, 0.62070983241997879, 0.54424400915962168 },
            { 1, 2, 24 }, { 1, 2, 58 },
            { -2.3924821645202576, -0.41863920940335519, 0.23320999797853531, 0.75058646954191521,
                -1.4772956830106203, 0.55153532502184877, 0.67097220383760203, -0.5887665811463455,
                -0.61650719054097991 },
            { -1.1030851783034121, -0.13281062452278389, -0.46347530224354994, 0.49343904124381527,
                0.75436705359818035, -1.2996893790114157, 0.65150470178022102, -1.2647718977863402,
                0.74677581396666326 } },
          { "bci", 50, 225, { 0.20278899783655771, 0.13079704038416237, 0.1078291979465384 },
              { 1, 2, 50 }, { 1, 2, 225 },
              { -0.28234518214465304, 0.10330875589406795, 1.1649566327500991, -0.34204366173184297,
                  0.46095313693070467, 1.1698019470257386, -0.58270591162007646,
                  -1.9025139480030278, -0.27444951628203418 },
              { -1.1472632892239045, 1.081579257288888, 4.388080407914198, 0.4473748661098062,
                  0.8437219011220608, -1.2189635317269172, -0.57674983121467638,
                  0.69839811633149418, -1.2272258318128284 } },
          { "mite", 70, 35, { 0.5251136192872905, 0.22727579525863809, 0.17401742608423854 },
              { 1, 2, 70 }, { 1, 2, 35 },
              { -0.016813848536186025, 1.1566298774484132, -0.49713142278009137,
                  0.51445438036637781, 1.3121079944142191, -0.65157356494783614,
                  0.63901925790903591, -1.2944518713574888, 1.48503185477205 },
              { -0.66927515603255194, -0.056522423000710101, 0.17009982379095345,
                  -0.97603028618365717, 1.3137937673398694, -0.19513622255108182,
                  1.2935125472140112, -0.84058105145479134, 2.7841588405754307 } },
          { "mortality", 62, 18, { 0.26145331719201548, 0.140993384116293, 0.05062257668925825 },
              { 1, 2, 62 }, { 1, 2, 18 },
              { -2.4723345389571438, 0.99994025330133696, 1.4722998897397892, -5.4714289657097437,
                  2.7073161570957622, 2.0656970716520324, -0.91188418203541011, -0.9992721566003645,
                  1.2937172714600182 },
              { -5.5203492118390649, 4.6617876744272166, 0.43432126300098017, -3.7445365560432573,
                  2.2017316727742191, -0.067111562494825056, 0.80136666206734675,
                  1.2698509153201056, 1.2154427241661694 } },
          { "rankrock", 10, 51, { 0.05226670739992581, 0.042078488569937587, 0.030929195357332236 },
              { 1, 2, 10 }, { 1, 2, 51 },
              { -0.37528552654571057, 1.3665060982482771, -0.36098349753910358,
                  -0.90966839069964067, 0.33782227565285267, 0.016774384914294036,
                  -1.0851070326122507, -0.19364250186095205, 0.54126413712678645 },
              { -1.588428785995802, -0.082224112338047009, 0.33225016579819605, -1.2341276474113425,
                  -0.44376929687114169, -0.68696985954151191, 0.7409820675785278,
                  -0.18659003562016604, -0.19230922476940518 } },
          { "worldphones", 7, 7,
              { 0.0022854416789693105, 0.00042809442754550411, 8.8180682006068739e-06 },
              { 1, 2, 7 }, { 1, 2, 7 },
              { -2.6932366985857676, 1.5972938022459438, -0.04374137018998768, -0.54415065675690411,
                  -1.4759137781165954, 0.12381761497717703, 0.95201790107200268, 1.0085279202896735,
                  -0.56265439166766962 },
              { -0.53282382990143795, -0.17100138035904824, 0.5946883613989622, 0.29558803943141065,
                  0.2414545594433376, -1.3565037641467552, 0.15645056578865532, 1.1604112326678735,
                  -3.0532348406591323 } } };

// The coordinates of one dimension agree to 1e-9 of their largest magnitude,
// with one sign for the dimension.
void ExpectCoordinates(const TExtMatrix &scale, const std::vector<int> &picks,
    const std::vector<double> &want, const char *side)
{
    for (int d = 1; d <= 3; ++d) {
        double largest = 0, same = 0, flipped = 0;
        for (std::size_t p = 0; p < picks.size(); ++p) {
            const double w = want[p * 3 + std::size_t(d - 1)];
            const double got = static_cast<double>(scale(picks[p], d));
            largest = std::max(largest, std::fabs(w));
            same = std::max(same, std::fabs(got - w));
            flipped = std::max(flipped, std::fabs(got + w));
        }
        EXPECT_LE(std::min(same, flipped), 1e-9 * largest) << side << " dim " << d;
    }
}

} // namespace

TEST(LargeTableReference, RsTablesRunFromTheirFilesAndAgreeWithCa)
{
    const std::filesystem::path data = std::getenv("QUARNET_TEST_DATA");
    for (const Reference &r : References) {
        SCOPED_TRACE(r.name);
        LoadedTable loaded;
        ReadCsvDataInto(ReadBytes((data / (std::string(r.name) + ".csv")).string()), loaded);
        ASSERT_EQ(loaded.table.rows(), r.rows);
        ASSERT_EQ(loaded.table.cols(), r.cols);
        RunRequest request;
        request.nDimText = "3";
        request.table = &loaded.table;
        ResultStore store;
        std::string report;
        const RunOutcome outcome = RunAnalysisToBytes(request, store, report);
        ASSERT_TRUE(outcome.associated);
        const bool big = r.rows > 50 || r.cols > 50;
        EXPECT_EQ(store.Method != "exact", big);
        ASSERT_GE(store.NDim, 3);
        for (int d = 1; d <= 3; ++d) {
            const long double etaSq = store.Eta(d) * store.Eta(d);
            EXPECT_NEAR(static_cast<double>(etaSq), r.svSquared[std::size_t(d - 1)],
                1e-9 * r.svSquared[std::size_t(d - 1)])
                << "dim " << d;
        }
        ExpectCoordinates(store.RowScale, r.rowPicks, r.rowCoord, "rows");
        ExpectCoordinates(store.ColScale, r.colPicks, r.colCoord, "columns");
    }
}
