#include "cli/EllipseOption.h"

#include "core/CoreErrors.h"
#include "core/MapEllipses.h"

#include "analysis/PermutationTest.h"

#include <charconv>

namespace {

int parseReplicates(const std::string &text)
{
    int value = 0;
    const char *end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || ptr != end || value < MinEllipseReplicates
        || value > MaxEllipseReplicates)
        throw UsageError("--replicates には " + std::to_string(MinEllipseReplicates) + " から "
            + std::to_string(MaxEllipseReplicates) + " までの整数を指定してください ('" + text
            + "')");
    return value;
}

}

void EllipseOption::addOptions(CommandLine &commandLine)
{
    commandLine.addOption({ "--ellipses", "",
        "図の各点に信頼楕円 (表か回答者の復元抽出による) / confidence ellipses of the map's "
        "points (by resampling the table or the respondents)",
        [this](const std::string &) { asked_ = true; } });
    commandLine.addOption({ "--replicates", "R",
        "信頼楕円の復元抽出の回数 (既定 1000) / resamples of the ellipses (default 1000)",
        [this](const std::string &value) { replicates_ = parseReplicates(value); } });
    commandLine.addOption({ "--ellipse-axes", "",
        "信頼楕円で引き直すたびに軸も再計算する / ellipses with the axes recomputed for "
        "each resampled table or sample of respondents",
        [this](const std::string &) { axes_ = true; } });
    commandLine.addOption({ "--level", "L",
        "信頼楕円の水準 (既定 0.95) / confidence level of the ellipses (default 0.95)",
        [this](const std::string &value) {
            level_ = ParseEllipseLevel(value);
            if (!level_)
                throw UsageError("--level には 0 より大きく 1 より小さい数 (例 0.95) を指定して"
                                 "ください ('"
                    + value + "')");
        } });
}

void EllipseOption::check() const
{
    if (!asked_ && (replicates_ || level_))
        throw UsageError("--replicates と --level は --ellipses と一緒に指定してください");
    if (!asked_ && axes_)
        throw UsageError("--ellipse-axes は --ellipses と一緒に指定してください");
}

void EllipseOption::takeSeed(std::optional<std::uint64_t> seed, int threads)
{
    seed_ = seed;
    threads_ = threads;
}

void EllipseOption::addTo(PlotInput &input, const AnalysisResult &result)
{
    if (!withEllipses_) {
        const EllipseResampler resample = EllipseResamplerFor(result, axes_);
        withEllipses_ = input;
        AddEllipses(*withEllipses_,
            resample(replicates_.value_or(DefaultEllipseReplicates),
                seed_ ? *seed_ : NewPermutationSeed(), threads_, {}, nullptr),
            level_.value_or(DefaultEllipseLevel));
    }
    input = *withEllipses_;
}
