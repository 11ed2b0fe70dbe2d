# Times R's ca() on tables of the sizes FullAnalysisBench uses, for the README's
# side-by-side figures. The counts are 1..1000 drawn by R's own generator: ca()'s
# time depends on the size, not on which counts the table holds.
#   Rscript bench/ca-timing.R
suppressMessages(library(ca))
set.seed(20261209)
median_ms <- function(f, reps) {
    f() # warm up
    times <- numeric(10)
    for (k in seq_along(times)) {
        start <- proc.time()[["elapsed"]]
        for (r in seq_len(reps)) f()
        times[k] <- (proc.time()[["elapsed"]] - start) / reps * 1000
    }
    median(times)
}
if (!identical(commandArgs(TRUE), "large")) for (n in c(5, 10, 20, 30, 50)) {
    tab <- matrix(sample.int(1000, n * n, replace = TRUE), n, n)
    reps <- if (n <= 10) 2000 else 400
    cat(sprintf("%dx%d  ca(): %.3f ms   ca(nd = 2): %.3f ms\n", n, n,
                median_ms(function() ca(tab), reps),
                median_ms(function() ca(tab, nd = 2), reps)))
}

# The big tables of bench/LargeTableBench.cpp (counts 1..1000): ca() and
# FactoMineR's CA() with the dimensions asked there, median of a few runs.
#   Rscript bench/ca-timing.R large
if (identical(commandArgs(TRUE), "large")) {
    suppressMessages(library(FactoMineR))
    median_s <- function(f, reps) median(sapply(seq_len(reps), function(k)
        system.time(f())[["elapsed"]]))
    for (size in list(c(500, 500, 2, 5), c(500, 500, 5, 5), c(5000, 1000, 5, 3))) {
        tab <- matrix(sample.int(1000, size[1] * size[2], replace = TRUE), size[1], size[2])
        cat(sprintf("%dx%d dims %d  ca(): %.3f s   FactoMineR::CA(): %.3f s\n", size[1], size[2],
                    size[3], median_s(function() ca(tab, nd = size[3]), size[4]),
                    median_s(function() CA(tab, ncp = size[3], graph = FALSE), size[4])))
    }
    # A 20,000 x 50,000 table is 8 GB as the dense double matrix both start from.
    cat("20000x50000: not attempted (the dense matrix alone is 8 GB)\n")
}
