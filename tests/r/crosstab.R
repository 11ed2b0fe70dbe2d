# The cross-tables of tests/data/records.csv that CrossTabulationTest expects:
# R's xtabs of 年代 by 満足度, without and with the weights.
#   Rscript tests/r/crosstab.R
records <- read.csv("tests/data/records.csv", fileEncoding = "UTF-8", check.names = FALSE)
show <- function(t) {
  for (r in rownames(t))
    cat(r, ":", paste(colnames(t), t[r, ], sep = "=", collapse = " "), "\n")
}
show(xtabs(~ 年代 + 満足度, data = records))
show(xtabs(重み ~ 年代 + 満足度, data = records))
