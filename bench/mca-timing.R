# The questionnaire analysis of a synthetic sheet of 100,000 respondents x 20
# questions of 5 answers, timed side by side in one run: quarnet-report --mca
# with every output (report, JSON, scores file; reading the CSV included) and,
# in this R process on the same data, FactoMineR::MCA and ca::mjca.
#   Rscript bench/mca-timing.R build/cli/quarnet-report
suppressMessages({ library(FactoMineR); library(ca) })
args <- commandArgs(trailingOnly = TRUE)
tool <- if (length(args) >= 1) args[1] else "build/cli/quarnet-report"
set.seed(20261209)
n <- 100000; Q <- 20
# Answers with some structure (a latent score shifts each question's answer),
# so that the spectrum is not flat.
latent <- rnorm(n)
sheet <- as.data.frame(lapply(seq_len(Q), function(q) {
    factor(pmin(5, pmax(1, round(3 + latent * (q %% 3) / 2 + rnorm(n)))), levels = 1:5)
}))
names(sheet) <- paste0("Q", seq_len(Q))
dir <- tempfile("mca-bench")
dir.create(dir)
csv <- file.path(dir, "sheet.csv")
write.csv(cbind(ID = seq_len(n), sheet), csv, row.names = FALSE, quote = FALSE)

elapsed <- function(f) { t <- proc.time()[["elapsed"]]; f(); proc.time()[["elapsed"]] - t }
median3 <- function(f) median(sapply(1:3, function(k) elapsed(f)))

quarnet <- median3(function() {
    status <- system2(tool, c("--mca", csv, "-o", file.path(dir, "r.txt"), "--json",
                              file.path(dir, "r.json"), "--scores", file.path(dir, "s.csv")))
    stopifnot(status == 0)
})
mca <- median3(function() MCA(sheet, graph = FALSE))
mjca <- median3(function() mjca(sheet))
cat(sprintf("100000 x 20 x 5: quarnet-report --mca (all outputs) %.2f s, FactoMineR::MCA %.2f s (%.1fx), ca::mjca %.2f s (%.1fx)\n",
            quarnet, mca, mca / quarnet, mjca, mjca / quarnet))
unlink(dir, recursive = TRUE)
