#include "analysis/DimensionPoles.h"
#include "analysis/Malinvaud.h"
#include "analysis/ReorderedTable.h"
#include "analysis/Residuals.h"
#include "analysis/TableAnalysis.h"
#include "tests/SmokingTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Values = std::vector<long double>;

TIntMatrix Table(int rows, int cols, const std::vector<int> &counts)
{
    TIntMatrix table(rows, cols);
    for (int i = 1; i <= rows; ++i)
        for (int j = 1; j <= cols; ++j)
            table(i, j) = counts[static_cast<std::size_t>((i - 1) * cols + (j - 1))];
    return table;
}

Interpretation Analyse(const TIntMatrix &table, int NDim)
{
    ResultStore store;
    const TableAnalysis run = AnalyseTable(table, table.rows(), table.cols(), NDim, store);
    return Interpret(table, store, run.Associated);
}

void ExpectClose(const Values &expected, const Values &actual, const std::string &what)
{
    ASSERT_EQ(expected.size(), actual.size()) << what;
    for (std::size_t k = 0; k < expected.size(); ++k)
        EXPECT_NEAR(expected[k], actual[k], 1e-12L * std::max(1.0L, std::fabs(expected[k])))
            << what << " [" << k << "]";
}

// R's order of the categories by their standard coordinate on one dimension.
struct Ordering {
    std::vector<int> rows;
    long double firstRowCoordinate;
    std::vector<int> cols;
    Values rowPercent; // reordered, row-major
};

struct Reference {
    Values chiSquare;
    std::vector<int> df;
    Values pValue;
    Values standardized, adjusted;
    Ordering dim1, dim2;
};

// From tests/r/publish.R.
const Reference References[] = {
    // smoking
    {
        /* malinvaud chi2 */ { 16.441643072223254, 2.0131356362724038, 0.079819797412251467 },
        /* df */ { 12, 6, 2 },
        /* p */ { 0.17183477869584712, 0.91848656176178567, 0.96087601142400991 },
        /* standardized */
        { 0.28066060638402063, -0.35265110091164875, -0.28390064739456561, 0.48181240498141059,
            -0.70817040861144964, -0.58423936546101451, 0.50635734082432526, 1.0926245649072708,
            2.2119848978347365, -0.54843209833983975, -1.0829559100724817, -1.0139913219027255,
            -1.8607801587406703, 0.76867547622724386, 0.88972325538243058, 0.47420757214435028,
            0.74651999910458577, 0.070820505797761432, -0.36383843321205028, -0.68814385771575193 },
        /* adjusted */
        { 0.34947499601641252, -0.41470187722947055, -0.3548561611836365, 0.53179585934935769,
            -0.8992679068858731, -0.70064534816403645, 0.64544575269031468, 1.2298569624749653,
            3.1182313156387198, -0.73013832324293337, -1.5324568851664806, -1.2670470267365854,
            -3.0504981114085505, 1.1900763573324771, 1.4641378026556369, 0.68909088155530818,
            0.96751375806547946, 0.086682381507635325, -0.47334260127796424, -0.79054621749488174 },
        /* dim 1 row order, first row's coordinate */
        { { 3, 5, 1, 4, 2 }, -0.24053878935701722,
            /* column order */ { 1, 2, 3, 4 },
            /* row per cent, reordered, row-major */
            { 49.019607843137258, 19.607843137254903, 23.529411764705884, 7.8431372549019605, 40,
                24, 28, 8, 36.363636363636367, 18.181818181818183, 27.272727272727273,
                18.181818181818183, 20.454545454545453, 27.272727272727273, 37.5,
                14.772727272727273, 22.222222222222221, 16.666666666666668, 38.888888888888886,
                22.222222222222221 } },
        /* dim 2 row order, first row's coordinate */
        { { 2, 1, 3, 4, 5 }, -1.9357079271212163,
            /* column order */ { 4, 1, 3, 2 },
            /* row per cent, reordered, row-major */
            { 22.222222222222221, 22.222222222222221, 38.888888888888886, 16.666666666666668,
                18.181818181818183, 36.363636363636367, 27.272727272727273, 18.181818181818183,
                7.8431372549019605, 49.019607843137258, 23.529411764705884, 19.607843137254903,
                14.772727272727273, 20.454545454545453, 37.5, 27.272727272727273, 8, 40, 28, 24 } },
    },
    // HairEyeColor, eye by hair
    {
        /* malinvaud chi2 */ { 138.2898416260083, 14.696431848521403, 1.5382760207278603 },
        /* df */ { 9, 4, 1 },
        /* p */ { 2.3252867870987754e-25, 0.0053740789919144811, 0.21487459852595639 },
        /* standardized */
        { 4.3983985205878682, 1.2334580965579369, -0.074977935640816951, -5.8509974118354018,
            -3.0693774702370815, -1.9494768179775712, -1.7301254559085022, 7.0495902202832186,
            -0.47735203124730685, 1.3532839824008476, 0.85225273420246495, -2.2278442954420226,
            -1.9536835412572271, -0.34509961474006917, 2.2827367222878134, 0.61269814841266845 },
        /* adjusted */
        { 6.1365196945769176, 2.1642823793583519, -0.10082421607950331, -8.3282483288508171,
            -4.2538155234876838, -3.3978827881414597, -2.3110522586275706, 9.9675501211544812,
            -0.57502606105415432, 2.0502162063604534, 0.98951179522521293, -2.7379769779580219,
            -2.287896018114099, -0.50826301303247712, 2.5765685959049232, 0.73202318572785763 },
        /* dim 1 row order, first row's coordinate */
        { { 1, 3, 4, 2 }, -1.0771283490660655,
            /* column order */ { 1, 2, 3, 4 },
            /* row per cent, reordered, row-major */
            { 30.90909090909091, 54.090909090909093, 11.818181818181818, 3.1818181818181817,
                16.129032258064516, 58.064516129032256, 15.053763440860216, 10.75268817204301,
                7.8125, 45.3125, 21.875, 25, 9.3023255813953494, 39.069767441860463,
                7.9069767441860463, 43.720930232558139 } },
        /* dim 2 row order, first row's coordinate */
        { { 1, 2, 3, 4 }, -0.59242017908584177,
            /* column order */ { 1, 4, 2, 3 },
            /* row per cent, reordered, row-major */
            { 30.90909090909091, 3.1818181818181817, 54.090909090909093, 11.818181818181818,
                9.3023255813953494, 43.720930232558139, 39.069767441860463, 7.9069767441860463,
                16.129032258064516, 10.75268817204301, 58.064516129032256, 15.053763440860216,
                7.8125, 25, 45.3125, 21.875 } },
    },
    // occupationalStatus, origin by destination
    {
        /* malinvaud chi2 */ { 1416.0395168747914, 431.52419003387234, 168.77649024938424,
            73.16569819286795, 38.355512306422597, 18.382189099832772, 3.5029327698538224 },
        /* df */ { 49, 36, 25, 16, 9, 4, 1 },
        /* p */
        { 2.5193680429764056e-264, 2.8686563251179089e-69, 2.6877155060887181e-23,
            2.7657581229631004e-09, 1.5048526918625708e-05, 0.0010389130108088354,
            0.061260254255281241 },
        /* standardized */
        { 23.705707532250333, 5.424898877998058, 3.9644795550563945, -2.1697972916073871,
            -0.66615839433364987, -4.9501580752087282, -3.3933706494367293, -3.4485036740377715,
            5.5115513201823152, 12.707668884765942, 5.2765149542944609, -0.37927863812706547,
            0.16597594218650363, -4.3269765058109426, -3.4562474081216457, -3.5604519631386946,
            0.57771711884607446, 4.8782948056471218, 5.6884764229290159, 3.0809885207196164,
            2.2290359672099336, -2.6788279260217225, -4.6401653563333127, -3.2192909144864283,
            -1.0889119775752307, -0.73066513114526976, 1.306343969600628, 5.0978773810190257,
            0.6433745818205524, 0.55624593648322473, -2.541284569093309, -3.8854548120855941,
            -1.2100748297180703, 0.34139437099945952, -0.70823478924072636, 0.55919686268441482,
            4.2799307011394054, -0.94764709699228034, 0.30218986846203033, -1.5888598190134728,
            -4.4167488563261506, -4.2801939655139467, -2.2846036355342267, -1.1849382365681038,
            -0.4646036566803346, 4.412909245307242, 0.019333788730168184, 0.99546382539200973,
            -3.6723278714496557, -3.2476821673469241, -3.6827393342283208, -2.5924995875281662,
            -1.9368374693049153, 0.21784907481109417, 7.4172724572261677, 2.0782663006606152,
            -3.3757027093867782, -3.4788700748785999, -3.7253066201939053, -2.6355654789731737,
            -2.308630773340937, -0.45506582419321606, 3.1351062435999757, 8.6276429395308565 },
        /* adjusted */
        { 24.51897621584498, 5.6578670401267397, 4.2448553513621263, -2.3720460302086277,
            -0.70378179763891935, -6.2043237587350966, -3.7942638704947176, -3.7484184003740526,
            5.7184857974881869, 13.294890390119553, 5.6673713104656347, -0.41592987287172584,
            0.17589903174479199, -5.4402355329792718, -3.8766700147360336, -3.8822212248734607,
            0.6176652480742657, 5.2591753640502956, 6.2959489177526624, 3.4816294714731493,
            2.4342552855972515, -3.4706332452456552, -5.3631285736001466, -3.6171466115566728,
            -1.1975249172891234, -0.81025523560785606, 1.4872248431850272, 5.9256460714133183,
            0.72271454928653223, 0.74128397143263403, -3.0212864582568342, -4.4905713787091459,
            -1.2566343313545385, 0.35749068407435214, -0.76137962713154139, 0.61378455876418858,
            4.5398817944586156, -1.1925299747400384, 0.33925277880241772, -1.7340045511139488,
            -5.7278486725779389, -5.5971115245423455, -3.0670933666699129, -1.6241984191772392,
            -0.61543553543349938, 6.9348935759554422, 0.027105200227977865, 1.3566951444006312,
            -3.9985687986822884, -3.5657289286750098, -4.1510829062843362, -2.9835708767473039,
            -2.1541077203452605, 0.28743842090195243, 8.7308027614403994, 2.3781118516558895,
            -3.6334074519339432, -3.7757201665184037, -4.1508710062820544, -2.9983219214951209,
            -2.5381396038116475, -0.59354015473605548, 3.6479509832143715, 9.7591059117895416 },
        /* dim 1 row order, first row's coordinate */
        { { 1, 2, 3, 4, 5, 6, 7, 8 }, -3.9643129828997434,
            /* column order */ { 1, 2, 3, 5, 4, 6, 7, 8 },
            /* row per cent, reordered, row-major */
            { 38.759689922480618, 14.728682170542635, 20.155038759689923, 5.4263565891472867,
                6.2015503875968996, 8.5271317829457356, 4.6511627906976747, 1.5503875968992249,
                10.666666666666666, 26.666666666666668, 22.666666666666668, 7.333333333333333, 12,
                13.333333333333334, 5.333333333333333, 2, 3.4782608695652173, 10.144927536231885,
                18.840579710144926, 10.144927536231885, 19.130434782608695, 25.507246376811594,
                6.666666666666667, 6.0869565217391308, 2.1235521235521237, 3.8610038610038608,
                11.196911196911197, 7.7220077220077217, 21.235521235521237, 35.328185328185327,
                12.355212355212355, 6.1776061776061777, 1.2820512820512822, 5.1282051282051286,
                7.6923076923076925, 16.025641025641026, 14.743589743589743, 29.487179487179485,
                17.948717948717949, 7.6923076923076925, 0.88560885608856088, 2.0664206642066421,
                7.5276752767527677, 6.6420664206642064, 11.955719557195572, 40.88560885608856,
                16.974169741697416, 13.062730627306273, 0, 1.3100436681222707, 4.1484716157205241,
                4.5851528384279474, 8.7336244541484724, 34.497816593886462, 31.222707423580786,
                15.502183406113538, 0, 0.77519379844961245, 3.6175710594315245, 3.8759689922480618,
                8.2687338501291983, 32.558139534883722, 23.51421188630491, 27.390180878552972 } },
        /* dim 2 row order, first row's coordinate */
        { { 2, 3, 4, 5, 6, 7, 8, 1 }, 2.9421275194900693,
            /* column order */ { 2, 4, 3, 5, 6, 7, 8, 1 },
            /* row per cent, reordered, row-major */
            { 26.666666666666668, 12, 22.666666666666668, 7.333333333333333, 13.333333333333334,
                5.333333333333333, 2, 10.666666666666666, 10.144927536231885, 19.130434782608695,
                18.840579710144926, 10.144927536231885, 25.507246376811594, 6.666666666666667,
                6.0869565217391308, 3.4782608695652173, 3.8610038610038608, 21.235521235521237,
                11.196911196911197, 7.7220077220077217, 35.328185328185327, 12.355212355212355,
                6.1776061776061777, 2.1235521235521237, 5.1282051282051286, 14.743589743589743,
                7.6923076923076925, 16.025641025641026, 29.487179487179485, 17.948717948717949,
                7.6923076923076925, 1.2820512820512822, 2.0664206642066421, 11.955719557195572,
                7.5276752767527677, 6.6420664206642064, 40.88560885608856, 16.974169741697416,
                13.062730627306273, 0.88560885608856088, 1.3100436681222707, 8.7336244541484724,
                4.1484716157205241, 4.5851528384279474, 34.497816593886462, 31.222707423580786,
                15.502183406113538, 0, 0.77519379844961245, 8.2687338501291983, 3.6175710594315245,
                3.8759689922480618, 32.558139534883722, 23.51421188630491, 27.390180878552972, 0,
                14.728682170542635, 6.2015503875968996, 20.155038759689923, 5.4263565891472867,
                8.5271317829457356, 4.6511627906976747, 1.5503875968992249, 38.759689922480618 } },
    },

};

const TIntMatrix Tables[] = {
    SmokingTable(),
    Table(4, 4, { 68, 119, 26, 7, 20, 84, 17, 94, 15, 54, 14, 10, 5, 29, 14, 16 }),
    Table(8, 8,
        { 50, 19, 26, 8, 7, 11, 6, 2, 16, 40, 34, 18, 11, 20, 8, 3, 12, 35, 65, 66, 35, 88, 23, 21,
            11, 20, 58, 110, 40, 183, 64, 32, 2, 8, 12, 23, 25, 46, 28, 12, 12, 28, 102, 162, 90,
            554, 230, 177, 0, 6, 19, 40, 21, 158, 143, 71, 0, 3, 14, 32, 15, 126, 91, 106 }),
};

// A dimension's orientation is arbitrary: where ours is R's mirror, both
// orders run backwards, and so does the reordered table.
void ExpectOrdering(const Ordering &ref, const ReorderedTable &got, const Interpretation &stats)
{
    const int d = got.dimension;
    const bool mirrored = (stats.rows[0].scale[static_cast<std::size_t>(d - 1)] < 0)
        != (ref.firstRowCoordinate < 0);
    std::vector<int> rows = ref.rows, cols = ref.cols;
    Values percent = ref.rowPercent;
    if (mirrored) {
        std::ranges::reverse(rows);
        std::ranges::reverse(cols);
        std::ranges::reverse(percent);
    }
    EXPECT_EQ(rows, got.rowOrder) << "dimension " << d;
    EXPECT_EQ(cols, got.colOrder) << "dimension " << d;
    ExpectClose(percent, got.rowPercent, "row per cent, dimension " + std::to_string(d));
}

} // namespace

TEST(ResultReading, AgreesWithR)
{
    for (std::size_t t = 0; t < std::size(Tables); ++t) {
        SCOPED_TRACE("table " + std::to_string(t + 1));
        const Reference &ref = References[t];
        const Interpretation stats = Analyse(Tables[t], 2);
        const std::vector<MalinvaudStep> steps = MalinvaudTest(stats);
        Values chi, p;
        std::vector<int> df, dims;
        for (const MalinvaudStep &s : steps) {
            chi.push_back(s.chiSquare);
            df.push_back(s.df);
            p.push_back(s.pValue);
            dims.push_back(s.dims);
        }
        ExpectClose(ref.chiSquare, chi, "Malinvaud chi-square");
        EXPECT_EQ(ref.df, df);
        ExpectClose(ref.pValue, p, "Malinvaud p");
        EXPECT_EQ(0, dims.front());
        EXPECT_EQ(static_cast<int>(steps.size()) - 1, dims.back());

        const CellResiduals residuals = ComputeResiduals(Tables[t]);
        ExpectClose(ref.standardized, residuals.standardized, "standardized");
        ExpectClose(ref.adjusted, residuals.adjusted, "adjusted");
        long double shares = 0;
        for (long double share : residuals.chiShare)
            shares += share;
        EXPECT_NEAR(1.0L, shares, 1e-15L);

        ExpectOrdering(ref.dim1, ReorderByDimension(Tables[t], stats, 1), stats);
        ExpectOrdering(ref.dim2, ReorderByDimension(Tables[t], stats, 2), stats);
    }
}

// A supplementary category takes no part: the degrees of freedom, the order
// and the poles are those of the active table.
TEST(ResultReading, SupplementaryCategoriesTakeNoPart)
{
    const TIntMatrix table = SmokingTable();
    const Interpretation active = Analyse(table, 2);
    SupplementaryStore store;
    store.tableRows = 6;
    store.tableCols = 4;
    SupplementaryPoint point;
    point.position = 1;
    point.placed = true;
    point.label = "supplementary";
    point.scale = { -9.0L, 9.0L };
    point.weightedScale = point.scale;
    point.cos2 = { 0.5L, 0.5L };
    store.rows.push_back(point);
    const Interpretation both = WithSupplementary(active, store);
    ASSERT_EQ(6u, both.rows.size());
    std::vector<int> df;
    for (const MalinvaudStep &s : MalinvaudTest(both))
        df.push_back(s.df);
    EXPECT_EQ(std::vector<int>({ 12, 6, 2 }), df);
    EXPECT_EQ(
        ReorderByDimension(table, active, 1).rowOrder, ReorderByDimension(table, both, 1).rowOrder);
    const std::vector<DimensionPoles> poles = DefiningCategories(both);
    for (const DimensionPoles &p : poles)
        for (const auto *pole : { &p.negative, &p.positive })
            for (const PoleCategory &c : *pole)
                EXPECT_NE("supplementary", c.name);
    EXPECT_THROW(ReorderByDimension(table, both, 3), std::out_of_range);
    EXPECT_THROW(ReorderByDimension(table, both, 0), std::out_of_range);
}

// A table without association may hold an empty row; its cells (n = e = 0)
// and those of a row holding every count are 0, and nothing divides by zero.
TEST(ResultReading, ResidualsOfEmptyAndFullMarginsAreZero)
{
    const CellResiduals empty = ComputeResiduals(Table(2, 2, { 0, 0, 3, 5 }));
    for (const Values *matrix : { &empty.standardized, &empty.adjusted, &empty.chiShare })
        for (long double v : *matrix)
            EXPECT_EQ(0.0L, v);
    const CellResiduals independent = ComputeResiduals(Table(2, 2, { 2, 4, 3, 6 }));
    for (long double share : independent.chiShare)
        EXPECT_EQ(0.0L, share);
}
