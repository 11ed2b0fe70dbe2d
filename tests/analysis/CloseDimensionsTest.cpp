// Dimensions whose singular values lie close together, against values
// computed with 60 digits (close-singular-values-reference.py). The 80-bit
// elimination alone gets the scale values of such dimensions wrong in every
// digit below a relative gap of about 1e-10, and loses digits of their Eta^2
// down to 10; each table here failed before the mend.
#include "MatrixHelpers.h"
#include "analysis/TableAnalysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using Values = std::vector<long double>;

struct CloseCase {
    const char *name;
    TIntMatrix table;
    std::vector<int> dims; // the close dimensions
    Values eta2; // per close dimension
    std::vector<Values> row, col; // scale values per close dimension
};

// Largest difference over the largest reference magnitude.
long double RelativeError(const TExtMatrix &got, int d, const Values &want)
{
    long double diff = 0, size = 0;
    for (int i = 1; i <= got.rows(); ++i) {
        diff = std::max(diff, std::fabs(got(i, d) - want[i - 1]));
        size = std::max(size, std::fabs(want[i - 1]));
    }
    return diff / size;
}

ResultStore Analysed(const TIntMatrix &table)
{
    ResultStore store;
    AnalyseTable(
        table, table.rows(), table.cols(), std::min(table.rows(), table.cols()) - 1, store);
    return store;
}

} // namespace

// Block-diagonal (P and Q apart) and Kronecker (every cell filled) tables,
// relative gaps from 1e-4 to 6e-14, one beside a repeated value; both sides of the cross product.
// The signs are the usual ones, so the values are compared as they are.
TEST(CloseDimensions, ScaleValuesAndEtaSquaredMatchTheHighPrecisionValues)
{
    const CloseCase cases[] = {
        { "block, gap 1e-4",
            MakeTable({ { 4033, 3139, 0, 0 }, { 4566, 841, 0, 0 }, { 0, 0, 4731, 5114 },
                { 0, 0, 5588, 1597 } }),
            { 2, 3 },
            { 0.090212189780151586745910892215023L, 0.090194507789068961462931940259857L },
            { { 0.0L, 0.0L, -1.1264452084592686811707908082026L,
                  1.5434729404706332868651963127007L },
                { -1.3321307573576360865697556471583L, 1.7669764734176005202290156281522L, 0.0L,
                    0.0L } },
            { { 0.0L, 0.0L, 1.0633576484716788509939532564575L,
                  -1.6350450863625769726429151621792L },
                { 1.0437737559232703460513574913953L, -2.2551282731618597250491515247508L, 0.0L,
                    0.0L } } },
        { "block, gap 6e-14",
            MakeTable({ { 3449, 4729, 0, 0 }, { 1119, 4954, 0, 0 }, { 0, 0, 5960, 2767 },
                { 0, 0, 395, 851 } }),
            { 2, 3 },
            { 0.063325649250944173022080758695019L, 0.063325649250936761590146986328021L },
            { { 0.0L, 0.0L, -0.58889321770208280404928104921383L,
                  4.1246156588170759477833673487071L },
                { -1.1235136322106482669032428440571L, 1.5129416242744412196171118028485L, 0.0L,
                    0.0L } },
            { { 0.0L, 0.0L, -1.1759436822464547834313949532385L,
                  2.0655395524257103783047304941488L },
                { -1.8982009096282295717317332467912L, 0.89548505165565968023035809886836L, 0.0L,
                    0.0L } } },
        { "kron, gap 9e-5",
            MakeTable({ { 297, 429, 126, 182 }, { 1452, 528, 616, 224 }, { 297, 429, 18, 26 },
                { 1452, 528, 88, 32 } }),
            { 1, 2 },
            { 0.090290017941286646556653062833935L, 0.090273556231003039513677811550152L },
            { { 1.6514456476895409084122906234827L, -0.60553007081949833308450656194364L,
                  1.6514456476895409084122906234827L, -0.60553007081949833308450656194364L },
                { -0.86294892726269136213030820620837L, -0.86294892726269136213030820620837L,
                    1.1588171308956141148606995911941L, 1.1588171308956141148606995911941L } },
            { { -0.73970927486462863532622777313294L, 1.3518824678560454369755197233119L,
                  -0.73970927486462863532622777313294L, 1.3518824678560454369755197233119L },
                { 0.49236596391733093093696264050097L, 0.49236596391733093093696264050097L,
                    -2.0310096011589900901149708920665L, -2.0310096011589900901149708920665L } } },
        { "kron, gap 4e-10",
            MakeTable({ { 2280, 450, 6156, 1215 }, { 420, 1740, 1134, 4698 },
                { 6156, 1215, 608, 120 }, { 1134, 4698, 112, 464 } }),
            { 1, 2 }, { 0.40939789958054798237446639273123L, 0.40939789921456855402542030970737L },
            { { -0.88949917999332141531100916119751L, 1.1242281302693367887958588009580L,
                  -0.88949917999332141531100916119751L, 1.1242281302693367887958588009580L },
                { -0.89543386232697376240998688102844L, -0.89543386232697376240998688102844L,
                    1.1167770642504953666012195931928L, 1.1167770642504953666012195931928L } },
            { { -0.90061707240708640205822779049562L, 1.1103498152964078929485000156795L,
                  -0.90061707240708640205822779049562L, 1.1103498152964078929485000156795L },
                { 0.89543386232697376240998688102844L, 0.89543386232697376240998688102844L,
                    -1.1167770642504953666012195931928L, -1.1167770642504953666012195931928L } } },
        { "kron, gap 2e-12",
            MakeTable({ { 5074, 177, 5934, 207 }, { 1003, 295, 1173, 345 }, { 1032, 36, 5246, 183 },
                { 204, 60, 1037, 305 } }),
            { 1, 2 },
            { 0.089030440215397126054920316947152L, 0.089030440215052167589308241440211L },
            { { -0.49718307617612554469649231725281L, 2.0113315354397806126358098288864L,
                  -0.49718307617612554469649231725281L, 2.0113315354397806126358098288864L },
                { -0.75519037334966075426767745417549L, -0.75519037334966075426767745417549L,
                    1.3241694217637887198118180018420L, 1.3241694217637887198118180018420L } },
            { { -0.27869320571664706304862717750432L, 3.5881750236018309367510749103681L,
                  -0.27869320571664706304862717750432L, 3.5881750236018309367510749103681L },
                { -1.3531392816310365862036733180570L, -1.3531392816310365862036733180570L,
                    0.73902222304464305861892927370805L, 0.73902222304464305861892927370805L } } },
        { "wide, gap 5e-11",
            MakeTable({ { 3729, 3681, 0, 0, 0, 0, 0, 0 }, { 1195, 2943, 0, 0, 0, 0, 0, 0 },
                { 0, 0, 5827, 6612, 0, 0, 0, 0 }, { 0, 0, 3105, 1302, 0, 0, 0, 0 },
                { 0, 0, 0, 0, 52, 11, 30, 7 }, { 0, 0, 0, 0, 9, 64, 12, 40 },
                { 0, 0, 0, 0, 25, 18, 71, 6 } }),
            { 5, 6 },
            { 0.043234513864746047249753845314504L, 0.043234513860798286693462952078801L },
            { { 0.0L, 0.0L, -0.77743881429694254427915751251338L,
                  2.1943638327750552095049785110401L, 0.0L, 0.0L, 0.0L },
                { -1.1788772255914710389573408187186L, 2.1110392077411310774948998227899L, 0.0L,
                    0.0L, 0.0L, 0.0L, 0.0L } },
            { { 0.0L, 0.0L, 1.2294506298521036188355113065804L, -1.3875983100630514939902434913288L,
                  0.0L, 0.0L, 0.0L, 0.0L },
                { -1.8297155473175297069104587123414L, 1.3601327528670767326127866394277L, 0.0L,
                    0.0L, 0.0L, 0.0L, 0.0L, 0.0L } } },
        { "repeated beside, gap 5e-13",
            MakeTable({ { 1476, 6905, 0, 0, 0, 0 }, { 6036, 4941, 0, 0, 0, 0 },
                { 0, 0, 747, 2055, 0, 0 }, { 0, 0, 118, 5423, 0, 0 }, { 0, 0, 0, 0, 1476, 6905 },
                { 0, 0, 0, 0, 6036, 4941 } }),
            { 3 }, { 0.14442687615009324780364625756494L },
            { { 0.0L, 0.0L, 3.3397982662146680695308209121678L, -1.6888855336461829869744378624606L,
                0.0L, 0.0L } },
            { { 0.0L, 0.0L, 6.9830459851690744221500409657356L,
                -0.80774736255298868349288385067683L, 0.0L, 0.0L } } },
        { "tall, gap 5e-11",
            MakeTable({ { 3729, 1195, 0, 0, 0, 0, 0 }, { 3681, 2943, 0, 0, 0, 0, 0 },
                { 0, 0, 5827, 3105, 0, 0, 0 }, { 0, 0, 6612, 1302, 0, 0, 0 },
                { 0, 0, 0, 0, 52, 9, 25 }, { 0, 0, 0, 0, 11, 64, 18 }, { 0, 0, 0, 0, 30, 12, 71 },
                { 0, 0, 0, 0, 7, 40, 6 } }),
            { 5, 6 },
            { 0.043234513864746047249753845314504L, 0.043234513860798286693462952078801L },
            { { 0.0L, 0.0L, 1.2294506298521036188355113065804L, -1.3875983100630514939902434913288L,
                  0.0L, 0.0L, 0.0L, 0.0L },
                { -1.8297155473175297069104587123414L, 1.3601327528670767326127866394277L, 0.0L,
                    0.0L, 0.0L, 0.0L, 0.0L, 0.0L } },
            { { 0.0L, 0.0L, -0.77743881429694254427915751251338L,
                  2.1943638327750552095049785110401L, 0.0L, 0.0L, 0.0L },
                { -1.1788772255914710389573408187186L, 2.1110392077411310774948998227899L, 0.0L,
                    0.0L, 0.0L, 0.0L, 0.0L } } },
    };
    for (const CloseCase &c : cases) {
        const ResultStore store = Analysed(c.table);
        for (std::size_t k = 0; k < c.dims.size(); ++k) {
            const int d = c.dims[k];
            const long double eta2 = store.Eta(d) * store.Eta(d);
            EXPECT_LT(std::fabs(eta2 - c.eta2[k]) / c.eta2[k], 1e-13L) << c.name << " dim " << d;
            EXPECT_LT(RelativeError(store.RowScale, d, c.row[k]), 1e-12L) << c.name << " dim " << d;
            EXPECT_LT(RelativeError(store.ColScale, d, c.col[k]), 1e-12L) << c.name << " dim " << d;
        }
    }
}

// Repeated values, phi(P) = phi(Q) exactly in a Kronecker product, and a
// block twice beside a third whose value is 5e-13 away: the two row vectors
// of the repeated value must lie in the plane of the two reference vectors
// and be orthonormal.
TEST(CloseDimensions, RepeatedSingularValueGivesItsPlane)
{
    const struct {
        TIntMatrix table;
        int first; // the plane is dimensions first and first + 1
        Values eta2;
        std::vector<Values> plane;
    } cases[] = {
        { MakeTable({ { 936, 48, 2262, 116 }, { 84, 84, 203, 203 }, { 7644, 392, 1638, 84 },
              { 686, 686, 147, 147 } }),
            1, { 0.24998043563323333768097039259163L, 0.24998043563323333768097039259163L },
            { { 0.58456094294645238462316859629344L, 0.52288591054103759146368576665466L,
                  -0.57057741120064056021643860125862L, 0.24355748062172019694204560999460L },
                { 0.57527797974679548834216100151184L, -0.23223710848542278772746324776729L,
                    0.042251246461792534671294037395817L,
                    -0.78315771312884379377378781168285L } } },
        { MakeTable({ { 1476, 6905, 0, 0, 0, 0 }, { 6036, 4941, 0, 0, 0, 0 },
              { 0, 0, 747, 2055, 0, 0 }, { 0, 0, 118, 5423, 0, 0 }, { 0, 0, 0, 0, 1476, 6905 },
              { 0, 0, 0, 0, 6036, 4941 } }),
            4, { 0.14442687614994805556703749134547L, 0.14442687614994805556703749134547L },
            { { 0.74906055062616333493580298150469L, -0.65452013866156834853027417698340L, 0.0L,
                  0.0L, -0.077205394500598743416279950620330L,
                  0.067461149131016548451738244881096L },
                { 0.077205394500598743416279950620330L, -0.067461149131016548451738244881096L, 0.0L,
                    0.0L, 0.74906055062616333493580298150469L,
                    -0.65452013866156834853027417698340L } } },
    };
    for (const auto &c : cases) {
        const ResultStore store = Analysed(c.table);
        const TExtMatrix &U = store.RowSingVec;
        const int m = U.rows();
        for (int d = c.first; d <= c.first + 1; ++d) {
            const long double eta2 = store.Eta(d) * store.Eta(d);
            EXPECT_LT(std::fabs(eta2 - c.eta2[d - c.first]) / c.eta2[d - c.first], 1e-13L);
            long double outside = 0; // |u - P u|^2, P the projection onto the plane
            for (int i = 1; i <= m; ++i) {
                long double projected = 0;
                for (const Values &p : c.plane) {
                    long double along = 0;
                    for (int t = 1; t <= m; ++t)
                        along += p[t - 1] * U(t, d);
                    projected += along * p[i - 1];
                }
                outside += (U(i, d) - projected) * (U(i, d) - projected);
            }
            EXPECT_LT(std::sqrt(outside), 1e-12L) << "dim " << d;
        }
        long double dot = 0, norm1 = 0, norm2 = 0;
        for (int i = 1; i <= m; ++i) {
            dot += U(i, c.first) * U(i, c.first + 1);
            norm1 += U(i, c.first) * U(i, c.first);
            norm2 += U(i, c.first + 1) * U(i, c.first + 1);
        }
        EXPECT_LT(std::fabs(dot), 1e-12L);
        EXPECT_LT(std::fabs(norm1 - 1), 1e-12L);
        EXPECT_LT(std::fabs(norm2 - 1), 1e-12L);
    }
}

// A vector mended in a run depends on the ones before it only: asking for
// fewer dimensions leaves the bits of those shown, here across the mended
// plane of a repeated value beside a close one.
TEST(CloseDimensions, FewerDimensionsKeepTheBitsOfThoseShown)
{
    const TIntMatrix table = MakeTable(
        { { 1476, 6905, 0, 0, 0, 0 }, { 6036, 4941, 0, 0, 0, 0 }, { 0, 0, 747, 2055, 0, 0 },
            { 0, 0, 118, 5423, 0, 0 }, { 0, 0, 0, 0, 1476, 6905 }, { 0, 0, 0, 0, 6036, 4941 } });
    const ResultStore all = Analysed(table);
    for (int NDim = 3; NDim <= 4; ++NDim) {
        ResultStore fewer;
        AnalyseTable(table, 6, 6, NDim, fewer);
        for (int d = 1; d <= NDim; ++d) {
            EXPECT_EQ(all.Eta(d), fewer.Eta(d));
            for (int i = 1; i <= 6; ++i) {
                EXPECT_EQ(all.RowSingVec(i, d), fewer.RowSingVec(i, d)) << NDim << " dims, " << d;
                EXPECT_EQ(all.ColSingVec(i, d), fewer.ColSingVec(i, d)) << NDim << " dims, " << d;
            }
        }
    }
}
