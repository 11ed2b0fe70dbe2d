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
for (n in c(5, 10, 20, 30, 50)) {
    tab <- matrix(sample.int(1000, n * n, replace = TRUE), n, n)
    reps <- if (n <= 10) 2000 else 400
    cat(sprintf("%dx%d  ca(): %.3f ms   ca(nd = 2): %.3f ms\n", n, n,
                median_ms(function() ca(tab), reps),
                median_ms(function() ca(tab, nd = 2), reps)))
}
