#include "analysis/Interpretation.h"
#include "MatrixHelpers.h"
#include "analysis/CategoryCount.h"
#include "analysis/Errors.h"
#include "analysis/TableAnalysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

Interpretation Analyse(const TIntMatrix &table, int NRow, int NCol, int NDim, ResultStore &store)
{
    const TableAnalysis run = AnalyseTable(table, NRow, NCol, NDim, store);
    return Interpret(table, store, run.Associated);
}

long double Sum(const std::vector<CategoryStats> &all, auto field)
{
    long double sum = 0;
    for (const CategoryStats &c : all)
        sum += field(c);
    return sum;
}

void ExpectRel(long double expected, long double actual, long double rel, const std::string &what)
{
    EXPECT_NEAR(expected, actual, rel * std::fabs(expected) + 1e-15L) << what;
}

// Reference values of one side of a table, from R's ca package (see below).
struct CategoryRef {
    long double mass, inertia, quality;
    std::vector<long double> std, ctr, cor; // standard coordinates; ctr and cor as fractions
};

struct TableRef {
    long double chiSquare, pValue, totalInertia;
    std::vector<long double> sv;
    std::vector<CategoryRef> rows, columns;
};

// `signs` fixes each dimension's orientation, which is arbitrary in both.
void ExpectSide(const std::vector<CategoryRef> &ref, const std::vector<CategoryStats> &got,
    const std::vector<long double> &sv, std::vector<long double> &signs, const char *side)
{
    ASSERT_EQ(ref.size(), got.size());
    for (std::size_t k = 0; k < ref.size(); ++k) {
        const std::string at = std::string(side) + " " + std::to_string(k + 1);
        ExpectRel(ref[k].mass, *got[k].mass, 1e-9L, at + " mass");
        ExpectRel(ref[k].inertia, *got[k].inertia, 1e-9L, at + " inertia");
        ExpectRel(ref[k].quality, got[k].quality, 1e-9L, at + " quality");
        for (std::size_t d = 0; d < sv.size(); ++d) {
            if (signs[d] == 0)
                signs[d] = std::copysign(1.0L, ref[k].std[d] * got[k].scale[d]);
            const std::string dim = at + " dim " + std::to_string(d + 1);
            ExpectRel(signs[d] * ref[k].std[d], got[k].scale[d], 1e-9L, dim + " scale");
            ExpectRel(signs[d] * ref[k].std[d] * sv[d], got[k].weightedScale[d], 1e-9L, dim);
            ExpectRel(ref[k].ctr[d], (*got[k].contribution)[d], 1e-9L, dim + " ctr");
            ExpectRel(ref[k].cor[d], got[k].cos2[d], 1e-9L, dim + " cos2");
        }
    }
}

void ExpectMatches(const TableRef &ref, const Interpretation &got, int NRow, int NCol)
{
    EXPECT_EQ((NRow - 1) * (NCol - 1), got.df);
    ExpectRel(ref.chiSquare, got.chiSquare, 1e-9L, "chi-square");
    ExpectRel(ref.pValue, got.pValue, 1e-6L, "p");
    ExpectRel(ref.totalInertia, got.totalInertia, 1e-9L, "total inertia");
    ASSERT_EQ(ref.sv.size(), got.solutions.size());
    for (std::size_t d = 0; d < ref.sv.size(); ++d)
        ExpectRel(ref.sv[d], got.solutions[d].eta, 1e-9L, "eta " + std::to_string(d + 1));
    const std::vector<long double> kept(ref.sv.begin(), ref.sv.begin() + got.dims);
    std::vector<long double> signs(kept.size(), 0);
    ExpectSide(ref.rows, got.rows, kept, signs, "row");
    ExpectSide(ref.columns, got.columns, kept, signs, "column");
}

} // namespace

TEST(Interpretation, IdentitiesOnRandomTables)
{
    for (std::uint64_t seed = 1; seed <= 12; ++seed) {
        const int NRow = 2 + static_cast<int>(seed % 7);
        const int NCol = 2 + static_cast<int>((seed * 5) % 9);
        const TIntMatrix table = RandomTable(seed, NRow, NCol, 1 + static_cast<int>(seed) * 7);
        SCOPED_TRACE("seed " + std::to_string(seed));
        ResultStore store;
        const Interpretation all = Analyse(table, NRow, NCol, MaxCat, store);
        ASSERT_EQ(store.NSol, all.dims);
        ASSERT_EQ(static_cast<std::size_t>(store.NSol), all.solutions.size());

        long double etaSq = 0;
        for (const SolutionStats &s : all.solutions)
            etaSq += s.etaSquared;
        ExpectRel(all.chiSquare, all.n * etaSq, 1e-12L, "chi-square both ways");
        ExpectRel(all.totalInertia, etaSq, 1e-12L, "total inertia");
        for (const auto *side : { &all.rows, &all.columns }) {
            ExpectRel(all.totalInertia, Sum(*side, [](auto &c) { return *c.inertia; }), 1e-12L,
                "inertias");
            EXPECT_NEAR(1.0L, Sum(*side, [](auto &c) { return *c.mass; }), 1e-15L);
            for (int d = 0; d < all.dims; ++d)
                EXPECT_NEAR(1.0L, Sum(*side, [d](auto &c) { return (*c.contribution)[d]; }), 1e-12L)
                    << "dim " << d + 1;
            for (const CategoryStats &c : *side) {
                if (c.distanceSq > 0) { // cos2 summed over every solution
                    EXPECT_NEAR(1.0L, c.quality, 1e-12L);
                }
            }
        }

        const Interpretation one = Analyse(table, NRow, NCol, 1, store);
        ASSERT_EQ(1, one.dims);
        for (const CategoryStats &c : one.rows) {
            EXPECT_LE(c.quality, 1.0L + 1e-15L);
            EXPECT_EQ(c.cos2[0], c.quality);
        }
    }
}

// Reference values: R 4.2, package ca (Nenadic and Greenacre), ca(table) with
// ctr = mass * coord^2 and cor = (coord * sv)^2 / dist^2 as summary.ca forms
// them, chisq.test(table, correct = FALSE); printed to 17 digits by
// tests/analysis/interpretation-reference.R.
TEST(Interpretation, SmokingTableAgreesWithReference)
{
    // Greenacre's staff smoking table: rows SM, JM, SE, JE, SC; columns none,
    // light, medium, heavy.
    const TIntMatrix smoking = MakeTable(
        { { 4, 2, 3, 2 }, { 4, 3, 7, 4 }, { 25, 10, 12, 4 }, { 18, 24, 33, 13 }, { 10, 6, 7, 2 } });
    const TableRef ref{ 16.441643072223254L, 0.17183477869584712L, 0.085189860477840704L,
        { 0.27342111455729917L, 0.10008586569655462L, 0.020336520839519853L },
        {
            { 0.056994818652849742L, 0.0026729323633941345L, 0.89256841542085164L,
                { -0.24053878935701722L, -1.9357079271212163L },
                { 0.003297658036470127L, 0.21355760088248227L },
                { 0.092232025658305711L, 0.80033638976254595L } },
            { 0.093264248704663211L, 0.011881176996024251L, 0.99108237341296257L,
                { 0.94710469544272857L, -2.4309583896603879L },
                { 0.083658712302248431L, 0.55115055160976201L },
                { 0.5263999125139367L, 0.46468246089902582L } },
            { 0.26424870466321243L, 0.038314128802038029L, 0.99981666774676015L,
                { -1.3919732851153095L, -0.1065076185403513L },
                { 0.51200554896481887L, 0.0029976036951501876L },
                { 0.9990329480522947L, 0.00078371969446545714L } },
            { 0.45595854922279794L, 0.026268627355251224L, 0.99981036068099927L,
                { 0.85198946174985357L, 0.57694368082189218L },
                { 0.33097394703671951L, 0.151772191471231L },
                { 0.94193411849509201L, 0.057876242185907256L } },
            { 0.12953367875647667L, 0.0060529949611330455L, 0.9986025032886624L,
                { -0.7354557171259285L, 0.78843531381807386L },
                { 0.070064133659742706L, 0.080522052341373648L },
                { 0.86534550593479598L, 0.1332569973538664L } },
        },
        {
            { 0.31606217616580312L, 0.049186258031522108L, 0.99999490458335183L,
                { -1.4384713821956696L, -0.30465911342201663L },
                { 0.65399582881425466L, 0.029335998439670677L },
                { 0.99402039048861601L, 0.0059745140947358383L } },
            { 0.23316062176165803L, 0.007058827634261953L, 0.98401581850557673L,
                { 0.36374630742913833L, 1.4094326728195103L },
                { 0.030849802733549196L, 0.46317368219949062L },
                { 0.32672616312626818L, 0.65728965537930861L } },
            { 0.32124352331606215L, 0.01261024204149825L, 0.98322767202648131L,
                { 0.71801680975939619L, 0.073527950580548479L },
                { 0.16561650064257916L, 0.0017367579794180616L },
                { 0.98184804599482922L, 0.0013796260316520773L } },
            { 0.1295336787564767L, 0.016334532770558369L, 0.99455198632010111L,
                { 1.0744451309816838L, -1.9759598917651571L },
                { 0.14953786780961759L, 0.50575356138142114L },
                { 0.68439773886028299L, 0.31015424745981807L } },
        } };
    ResultStore store;
    const Interpretation got = Analyse(smoking, 5, 4, 2, store);
    ASSERT_EQ(2, got.dims);
    ExpectMatches(ref, got, 5, 4);
    // Greenacre (1984): chi-square 16.44 on 12 df, first principal inertia
    // 0.07476, 87.8% of the total.
    EXPECT_NEAR(87.8L, got.solutions[0].share, 0.05L);
    EXPECT_NEAR(100.0L, got.solutions[2].cumulative, 1e-12L);
}

TEST(Interpretation, SixByFiveTableAgreesWithReference)
{
    const TIntMatrix table = MakeTable({ { 12, 5, 8, 20, 3 }, { 7, 14, 2, 9, 11 },
        { 3, 8, 15, 4, 6 }, { 22, 6, 9, 13, 2 }, { 5, 17, 4, 8, 10 }, { 9, 3, 12, 6, 16 } });
    const TableRef ref{ 85.631584412575663L, 4.2590871877446716e-10L, 0.31833302755604331L,
        { 0.39245604694105879L, 0.31663745002690602L, 0.20154390476607878L, 0.15307533592169942L },
        {
            { 0.17843866171003717L, 0.052574325801710106L, 0.76305929065028433L,
                { -1.1626243385530708L, -0.31943577848973825L, 0.39703912939179153L },
                { 0.24119470975690088L, 0.018207741248358982L, 0.028129083170532358L },
                { 0.70660403965045926L, 0.034722174839767125L, 0.021733076160057933L } },
            { 0.15985130111524162L, 0.037678329747256038L, 0.99999354695833431L,
                { 0.80429693356549026L, -1.1182153094382343L, -0.5134021382100219L },
                { 0.10340677682432185L, 0.19987894262181405L, 0.042133886569891317L },
                { 0.42270697000329277L, 0.53186322115105111L, 0.045423355803990421L } },
            { 0.13382899628252787L, 0.057265066225002423L, 0.99680412777704885L,
                { 0.66377759059406416L, 1.4823049427003154L, 1.8456931649463346L },
                { 0.058965148073959098L, 0.29405281023619434L, 0.45589961832217929L },
                { 0.15859433721379537L, 0.51482558981856219L, 0.32338420074469126L } },
            { 0.19330855018587362L, 0.067154389606929557L, 0.8491866558280079L,
                { -1.3797057682179816L, -0.095166504254895104L, -0.14894021212320849L },
                { 0.36797983775615795L, 0.0017507304969109382L, 0.0042881996763566169L },
                { 0.84397905273131157L, 0.0026137825233332156L, 0.002593820573363072L } },
            { 0.16356877323420074L, 0.049019060207568937L, 0.99510086186043845L,
                { 1.0806827134734551L, -1.0539366103628949L, 0.41429754058099383L },
                { 0.19102790184689736L, 0.18168931100811173L, 0.028075345330052976L },
                { 0.60022471634014241L, 0.37161133804073498L, 0.023264807479561094L } },
            { 0.17100371747211895L, 0.054641855967576286L, 0.99224264592058264L,
                { 0.46782320435539354L, 1.3342405828991761L, -1.6067552382826082L },
                { 0.037425625741762163L, 0.30442046438861015L, 0.44147386693098756L },
                { 0.10549349438963118L, 0.55856402461284593L, 0.32818512691810553L } },
        },
        {
            { 0.21561338289962825L, 0.060701764941965664L, 0.86543169011035137L,
                { -1.1892298232752041L, -0.13988600499724399L, -0.76634795424609481L },
                { 0.3049350156464537L, 0.0042191430292087741L, 0.12662740834452091L },
                { 0.77372749242480787L, 0.0069686313177164828L, 0.084735566367826975L } },
            { 0.19702602230483271L, 0.073028549966816084L, 0.96916056803330397L,
                { 1.069899751431479L, -1.1845553683339771L, 1.0197003080288336L },
                { 0.22553282654273774L, 0.27646128362226297L, 0.20486543518322378L },
                { 0.47566274241141454L, 0.37954755787503452L, 0.11395026774685489L } },
            { 0.18587360594795538L, 0.068688794913737694L, 0.9998376923611958L,
                { -0.011032042536902873L, 1.7926685113427443L, 1.0787298816453921L },
                { 2.2621926121939475e-05L, 0.59733464527134028L, 0.21629333783544266L },
                { 5.0725429474522094e-05L, 0.87187929849202972L, 0.12790766843969159L } },
            { 0.22304832713754646L, 0.046095887165919613L, 0.7368330374110611L,
                { -0.84266243375824368L, -0.64146168452930397L, 0.20182220708635784L },
                { 0.1583821510633531L, 0.091778384993123921L, 0.009085249800715697L },
                { 0.52920764480799087L, 0.19961942124883739L, 0.0080059713542328919L } },
            { 0.17843866171003717L, 0.0698180305676043L, 0.98754902971088476L,
                { 1.3204581474256916L, 0.41143954825337381L, -1.5758700309730376L },
                { 0.3111273848213334L, 0.030206543084063699L, 0.44312856883609736L },
                { 0.68636115218569937L, 0.043376848043122709L, 0.25781102948206269L } },
        } };
    ResultStore store;
    const Interpretation got = Analyse(table, 6, 5, 3, store);
    ASSERT_EQ(3, got.dims);
    ExpectMatches(ref, got, 6, 5);
}

// Without association there are no dimensions, even when the store still
// holds the solutions of an earlier run; empty categories sit at the centroid.
TEST(Interpretation, TableWithoutAssociation)
{
    ResultStore store;
    Analyse(RandomTable(3, 4, 4, 9), 4, 4, 2, store);
    const TIntMatrix table = MakeTable({ { 1, 0, 2 }, { 3, 0, 6 }, { 0, 0, 0 } });
    const Interpretation got = Analyse(table, 3, 3, 2, store);
    EXPECT_EQ(0, got.dims);
    EXPECT_TRUE(got.solutions.empty());
    EXPECT_EQ(12, got.n);
    EXPECT_EQ(4, got.df);
    EXPECT_NEAR(0.0L, got.chiSquare, 1e-15L);
    EXPECT_NEAR(1.0L, got.pValue, 1e-12L);
    const long double rowMass[] = { 0.25L, 0.75L, 0.0L };
    const long double colMass[] = { 1.0L / 3, 0.0L, 2.0L / 3 };
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_NEAR(rowMass[k], *got.rows[k].mass, 1e-18L);
        EXPECT_NEAR(colMass[k], *got.columns[k].mass, 1e-18L);
        for (const CategoryStats *c : { &got.rows[k], &got.columns[k] }) {
            EXPECT_NEAR(0.0L, c->distanceSq, 1e-15L);
            EXPECT_NEAR(0.0L, *c->inertia, 1e-15L);
            EXPECT_EQ(0.0L, c->quality);
            EXPECT_TRUE(c->scale.empty() && c->cos2.empty() && c->contribution->empty());
        }
    }

    // One row: no degree of freedom, and no evidence against independence.
    const Interpretation single = Analyse(MakeTable({ { 3, 5, 1 } }), 1, 3, 2, store);
    EXPECT_EQ(0, single.df);
    EXPECT_EQ(1.0L, single.pValue);
}

TEST(Interpretation, EmptyTableIsAFloatError)
{
    ResultStore store;
    store.NRow = 2;
    store.NCol = 3;
    EXPECT_THROW(Interpret(TIntMatrix(2, 3), store, false), FloatError);
}
