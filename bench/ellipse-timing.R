# Times FactoMineR's ellipseCA (which draws its replicate tables from the
# multinomial too) with 1000 replicates on tables of the sizes EllipseBench
# uses, counts 1..1000 from R's own generator: the time depends on the size,
# not on the counts. Its plot goes to a null device.
#   Rscript bench/ellipse-timing.R [repetitions=3]
suppressMessages(library(FactoMineR))
set.seed(20261209)
pdf(NULL)
args <- commandArgs(trailingOnly = TRUE)
reps <- if (length(args) > 0) as.integer(args[1]) else 3
for (n in c(10, 50)) {
    tab <- as.data.frame(matrix(sample.int(1000, n * n, replace = TRUE), n, n))
    res <- CA(tab, ncp = 2, graph = FALSE)
    times <- sapply(seq_len(reps), function(k) system.time(
        ellipseCA(res, ellipse = c("col", "row"), nbsample = 1000, axis = c(1, 2)))[["elapsed"]])
    cat(sprintf("%dx%d  ellipseCA(nbsample = 1000): %.0f ms (median of %d)\n", n, n,
                median(times) * 1000, reps))
}
