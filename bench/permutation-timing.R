# R's peer of PermutationBench's 500 x 500 case: a plain loop of ca::ca on
# random tables with the observed margins (r2dtable, Patefield's algorithm),
# keeping the first two squared singular values of each, as a permutation test
# of the two leading dimensions would. The table's counts are 1..1000 from R's
# own generator: ca()'s time depends on the size, not on which counts it holds.
#   Rscript bench/permutation-timing.R [R]     (R random tables, 199 by default)
suppressMessages(library(ca))
args <- commandArgs(TRUE)
R <- if (length(args) >= 1) as.integer(args[1]) else 199L
set.seed(1)
tab <- matrix(sample.int(1000, 500 * 500, replace = TRUE), 500, 500)
observed <- ca(tab, nd = 2)$sv[1:2]^2
elapsed <- system.time({
    tables <- r2dtable(R, rowSums(tab), colSums(tab))
    reached <- c(0, 0)
    for (t in tables) reached <- reached + (ca(t, nd = 2)$sv[1:2]^2 >= observed)
})[["elapsed"]]
cat(sprintf("500x500, %d random tables: ca() loop %.2f s (%.3f s per table); p = %s\n", R,
            elapsed, elapsed / R, paste(format((1 + reached) / (R + 1)), collapse = ", ")))
